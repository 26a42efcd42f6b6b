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
#include "screen/ScreenPage.h"
#include "screen/ScreenSteps.h"
#include "screen/Zoom.h"
#include "ui/classroom/PupilWorkWindow.h"
#include "ui/screen/InputPanel.h"
#include "ui/screen/Kazoru.h"

namespace {
QString U(const char* s) { return QString::fromUtf8(s); }

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

QAction* CalcScreenForm::AddCommand(QMenu* menu, const char* caption, ScreenCommand command) {
  QAction* a = menu->addAction(U(caption));
  connect(a, &QAction::triggered, this, [command] { RunScreenCommand(command); });
  commandActions_.push_back({a, command});
  return a;
}

QAction* CalcScreenForm::AddAction(QMenu* menu, const char* caption, std::function<void()> run) {
  QAction* a = menu->addAction(U(caption));
  connect(a, &QAction::triggered, this, [run] { run(); });
  return a;
}

void CalcScreenForm::BuildMenus() {
  QMenu* form = menuBar()->addMenu(U("フォーム(&F)"));
  AddCommand(form, "印刷(&P)", ScreenCommand::PrintLine);
  form->addSeparator();
  AddAction(form, "課題を開く(&K)...", [this] { OpenAssignmentFromDialog(this); });
  form->addSeparator();
  AddAction(form, "終了(&X)", [this] { close(); });

  QMenu* ops = menuBar()->addMenu(U("操作(&W)"));
  AddCommand(ops, "式エディタを開く(&E)", ScreenCommand::OpenExpressionEditor);
  AddCommand(ops, "式メモを開く(&M)", ScreenCommand::OpenMemo);
  AddCommand(ops, "代入Boxを開く(&D)", ScreenCommand::OpenSubstitution);
  AddCommand(ops, "ノートを開く(&N)", ScreenCommand::OpenNotebook);
  ops->addSeparator();
  AddCommand(ops, "素因数分解をする(&S)   Shift+S", ScreenCommand::SoinsuuPre);
  AddCommand(ops, "分数⇔循環小数           Shift+R", ScreenCommand::JunkanSyori);
  QAction* base = AddCommand(ops, "ｎ進法変換モード        Shift+N", ScreenCommand::ToggleBaseMode);
  base->setCheckable(true);
  baseModeChecks_.push_back(base);
  ops->addSeparator();
  AddCommand(ops, "約分する(&Y)              Ctrl+Y", ScreenCommand::YakuProcDsp);
  AddCommand(ops, "小数→分数(&B)           Ctrl+B", ScreenCommand::DecimalToFraction);
  AddCommand(ops, "仮分数→帯分数(&T)     Ctrl+T", ScreenCommand::ToMixed);
  AddCommand(ops, "帯分数→仮分数(&K)     Ctrl+K", ScreenCommand::ToImproper);
  ops->addSeparator();
  // The pupil's own working: the keys reach the line through the key map like every other command.
  AddAction(ops, "途中式を書いて調べる(&G)  Ctrl+G", [] { CheckLineSteps(); });
  AddAction(ops, "途中式のヒント(&H)  Ctrl+Shift+G", [] { ShowStepHint(); });
  ops->addSeparator();
  AddCommand(ops, "答を一時保存(&C)", ScreenCommand::CopyAnswer);
  AddCommand(ops, "保存した答を貼り付け(&P)", ScreenCommand::PasteAnswer);
  AddCommand(ops, "保存した答をLookする(&L)", ScreenCommand::ViewAnswer);

  QMenu* view = menuBar()->addMenu(U("表示(&V)"));
  answerColumnCheck_ = AddAction(view, "解答欄を付ける(&C)",
                                 [this] { KAITOURAN_FLAG = answerColumnCheck_->isChecked() ? 1 : 0; });
  answerColumnCheck_->setCheckable(true);
  AddAction(view, "＝ で改行する⇔しない(&L)　Ctrl＋Ｌ", [] { ToggleEqualKaigyo(); });
  view->addSeparator();
  inputPanelCheck_ =
      AddCommand(view, "入力パネル表示する⇔しない(&I) 　Ｆ８", ScreenCommand::InputPanelSwitch);
  inputPanelCheck_->setCheckable(true);
  AddCommand(view, "条件設定ボックス表示(&J)  Alt + J", ScreenCommand::OpenConditions);
  AddCommand(view, "詳細設定(&A)              Alt + A", ScreenCommand::OpenProcessSettings);
  view->addSeparator();
  AddAction(view, "計算過程表示する⇔しない  Ｆ５", [] { ToggleProcessDisplay(); });
  // This separator is the item of Ctrl+F, which does nothing (the key map ignores Ctrl+F as well).
  view->addSeparator();
  AddCommand(view, "フォント(&F)　　Shift+F", ScreenCommand::FontDialog);
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
  AddAction(view, "拡大する　Ctrl＋＋", [] { ZoomScreen(+1); });
  AddAction(view, "縮小する　Ctrl－－", [] { ZoomScreen(-1); });
  view->addSeparator();
  QAction* a4 = AddAction(view, "ウＩィンドウＡ４幅(&W)", [this] { WindowA4Width(); });
  // The notebook has its own Shift+Ctrl+F8: each window's key works in that window.
  a4->setShortcut(QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F8));
  a4->setShortcutContext(Qt::WindowShortcut);
  addAction(a4);

  QMenu* help = menuBar()->addMenu(U("ヘルプ(&H)"));
  help->addAction(U("チェック(&T)"))->setVisible(false);
  QAction* helpItem = AddCommand(help, "『Kazoru』のヘルプ(&H)", ScreenCommand::Help);
  helpItem->setShortcut(QKeySequence(Qt::Key_F1));
  addAction(helpItem);
  AddCommand(help, "ヘルプ［Home Page］ (&P)", ScreenCommand::HomePage);
  QAction* advice = help->addAction(U("アドバイス解説"));
  advice->setShortcut(QKeySequence(Qt::Key_F2));
  advice->setEnabled(false);
  AddCommand(help, "バージョン情報(&A)", ScreenCommand::VersionBox);

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
  AddCommand(m, "答を一時保存(&C)", ScreenCommand::CopyAnswer);
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
  AddCommand(m, "約分する(&Y)              Ctrl+Y", ScreenCommand::YakuProcDsp);
  AddCommand(m, "小数→分数(&B)           Ctrl+B", ScreenCommand::DecimalToFraction);
  AddCommand(m, "仮分数→帯分数(&T)     Ctrl+T", ScreenCommand::ToMixed);
  AddCommand(m, "帯分数→仮分数(&K)     Ctrl+K", ScreenCommand::ToImproper);
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
