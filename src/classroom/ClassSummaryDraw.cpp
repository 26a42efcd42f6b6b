// Lays the class summary out on pages: every page is a list of blocks (a title, a band of table rows, the
// chart, the lists of files), measured with the canvas's own font metrics, so counting the pages and
// drawing one page run the same layout.
#include "classroom/ClassSummaryDraw.h"

#include <algorithm>
#include <functional>

namespace {

constexpr Color CLR_GRID{160, 160, 160};
constexpr Color CLR_BAR{70, 110, 190};
constexpr Color CLR_HEAD{232, 238, 248};
constexpr int BODY_POINTS = 9;
constexpr int TITLE_POINTS = 13;

int Mm(Canvas& c, int mm) { return mm * c.PixelsPerInch() * 10 / 254; }

// Shortens text with "…" to fit width.
std::string Fit(Canvas& c, const std::string& text, int width) {
  if (c.TextWidth(text) <= width) return text;
  std::string t = text;
  while (!t.empty()) {
    // Drop one UTF-8 character from the end.
    size_t k = t.size() - 1;
    while (k > 0 && (static_cast<unsigned char>(t[k]) & 0xC0) == 0x80) --k;
    t.resize(k);
    if (c.TextWidth(t + "…") <= width) return t + "…";
  }
  return "";
}

// A block: its height on the page and how to draw it from a given top.
struct Block {
  int height = 0;
  bool newPage = false;  // starts a page of its own
  std::function<void(Canvas&, int left, int top, int width)> draw;
};

struct Columns {
  int number = 0, name = 0, score = 0, time = 0, cell = 0, mistakes = 0;
};

Columns ColumnsOf(Canvas& c, const AssignmentSummary& a, int width) {
  Columns k;
  k.number = c.TextWidth("0000") + Mm(c, 2);
  k.name = Mm(c, 38);
  k.score = c.TextWidth("00/00") + Mm(c, 2);
  k.time = c.TextWidth("000分00秒") + Mm(c, 2);
  const int fixed = k.number + k.name + k.score + k.time;
  const int n = std::max<int>(1, static_cast<int>(a.problems.size()));
  k.cell = std::clamp((width - fixed - Mm(c, 50)) / n, c.TextWidth("×") + Mm(c, 2), Mm(c, 14));
  k.mistakes = std::max(Mm(c, 20), width - fixed - k.cell * n);
  return k;
}

void TableRow(Canvas& c, const Columns& k, int left, int top, int rowH, const std::vector<std::string>& fixed,
              const std::vector<std::string>& cells, const std::string& last, bool head) {
  int x = left;
  const int pad = Mm(c, 1);
  const int widths[] = {k.number, k.name, k.score, k.time};
  const int total =
      k.number + k.name + k.score + k.time + k.cell * static_cast<int>(cells.size()) + k.mistakes;
  if (head) {
    c.SetBrushColor(CLR_HEAD);
    c.FillRect({left, top, left + total, top + rowH});
  }
  c.SetBrushColor(head ? CLR_HEAD : CLR_WHITE);
  const int ty = top + (rowH - c.TextHeight("あ")) / 2;
  for (size_t i = 0; i < fixed.size() && i < 4; ++i) {
    c.TextOut(x + pad, ty, Fit(c, fixed[i], widths[i] - 2 * pad));
    x += widths[i];
    c.MoveTo(x, top);
    c.LineTo(x, top + rowH);
  }
  for (const std::string& cell : cells) {
    const std::string t = Fit(c, cell, k.cell - 2 * pad);
    c.TextOut(x + (k.cell - c.TextWidth(t)) / 2, ty, t);
    x += k.cell;
    c.MoveTo(x, top);
    c.LineTo(x, top + rowH);
  }
  c.TextOut(x + pad, ty, Fit(c, last, k.mistakes - 2 * pad));
  c.MoveTo(left, top + rowH);
  c.LineTo(left + total, top + rowH);
  c.SetBrushColor(CLR_WHITE);
}

std::vector<Block> Layout(Canvas& c, const ClassSummary& s, int width) {
  std::vector<Block> blocks;
  c.SetFontSize(BODY_POINTS);
  const int line = c.TextHeight("あ");
  const int rowH = line + Mm(c, 2);
  for (const AssignmentSummary& a : s.assignments) {
    const Columns k = ColumnsOf(c, a, width);
    c.SetFontSize(TITLE_POINTS);
    const int titleH = c.TextHeight("あ") + 2 * line + Mm(c, 5);
    c.SetFontSize(BODY_POINTS);
    blocks.push_back(
        {titleH, !blocks.empty(), [&a, line](Canvas& cv, int left, int top, int) {
           cv.SetFontSize(TITLE_POINTS);
           cv.SetFontBold(true);
           cv.TextOut(left, top, "クラスのまとめ　" + a.assignment.title);
           const int h = cv.TextHeight("あ");
           cv.SetFontBold(false);
           cv.SetFontSize(BODY_POINTS);
           cv.TextOut(left, top + h + Mm(cv, 1),
                      std::to_string(a.pupils.size()) + " 人　" + std::to_string(a.problems.size()) +
                          " 問　答えの形: " + AssignmentFinalName(a.assignment.finalForm) +
                          "　　課題のコード " + a.code);
           cv.TextOut(left, top + h + line + Mm(cv, 2),
                      "○ 正解　△ 答えは正しいが、途中の式か答えの形にまちがい　× まちがい　— 手つかず");
         }});
    std::vector<std::string> heads;
    for (size_t p = 0; p < a.problems.size(); ++p) heads.push_back(std::to_string(p + 1));
    auto header = [&a, k, rowH, heads](Canvas& cv, int left, int top, int) {
      cv.SetPenColor(CLR_GRID);
      cv.SetPenWidth(1);
      TableRow(cv, k, left, top, rowH, {"番号", "名前", "得点", "時間"}, heads, "まちがい", true);
      cv.MoveTo(left, top);
      cv.LineTo(left, top + rowH);
      cv.MoveTo(left, top);
      cv.LineTo(
          left + k.number + k.name + k.score + k.time + k.cell * static_cast<int>(heads.size()) + k.mistakes,
          top);
    };
    blocks.push_back({rowH, false, header});
    for (const SummaryPupil& p : a.pupils) {
      std::vector<std::string> cells;
      for (const SummaryCell& cell : p.cells) cells.push_back(CellVerdictMark(cell.verdict));
      std::string names;
      for (const std::string& m : p.mistakes) names += (names.empty() ? "" : "、") + SummaryMistakeName(m);
      const std::vector<std::string> fixed = {
          std::to_string(p.number), p.className + " " + p.name,
          std::to_string(p.score) + "/" + std::to_string(a.problems.size()), DurationText(p.seconds)};
      blocks.push_back({rowH, false, [k, rowH, fixed, cells, names](Canvas& cv, int left, int top, int) {
                          cv.SetPenColor(CLR_GRID);
                          TableRow(cv, k, left, top, rowH, fixed, cells, names, false);
                          cv.MoveTo(left, top);
                          cv.LineTo(left, top + rowH);
                        }});
    }
    std::vector<std::string> right;
    for (const SummaryProblem& p : a.problems) right.push_back(std::to_string(p.right));
    blocks.push_back({rowH, false, [k, rowH, right](Canvas& cv, int left, int top, int) {
                        cv.SetPenColor(CLR_GRID);
                        TableRow(cv, k, left, top, rowH, {"", "正解の人数", "", ""}, right, "", true);
                        cv.MoveTo(left, top);
                        cv.LineTo(left, top + rowH);
                      }});
    // The most frequent mistake of each problem, under the table.
    std::vector<std::string> tops;
    for (size_t p = 0; p < a.problems.size(); ++p)
      if (!a.problems[p].mistakes.empty())
        tops.push_back("問" + std::to_string(p + 1) + " " + ReadableProblem(a.problems[p].problem) + "： " +
                       SummaryMistakeName(a.problems[p].mistakes[0].id) + "（" +
                       std::to_string(a.problems[p].mistakes[0].count) + "人）");
    for (size_t i = 0; i < tops.size(); ++i)
      blocks.push_back(
          {line + Mm(c, 1), false, [t = tops[i], first = i == 0](Canvas& cv, int left, int top, int) {
             cv.TextOut(left, top, (first ? "多いまちがい　" : "　　　　　　　") + t);
           }});
    const int bars = std::max<int>(1, static_cast<int>(a.mistakes.size()));
    const int chartH = line * 2 + bars * (line * 2 + Mm(c, 2));
    blocks.push_back({chartH + Mm(c, 6), false, [&a, chartH](Canvas& cv, int left, int top, int w) {
                        DrawMistakeChart(cv, a, {left, top + Mm(cv, 4), left + w, top + Mm(cv, 4) + chartH});
                      }});
    std::vector<std::string> notes;
    for (const std::string& f : a.superseded) notes.push_back("あとの提出で差しかえ: " + f);
    for (const std::string& f : a.tampered) notes.push_back("問題が書きかえられている: " + f);
    for (const std::string& n : notes)
      blocks.push_back({line + Mm(c, 1), false,
                        [n](Canvas& cv, int left, int top, int w) { cv.TextOut(left, top, Fit(cv, n, w)); }});
  }
  if (!s.skipped.empty()) {
    blocks.push_back({line * 2, !blocks.empty(), [](Canvas& cv, int left, int top, int) {
                        cv.SetFontBold(true);
                        cv.TextOut(left, top, "読めなかったファイル");
                        cv.SetFontBold(false);
                      }});
    for (const SkippedFile& f : s.skipped)
      blocks.push_back({line + Mm(c, 1), false, [f](Canvas& cv, int left, int top, int w) {
                          cv.TextOut(left, top, Fit(cv, f.file + "　" + f.reason, w));
                        }});
  }
  if (blocks.empty())
    blocks.push_back({line, false, [](Canvas& cv, int left, int top, int) {
                        cv.TextOut(left, top, "まとめる結果がありません。");
                      }});
  return blocks;
}

// The first block of every page.
std::vector<size_t> Paginate(const std::vector<Block>& blocks, int height) {
  std::vector<size_t> starts = {0};
  int y = 0;
  for (size_t k = 0; k < blocks.size(); ++k) {
    if (k > starts.back() && (blocks[k].newPage || y + blocks[k].height > height)) {
      starts.push_back(k);
      y = 0;
    }
    y += blocks[k].height;
  }
  return starts;
}

}  // namespace

