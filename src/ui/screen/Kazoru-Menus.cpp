// The calculation screen's main menu and the page's context menu: every item with its caption,
// separators and check marks. An item whose command is carried out by a window that does not exist yet
// stays disabled until that window installs its handler.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "engine/Settings.h"
#include "screen/ScreenMenus.h"
#include "screen/ScreenPage.h"
#include "screen/ScreenSteps.h"
#include "screen/Zoom.h"
#include "ui/classroom/PupilWorkWindow.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"

namespace {
QString U(const std::string& s) { return QString::fromStdString(s); }
// The desktop's text of an item of the menus both editions show.
std::string Item(std::string_view name) { return DesktopMenuText(ScreenMenu(name)); }

// Escape closing a menu of the bar leaves the bar waiting for a menu key, and the pupil's next key would
// be lost in it: the keys go back to the page as soon as no menu is open.
class MenuEscapeWatch : public QObject {
 public:
  MenuEscapeWatch(QMenuBar* bar, QWidget* page) : QObject(bar), bar_(bar), page_(page) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
      QTimer::singleShot(0, this, [this] {
        if (!QApplication::activePopupWidget() && bar_->hasFocus()) page_->setFocus(Qt::OtherFocusReason);
      });
    return QObject::eventFilter(watched, event);
  }

 private:
  QMenuBar* bar_;
  QWidget* page_;
};
}  // namespace

QAction* CalcScreenForm::AddCommand(QMenu* menu, const std::string& caption, ScreenCommand command) {
  QAction* a = menu->addAction(U(caption));
  connect(a, &QAction::triggered, this, [command] { RunScreenCommand(command); });
  commandActions_.push_back({a, command});
  return a;
}

QAction* CalcScreenForm::AddAction(QMenu* menu, const std::string& caption, std::function<void()> run) {
  QAction* a = menu->addAction(U(caption));
  connect(a, &QAction::triggered, this, [run] { run(); });
  return a;
}

void CalcScreenForm::BuildMenus() {
  // The menus and the items both editions show take their captions from screen/ScreenMenus.h.
  QMenu* form = menuBar()->addMenu(U(DesktopMenuText(SCREEN_MENU_TITLES[0])));
  AddCommand(form, Item("PrintLine"), ScreenCommand::PrintLine);
  form->addSeparator();
  AddAction(form, "課題を開く(&K)...", [this] { OpenAssignmentFromDialog(this); });
  form->addSeparator();
  AddAction(form, "終了(&X)", [this] { close(); });

  QMenu* ops = menuBar()->addMenu(U(DesktopMenuText(SCREEN_MENU_TITLES[1])));
  AddCommand(ops, Item("OpenExpressionEditor"), ScreenCommand::OpenExpressionEditor);
  AddCommand(ops, Item("OpenMemo"), ScreenCommand::OpenMemo);
  AddCommand(ops, Item("OpenSubstitution"), ScreenCommand::OpenSubstitution);
  AddCommand(ops, Item("OpenNotebook"), ScreenCommand::OpenNotebook);
  ops->addSeparator();
  AddCommand(ops, Item("SoinsuuPre"), ScreenCommand::SoinsuuPre);
  AddCommand(ops, Item("JunkanSyori"), ScreenCommand::JunkanSyori);
  QAction* base = AddCommand(ops, Item("ToggleBaseMode"), ScreenCommand::ToggleBaseMode);
  base->setCheckable(true);
  baseModeChecks_.push_back(base);
  ops->addSeparator();
  AddCommand(ops, Item("YakuProcDsp"), ScreenCommand::YakuProcDsp);
  AddCommand(ops, Item("DecimalToFraction"), ScreenCommand::DecimalToFraction);
  AddCommand(ops, Item("ToMixed"), ScreenCommand::ToMixed);
  AddCommand(ops, Item("ToImproper"), ScreenCommand::ToImproper);
  ops->addSeparator();
  // The pupil's own working: the keys reach the line through the key map like every other command.
  AddAction(ops, Item("CheckSteps"), [] { CheckLineSteps(); });
  AddAction(ops, Item("StepHint"), [] { ShowStepHint(); });
  ops->addSeparator();
  AddCommand(ops, Item("CopyAnswer"), ScreenCommand::CopyAnswer);
  AddCommand(ops, Item("PasteAnswer"), ScreenCommand::PasteAnswer);
  AddCommand(ops, Item("ViewAnswer"), ScreenCommand::ViewAnswer);

  QMenu* view = menuBar()->addMenu(U(DesktopMenuText(SCREEN_MENU_TITLES[2])));
  answerColumnCheck_ = AddAction(view, Item("KAITOURAN_FLAG"),
                                 [this] { KAITOURAN_FLAG = answerColumnCheck_->isChecked() ? 1 : 0; });
  answerColumnCheck_->setCheckable(true);
  AddAction(view, Item("equalKaigyo"), [] { ToggleEqualKaigyo(); });
  view->addSeparator();
  inputPanelCheck_ = AddCommand(view, Item("panel"), ScreenCommand::InputPanelSwitch);
  inputPanelCheck_->setCheckable(true);
  AddCommand(view, Item("OpenConditions"), ScreenCommand::OpenConditions);
  AddCommand(view, Item("OpenProcessSettings"), ScreenCommand::OpenProcessSettings);
  view->addSeparator();
  AddAction(view, Item("process"), [] { ToggleProcessDisplay(); });
  // This separator is the item of Ctrl+F, which does nothing (the key map ignores Ctrl+F as well).
  view->addSeparator();
  AddCommand(view, Item("FontDialog"), ScreenCommand::FontDialog);
  // Access for every pupil: colours safe for colour-blind pupils, large print, zoom (Ctrl+＋ / Ctrl+－).
  safeColoursCheck_ = AddAction(view, "色覚にやさしい配色(&U)", [this] {
    IROSAFE = safeColoursCheck_->isChecked() ? 1 : 0;
    Paint();
  });
  safeColoursCheck_->setCheckable(true);
  largePrintCheck_ = AddAction(view, "大きな文字(&O)", [this] {
    OOMOJI = largePrintCheck_->isChecked() ? 1 : 0;
    ApplyLargePrint();
  });
  largePrintCheck_->setCheckable(true);
  AddAction(view, Item("zoomIn"), [] { ZoomScreen(+1); });
  AddAction(view, Item("zoomOut"), [] { ZoomScreen(-1); });
  view->addSeparator();
  QAction* a4 = AddAction(view, "ウＩィンドウＡ４幅(&W)", [this] { WindowA4Width(); });
  // The notebook has its own Shift+Ctrl+F8: each window's key works in that window.
  a4->setShortcut(QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F8));
  a4->setShortcutContext(Qt::WindowShortcut);
  addAction(a4);

  QMenu* help = menuBar()->addMenu(U(DesktopMenuText(SCREEN_MENU_TITLES[3])));
  help->addAction(U("チェック(&T)"))->setVisible(false);
  QAction* helpItem = AddCommand(help, Item("Help"), ScreenCommand::Help);
  helpItem->setShortcut(QKeySequence(Qt::Key_F1));
  addAction(helpItem);
  AddCommand(help, "ヘルプ［Home Page］ (&P)", ScreenCommand::HomePage);
  QAction* advice = help->addAction(U("アドバイス解説"));
  advice->setShortcut(QKeySequence(Qt::Key_F2));
  advice->setEnabled(false);
  AddCommand(help, Item("VersionBox"), ScreenCommand::VersionBox);

  auto* escape = new MenuEscapeWatch(menuBar(), PageWidget());
  for (QMenu* m : {form, ops, view, help}) {
    connect(m, &QMenu::aboutToShow, this, [this] { UpdateMenuStates(); });
    m->installEventFilter(escape);
  }
}

