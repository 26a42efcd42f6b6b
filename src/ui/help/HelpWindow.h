// The program's help: Japanese HTML pages bundled in the program (typing the notation, the keys, the
// commands, the notebook, the settings), shown in a help window of the program on F1 and from the help
// menu, and opened in the system's web browser by the home-page item.
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

class QTextBrowser;

class THelpForm : public QWidget {
  Q_OBJECT

 public:
  // The help window, created on first use; it exists at most once.
  static THelpForm* Open();
  static THelpForm* Instance();
  ~THelpForm() override;

  // Shows a page of the help ("index.html" is the contents page).
  void ShowPage(const QString& page);
  QTextBrowser* Browser() const { return browser_; }

 private:
  explicit THelpForm(QWidget* parent = nullptr);
  QTextBrowser* browser_ = nullptr;
};

// F1 and "『Kazoru』のヘルプ(&H)": the help window on its contents page.
void ShowHelpContents();

// "ヘルプ［Home Page］ (&P)": the help's first page in the system's browser (the pages are copied to a
// folder of the user's cache, since a browser cannot read them from inside the program). When the browser
// cannot be started the pupil is told so. Returns whether it started.
bool OpenHomePage();

// The resource address of a help page, and the copy of the pages on disk (written on demand; an empty
// URL when the folder cannot be written).
QUrl HelpResourceUrl(const QString& page);
QUrl HelpFileUrl(const QString& page);

// The help window's hook that tests replace (state records: tools/ProgramState.h).
struct HelpWindowHooks {
  // Starts the system's browser.
  std::function<bool(const QUrl&)> OpenExternalUrl;
};
extern HelpWindowHooks HelpWiring;
inline auto& OpenExternalUrl = HelpWiring.OpenExternalUrl;
