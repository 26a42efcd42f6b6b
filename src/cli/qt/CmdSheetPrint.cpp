// kazoru-cli sheet --pdf / --key: the practice sheet and its answer key printed into PDF files without a
// window, through the same printing as the notebook window's.
#include <QPrinter>

#include "cli/Cli.h"
#include "cli/CmdSheet.h"
#include "cli/qt/CliApplication.h"
#include "notebook/NotePage.h"
#include "sheets/Sheet.h"
#include "ui/PdfOutput.h"
#include "ui/SheetPrint.h"

namespace {

bool PrintSheetPdf(const Sheet& sheet, const std::string& path, bool key, bool advice, int& pages) {
  EnsureCliApplication();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(QString::fromStdString(SheetTitle(sheet)));
  const bool ok = PrintSafely(
      printer, [&](QPrinter& p) { return key ? PrintSheetKey(p, sheet, advice) : PrintSheetPage(p, sheet); });
  if (!ok) {
    ShowMessage(PrintFailedText(printer), SIKI_FILE_CAPTION);
    return false;
  }
  pages = LastSheetPrintPages();
  return true;
}

// Installs the PDF printing before main runs.
const bool INSTALLED = [] {
  SheetPdfCommand = PrintSheetPdf;
  return true;
}();

}  // namespace