void CalcScreenForm::BuildContextMenu() {
  contextMenu_ = new QMenu(this);
  QMenu* m = contextMenu_;
  QAction* proc = AddAction(m, "計算過程を表示する", [] { ToggleProcessDisplay(); });
  proc->setCheckable(true);
  proc->setShortcut(QKeySequence(Qt::Key_F5));
  proc->setShortcutContext(Qt::WidgetShortcut);  // the key itself goes through the key map
  proc->setObjectName("popupProcessDisplay");
  AddCommand(m, Item("CopyAnswer"), ScreenCommand::CopyAnswer);
  AddCommand(m, "答を貼り付け(&P)", ScreenCommand::PasteAnswer);
  AddCommand(m, "答をLookする(&L)", ScreenCommand::ViewAnswer);
  QAction* factor = AddCommand(m, "素因数分解する(&S)   Shift+S", ScreenCommand::SoinsuuPre);
  factor->setToolTip(U("素因数分解＆約数の和(除元の数)を10個で改行"));
  factor->setStatusTip(factor->toolTip());
  interruptCheck_ = AddAction(m, "中断を可能にする",
                              [this] { InterruptibleFactorisation = interruptCheck_->isChecked() ? 1 : 0; });
  interruptCheck_->setCheckable(true);
  AddCommand(m, "循環小数⇔分数(&R)     Shift+R", ScreenCommand::JunkanSyori);
  QAction* base = AddCommand(m, "ｎ進法変換モード(&N)  Shift+N", ScreenCommand::ToggleBaseMode);
  base->setCheckable(true);
  baseModeChecks_.push_back(base);
  AddCommand(m, Item("YakuProcDsp"), ScreenCommand::YakuProcDsp);
  AddCommand(m, Item("DecimalToFraction"), ScreenCommand::DecimalToFraction);
  AddCommand(m, Item("ToMixed"), ScreenCommand::ToMixed);
  AddCommand(m, Item("ToImproper"), ScreenCommand::ToImproper);
  AddCommand(m, "条件設定ﾎﾞｯｸｽ表示(&J)", ScreenCommand::OpenConditions);
  processDisplayCheck_ = proc;
}

void CalcScreenForm::UpdateMenuStates() {
  for (auto& [action, command] : commandActions_) action->setEnabled(HasScreenCommand(command));
  for (QAction* a : baseModeChecks_) a->setChecked(BaseMode);
  answerColumnCheck_->setChecked(KAITOURAN_FLAG != 0);
  safeColoursCheck_->setChecked(IROSAFE != 0);
  largePrintCheck_->setChecked(OOMOJI != 0);
  processDisplayCheck_->setChecked(PROCDSP != 0);
  interruptCheck_->setChecked(InterruptibleFactorisation != 0);
  inputPanelCheck_->setChecked(inputPanel_ && inputPanel_->ShownNormal());
}

void CalcScreenForm::InstallWindowCommands() {
  SetScreenCommand(ScreenCommand::InputPanelSwitch, [this] {
    InputPanelSwitch();
    return true;
  });
  SetScreenCommand(ScreenCommand::FontDialog, [this] {
    FontDialog();
    return true;
  });
  SetScreenCommand(ScreenCommand::CloseInputPanel, [this] {
    if (!inputPanel_ || !inputPanel_->ShownNormal()) return false;
    InputPanelSwitch();
    return true;
  });
}

QAction* CalcScreenForm::FindAction(const QString& caption) const {
  QList<QMenu*> menus = menuBar()->findChildren<QMenu*>();
  menus.append(contextMenu_);
  for (QMenu* m : menus)
    for (QAction* a : m->actions())
      if (a->text() == caption) return a;
  return nullptr;
}
