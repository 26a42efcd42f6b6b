// kazoru-cli render: a fresh calculation screen types the argument key by key and closes the line, and
// the current line — with its answer, or with its process when process display is on — is drawn to a
// PNG image as the screen paints it, or printed to a PDF page as the print command prints it.
#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "cli/Cli.h"
#include "cli/qt/CliApplication.h"
#include "engine/Settings.h"
#include "platform/AtomicFile.h"
#include "process/CalcProcManage.h"
#include "screen/PrintedLine.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "typeset/bunCanvasDsp.h"
#include "ui/PdfOutput.h"
#include "ui/QtCanvas.h"
#include "ui/screen/PrintLine.h"

namespace {

std::string ValidateRender(const CliOptions& opts) {
  if (!opts.Has("-o")) return "render needs -o FILE.png or FILE.pdf";
  const QString suffix = QFileInfo(QString::fromStdString(opts.Get("-o"))).suffix().toLower();
  if (suffix != "png" && suffix != "pdf") return "render writes .png or .pdf files";
  return "";
}

CliRun Fail(const std::string& text) {
  if (!text.empty()) ShowMessage(text, "kazoru-cli");
  CliRun r;
  r.result = "n";
  r.status = -1;
  r.ok = false;
  r.fields["width"] = 0;
  r.fields["height"] = 0;
  return r;
}

// The part of a page image that is not background, with a margin; at least the screen's own size.
QRect UsedArea(const QImage& image, QColor background, int margin, QSize least) {
  int right = 0, bottom = 0;
  const QRgb bg = background.rgb();
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (row[x] != bg) {
        right = std::max(right, x);
        bottom = std::max(bottom, y);
      }
  }
  const int w = std::min(image.width(), std::max(least.width(), right + margin));
  const int h = std::min(image.height(), std::max(least.height(), bottom + margin));
  return QRect(0, 0, w, h);
}

CliRun RunRender(const std::string& input, const CliOptions& opts) {
  if (opts.Has("--process")) PROCDSP = 1;
  if (opts.Has("--detail")) PROCTEIDO = 1;
  if (opts.Has("--advice")) ADVICEDSP = 1;
  EnsureCliApplication();
  InstallLineCommands();

  // The page is drawn on an image that measures text as the screen does.
  QImage image(1600, 2400, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);  // 96 pixels per inch
  image.setDotsPerMeterY(3780);
  QtCanvas canvas(&image);
  PrepareScreenSurface(canvas);
  ScreenSurface = nullptr;  // the keys draw nothing; the page is painted once, below
  ResetSikiInp();

  std::vector<KeyPress> presses;
  std::string error;
  if (!ParseKeySequence(input, presses, error)) return Fail(error);
  for (const KeyPress& p : presses) KeyToInput(p.key, p.shift);
  if (LineOpen && !LineText.empty()) KeyToInput(VK_RIGHT, SHIFT_NONE);

  const std::string out = opts.Get("-o");
  const QString file = QString::fromStdString(out);
  CliRun r;
  if (QFileInfo(file).suffix().toLower() == "pdf") {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
    ScreenSurface = &canvas;
    const bool ok = !LineText.empty() && PrintSafely(printer, PrintLineOn);
    ScreenSurface = nullptr;
    if (!ok) return Fail(LineText.empty() ? PRINT_NO_LINE_TEXT : PrintFailedText(printer));
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    r.fields["width"] = page.width();
    r.fields["height"] = page.height();
  } else {
    {
      QPainter painter(&image);
      canvas.Begin(&painter);
      PaintPage(canvas, image.width(), image.height());
      canvas.End();
    }
    const QRect used = UsedArea(image, QColor(255, 251, 240), 2 * CharHeight, QSize(500, 450));
    const QImage shot = image.copy(used);
    // Written beside the chosen file and renamed over it once whole, so a failed write keeps the old one.
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !shot.save(&buffer, "PNG") ||
        !WriteAtomically(QFile::encodeName(file).toStdString(), png.toStdString()))
      return Fail("ご指定のﾌｧｲﾙに書き込めませんでした。");
    r.fields["width"] = shot.width();
    r.fields["height"] = shot.height();
  }
  r.result = out;
  r.status = 1;
  r.fields["line"] = LineText;
  r.fields["processType"] = ProcessTypeNumber(ProcessState.processType);
  return r;
}

const CliRegistration REGISTER_RENDER(CliCommand{
    "render",
    "render [--process] [--detail] [--advice] -o FILE.png|FILE.pdf [ARG]",
    {{"--process", false}, {"--detail", false}, {"--advice", false}, {"-o", true}},
    true,
    ValidateRender,
    RunRender,
});

}  // namespace
