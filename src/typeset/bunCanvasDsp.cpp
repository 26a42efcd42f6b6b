// The line typesetter: walks an expression text token by token and draws it in school notation, also
// while it is only partly typed (a denominator waiting for its numerator, an open bracket, an exponent).
#include "typeset/bunCanvasDsp.h"

#include <string_view>

#include "engine/Bunio.h"
#include "engine/Bunsuuh.h"
#include "engine/Settings.h"
#include "platform/ShiftJis.h"
#include "typeset/TypesetCommon.h"
#include "typeset/bunHCanvDsp.h"

using namespace typeset_detail;

TypesetState TypesetData;

void TypesetState::Reset() { *this = TypesetState{}; }

void ResetTypeset() { TypesetData.Reset(); }

Glyph GlyphOf(char c) {
  switch (c) {
    case '+': return {"＋", 1};
    case '-': return {"－", 2};
    case '*': return {"×", 3};
    case '/': return {"÷", 4};
    case '^': return {"＾", 5};
    case '(': return {"(", 7};
    case ')': return {")", 8};
    case 'p': return {"＋", 9};
    case 'm': return {"－", 10};
    case '[': return {"[", 12};
    case ']': return {"]", 13};
    case 'u': return {"…", 14};
    case '!': return {"!", 15};
    case 'P': return {"P", 16};
    case 'C': return {"C", 17};
    case '=': return {"＝", 20};
    case 'x': return {"x", 22};
    case 'y': return {"y", 23};
    case 'z': return {"z", 24};
    case '<': return {"＜", 25};
    case '>': return {"＞", 26};
    case ':': return {"：", 27};
    case 'R': return {"あまり", 32};
    default: return {};
  }
}

int DrawBar(Canvas& surface, int x, int y, int length) {
  // There and back, so that the pen ends where the bar began.
  // An empty bar (nothing typed under it yet) draws nothing: a zero-length wide line would leave a dot.
  surface.MoveTo(x, y);
  if (length == 0) return x;
  Color old = surface.PenColor();
  surface.SetPenColor(CLR_TEAL);
  surface.LineTo(ClampInt(static_cast<long long>(x) + length), y);
  surface.LineTo(x, y);
  surface.SetPenColor(old);
  return x;
}

namespace {

bool IsMark(char c) {
  switch (c) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
    case '=':
    case '(':
    case ')':
    case 'b':
    case 'k':
    case 'p':
    case 'm':
    case '.':
    case 'u':
    case '@':
    case '!':
    case 'P':
    case 'C':
    case 'K':
    case 'B':
    case '$':
    case 'x':
    case 'y':
    case 'z':
    case '<':
    case '>':
    case ':':
    case '[':
    case ']':
    case 'R': return true;
    default: return false;
  }
}

// 0-based position of the first mark, npos when none; mark receives it.
size_t FindMarkIn(std::string_view text, char& mark) {
  for (size_t i = 0; i < text.size(); ++i)
    if (IsMark(text[i])) {
      mark = text[i];
      return i;
    }
  mark = 0;
  return std::string_view::npos;
}

// The end of the run of characters up to the next mark (or the end of the text).
size_t RunLength(std::string_view text) {
  char m;
  size_t p = FindMarkIn(text, m);
  return p == std::string_view::npos ? text.size() : p;
}

int CellHeightOf(Canvas& s) { return s.TextHeight("1234567890"); }