void DrawMistakeChart(Canvas& c, const AssignmentSummary& a, const CanvasRect& r) {
  c.SetFontSize(BODY_POINTS);
  c.SetFontColor(CLR_BLACK);
  c.SetBrushColor(CLR_WHITE);
  const int line = c.TextHeight("あ");
  c.SetFontBold(true);
  c.TextOut(r.left, r.top, "まちがいごとの人数（" + std::to_string(a.pupils.size()) + " 人中）");
  c.SetFontBold(false);
  if (a.mistakes.empty()) {
    c.TextOut(r.left, r.top + line * 3 / 2, "名前のつくまちがいはありませんでした。");
    return;
  }
  const int labelW = std::min((r.right - r.left) * 2 / 5, Mm(c, 90));
  const int barLeft = r.left + labelW + Mm(c, 2);
  const int barMax = std::max(1, r.right - barLeft - c.TextWidth("000人") - Mm(c, 2));
  const int most = std::max(1, static_cast<int>(a.pupils.size()));
  int y = r.top + line * 3 / 2;
  for (const MistakeCount& m : a.mistakes) {
    c.TextOut(r.left, y, Fit(c, SummaryMistakeName(m.id), labelW));
    c.SetFontColor(Color{90, 90, 90});
    c.TextOut(r.left, y + line, Fit(c, "例 " + SummaryMistakeExample(m.id), labelW));
    c.SetFontColor(CLR_BLACK);
    const int len = std::max(1, barMax * m.count / most);
    c.SetBrushColor(CLR_BAR);
    c.FillRect({barLeft, y + line / 4, barLeft + len, y + line * 7 / 4});
    c.SetBrushColor(CLR_WHITE);
    c.TextOut(barLeft + len + Mm(c, 1), y + line / 2, std::to_string(m.count) + "人");
    y += line * 2 + Mm(c, 2);
  }
}

