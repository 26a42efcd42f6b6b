// The calculation screen, the program's main window: the A4 page with the line (painted from the line
// model of screen/sikiInp.h through screen/ScreenPage.h), the blinking cursor, the scroll bar, the
// input-string strip, the side panel with date and goal, the status line, the main and context menus, and
// start-up and close with the settings file. The keys go through the line's key map; this window only
// maps Qt's key events onto virtual keys and shows what the model holds.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>

#include "screen/sikiInp.h"

class QAction;
class QFont;
class QLabel;
class QMenu;
class QScrollBar;
class QTimer;
class QtCanvas;
class TInputForm;
class ScreenPageArea;
class ScreenSidePanel;

// A changed setting is written to the settings file within this time.
inline constexpr int SETTINGS_WRITE_INTERVAL_MS = 1000;

class CalcScreenForm : public QMainWindow {
  Q_OBJECT

 public:
  // Reads the settings file while it is built (readSettings false leaves the settings as they are, for
  // tests), then sets up font, cell size, page and cursor timer (FormCreate).
  explicit CalcScreenForm(bool readSettings = true, QWidget* parent = nullptr);
  ~CalcScreenForm() override;

  // The one calculation screen of the program (null before it is built and after it is gone).
  static CalcScreenForm* Instance();

  // Redraws the page from the line state and brings every control up to date (the Paint of the screen).
  void Paint();
  // Status line, strip, panel buttons and check marks from the model.
  void RefreshControls();
  void EraseCursor();
  // A key-down on the screen: Alt+E opens the expression editor, Alt+A the detailed settings, every other
  // key goes to the key map.
  void KeySyori(int vk, int shift);

  // Menu commands of the window itself.
  void InputPanelSwitch();
  void FontDialog();
  // Draws the screen in this font (fixed pitch, teal pen) and keeps its face and size in the settings.
  void UseScreenFont(const QFont& font);
  void WindowA4Width();
  // The large-print setting (OOMOJI) applied: the screen font, the side panel and the input panel grow
  // so that every text a pupil reads is 12 pixels or more.
  void ApplyLargePrint();

  void SetInputPanel(TInputForm* panel);
  TInputForm* InputPanel() const { return inputPanel_; }

  // The widget that holds the keyboard focus and receives the keys.
  QWidget* PageWidget() const;
  // The page as last painted (without the cursor).
  const QImage& PageImage() const { return pageImage_; }
  // The page with the cursor as the window shows it now.
  QImage GrabPage() const;
  bool CursorShownNow() const { return cursorShown_; }
  // The bottom-right corner of the client area on the screen; the input panel is placed from it.
  QPoint ClientBottomRight() const;
  QMenu* ContextMenu() const { return contextMenu_; }
  QLabel* StatusLabel() const { return statusLabel_; }
  QWidget* InputStrip() const;
  QWidget* SidePanel() const;
  // An action of the menus by its caption (tests and the panel use it).
  QAction* FindAction(const QString& caption) const;

  // Asked on close: whether the notebook holds unsaved edits, and saving it (false when saving failed).
  // Installed by the notebook window once it exists.
  static std::function<bool()> NotebookModified;
  static std::function<bool()> SaveNotebook;
  // Called when the window has closed: the program ends (the start-up installs the end of its event loop).
  static std::function<void()> ProgramEnds;

  // One tick of the cursor timer (public so tests can drive the blink without waiting).
  void CursorTick();
  // Enabled states and check marks of the menu items from the model (also done before a menu opens).
  void UpdateMenuStates();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  friend class ScreenPageArea;

  void FormCreate();
  void BuildMenus();
  void BuildContextMenu();
  void InstallWindowCommands();
  void LayoutChildren();
  void PageResized();
  QAction* AddCommand(QMenu* menu, const std::string& caption, ScreenCommand command);
  QAction* AddAction(QMenu* menu, const std::string& caption, std::function<void()> run);

  std::unique_ptr<QtCanvas> canvas_;
  QImage pageImage_;
  ScreenPageArea* page_ = nullptr;
  QScrollBar* scrollBar_ = nullptr;
  QScrollBar* sideBar_ = nullptr;  // sideways, shown only when the page is wider than the window
  QWidget* strip_ = nullptr;
  QLabel* stripText_ = nullptr;
  ScreenSidePanel* side_ = nullptr;
  QLabel* statusLabel_ = nullptr;
  QTimer* cursorTimer_ = nullptr;
  QTimer* settingsTimer_ = nullptr;
  QMenu* contextMenu_ = nullptr;
  TInputForm* inputPanel_ = nullptr;

  // Actions whose enabled state follows the installed commands, and the check-mark items.
  std::vector<std::pair<QAction*, ScreenCommand>> commandActions_;
  std::vector<QAction*> baseModeChecks_;
  QAction* answerColumnCheck_ = nullptr;
  QAction* processDisplayCheck_ = nullptr;
  QAction* inputPanelCheck_ = nullptr;
  QAction* interruptCheck_ = nullptr;
  QAction* safeColoursCheck_ = nullptr;
  QAction* largePrintCheck_ = nullptr;

  bool cursorShown_ = false;
  bool cursorPhase_ = false;
  bool activatedOnce_ = false;
  bool painting_ = false;
  std::string followedLine_;  // the line text the view last followed the cursor for
};