int Run(Canvas& s, std::string_view text, int x, int y, int cw, int ch) {
  if (text.empty()) return x;
  FontGuard guard(s);
  const int base = guard.Size();
  const int rowX = x;
  int rowY = y;  // the row being written; "|" moves it down
  bool raised = false;
  auto leaveRaised = [&] {
    s.SetFontSize(base);
    y = rowY;
    raised = false;
    RaisedMode = false;
    RaisedTop = y;
  };
  for (size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    switch (c) {
      case ' ': s.TextOut(x, y, " "); break;
      case '!': Put(s, x, y, "!", CLR_MAROON); break;
      case '+':
      case '-':
      case '*':
      case '/':
      case ':':
      case 'm':
      case 'p':
        leaveRaised();
        Put(s, x, y, GlyphOf(c).text, CLR_RED);
        break;
      case '=':
        leaveRaised();
        Put(s, x, y, "＝", CLR_BLUE);
        break;
      case 'C':
      case 'P': Put(s, x, y, std::string(1, c), CLR_MAROON); break;
      case 'R': {
        int size = s.FontSize();
        s.SetFontBold(true);
        s.SetFontSize(ScaledSize(base, 7));
        Put(s, x, ClampInt(static_cast<long long>(y) + ch / 4), "あまり", CLR_RED);
        s.SetFontSize(size);
        s.SetFontBold(guard.Bold());
        break;
      }
      case '^':
        s.SetFontSize(ScaledSize(base, 7));
        raised = true;
        RaisedMode = true;
        continue;
      case 'u': Put(s, x, y, "…", CLR_BLUE); break;
      case 'x':
      case 'y':
      case 'z':
        s.SetFontBold(true);
        Put(s, x, y, std::string(1, c), CLR_NAVY);
        s.SetFontBold(guard.Bold());
        break;
      case '|':
        x = rowX;
        rowY = ClampInt(static_cast<long long>(rowY) + ch * 3LL / 2);
        y = rowY;
        continue;
      default: {
        // A character beyond ASCII is drawn whole, never byte by byte.
        const size_t length = Utf8CharLength(text.substr(at));
        const std::string piece(text.substr(at, length));
        at += length - 1;
        if (raised)
          Put(s, x, y - cw / 4, piece, CLR_MAROON);
        else
          Put(s, x, y, piece, CLR_BLACK);
        break;
      }
    }
    x = s.PenPos().x;
  }
  RaisedMode = false;
  RaisedTop = y;
  return x;
}

int Line(Canvas& s, std::string_view text, int x, int y, int cw, int ch);

// Draws d over n (typed digit texts) stacked from x as TypesetFractionValue lays out a value; returns
// the x after the bar.
int Stacked(Canvas& s, std::string_view d, std::string_view n, int x, int y, int cw, int ch) {
  const long long ld = static_cast<long long>(d.size()), ln = static_cast<long long>(n.size());
  const int width = ClampInt(cw * std::max(ld, ln));
  DrawBar(s, x, y + ch / 2, width);
  Run(s, d, ClampInt(x + cw * std::max(0LL, ln - ld) / 2), y + ch / 2 + 3, cw, ch);
  Run(s, n, ClampInt(x + cw * std::max(0LL, ld - ln) / 2), y - ch / 2 - 3, cw, ch);
  return ClampInt(static_cast<long long>(x) + width);
}

// Appends piece by piece: GCC 12 reports a false -Wrestrict on "literal" + std::string chains.
std::string Bracket(std::string_view inner) {
  std::string t;
  t.reserve(inner.size() + 2);
  t += '[';
  t.append(inner);
  t += ']';
  return t;
}

// Draws a closed or completed expression fraction and leaves the cursor after its numerator.
int DrawGroup(Canvas& s, const std::string& bracketText, int x, int y, int cw, int ch, bool paren,
              bool plus) {
  BunsuuH h = ParseBunsuuh(bracketText);
  return TypesetExpressionFraction(s, h, x, y, cw, ch, paren, plus);
}

