// kazoru-cli notebook print: the notebook sheet of a .siki file printed to a PDF file, every line on as
// many sheets as it needs, exactly as "ノートを印刷" prints it (the printer's own metrics, no background,
// no rulers), without a window.
#include <QFileInfo>
#include <QPrinter>

#include "cli/CmdNotebook.h"
#include "cli/qt/CliApplication.h"
#include "notebook/NotePage.h"
#include "notebook/NoteSheet.h"
#include "platform/Platform.h"
#include "typeset/bunCanvasDsp.h"
#include "ui/NotePrint.h"
#include "ui/PdfOutput.h"

namespace {

CliRun Fail() {
  CliRun r;
  r.result = "n";
  r.status = -1;
  r.ok = false;
  r.fields["pages"] = 0;
  return r;
}

CliRun RunNotebookPrint(const std::string& file, const CliOptions& opts) {
  if (!LoadNotebookForRun(file)) return Fail();
  EnsureCliApplication();
  const std::string out = opts.Get("-o");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(out));
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(QFileInfo(QString::fromStdString(file)).fileName());
  // A printer that cannot start (an unwritable folder) draws nothing; a file that could not be written
  // whole (a full disk) leaves the old one as it was.
  int sheets = 0;
  if (!PrintSafely(printer,
                   [&sheets](QPrinter& p) { return (sheets = PrintNoteSheets(p, NotePrintStart{})) > 0; })) {
    ShowMessage(PrintFailedText(printer), SIKI_FILE_CAPTION);
    return Fail();
  }
  CliRun r;
  r.result = out;
  r.status = 1;
  r.fields["pages"] = sheets;
  return r;
}

// Installs the print command before main runs.
const bool INSTALLED = [] {
  NotebookPrintCommand = RunNotebookPrint;
  return true;
}();

}  // namespace
