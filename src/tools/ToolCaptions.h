// The words of the tool windows that both editions show: each window's title, labels and buttons with
// their tooltips, one table per window. The desktop's windows (src/ui/tools) take them from here; the page's
// dialogs take theirs from WORDS in web/dialogs.js, which tests/web/binding.test.mjs holds to these tables
// (the program carries none of it: its bytes are on a budget). Controls one edition has alone keep their
// words where they are made.
#pragma once

#include <cstddef>
#include <string_view>

#include "tools/BunSikiEdit.h"

// One control: the name both editions know it by, its words ("&X" marks its Alt key) and its tooltip
// ("" for none).
struct ToolCaption {
  const char* name;
  const char* caption;
  const char* tip = "";
};

// The conditions window (kihonSet; its check boxes and answer forms are CONDITION_CHECKS and
// ANSWER_FORM_CAPTIONS of tools/kihonSet.h).
inline constexpr ToolCaption CONDITIONS_CAPTIONS[] = {
    {"title", "▼条件設定▼"},
    {"tempo", "◇ｶｰｿﾙ点滅周期"},
    {"ms", "m秒"},
    {"goal", "▼今週の目標⇒"},
    {"editGoals", "編集Ｅ", "今週の目標を編集する"},
    {"jiokuri", "▼字送り"},
    {"percent", "[％]"},
    {"pai", "◇円周率πの近似値"},
    {"paiKey", "[￥で代入]"},
    {"pai19", "19ｹﾀ▲", "円周率を19ケタにする"},
    {"answers", "◆答の表示◆"},
    {"syou", "小数も表示"},
    {"a4", "Ａ４高(297㎜)の"},
    {"pageHeight", "・ページ高(80-400％)"},
    {"pitch", "・行送り(1-12)"},
    {"process", "◆計算過程を表示？"},
    {"processOff", "表示しない"},
    {"processOn", "表示する"},
    {"close", "終了Ｃ"},
    {"font", "ﾌｫﾝﾄＦ", "計算画面のフォントを変える"},
    {"detail", "詳細Ａ", "計算過程の詳細設定"},
};

// The week's goals editor (Mokuhyou).
inline constexpr ToolCaption GOALS_CAPTIONS[] = {
    {"title", "●今週の目標(10個)●"}, {"decide", "決定&D"}, {"cancel", "中止&C"}, {"font", "ﾌｫﾝﾄ&F"},
    {"colour", "文字の色"},
};

// The expression editor (BunSikiEdit).
inline constexpr ToolCaption EDITOR_CAPTIONS[] = {
    {"title", "◆式エディタ◆　【式文字列の編集（キーボードからのみ入力可）】"},
    {"editHere", "▼ここで編集(Max256字)▼"},
    {"keyTenyou", "ｷｰ転用 &K", "[PageUp]→'ｋ' [PageDown]→'ｂ' 　[HOME]→'（'　[END]→'）'　[↓]→'='"},
    {"show", "式表示 Ret", "編集した式のみ表示します"},
    {"calculate", "計算 Ctrl+Ret", "編集式を計算し、答えも表示します"},
    {"close", "閉 &C", "このｴﾃﾞｲﾀを閉じます"},
    {"memo", "式ﾒﾓ &M", "式を保存してあるメモをオープンする"},
    {"substitution", "代入箱 &S", "ｴﾃﾞｨﾀ中のｘ、ｙに数値を代入する"},
    {"conditions", "条件 &J", "条件設定ﾎﾞｯｸｽを表示します"},
    {"stash", "退 &H", "ｴﾃﾞｨﾀの式を一時退避します。"},
    {"insert", "挿 &I", "退避した式をｴﾃﾞｨﾀに戻します"},
    {"look", "&Look", "退避した式をLookします"},
    {"error", EDITOR_ERROR_START},
    {"keyTenyouOn", "ON"},  // the key-repurposing indicator, red
    {"keyTenyouOff", "OFF"},  // blue
};

// The expression memo (sikiEMemo).
inline constexpr ToolCaption MEMO_CAPTIONS[] = {
    {"title", "★式 メモ★ 【計算式・文字式を50個まで保管】"},
    {"fromEditor", "From式ｴﾃﾞｨﾀ▼ &G", "ｴﾃﾞｨﾀ上の式をﾒﾓに追加"},
    {"toEditor", "To式ｴﾃﾞｨﾀ &A", "選択式を､式ｴﾃﾞｨﾀにｺﾋﾟｰする"},
    {"toSubstitution", "To代入&Box", "選択式を 値代入Boxに転記"},
    {"look", "&Look", "式を分数の形でちょっと拝見！"},
    {"delete", "選択式削除 &D", "選択式を削除する"},
    {"deleteAll", "全削除 &Z", "メモにある式を全部削除する"},
    {"close", "終了 &C"},
};

// The substitution box (xyDainyuu).
inline constexpr ToolCaption SUBSTITUTION_CAPTIONS[] = {
    {"title", "■数値代入ボックス■【文字式に数値を代入＆転送】"},
    {"values", "◆代入値⇒"},
    {"x", "ｘ="},
    {"y", "ｙ="},
    {"z", "ｚ="},
    {"expression", "◇文字式＝"},
    {"transfer", "式を転送 &S"},
    {"calculate", "計算 &K"},
    {"look", "&Look"},
    {"memoSave", "ﾒﾓ保存 &R"},
    {"memoOpen", "ﾒﾓ開く &M"},
    {"close", "閉 &C"},
};

// The version box (AboutBox).
inline constexpr ToolCaption VERSION_CAPTIONS[] = {
    {"title", "『Kazoru』バージョン情報"},
    {"version", "V 1.00（R）"},
    {"name", "『Kazoru』"},
    {"sub", "《分数計算器》"},
    {"maker", "ナナツボシ"},
    {"ok", "Ｏ Ｋ"},
};

// The tables by the page's name of their window.
struct ToolCaptionTable {
  const char* window;
  const ToolCaption* first;
  std::size_t count;
};
template <std::size_t N>
constexpr ToolCaptionTable ToolTable(const char* window, const ToolCaption (&t)[N]) {
  return {window, t, N};
}
inline constexpr ToolCaptionTable TOOL_CAPTION_TABLES[] = {
    ToolTable("conditions", CONDITIONS_CAPTIONS),
    ToolTable("goals", GOALS_CAPTIONS),
    ToolTable("editor", EDITOR_CAPTIONS),
    ToolTable("memo", MEMO_CAPTIONS),
    ToolTable("substitution", SUBSTITUTION_CAPTIONS),
    ToolTable("version", VERSION_CAPTIONS),
};

// The control of a name in a window's table; a control with no words for a name the table lacks.
inline constexpr ToolCaption TOOL_CAPTION_NONE{"", ""};
template <std::size_t N>
constexpr const ToolCaption& ToolCaptionOf(const ToolCaption (&t)[N], std::string_view name) {
  for (const ToolCaption& c : t)
    if (name == c.name) return c;
  return TOOL_CAPTION_NONE;
}
// The tooltip of a control, or nullptr where it has none (the windows then set no tooltip).
constexpr const char* ToolTipOrNull(const ToolCaption& c) { return *c.tip ? c.tip : nullptr; }
