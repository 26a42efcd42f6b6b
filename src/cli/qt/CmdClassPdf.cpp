// kazoru-cli class --pdf: the class summary printed into a PDF file without a window, through the same
// printing as the summary window's.
#include <QPrinter>

#include "cli/Cli.h"
#include "cli/CmdClass.h"
#include "cli/qt/CliApplication.h"
#include "ui/PdfOutput.h"
#include "ui/classroom/ClassPrint.h"

namespace {

bool PrintClassPdf(const ClassSummary& summary, const std::string& path, int& pages) {
  EnsureCliApplication();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  printer.setDocName(QStringLiteral("クラスのまとめ"));
  const bool ok = PrintSafely(printer, [&](QPrinter& p) { return PrintClassSummary(p, summary, pages); });
  if (!ok) {
    ShowMessage(PrintFailedText(printer), "クラスのまとめ");
    return false;
  }
  return true;
}

// Installs the PDF printing before main runs.
const bool INSTALLED = [] {
  ClassCommands.ClassPdfCommand = PrintClassPdf;
  return true;
}();

}  // namespace
