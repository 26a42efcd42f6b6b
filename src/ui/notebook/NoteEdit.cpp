// The page editor: the page as plain text with its menus "ノート" and "表示", the check of every line,
// storing the lines, Look, the font dialog and the keys that insert the π text, "=" and the repurposed
// letters.
#include "ui/notebook/NoteEdit.h"

#include <QAction>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "notebook/NotePage.h"
#include "platform/Platform.h"
#include "platform/VirtualKeys.h"
#include "tools/BunSikiEdit.h"
#include "ui/QtCanvas.h"
#include "ui/screen/QtKeys.h"

namespace {

TNoteEditForm* TheEditor = nullptr;

QString U(const char* s) { return QString::fromUtf8(s); }
QString U(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* ERROR_CAPTION = "ｴﾗｰの報告";

// Blanks and control characters removed at both ends (as the page's reader trims).
std::string Trim(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
  return s.substr(b, e - b);
}

bool DefaultFontDialog(QFont& font) {
  QFontDialog dialog(font, TheEditor);
  dialog.setOption(QFontDialog::DontUseNativeDialog, true);
  if (dialog.exec() != QDialog::Accepted) return false;
  font = dialog.selectedFont();
  return true;
}

}  // namespace

int TNoteEditForm::RememberedSize = 14;
std::function<bool(QFont&)> TNoteEditForm::FontDialog = DefaultFontDialog;

bool TNoteEditForm::IsOpen() { return TheEditor != nullptr; }
TNoteEditForm* TNoteEditForm::Current() { return TheEditor; }

TNoteEditForm::TNoteEditForm(QWidget* parent) : QDialog(parent) {
  TheEditor = this;
  setWindowTitle(U("ﾉｰﾄﾌﾞｯｸの式編集[ﾌｧｲﾙ名::" + NotePage.fileName + "]"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* bar = new QMenuBar(this);
  layout->setMenuBar(bar);

  QMenu* note = bar->addMenu(U("ノート(&N)"));
  connect(note->addAction(U("破棄終了(&U)")), &QAction::triggered, this, [this] { DiscardClose(); });
  connect(note->addAction(U("反映終了(&R)")), &QAction::triggered, this, [this] { ReflectClose(); });
  QMenu* view = bar->addMenu(U("表示(&V)"));
  connect(view->addAction(U("適切さチェック(&C)")), &QAction::triggered, this, [this] { CheckCommand(); });
  connect(view->addAction(U("表示確認 (&D)")), &QAction::triggered, this, [this] { ShowCheck(); });
  connect(view->addAction(U("Lookする(&L)")), &QAction::triggered, this, [this] { LookCommand(); });
  connect(view->addAction(U("フォント(&F)")), &QAction::triggered, this, [this] { FontCommand(); });

  field_ = new QPlainTextEdit(this);
  field_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QPalette pal = field_->palette();
  pal.setColor(QPalette::Base, QColor(0, 0, 128));
  pal.setColor(QPalette::Text, Qt::white);
  field_->setPalette(pal);
  QFont f;
  f.setFamilies(QtCanvas::FamiliesFor("ＭＳ ゴシック"));
  f.setPointSize(RememberedSize);
  field_->setFont(f);
  field_->installEventFilter(this);
  layout->addWidget(field_);
  resize(520, 420);

  filling_ = true;
  QStringList lines;
  for (int i = 1; i <= NotePage.lineCount; ++i) lines << U(NoteLine(i));
  field_->setPlainText(lines.join('\n'));
  filling_ = false;
  changed_ = false;
  connect(field_, &QPlainTextEdit::textChanged, this, [this] {
    if (!filling_) changed_ = true;
  });
}

TNoteEditForm::~TNoteEditForm() {
  if (TheEditor == this) TheEditor = nullptr;
}

QAction* TNoteEditForm::FindAction(const QString& caption) const {
  for (QMenu* m : findChildren<QMenu*>())
    for (QAction* a : m->actions())
      if (a->text() == caption) return a;
  return nullptr;
}

std::vector<std::string> TNoteEditForm::FieldLines() const {
  std::vector<std::string> out;
  for (const QString& l : field_->toPlainText().split('\n')) out.push_back(l.toStdString());
  return out;
}

void TNoteEditForm::StoreLines() {
  if (ReplaceAllLines(FieldLines()) > 0) ShowMessage(NOTE_FULL_TEXT, SIKI_FILE_CAPTION);
  NotePage.modified = true;
  if (pageStored) pageStored();
}

bool TNoteEditForm::CheckLines() {
  const QStringList lines = field_->toPlainText().split('\n');
  int offset = 0;  // characters of the field before the current line
  for (int i = 0; i < lines.size(); ++i) {
    const std::string raw = lines[i].toStdString();
    const std::string line = Trim(raw);
    if (!line.empty() && !IsWorkingLine(line)) {
      const int p = CheckText(line, {.omitMul = true});
      if (p >= 1) {
        // The selection counts the untrimmed lengths of the earlier lines and the leading blanks of this
        // one, so that it lands on the bad character itself.
        const std::size_t lead = raw.find(line);
        const int at =
            offset + static_cast<int>(QString::fromStdString(raw.substr(0, lead)).size()) +
            static_cast<int>(QString::fromStdString(line.substr(0, static_cast<std::size_t>(p - 1))).size());
        QTextCursor c = field_->textCursor();
        c.setPosition(at);
        c.setPosition(std::min(at + 1, static_cast<int>(field_->toPlainText().size())),
                      QTextCursor::KeepAnchor);
        field_->setTextCursor(c);
        ShowMessage(
            "◇ｴﾗｰ::(" + std::to_string(i + 1) + "問: " + std::to_string(p) + "字目) " + CheckMessage(ErrorNo),
            ERROR_CAPTION);
        return false;
      }
    }
    offset += static_cast<int>(lines[i].size()) + 1;
  }
  return true;
}

void TNoteEditForm::CheckCommand() {
  if (!CheckLines()) return;
  QStringList lines = field_->toPlainText().split('\n');
  // A line end after the last line starts no line of its own.
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  ShowMessage("◇全" + std::to_string(lines.size()) + "行::エラーはありませんでした。", ERROR_CAPTION);
}

void TNoteEditForm::ShowCheck() {
  if (!CheckLines()) return;
  const bool changed = changed_;
  if (ReplaceAllLines(FieldLines()) > 0) ShowMessage(NOTE_FULL_TEXT, SIKI_FILE_CAPTION);
  if (changed && pageStored) pageStored();
}

void TNoteEditForm::LookCommand() {
  const std::string line = field_->textCursor().block().text().toStdString();
  if (line.empty()) return;
  if (CheckText(line, {.collectText = true, .omitMul = true, .showMessage = true}) != 0) return;
  CurrentPlatform().ShowNotice("@" + CheckedText, "式の分数形表示", 10000);
}

void TNoteEditForm::FontCommand() {
  QFont f = field_->font();
  f.setPointSize(RememberedSize);
  if (!FontDialog(f)) return;
  field_->setFont(f);
  if (f.pointSize() > 0) RememberedSize = f.pointSize();
}

void TNoteEditForm::DiscardClose() { reject(); }

void TNoteEditForm::ReflectClose() {
  if (AskQuestion("ノート画面を書き換えます。\n\nこのまま反映終了していいですか？", "反映終了のご確認",
                  MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  StoreLines();
  filling_ = true;
  field_->clear();
  filling_ = false;
  changed_ = false;
  closingConfirmed_ = true;
  accept();
}

void TNoteEditForm::reject() {
  if (!closingConfirmed_ && changed_) {
    if (AskQuestion("画面の式は編集されています。\n\nこのまま破棄終了していいですか？", "破棄終了のご確認",
                    MsgButtons::YesNo) != MsgAnswer::Yes)
      return;
    filling_ = true;
    field_->clear();
    filling_ = false;
  }
  closingConfirmed_ = true;
  QDialog::reject();
}

void TNoteEditForm::closeEvent(QCloseEvent* event) { QDialog::closeEvent(event); }

bool TNoteEditForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == field_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    int vk = 0, shift = 0;
    if (!QtKeyToVirtualKey(*key, vk, shift)) return false;
    std::string insert;
    if (vk == VK_OEM_5 && shift == SHIFT_NONE)
      insert = PaiText;  // the ¥ key types the π text
    else if (vk == VK_OEM_102)
      insert = "=";  // the "ろ" key types "="
    else
      insert = RepurposedKeyText(vk, shift, false);
    if (insert.empty()) return false;
    field_->insertPlainText(U(insert));
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