// The "[" token. rest starts after the "["; returns true when drawing goes on with the updated rest.
bool BracketToken(Canvas& s, std::string_view& rest, int& x, int y, int cw, int ch, int prevCode) {
  const int lowerTop = y + ch / 2 + 3, upperTop = y - ch / 2 - 3, barRow = y + ch / 2;
  auto purple = [&] {
    FontGuard g(s);
    return Put(s, x, y, "[", CLR_PURPLE);
  };
  if (rest.empty()) {
    x = purple();
    CursorColour = CLR_RED;
    return false;
  }
  char mark;
  if (FindMarkIn(rest, mark) == std::string_view::npos) {
    x = Run(s, rest, purple(), y, cw, ch);
    return false;
  }
  size_t close = rest.find(']');
  if (close != std::string_view::npos) {
    std::string_view inner = rest.substr(0, close), after = rest.substr(close + 1);
    bool paren = (prevCode >= 1 && prevCode <= 5) || (!after.empty() && (after[0] == '*' || after[0] == '/'));
    bool plus = rest.substr(0, 2) == "pK";
    x = DrawGroup(s, Bracket(inner), x, y, cw, ch, paren, plus);
    RaisedMode = false;
    CursorFollowsPen = false;
    CursorColour = CLR_BLUE;
    CursorPos = {x, y};
    rest = after;
    return true;
  }
  size_t k = rest.find('K'), b = rest.find('B');
  if (k != std::string_view::npos) {
    std::string_view w = rest.substr(0, k), r = rest.substr(k + 1);
    int p = purple();
    size_t rb = r.find('B');
    if (rb == std::string_view::npos) {
      // The denominator is being typed under a bar that grows with it.
      int e = Run(s, w, p, y, cw, ch);
      DrawBar(s, e, barRow, cw);
      if (r.empty()) {
        CursorFollowsPen = false;
        CursorPos = {e, lowerTop};
        x = e;
        return false;
      }
      DrawBar(s, e, barRow, ClampInt(static_cast<long long>(cw) * CellCount(std::string(r))));
      ++FractionDepth;
      x = Line(s, r, e, lowerTop, cw, ch);
      --FractionDepth;
      return false;
    }
    std::string_view d = r.substr(0, rb), n = r.substr(rb + 1);
    if (n.empty()) {
      int e = Run(s, w, p, y, cw, ch);
      int de = Run(s, d, e, lowerTop, cw, ch);
      DrawBar(s, e, barRow, de - e);
      RaisedMode = false;
      CursorFollowsPen = false;
      CursorPos = {e, upperTop};
      x = std::max(e, de);
      return false;
    }
    x = DrawGroup(s, Bracket(rest), p, y, cw, ch, false, rest.substr(0, 2) == "pK");
    // The cursor stays after the numerator that is being typed.
    CursorFollowsPen = false;
    return false;
  }
  if (b != std::string_view::npos) {
    std::string_view d = rest.substr(0, b), n = rest.substr(b + 1);
    int p = purple();
    if (n.empty()) {
      int de = Run(s, d, p, lowerTop, cw, ch);
      DrawBar(s, p, barRow, de - p);
      RaisedMode = false;
      CursorFollowsPen = false;
      CursorPos = {p, upperTop};
      x = std::max(p, de);
      return false;
    }
    x = DrawGroup(s, Bracket(rest), p, y, cw, ch, true, false);
    CursorFollowsPen = false;
    return false;
  }
  x = purple();
  return true;
}

// One sign token (a character with a glyph). Returns false when drawing stops.
bool SignToken(Canvas& s, std::string_view& rest, int& x, int& y, int& barRow, int entryX, int entryY,
               bool hasUnknown, int cw, int ch, int& prevCode) {
  const char c = rest[0];
  const Glyph g = GlyphOf(c);
  FontGuard guard(s);
  const int base = guard.Size();
  if (c != '^' && c != '[') {
    // Any other token ends an exponent, so the cursor is not left raised after it.
    RaisedMode = false;
    RaisedTop = y;
  }
  switch (c) {
    case ':':
      s.SetFontBold(true);
      x = Put(s, x + cw / 4, y, ":", CLR_MAROON) + cw / 4;
      break;
    case 'R':
      s.SetFontBold(true);
      s.SetFontSize(ScaledSize(base, 7));
      x = Put(s, x + cw / 4, y + ch * 3 / 10, "あまり", CLR_RED) + cw / 4;
      break;
    case '^': {
      RaisedMode = true;
      RaisedTop = y - cw / 4;
      rest.remove_prefix(1);
      prevCode = g.code;
      if (rest.empty()) return false;
      s.SetFontBold(true);
      s.SetFontSize(ScaledSize(base, 7));
      if (rest[0] == 'p' || rest[0] == 'm') {
        x = Put(s, x, RaisedTop, rest[0] == 'p' ? "＋" : "－", CLR_RED);
        rest.remove_prefix(1);
      }
      size_t len = 0;
      if (!rest.empty() && (rest[0] == 'x' || rest[0] == 'y' || rest[0] == 'z')) {
        while (len < rest.size() && (rest[len] == 'x' || rest[len] == 'y' || rest[len] == 'z')) ++len;
      } else {
        len = RunLength(rest);
      }
      if (len > 0) x = Put(s, x, RaisedTop, std::string(rest.substr(0, len)), CLR_MAROON);
      rest.remove_prefix(len);
      return true;
    }
    case '[':
      rest.remove_prefix(1);
      if (FractionDepth >= MAX_FRACTION_DEPTH) {
        x = Put(s, x, y, "[", CLR_RED);
        prevCode = g.code;
        return true;
      }
      {
        bool goOn = BracketToken(s, rest, x, y, cw, ch, prevCode);
        prevCode = g.code;
        return goOn;
      }
    case '=':
      if (EQUAL_KAIGYO != 0 && !hasUnknown) {
        ++BreakCount;
        x = ClampInt(static_cast<long long>(entryX) - ch);
        y = ClampInt(entryY + static_cast<long long>(LinePitch) * ch * BreakCount / 2);
      } else {
        y = entryY;
      }
      barRow = y + ch / 2;
      EqualsPoint = {x, y};
      x = Put(s, x, y, "＝", CLR_BLUE);
      break;
    case '<':
    case '>':
      if (rest.size() > 1 && rest[1] == '=') {
        x = Put(s, x, y, c == '<' ? "≦" : "≧", CLR_BLUE);
        rest.remove_prefix(1);
      } else {
        x = Put(s, x, y, g.text, CLR_BLUE);
      }
      break;
    case '(':
    case ')':
    case 'u': x = Put(s, x, y, g.text, CLR_BLUE); break;
    case '!':
    case 'P':
    case 'C':
      s.SetFontBold(true);
      x = Put(s, x, y, g.text, CLR_MAROON);
      break;
    case 'x':
    case 'y':
    case 'z':
      s.SetFontBold(true);
      x = Put(s, x, y, g.text, CLR_HOTTRACK);
      break;
    default: x = Put(s, x, y, g.text, CLR_RED); break;
  }
  rest.remove_prefix(1);
  prevCode = g.code;
  return true;
}

