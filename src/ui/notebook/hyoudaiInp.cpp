// The title box: the title field, the append-file-name switch, the title font with its dialog, and the
// three buttons that apply, choose the font and close.
#include "ui/notebook/hyoudaiInp.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>

#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "ui/QtCanvas.h"

namespace {

THyoudaiEditForm* TheBox = nullptr;

QString U(const char* s) { return QString::fromUtf8(s); }

// A font dialog of existing fixed-pitch fonts with an Apply button and a colour button; the colour is
// chosen beside it because the font dialog has none.
bool DefaultTitleFontDialog(QFont& font, QColor& colour,
                            const std::function<void(const QFont&, const QColor&)>& apply) {
  QFontDialog dialog(font, TheBox);
  dialog.setOption(QFontDialog::DontUseNativeDialog, true);
  dialog.setOption(QFontDialog::MonospacedFonts, true);
  dialog.setWindowTitle(U("表題のフォント"));
  QColor chosen = colour;
  if (auto* box = dialog.findChild<QDialogButtonBox*>()) {
    QPushButton* colourButton = box->addButton(U("色..."), QDialogButtonBox::ActionRole);
    QObject::connect(colourButton, &QPushButton::clicked, &dialog, [&] {
      QColor c = QColorDialog::getColor(chosen, &dialog);
      if (c.isValid()) chosen = c;
    });
    QPushButton* applyButton = box->addButton(QDialogButtonBox::Apply);
    QObject::connect(applyButton, &QPushButton::clicked, &dialog,
                     [&] { apply(dialog.currentFont(), chosen); });
  }
  if (dialog.exec() != QDialog::Accepted) return false;
  font = dialog.selectedFont();
  colour = chosen;
  return true;
}

}  // namespace

std::function<bool(QFont&, QColor&, const std::function<void(const QFont&, const QColor&)>&)>
    THyoudaiEditForm::FontDialog = DefaultTitleFontDialog;

bool THyoudaiEditForm::IsOpen() { return TheBox != nullptr; }
THyoudaiEditForm* THyoudaiEditForm::Current() { return TheBox; }

THyoudaiEditForm::THyoudaiEditForm(QWidget* parent) : QDialog(parent) {
  TheBox = this;
  setModal(true);
  setWindowTitle(U("◆ノートの表題を記入する"));
  setFixedSize(420, 112);
  field_ = new QLineEdit(QString::fromStdString(NotePage.title), this);
  field_->setGeometry(10, 10, 400, 26);
  connect(field_, &QLineEdit::textEdited, this, [this] { edited_ = true; });
  append_ = new QCheckBox(U("表題にﾌｧｲﾙ名を追加"), this);
  append_->setGeometry(10, 42, 200, 22);
  append_->setChecked(NoteAppendFileName);
  connect(append_, &QCheckBox::toggled, this, [this](bool on) {
    NoteAppendFileName = on;
    if (redraw) redraw();
  });
  auto make = [this](const char* caption, const char* hint, int x, void (THyoudaiEditForm::*handler)()) {
    auto* b = new QPushButton(U(caption), this);
    b->setGeometry(x, 74, 90, 28);
    b->setToolTip(U(hint));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
  };
  applyButton_ = make("適用 &A", "上記表題をノート画面に表示する", 120, &THyoudaiEditForm::ApplyClick);
  fontButton_ = make("ﾌｫﾝﾄ &F", "表題の書体(フォント)を設定する", 220, &THyoudaiEditForm::FontClick);
  endButton_ = make("終了 &C", "このﾎﾞｯｸｽを閉じる", 320, &THyoudaiEditForm::EndClick);
}

THyoudaiEditForm::~THyoudaiEditForm() {
  if (TheBox == this) TheBox = nullptr;
}

QPushButton* THyoudaiEditForm::Button(const QString& caption) const {
  for (QPushButton* b : {applyButton_, fontButton_, endButton_})
    if (b->text() == caption) return b;
  return nullptr;
}

void THyoudaiEditForm::TakeTitle() {
  NotePage.title = field_->text().toStdString();
  if (edited_) changed_ = true;
}

void THyoudaiEditForm::TakeFont(const QFont& font, const QColor& colour) {
  NoteTitleFont.name = font.family().toStdString();
  if (font.pointSize() > 0) NoteTitleFont.size = font.pointSize();
  NoteTitleFont.bold = font.bold();
  NoteTitleFont.italic = font.italic();
  NoteTitleFont.color = Color(colour.red(), colour.green(), colour.blue());
}

void THyoudaiEditForm::ApplyClick() {
  TakeTitle();
  if (redraw) redraw();
}

void THyoudaiEditForm::FontClick() {
  QFont font;
  font.setFamilies(QtCanvas::FamiliesFor(NoteTitleFont.name));
  font.setPointSize(NoteTitleFont.size);
  font.setBold(NoteTitleFont.bold);
  font.setItalic(NoteTitleFont.italic);
  const Color c = NoteTitleFont.color;
  QColor colour(c.Red(), c.Green(), c.Blue());
  auto apply = [this](const QFont& f, const QColor& col) {
    TakeFont(f, col);
    TakeTitle();
    if (redraw) redraw();
  };
  if (FontDialog(font, colour, apply)) {
    TakeFont(font, colour);
    if (redraw) redraw();
  }
}

void THyoudaiEditForm::EndClick() {
  TakeTitle();
  accept();
}

void THyoudaiEditForm::closeEvent(QCloseEvent* event) {
  // The close box keeps the old title.
  QDialog::closeEvent(event);
}
