// Turns a notice text into the notice box's drawing list and draws it; the window is ui/tools/SplMsgBox.
#include "tools/SplMsgBox.h"

#include <algorithm>

#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/ShiftJis.h"
#include "typeset/bunCanvasDsp.h"

NoticeBoxState NoticeBoxData;

namespace {

std::string Trim(const std::string& s) {
  const char* blanks = " \t\r\n";
  size_t b = s.find_first_not_of(blanks);
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(blanks);
  return s.substr(b, e - b + 1);
}

int Bytes(const std::string& s) { return static_cast<int>(SjisLength(s)); }

}  // namespace

void NoticeBoxState::Reset() { *this = NoticeBoxState{}; }

void ResetNoticeBox() { NoticeBoxData.Reset(); }

NoticeLayout BuildNoticeLayout(const std::string& text) {
  NoticeLayout layout;
  if (!text.empty() && text[0] == '@') {
    layout.rows = 5;
    std::string body = text.substr(1);
    std::string comment;
    bool hasComment = false;
    size_t hash = body.find('#');
    if (hash != std::string::npos) {
      comment = Trim(body.substr(hash));
      comment.erase(0, std::min(comment.size(), comment.find_first_not_of('#')));
      comment = "【" + Trim(comment) + "】";
      hasComment = true;
      body = body.substr(0, hash);
    }
    std::string expr = Trim(body);
    if (CheckText(expr, {.omitMul = KAKERU_ABR != 0, .showMessage = true}) != 0) {
      layout.failed = true;
      return layout;
    }
    int exprWidth = FractionCellCount(expr) + (expr.find('&') != std::string::npos ? 10 : 0);
    layout.width = std::max(hasComment ? Bytes(comment) + 4 : 0, exprWidth);
    if (hasComment) layout.items.push_back({NoticeItem::Kind::Text, comment});
    layout.items.push_back({NoticeItem::Kind::RowBreak, ""});
    layout.items.push_back({NoticeItem::Kind::Expression, expr});
  } else if (!text.empty() && text[0] == '$') {
    std::string rest = text.substr(1);
    int bars = 0;
    int longest = 0;
    size_t start = 0;
    while (true) {
      size_t bar = rest.find('|', start);
      std::string piece =
          Trim(rest.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
      longest = std::max(longest, Bytes(piece));
      if (bars > 0) layout.items.push_back({NoticeItem::Kind::RowBreak, ""});
      // A "|" at the very end leaves an empty last row; it is kept so that the row count agrees.
      layout.items.push_back({NoticeItem::Kind::Text, piece});
      if (bar == std::string::npos) break;
      ++bars;
      start = bar + 1;
    }
    layout.rows = 2 + 2 * bars;
    layout.width = longest - 8;
  } else {
    layout.width = NoticeLastWidth;
    layout.rows = NoticeLastRows;
  }
  NoticeLastWidth = layout.width;
  NoticeLastRows = layout.rows;
  return layout;
}

std::string NoticeMarkup(const NoticeLayout& layout) {
  std::string r;
  for (const auto& item : layout.items) {
    switch (item.kind) {
      case NoticeItem::Kind::Text: r += item.text + "]~"; break;
      case NoticeItem::Kind::Expression: r += item.text + "}~"; break;
      case NoticeItem::Kind::RowBreak: r += "|~"; break;
    }
  }
  return r;
}

int DrawNotice(Canvas& surface, const NoticeLayout& layout, int cw, int ch) {
  // The typesetter's shared state belongs to the calculation line (its cursor, its rows): the box puts
  // it back when it has drawn.
  const CanvasPoint cursorPos = CursorPos, equalsPoint = EqualsPoint;
  const bool followsPen = CursorFollowsPen, raised = RaisedMode, movedDown = AnswerMovedDown;
  const Color cursorColour = CursorColour;
  const int raisedTop = RaisedTop, breakCount = BreakCount, linePitch = LinePitch;
  // While the box shows an expression, "=" never starts a new row.
  const int savedKaigyo = EQUAL_KAIGYO;
  EQUAL_KAIGYO = 0;
  int x = 20;
  int y = 30;
  int right = x;
  for (const auto& item : layout.items) {
    switch (item.kind) {
      case NoticeItem::Kind::Text:
        surface.TextOut(x, y, item.text);
        x = surface.PenPos().x;
        break;
      case NoticeItem::Kind::Expression:
        BreakCount = 0;
        x = TypesetLineAndAnswer(surface, item.text, x, y, cw, ch, {});
        break;
      case NoticeItem::Kind::RowBreak:
        x = 20;
        y += ch * 5 / 2;
        break;
    }
    right = std::max(right, x);
  }
  EQUAL_KAIGYO = savedKaigyo;
  CursorPos = cursorPos;
  EqualsPoint = equalsPoint;
  CursorFollowsPen = followsPen;
  RaisedMode = raised;
  AnswerMovedDown = movedDown;
  CursorColour = cursorColour;
  RaisedTop = raisedTop;
  BreakCount = breakCount;
  LinePitch = linePitch;
  return right;
}

int NoticeBoxWidth(const NoticeLayout& layout, int cw, int captionWidth) {
  const long long body = static_cast<long long>(cw) * (static_cast<long long>(layout.width) + 8);
  const long long title =
      captionWidth > 0 ? static_cast<long long>(captionWidth) + NOTICE_TITLE_BAR_EXTRA : 0;
  return static_cast<int>(std::clamp<long long>(std::max({100LL, body, title}), 100, 1 << 16));
}

int NoticeBoxHeight(const NoticeLayout& layout, int ch) { return std::max(80, ch * (layout.rows + 4)); }
