// The dialog 「課題として配る」: fields for the title, the final form and the feedback mode, the site's
// address, the code and the link with a copy button, the QR code drawn through the canvas, and the print
// of the pupils' sheet.
#include "ui/notebook/AssignDialog.h"

#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/Settings.h"
#include "handout/Handout.h"
#include "handout/QrCode.h"
#include "platform/Platform.h"
#include "ui/PdfOutput.h"
#include "ui/QtCanvas.h"

namespace {

QString U(const std::string& s) { return QString::fromStdString(s); }

constexpr int QR_PIXELS = 220;  // the code on the screen, quiet zone included, about this wide

// The three choices of each box, in the order the boxes list them.
constexpr AssignmentFinal FINALS[] = {AssignmentFinal::Mixed, AssignmentFinal::Improper, AssignmentFinal::Either};
constexpr AssignmentFeedback FEEDBACKS[] = {AssignmentFeedback::Now, AssignmentFeedback::End,
                                            AssignmentFeedback::None};

// The printed sheet's pen is 3 printer dots wide at 300 dots per inch, as the practice sheet prints.
constexpr int PRINT_DPI = 300;
constexpr int PRINT_PEN = 3;

}  // namespace

TAssignForm::TAssignForm(const SheetControls& controls, const std::string& title, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(U("課題として配る"));
  setModal(true);
  assignment_.controls = controls;
  auto* main = new QHBoxLayout(this);

  auto* left = new QVBoxLayout;
  auto* form = new QFormLayout;
  title_ = new QLineEdit(U(title), this);
  title_->setMinimumWidth(420);
  form->addRow(U("題名(&T)"), title_);
  final_ = new QComboBox(this);
  for (AssignmentFinal f : FINALS) final_->addItem(U(AssignmentFinalName(f)));
  final_->setCurrentIndex(2);  // either form counts, unless the teacher asks for one
  form->addRow(U("答えの形(&F)"), final_);
  feedback_ = new QComboBox(this);
  for (AssignmentFeedback b : FEEDBACKS) feedback_->addItem(U(AssignmentFeedbackName(b)));
  form->addRow(U("○×とアドバイス(&B)"), feedback_);
  site_ = new QLineEdit(U(HandoutSite(KADAI_SITE)), this);
  site_->setToolTip(U("学校のサイトにおいた『Kazoru』のアドレス。一度決めると次からも使います。"));
  form->addRow(U("サイトのアドレス(&S)"), site_);
  // The code and the link are long: read-only boxes that wrap anywhere show them whole.
  auto readOnlyBox = [this](int rows) {
    auto* box = new QPlainTextEdit(this);
    box->setReadOnly(true);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAnywhere);
    box->setFixedHeight(box->fontMetrics().lineSpacing() * rows + 12);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return box;
  };
  codeField_ = readOnlyBox(3);
  form->addRow(U("コード"), codeField_);
  linkField_ = readOnlyBox(4);
  copy_ = new QPushButton(U("コピー(&O)"), this);
  copy_->setObjectName("copy");
  auto* linkRow = new QHBoxLayout;
  linkRow->addWidget(linkField_, 1);
  linkRow->addWidget(copy_);
  form->addRow(U("リンク"), linkRow);
  left->addLayout(form);
  count_ = new QLabel(this);
  left->addWidget(count_);
  message_ = new QLabel(this);
  message_->setWordWrap(true);
  message_->setStyleSheet("color: #c00000");
  left->addWidget(message_);
  left->addStretch();
  auto* buttons = new QHBoxLayout;
  print_ = new QPushButton(U("配る用紙を印刷(&P)"), this);
  print_->setObjectName("printHandout");
  auto* close = new QPushButton(U("閉じる(&C)"), this);
  buttons->addStretch();
  buttons->addWidget(print_);
  buttons->addWidget(close);
  left->addLayout(buttons);
  main->addLayout(left, 1);

  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel(U("QR コード（リンク）")));
  qr_ = new QLabel(this);
  qr_->setMinimumSize(QR_PIXELS, QR_PIXELS);
  qr_->setAlignment(Qt::AlignCenter);
  right->addWidget(qr_);
  right->addStretch();
  main->addLayout(right);

  connect(title_, &QLineEdit::textChanged, this, [this] { Update(); });
  connect(final_, &QComboBox::currentIndexChanged, this, [this] { Update(); });
  connect(feedback_, &QComboBox::currentIndexChanged, this, [this] { Update(); });
  connect(site_, &QLineEdit::textChanged, this, [this] { Update(); });
  connect(copy_, &QPushButton::clicked, this, [this] { CopyLink(); });
  connect(print_, &QPushButton::clicked, this, [this] { PrintHandout(); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  Update();
}

void TAssignForm::Update() {
  assignment_.title = title_->text().trimmed().toStdString();
  assignment_.finalForm = FINALS[std::clamp(final_->currentIndex(), 0, 2)];
  assignment_.feedback = FEEDBACKS[std::clamp(feedback_->currentIndex(), 0, 2)];
  code_.clear();
  link_.clear();
  std::string why;
  if (assignment_.title.empty()) why = "題名を入れてください（例 5年2組 分数のたし算）。";
  if (why.empty()) why = EncodeAssignment(assignment_, code_);
  const std::string site = site_->text().trimmed().toStdString();
  if (why.empty()) why = CheckSiteAddress(site);
  if (why.empty()) {
    // The school's address is kept with the settings; the program's own default is not written out.
    KADAI_SITE = site == ASSIGNMENT_DEFAULT_SITE ? "" : site;
    link_ = AssignmentLink(site, code_);
  } else {
    code_.clear();
  }
  codeField_->setPlainText(U(GroupedCode(code_)));
  linkField_->setPlainText(U(link_));
  message_->setStyleSheet("color: #c00000");
  message_->setText(U(why));
  copy_->setEnabled(!link_.empty());
  print_->setEnabled(!link_.empty());

  const Sheet sheet = AssignmentSheet(assignment_);
  count_->setText(U(std::to_string(sheet.problems.size()) + "問　" +
                    (sheet.skill ? std::string(sheet.skill->name) : assignment_.controls.skill) + "　" +
                    std::string(1, assignment_.controls.version) + "版　シード" +
                    std::to_string(assignment_.controls.seed)));

  const QrMatrix qr = MakeQrMatrix(link_);
  if (link_.empty() || qr.Empty()) {
    qr_->clear();
    return;
  }
  const int module = std::max(1, QR_PIXELS / (qr.size + 2 * QR_QUIET_ZONE));
  const int side = QrDrawnSide(qr, module);
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QtCanvas canvas(&image);
  canvas.Begin(&painter);
  DrawQrMatrix(canvas, qr, 0, 0, module);
  canvas.End();
  painter.end();
  qr_->setPixmap(QPixmap::fromImage(image));
}

void TAssignForm::CopyLink() {
  if (link_.empty()) return;
  if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(U(link_));
  message_->setStyleSheet("color: #006000");
  message_->setText(U("リンクをコピーしました。"));
}

bool TAssignForm::PrintHandout() {
  if (link_.empty()) return false;
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(U("課題　" + assignment_.title));
  if (printerSetup && !printerSetup(printer)) return false;
  const bool printed = PrintSafely(printer, [this](QPrinter& p) {
    p.setResolution(PRINT_DPI);
    QPainter painter;
    if (!painter.begin(&p)) return false;
    QtCanvas canvas(&p);
    canvas.Begin(&painter);
    const QRect page = p.pageLayout().paintRectPixels(p.resolution());
    const SheetPaper paper{page.width(), page.height(), canvas.PixelsPerInch(), PRINT_PEN};
    const int pages = DrawHandoutPages(canvas, assignment_, code_, link_, paper, [&p] { return p.newPage(); });
    canvas.End();
    return painter.end() && pages > 0;
  });
  if (!printed) ShowMessage(PrintFailedText(printer), "ご注意！");
  return printed;
}