int ClassSummaryPageCount(Canvas& c, const ClassSummary& s, int width, int height) {
  const int margin = Mm(c, 10);
  const std::vector<Block> blocks = Layout(c, s, width - 2 * margin);
  return static_cast<int>(Paginate(blocks, height - 2 * margin - Mm(c, 6)).size());
}

void DrawClassSummaryPage(Canvas& c, const ClassSummary& s, int width, int height, int page) {
  const int margin = Mm(c, 10);
  const std::vector<Block> blocks = Layout(c, s, width - 2 * margin);
  const std::vector<size_t> starts = Paginate(blocks, height - 2 * margin - Mm(c, 6));
  if (page < 0 || page >= static_cast<int>(starts.size())) return;
  const size_t end =
      page + 1 < static_cast<int>(starts.size()) ? starts[static_cast<size_t>(page) + 1] : blocks.size();
  c.SetFontColor(CLR_BLACK);
  c.SetBrushColor(CLR_WHITE);
  c.SetPenColor(CLR_GRID);
  c.SetPenWidth(std::max(1, c.PixelsPerInch() / 200));
  c.SetFontSize(BODY_POINTS);
  int y = margin;
  for (size_t k = starts[static_cast<size_t>(page)]; k < end; ++k) {
    blocks[k].draw(c, margin, y, width - 2 * margin);
    y += blocks[k].height;
  }
  const std::string foot = std::to_string(page + 1) + " / " + std::to_string(starts.size());
  c.SetFontSize(BODY_POINTS);
  c.TextOut(width - margin - c.TextWidth(foot), height - margin - c.TextHeight(foot), foot);
}
