// Printing through a temporary PDF file that replaces the chosen one only when whole.
#include "ui/PdfOutput.h"

#include <unistd.h>

#include <QFile>
#include <QPrinter>
#include <algorithm>
#include <string>

#include "platform/AtomicFile.h"

namespace {

// A PDF file written to its end carries the end-of-file marker in its last bytes.
bool EndsWithTrailer(const std::string& path) {
  QFile file(QFile::decodeName(path.c_str()));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const qint64 size = file.size();
  if (size < 16) return false;
  file.seek(std::max<qint64>(0, size - 64));
  return file.readAll().contains("%%EOF");
}

}  // namespace

bool PrintSafely(QPrinter& printer, const std::function<bool(QPrinter&)>& draw) {
  const QString chosen = printer.outputFileName();
  if (printer.outputFormat() != QPrinter::PdfFormat || chosen.isEmpty()) return draw(printer);

  const std::string path = QFile::encodeName(chosen).toStdString();
  const std::string temporary = CreateTemporaryBeside(path, ".pdf");
  if (temporary.empty()) return false;
  printer.setOutputFileName(QFile::decodeName(temporary.c_str()));
  const bool drawn = draw(printer);
  printer.setOutputFileName(chosen);
  if (!drawn || !EndsWithTrailer(temporary)) {
    ::unlink(temporary.c_str());
    return false;
  }
  return ReplaceWithTemporary(temporary, path);
}

const char* PrintFailedText(const QPrinter& printer) {
  return printer.outputFileName().isEmpty() ? "印刷を始められませんでした。"
                                            : "ご指定のﾌｧｲﾙに印刷できませんでした。";
}
