// The pupils' sheet of an assignment with the QR code of its link on it.
#include "handout/Handout.h"

#include <algorithm>
#include <vector>

#include "classroom/Assignment.h"
#include "engine/Settings.h"
#include "handout/QrCode.h"
#include "notebook/NoteSheet.h"
#include "platform/ShiftedCanvas.h"
#include "sheets/Sheet.h"

namespace {

// The printed code is about an inch and a quarter across, quiet zone included: big enough for a tablet's
// camera at arm's length, small enough to leave the page to the problems.
constexpr double QR_INCHES = 1.25;

}  // namespace

int DrawHandoutPages(Canvas& s, const Assignment& a, const std::string& code, const std::string& link,
                     const SheetPaper& paper, const NextSheetPage& next) {
  const Sheet sheet = AssignmentSheet(a);
  if (sheet.problems.empty()) return 0;
  const QrMatrix qr = MakeQrMatrix(link);
  const int ppi = std::max(1, paper.ppi);
  const int module =
      qr.Empty() ? 1 : std::max(1, static_cast<int>(QR_INCHES * ppi) / (qr.size + 2 * QR_QUIET_ZONE));
  const int side = QrDrawnSide(qr, module);

  // The band's texts in the notebook's page font, a little smaller than the sheet's problems.
  const std::string font = s.FontName();
  const int size = s.FontSize();
  const Color colour = s.FontColor();
  const bool bold = s.FontBold();
  auto bandFont = [&] {
    PrepareNoteSurface(s, paper.penWidth, true);
    s.SetFontSize(std::max(8, NOTE_FONTSIZE - 2));
  };
  bandFont();
  const int ch = std::max(1, s.TextHeight("1234567890"));
  const int cw = std::max(1, s.TextWidth("1234567890") / 10);
  const int x = side + 2 * cw;
  // The code and the link are ASCII: they are cut into rows of as many characters as the width beside
  // the QR code holds, the code between its groups of four.
  const size_t perRow = static_cast<size_t>(std::max(16, (paper.width - x) / cw - 1));
  std::vector<std::string> rows = {"課題：" + a.title};
  std::vector<int> indents = {0};
  const std::string grouped = GroupedCode(code);
  const size_t label = 8;  // 「コード：」 takes eight cells
  for (size_t at = 0; at < grouped.size();) {
    const size_t room = perRow - (at == 0 ? label : 0);
    size_t take = std::min(room, grouped.size() - at);
    if (at + take < grouped.size()) {
      const size_t hyphen = grouped.rfind('-', at + take - 1);
      if (hyphen != std::string::npos && hyphen > at) take = hyphen + 1 - at;
    }
    rows.push_back((at == 0 ? "コード：" : "") + grouped.substr(at, take));
    indents.push_back(at == 0 ? 0 : static_cast<int>(label) * cw);
    at += take;
  }
  for (size_t at = 0; at < link.size(); at += perRow) {
    rows.push_back(link.substr(at, perRow));
    indents.push_back(0);
  }
  rows.push_back("タブレットで QR コードを読むか、リンクかコードを打って始めます。");
  indents.push_back(0);
  const int pitch = ch + ch / 4;
  const int textHeight = static_cast<int>(rows.size()) * pitch;
  const int band = std::max(side, textHeight) + ppi / 8;
  auto drawBand = [&] {
    bandFont();
    DrawQrMatrix(s, qr, 0, 0, module);
    int y = std::max(0, (side - textHeight) / 2);
    s.SetFontColor(CLR_BLACK);
    for (size_t i = 0; i < rows.size(); ++i, y += pitch) {
      s.SetFontBold(i == 0);
      s.TextOut(x + indents[i], y, rows[i]);
    }
    s.SetFontBold(false);
    s.SetFontName(font);
    s.SetFontSize(size);
  };

  // The practice sheet below the band, on a page that much shorter. Every page carries the band: a page
  // that comes loose still says which assignment it belongs to.
  ShiftedCanvas below(s, 0, -band);
  SheetPaper rest = paper;
  rest.height = std::max(1, paper.height - band);
  drawBand();
  const int pages = DrawSheetPages(below, sheet, rest, [&] {
    if (!next()) return false;
    const std::string f = s.FontName();
    const int z = s.FontSize();
    drawBand();
    s.SetFontName(f);
    s.SetFontSize(z);
    return true;
  });
  s.SetFontName(font);
  s.SetFontSize(size);
  s.SetFontColor(colour);
  s.SetFontBold(bold);
  return pages;
}
