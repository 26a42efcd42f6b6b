// The help window over the bundled HTML pages, and the home-page item that opens the same pages in the
// system's browser.
#include "ui/help/HelpWindow.h"

#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/Platform.h"
#include "ui/QtPlatform.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

THelpForm* TheHelp = nullptr;

constexpr const char* HELP_ROOT = ":/help";

}  // namespace

HelpWindowHooks HelpWiring{[](const QUrl& url) { return QDesktopServices::openUrl(url); }};

QUrl HelpResourceUrl(const QString& page) { return QUrl(QStringLiteral("qrc") + HELP_ROOT + "/" + page); }

QUrl HelpFileUrl(const QString& page) {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  if (base.isEmpty()) return QUrl();
  QDir dir(base + "/help");
  if (!dir.mkpath(".")) return QUrl();
  // The pages are copied every time, so a newer program never shows an older copy.
  QDirIterator it(HELP_ROOT, QDir::Files);
  while (it.hasNext()) {
    const QString source = it.next();
    const QString target = dir.filePath(QFileInfo(source).fileName());
    QFile::remove(target);
    if (!QFile::copy(source, target)) return QUrl();
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
  }
  return QUrl::fromLocalFile(dir.filePath(page));
}

THelpForm::THelpForm(QWidget* parent) : QWidget(parent, Qt::Window) {
  TheHelp = this;
  setObjectName("helpWindow");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(U("『Kazoru』のヘルプ"));
  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(4, 4, 4, 4);
  auto* buttons = new QHBoxLayout;
  auto* contents = new QPushButton(U("もくじ"), this);
  auto* back = new QPushButton(U("もどる"), this);
  auto* close = new QPushButton(U("閉じる"), this);
  buttons->addWidget(contents);
  buttons->addWidget(back);
  buttons->addStretch();
  buttons->addWidget(close);
  top->addLayout(buttons);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName("helpBrowser");
  browser_->setOpenExternalLinks(true);
  top->addWidget(browser_);
  connect(contents, &QPushButton::clicked, this, [this] { ShowPage("index.html"); });
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  resize(640, 560);
}

THelpForm::~THelpForm() {
  if (TheHelp == this) TheHelp = nullptr;
}

THelpForm* THelpForm::Instance() { return TheHelp; }

THelpForm* THelpForm::Open() {
  if (!TheHelp) new THelpForm(TheQtPlatform().Owner());
  TheHelp->show();
  TheHelp->raise();
  TheHelp->activateWindow();
  return TheHelp;
}

void THelpForm::ShowPage(const QString& page) { browser_->setSource(HelpResourceUrl(page)); }

void ShowHelpContents() { THelpForm::Open()->ShowPage("index.html"); }

bool OpenHomePage() {
  const QUrl url = HelpFileUrl("index.html");
  const bool ok = !url.isEmpty() && OpenExternalUrl(url);
  if (!ok) {
    // The launcher reports no number of its own; 0 stands for "not started".
    ShowMessage(QString(U("■ret=%1：\n◆iexplore.exe の起動に失敗しました。")).arg(0).toStdString(), "ご報告");
  }
  return ok;
}
