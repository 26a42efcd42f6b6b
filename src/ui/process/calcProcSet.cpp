// The detailed settings window: its controls top to bottom with their captions, groups and colours, set
// from the settings when it opens; each click stores its control's state in the setting at once.
#include "ui/process/calcProcSet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/Settings.h"

namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

TCalcProcSetForm* TheForm = nullptr;

void SetBackground(QWidget* w, const QColor& c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, c);
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

// A titled group of radio buttons laid out in rows of perRow; the group's ids are the item indexes.
QButtonGroup* RadioGroup(QWidget* owner, QVBoxLayout* into, const char* title,
                         std::initializer_list<const char*> items, int perRow, const char* name) {
  auto* box = new QGroupBox(U(title), owner);
  box->setObjectName(U(name));
  auto* grid = new QVBoxLayout(box);
  grid->setContentsMargins(4, 2, 4, 2);
  grid->setSpacing(0);
  auto* group = new QButtonGroup(box);
  group->setObjectName(U(name));
  QHBoxLayout* row = nullptr;
  int i = 0;
  for (const char* item : items) {
    if (i % perRow == 0) {
      row = new QHBoxLayout;
      row->setSpacing(4);
      grid->addLayout(row);
    }
    auto* b = new QRadioButton(U(item), box);
    group->addButton(b, i);
    row->addWidget(b);
    ++i;
  }
  into->addWidget(box);
  return group;
}

}  // namespace

int DivisorListItem(int perRow, int includeNumber) {
  const int rows = std::clamp((10 - perRow) / 5, 0, 1);
  return rows + 2 * (includeNumber != 0 ? 1 : 0);
}

TCalcProcSetForm::TCalcProcSetForm(QWidget* parent) : QDialog(parent) {
  TheForm = this;
  setObjectName("calcProcSet");
  setWindowTitle(U("◆詳細設定◆"));
  // A tool window that can be neither maximised nor resized.
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
  setModal(true);
  SetBackground(this, QColor(192, 220, 192));  // money green
  QFont f = font();
  f.setPointSize(9);
  setFont(f);

  auto* top = new QVBoxLayout(this);
  top->setContentsMargins(4, 4, 4, 4);
  top->setSpacing(3);

  // 1. The process itself, on yellow.
  auto* process = new QGroupBox(U("◆計算式の詳細設定◆"), this);
  process->setObjectName("processGroup");
  SetBackground(process, QColor(255, 255, 0));
  auto* pl = new QVBoxLayout(process);
  pl->setContentsMargins(4, 2, 4, 2);
  pl->setSpacing(1);
  AdvCheckBox = new QCheckBox(U("式の後にアドバイスを表示"), process);
  AdvCheckBox->setObjectName("AdvCheckBox");
  pl->addWidget(AdvCheckBox);
  RadioGroup2 = RadioGroup(process, pl, "◇式の詳しさ◇", {"ふつう", "くわしい"}, 2, "RadioGroup2");
  RadioGroup1 = RadioGroup(process, pl, "★最終表示★", {"帯分数", "仮分数"}, 2, "RadioGroup1");
  top->addWidget(process);

  // 2. Other calculations.
  auto* other = new QGroupBox(U("▼その他いろいろな計算の設定▼"), this);
  other->setObjectName("otherGroup");
  auto* ol = new QVBoxLayout(other);
  ol->setContentsMargins(4, 2, 4, 2);
  ol->setSpacing(1);
  CheckBox1 = new QCheckBox(U("帯分数､仮分数の変換で約分"), other);
  CheckBox1->setObjectName("CheckBox1");
  CheckBox2 = new QCheckBox(U("素因数分解時に中断が可能"), other);
  CheckBox2->setObjectName("CheckBox2");
  ol->addWidget(CheckBox1);
  ol->addWidget(CheckBox2);
  RadioGroup3 = RadioGroup(
      other, ol, "素因数分解後の約数の和の表示",
      {"元の数を除く[10個で改行]", "元の数を除く[５個で改行]", "全約数[10個で改行]", "全約数[５個で改行]"}, 1,
      "RadioGroup3");
  top->addWidget(other);

  // 3. Division with a remainder.
  auto* panel = new QWidget(this);
  panel->setObjectName("divisionPanel");
  auto* dl = new QVBoxLayout(panel);
  dl->setContentsMargins(4, 0, 4, 0);
  dl->setSpacing(1);
  CheckBox3 = new QCheckBox(U("わり算で商と余りを出す"), panel);
  CheckBox3->setObjectName("CheckBox3");
  dl->addWidget(CheckBox3);
  auto* places = new QHBoxLayout;
  places->addWidget(new QLabel(U("・商は小数第"), panel));
  Edit1 = new QSpinBox(panel);
  Edit1->setObjectName("Edit1");
  Edit1->setRange(0, 6);
  Edit1->setValue(0);
  places->addWidget(Edit1);
  places->addWidget(new QLabel(U("位まで求める"), panel));
  places->addStretch();
  dl->addLayout(places);
  top->addWidget(panel);

  // 4. The Return key and closing.
  auto* bottom = new QHBoxLayout;
  RetKeyChkBox = new QCheckBox(U("Returnを＝とみなす"), this);
  RetKeyChkBox->setObjectName("RetKeyChkBox");
  CloseButton = new QPushButton(U("閉じる C"), this);
  CloseButton->setObjectName("CloseButton");
  CloseButton->setAutoDefault(false);
  bottom->addWidget(RetKeyChkBox);
  bottom->addStretch();
  bottom->addWidget(CloseButton);
  top->addLayout(bottom);

  FormShow();

  connect(AdvCheckBox, &QCheckBox::toggled, this, [](bool on) { ADVICEDSP = on ? 1 : 0; });
  connect(RadioGroup1, &QButtonGroup::idClicked, this, [](int i) { PROCLASTANS = i != 0 ? 1 : 0; });
  connect(RadioGroup2, &QButtonGroup::idClicked, this, [](int i) { PROCTEIDO = i != 0 ? 1 : 0; });
  connect(RadioGroup3, &QButtonGroup::idClicked, this, [this](int i) { RadioGroup3Click(i); });
  connect(CheckBox1, &QCheckBox::toggled, this, [](bool on) { ReduceOnConvert = on ? 1 : 0; });
  connect(CheckBox2, &QCheckBox::toggled, this, [](bool on) { InterruptibleFactorisation = on ? 1 : 0; });
  connect(CheckBox3, &QCheckBox::toggled, this, [this](bool on) {
    Edit1->setEnabled(on);
    WARI_TYPE = on ? 1 : 0;
  });
  connect(Edit1, &QSpinBox::valueChanged, this, [](int v) { WARI_PNT = v; });
  connect(RetKeyChkBox, &QCheckBox::toggled, this, [](bool on) { RETKEYFLAG = on ? 1 : 0; });
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);

  setFixedSize(sizeHint().expandedTo(QSize(200, 321)));
}

