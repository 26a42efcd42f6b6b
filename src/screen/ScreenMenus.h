// The captions of the calculation screen's menus that both editions show: each item's words, the desktop's
// access key and key hint, and the browser's key hint. The desktop's menu bar builds these items from here.
// The browser's menus are drawn by the page before the program has arrived, so they are written out in
// web/index.html, and the tooltips of its tool row in web/dialogs.js; tests/web/binding.test.mjs holds every
// one of them to this table (the program carries none of it: its bytes are on a budget).
#pragma once

#include <string>
#include <string_view>

// The menus of the bar, in order: their words and the desktop's access key.
struct ScreenMenuTitle {
  const char* caption;
  char access;
};
inline constexpr ScreenMenuTitle SCREEN_MENU_TITLES[] = {
    {"フォーム", 'F'}, {"操作", 'W'}, {"表示", 'V'}, {"ヘルプ", 'H'}};

// Where the browser edition shows an item.
enum class PageShows {
  Menu,  // in the page's menus (web/index.html)
  ToolRow,  // only as the tooltip of the tool row's button (web/dialogs.js's TOOL_ROW)
  MenuAndToolRow,
};

// One item. Its name is the one the page knows it by: a ScreenCommand's name (data-cmd), the page's own
// action (data-act), a setting (data-setting) or, for an item that stands for a key, data-item.
struct ScreenMenuItem {
  const char* name;
  const char* caption;
  char access;  // the desktop's access key, written "(&Y)" after the caption; 0 for none
  const char* desktopKey;  // what follows on the desktop: the gap and the key, as the desktop writes them
  // The browser's key hint ("" for none). Where a browser keeps the desktop's key for itself (Ctrl+T) the
  // browser edition has a key of its own (see ScreenBrowserKeys), and this column names it.
  const char* pageKey;
  PageShows page;
};
inline constexpr ScreenMenuItem SCREEN_MENU_ITEMS[] = {
    // フォーム
    {"PrintLine", "印刷", 'P', "", "", PageShows::Menu},
    {"OpenNotebook", "ノートを開く", 'N', "", "", PageShows::Menu},
    // 操作
    {"OpenExpressionEditor", "式エディタを開く", 'E', "", "Alt+E", PageShows::ToolRow},
    {"OpenMemo", "式メモを開く", 'M', "", "Alt+M", PageShows::ToolRow},
    {"OpenSubstitution", "代入Boxを開く", 'D', "", "Alt+D", PageShows::ToolRow},
    {"SoinsuuPre", "素因数分解をする", 'S', "   Shift+S", "Shift+S", PageShows::Menu},
    {"JunkanSyori", "分数⇔循環小数", 0, "           Shift+R", "Shift+R", PageShows::Menu},
    {"ToggleBaseMode", "ｎ進法変換モード", 0, "        Shift+N", "Shift+N", PageShows::Menu},
    {"YakuProcDsp", "約分する", 'Y', "              Ctrl+Y", "Ctrl+Y", PageShows::Menu},
    {"DecimalToFraction", "小数→分数", 'B', "           Ctrl+B", "Ctrl+B", PageShows::Menu},
    {"ToMixed", "仮分数→帯分数", 'T', "     Ctrl+T", "Alt+T", PageShows::Menu},
    {"ToImproper", "帯分数→仮分数", 'K', "     Ctrl+K", "Ctrl+K", PageShows::Menu},
    {"CheckSteps", "途中式を書いて調べる", 'G', "  Ctrl+G", "Ctrl+G", PageShows::Menu},
    {"StepHint", "途中式のヒント", 'H', "  Ctrl+Shift+G", "Ctrl+Shift+G", PageShows::Menu},
    {"CopyAnswer", "答を一時保存", 'C', "", "", PageShows::Menu},
    {"PasteAnswer", "保存した答を貼り付け", 'P', "", "", PageShows::Menu},
    {"ViewAnswer", "保存した答をLookする", 'L', "", "", PageShows::Menu},
    // 表示
    {"KAITOURAN_FLAG", "解答欄を付ける", 'C', "", "", PageShows::Menu},
    {"equalKaigyo", "＝ で改行する⇔しない", 'L', "　Ctrl＋Ｌ", "Ctrl+L", PageShows::Menu},
    {"panel", "入力パネル表示する⇔しない", 'I', " 　Ｆ８", "F8", PageShows::Menu},
    {"OpenConditions", "条件設定ボックス表示", 'J', "  Alt + J", "Alt+J", PageShows::MenuAndToolRow},
    {"OpenProcessSettings", "詳細設定", 'A', "              Alt + A", "Alt+A", PageShows::Menu},
    {"process", "計算過程表示する⇔しない", 0, "  Ｆ５", "F5", PageShows::Menu},
    {"FontDialog", "フォント", 'F', "　　Shift+F", "", PageShows::Menu},
    {"zoomIn", "拡大する", 0, "　Ctrl＋＋", "Ctrl++", PageShows::Menu},
    {"zoomOut", "縮小する", 0, "　Ctrl＋－", "Ctrl+-", PageShows::Menu},
    // ヘルプ (the desktop's F1 is the item's shortcut, which the menu shows on its own)
    {"Help", "『Kazoru』のヘルプ", 'H', "", "F1", PageShows::Menu},
    {"VersionBox", "バージョン情報", 'A', "", "", PageShows::MenuAndToolRow},
};

// The item of a name; an item with no caption for a name the table does not have.
inline constexpr ScreenMenuItem SCREEN_MENU_NONE{"", "", 0, "", "", PageShows::Menu};
constexpr const ScreenMenuItem& ScreenMenu(std::string_view name) {
  for (const ScreenMenuItem& item : SCREEN_MENU_ITEMS)
    if (name == item.name) return item;
  return SCREEN_MENU_NONE;
}

// The desktop's text of an item or a menu: "約分する(&Y)              Ctrl+Y".
inline std::string DesktopMenuText(const char* caption, char access, const char* key = "") {
  std::string s = caption;
  if (access) s += std::string("(&") + access + ")";
  return s + key;
}
inline std::string DesktopMenuText(const ScreenMenuItem& item) {
  return DesktopMenuText(item.caption, item.access, item.desktopKey);
}
inline std::string DesktopMenuText(const ScreenMenuTitle& title) {
  return DesktopMenuText(title.caption, title.access);
}
