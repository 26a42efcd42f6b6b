// The captions both editions show, as the C++ tables hold them, for the web tests to hold the page to:
// prints {"menus":{"titles":[…],"items":[{"name","caption","key","menu","toolRow"},…]},
// "tools":{"editor":{"title":["◆式エディタ◆…",""],"show":["式表示 Ret","編集した式のみ…"],…},…}}.
// The page draws its menus before the program arrives and builds its dialogs from words of its own, so
// neither costs the program a byte; tests/web/binding.test.mjs compares them with this.
#include <cstddef>
#include <iostream>
#include <string>

#include "screen/ScreenMenus.h"
#include "tools/ToolCaptions.h"

namespace {

std::string Json(const char* text) {
  std::string s = "\"";
  for (const char* p = text; *p; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c == '"' || c == '\\') {
      s += '\\';
      s += static_cast<char>(c);
    } else if (c < 0x20) {
      const char* hex = "0123456789abcdef";
      s += "\\u00";
      s += hex[c >> 4];
      s += hex[c & 15];
    } else {
      s += static_cast<char>(c);
    }
  }
  return s + "\"";
}

}  // namespace

int main() {
  std::string s = "{\"menus\":{\"titles\":[";
  for (const ScreenMenuTitle& t : SCREEN_MENU_TITLES)
    s += std::string(&t == SCREEN_MENU_TITLES ? "" : ",") + Json(t.caption);
  s += "],\"items\":[";
  for (const ScreenMenuItem& i : SCREEN_MENU_ITEMS)
    s += std::string(&i == SCREEN_MENU_ITEMS ? "" : ",") + "{\"name\":" + Json(i.name) +
         ",\"caption\":" + Json(i.caption) + ",\"key\":" + Json(i.pageKey) +
         ",\"menu\":" + (i.page != PageShows::ToolRow ? "true" : "false") +
         ",\"toolRow\":" + (i.page != PageShows::Menu ? "true" : "false") + "}";
  s += "]},\"tools\":{";
  for (const ToolCaptionTable& t : TOOL_CAPTION_TABLES) {
    s += std::string(&t == TOOL_CAPTION_TABLES ? "" : ",") + Json(t.window) + ":{";
    for (std::size_t k = 0; k < t.count; ++k)
      s += std::string(k ? "," : "") + Json(t.first[k].name) + ":[" + Json(t.first[k].caption) + "," +
           Json(t.first[k].tip) + "]";
    s += "}";
  }
  std::cout << s << "}}\n";
  return 0;
}