// A token that starts with a character without glyph (digits, ".", marks of numbers). Returns false
// when drawing stops.
bool NumberToken(Canvas& s, std::string_view& rest, int& x, int y, int barRow, int cw, int ch) {
  const int lowerTop = y + ch / 2 + 3, upperTop = y - ch / 2 - 3;
  char mark;
  size_t mp = FindMarkIn(rest, mark);
  if (mp == std::string_view::npos) {
    x = Run(s, rest, x, y, cw, ch);
    return false;
  }
  switch (mark) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
    case '=':
    case ':':
    case '!':
    case 'P':
    case 'C':
    case '(':
    case ')':
    case 'x':
    case 'y':
    case 'z':
    case '<':
    case '>':
      // mp is never 0 here (those marks have glyphs); one character still makes progress if it were.
      mp = std::max<size_t>(mp, 1);
      x = Run(s, rest.substr(0, mp), x, y, cw, ch);
      rest.remove_prefix(mp);
      return true;
    case 'k': {
      int e = Run(s, rest.substr(0, mp), x, y, cw, ch);
      x = e + 1;
      DrawBar(s, x, barRow, cw);  // the fraction that follows draws over it
      rest.remove_prefix(mp + 1);
      char next;
      if (FindMarkIn(rest, next) != std::string_view::npos && next == 'b') return true;
      // Only the denominator is typed so far: it is shown as typed, under a bar as long as it is.
      if (!rest.empty()) {
        FontGuard g(s);
        Put(s, x, lowerTop, std::string(rest), CLR_BLUE);
      }
      int end = rest.empty() ? x : s.PenPos().x;
      CursorFollowsPen = false;
      CursorPos = {end, lowerTop};
      DrawBar(s, x, barRow, ClampInt(static_cast<long long>(cw) * static_cast<long long>(rest.size())));
      x = end;
      return false;
    }
    case 'b': {
      std::string_view d = rest.substr(0, mp), after = rest.substr(mp + 1);
      size_t nl = RunLength(after);
      std::string_view n = after.substr(0, nl);
      if (n.empty()) {
        // The numerator is not typed yet: the denominator under its bar, the cursor above the bar.
        int de = Run(s, d, x, lowerTop, cw, ch);
        DrawBar(s, x, barRow, ClampInt(static_cast<long long>(cw) * static_cast<long long>(d.size())));
        CursorPos = {x, upperTop};
        CursorFollowsPen = false;
        x = std::max(x, de);
        rest = after;
        return !after.empty();
      }
      // A part too long for 64 bits is reported by the number parser, and the rest is not drawn.
      if (!d.empty() && !FitsInt64Text(std::string(d), 1)) return false;
      if (!FitsInt64Text(std::string(n), 1)) return false;
      x = Stacked(s, d, n, x, y, cw, ch);
      rest = after.substr(nl);
      return !rest.empty();
    }
    case '.': {
      x = Run(s, rest.substr(0, mp + 1), x, y, cw, ch);
      rest.remove_prefix(mp + 1);
      size_t np = FindMarkIn(rest, mark);
      if (np == std::string_view::npos) {
        x = Run(s, rest, x, y, cw, ch);
        return false;
      }
      x = Run(s, rest.substr(0, np), x, y, cw, ch);
      rest.remove_prefix(np);
      if (mark != '@') return true;
      rest.remove_prefix(1);
      CursorColour = CLR_MAGENTA;
      const int dotY = y - ch * 4 / 10;
      auto dot = [&](int at) {
        FontGuard g(s);
        s.SetFontSize(ScaledSize(g.Size(), 3));
        Put(s, at, dotY, "●", CLR_RED);
      };
      if (rest.empty()) return false;
      if (IsMark(rest[0])) {
        CursorColour = CLR_BLUE;
        return true;
      }
      dot(x + cw * 3 / 10);
      x = Run(s, rest.substr(0, 1), x, y, cw, ch);
      rest.remove_prefix(1);
      size_t more = RunLength(rest);
      if (more > 0) {
        x = Run(s, rest.substr(0, more), x, y, cw, ch);
        dot(x - cw * 8 / 10);
        rest.remove_prefix(more);
      }
      if (!rest.empty()) CursorColour = CLR_BLUE;
      return !rest.empty();
    }
    default: {
      // Any other mark here ("@", "K", "B", "$" outside their places): the rest as it stands, in blue.
      FontGuard g(s);
      s.SetFontColor(CLR_BLUE);
      x = Run(s, rest, x, y, cw, ch);
      return false;
    }
  }
}