TCalcProcSetForm::~TCalcProcSetForm() {
  if (TheForm == this) TheForm = nullptr;
}

TCalcProcSetForm* TCalcProcSetForm::Instance() { return TheForm; }

void TCalcProcSetForm::FormShow() {
  AdvCheckBox->setChecked(ADVICEDSP != 0);
  RadioGroup1->button(PROCLASTANS != 0 ? 1 : 0)->setChecked(true);
  RadioGroup2->button(PROCTEIDO != 0 ? 1 : 0)->setChecked(true);
  const int item = DivisorListItem(ICHIGYOU_SUU, WA_TYPE);
  RadioGroup3->button(item)->setChecked(true);
  RadioGroup3Click(item);
  CheckBox1->setChecked(ReduceOnConvert != 0);
  CheckBox2->setChecked(InterruptibleFactorisation != 0);
  RetKeyChkBox->setChecked(RETKEYFLAG != 0);
  CheckBox3->setChecked(WARI_TYPE != 0);
  Edit1->setEnabled(CheckBox3->isChecked());
  WARI_TYPE = CheckBox3->isChecked() ? 1 : 0;
  // The field shows at most 6 places; a larger stored value is left as it is until the pupil changes it.
  Edit1->setValue(std::clamp(WARI_PNT, 0, 6));
}

void TCalcProcSetForm::keyPressEvent(QKeyEvent* event) {
  // Alt+C closes the window from any of its controls (their keys come up to the window).
  if (event->key() == Qt::Key_C && (event->modifiers() & Qt::AltModifier)) {
    close();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TCalcProcSetForm::RadioGroup3Click(int index) {
  ICHIGYOU_SUU = (index % 2 == 1) ? 5 : 10;
  WA_TYPE = index >= 2 ? 1 : 0;
}

void ShowCalcProcSet(QWidget* parent) {
  if (TCalcProcSetForm::Instance()) return;
  TCalcProcSetForm form(parent);
  form.exec();
}
