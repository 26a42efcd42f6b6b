// The notice box's contents without its window: a notice text ("@expression#comment", "$row|row" or any
// other text) turned into a drawing list with its width in characters and its number of rows, and the
// list drawn on a Canvas. The window itself (timing, closing, placement) is ui/tools/SplMsgBox.
#pragma once

#include <string>
#include <vector>

#include "platform/Canvas.h"

struct NoticeItem {
  enum class Kind { Text, Expression, RowBreak };
  Kind kind = Kind::Text;
  std::string text;
};

struct NoticeLayout {
  std::vector<NoticeItem> items;
  int width = 0;  // in characters (Shift_JIS bytes of text, cells of an expression)
  int rows = 0;
  bool failed = false;  // an "@" expression failed the check (which has shown its message)
};

// The notice box's record (state records: tools/ProgramState.h).
struct NoticeBoxState {
  int NoticeLastWidth = 0;
  int NoticeLastRows = 0;

  void Reset();
};
extern NoticeBoxState NoticeBoxData;

// The width and row count of the last notice; a text of the third form reuses them. 0 at start.
inline auto& NoticeLastWidth = NoticeBoxData.NoticeLastWidth;
inline auto& NoticeLastRows = NoticeBoxData.NoticeLastRows;
void ResetNoticeBox();

// Builds the drawing list of a notice text. An "@" expression is checked with the whole-text check in
// its reporting form; when it fails the layout is marked failed.
NoticeLayout BuildNoticeLayout(const std::string& text);

// The list as the marked-up text the box keeps: "]~" after plain text, "}~" after an expression, "|~" for
// a row break.
std::string NoticeMarkup(const NoticeLayout& layout);

// Draws the list from (20, 30) with the cell size cw × ch: texts left to right, expressions typeset
// (answer layout 0), a row break 2.5 rows lower at x 20. The surface's font is left as it was set.
// Returns the rightmost x the drawing reached.
int DrawNotice(Canvas& surface, const NoticeLayout& layout, int cw, int ch);

// Room the title bar needs beside its caption: the window manager's icon and buttons and margins.
inline constexpr int NOTICE_TITLE_BAR_EXTRA = 120;
// The box's size in pixels for a layout: cw × (width + 8), at least 100, and at least captionWidth (the
// caption's width in the title bar's font) + NOTICE_TITLE_BAR_EXTRA when a caption is given, so that the
// caption can be read; ch × (rows + 4), at least 80.
int NoticeBoxWidth(const NoticeLayout& layout, int cw, int captionWidth = 0);
int NoticeBoxHeight(const NoticeLayout& layout, int ch);