int Line(Canvas& s, std::string_view text, int x, int y, int cw, int ch) {
  if (text.empty()) return x;
  FontGuard guard(s);
  const int entryX = x, entryY = y;
  const bool hasUnknown = text.find('x') != std::string_view::npos;
  int barRow = y + ch / 2;
  int prevCode = 0;
  RaisedMode = false;
  RaisedTop = y;
  std::string_view rest = text;
  while (!rest.empty()) {
    CursorFollowsPen = true;
    bool goOn;
    if (GlyphOf(rest[0]).code >= 1) {
      goOn = SignToken(s, rest, x, y, barRow, entryX, entryY, hasUnknown, cw, ch, prevCode);
    } else {
      goOn = NumberToken(s, rest, x, y, barRow, cw, ch);
      prevCode = 0;
    }
    if (!goOn) break;
  }
  return x;
}

}  // namespace

int FindMark(const std::string& text) {
  char mark;
  size_t p = FindMarkIn(text, mark);
  MarkFound = mark;
  return p == std::string_view::npos ? -1 : static_cast<int>(p) + 1;
}

int TypesetRun(Canvas& surface, const std::string& text, int x, int y, int count, int cw, int ch) {
  std::string_view t = text;
  if (count >= 0 && static_cast<size_t>(count) < t.size()) t = t.substr(0, static_cast<size_t>(count));
  if (ch < 0) ch = CellHeightOf(surface);
  return Run(surface, t, x, y, cw, ch);
}

int TypesetLine(Canvas& surface, const std::string& text, int x, int y, int cw, int ch) {
  return Line(surface, text, x, y, cw, ch);
}

int CellCount(const std::string& text) {
  int n = 0;
  for (char c : text) {
    if (std::string_view("+-*/=pm").find(c) != std::string_view::npos)
      n += 2;
    else if (std::string_view("().0123456789!PCxyz:").find(c) != std::string_view::npos)
      n += 1;
  }
  return n;
}

int FractionCellCount(const std::string& text) {
  int n = CellCount(text);
  size_t b = text.find('b');
  if (b == std::string::npos) return n;
  size_t start = b;
  while (start > 0 && IsDigit(text[start - 1])) --start;
  size_t end = b + 1;
  while (end < text.size() && IsDigit(text[end])) ++end;
  int ld = static_cast<int>(b - start), ln = static_cast<int>(end - b - 1);
  return n - std::min(ld, ln);
}
