// The commands that work on the closed line of the calculation screen: the answer in another form
// (decimal, mixed number, improper fraction, reduced, a decimal as a fraction), solving an equation in x,
// and the special modes on a single number (prime factorisation with the divisor rows, fraction ⇔
// repeating decimal, number bases). Each changes the line state of sikiInp.h (and ProcessState when process
// display makes a process) and asks for a repaint; the page then draws the line from that state, so a
// repaint or a print always shows the same picture. No window here.
#pragma once

#include <string>

#include "engine/Bunsuu.h"
#include "platform/Canvas.h"

// ---- Conversion commands ------------------------------------------------------------------------------

// Adds "=" and a converted value to the closed line (keeping its answer column).
void AppendConvertedValue(const Bunsuu& value);
// Ctrl+S, panel 小S: the answer as a decimal with the verdict on whether it terminates.
void toSyousuuButtonClick();
// Ctrl+T, panel 帯T: an improper fraction as a mixed number (with process display on, its process, type 17).
void Button19Click();
// Ctrl+K, panel 仮K: a mixed number as an improper fraction (type 18).
void Button18Click();
// Ctrl+Y: the fraction typed on the line reduced (type 9).
void YakuProcDsp();
// Ctrl+B: the decimal of the line as a fraction (type 14; a repeating decimal goes to JunSToBunDsp).
void DecimalToFraction();
// The raw process texts (not normalised) the two commands above store: the reduction of the fraction t
// (type 9) and the decimal or integer s written as a fraction (type 14).
std::string ReductionProcess(const std::string& t);
std::string DecimalProcess(const std::string& s);
// Ctrl+Q, Ctrl+Return, panel 解: the equation or inequality in x solved; the solution in the answer column.
void SolveLine(const std::string& line);

// Messages of the conversion commands.
inline constexpr const char* MSG_ALREADY_MIXED = "すでに､帯分数の形です。";
inline constexpr const char* MSG_NO_MIXED_AFTER_CUT = "…表示の小数の後は､ご遠慮を。";
inline constexpr const char* MSG_PROPER_NOT_MIXED = "真分数(分母＞分子)は、帯分数に直せません。";
inline constexpr const char* MSG_NO_IMPROPER_AFTER_CUT = "…表示の小数の後はご遠慮してね。";
inline constexpr const char* MSG_NOT_FRACTION = "分数でないので、\n約分できません。";
inline constexpr const char* MSG_NO_COMMON_DIVISOR = "公約数がないので、\n約分できません。";
inline constexpr const char* MSG_ENTER_DECIMAL = "小数を入力してください！";
// A line whose last piece is an expression, not one number: what the command cannot do with it.
inline constexpr const char* MSG_MIXED_NEEDS_NUMBER =
    "帯分数に直せるのは、１つの数だけです。\n式のままでは直せません。";
inline constexpr const char* MSG_IMPROPER_NEEDS_NUMBER =
    "仮分数に直せるのは、１つの数だけです。\n式のままでは直せません。";
inline constexpr const char* MSG_DECIMAL_NEEDS_NUMBER =
    "小数に直せるのは、１つの数だけです。\n式のままでは直せません。";
inline constexpr const char* MSG_REDUCE_NEEDS_FRACTION =
    "約分できるのは、分数１つだけです。\n式のままでは約分できません。";
inline constexpr const char* MSG_REPEATING_NEEDS_FRACTION =
    "循環小数に直せるのは、分数１つだけです。\n式のままでは直せません。";
// The cut-off decimal ("…", typed "u") is not the exact value, so it has no fraction of its own.
inline constexpr const char* MSG_CUT_DECIMAL_NO_FRACTION =
    "…表示の小数は途中で打ち切った数なので、\n分数に直せません。";
inline constexpr const char* MSG_SOLVE_NEEDS_X =
    "方程式・不等式では､左辺にｘが必要です。\n\n計算式なら、最後に＝が必要です。";

// ---- Special modes ------------------------------------------------------------------------------------

// The special modes' record (state records: tools/ProgramState.h).
struct LineCommandsState {
  bool FactorisationShown = false;
  std::string FactorisationLine;

  void Reset();
};
extern LineCommandsState LineCommandsData;

// A factorisation is shown on the line: the page draws its divisor rows after the line on every repaint.
// Cleared when a new line starts.
inline auto& FactorisationShown = LineCommandsData.FactorisationShown;
// The line the divisor rows were made for; they are not drawn once the line has changed.
inline auto& FactorisationLine = LineCommandsData.FactorisationLine;

// Shift+S: checks that the line holds a natural number, then SoinsuuDsp.
void SoinsuuPre();
// The factorisation of the line and its divisor list; the line becomes n=factorisation.
void SoinsuuDsp();
// The rows under a factorised line: composite, prime or 1, the divisor count, the divisor sum and, when
// the number itself is not listed, abundant / perfect / deficient. (x, y) is the line's origin and rowY the
// row the line's drawing ended on.
void ShowDivisorInfo(Canvas& surface, int x, int rowY, int cw, int ch);

// Shift+R: fraction → repeating decimal or back, by what the line's last answer holds.
void JunkanSyori();
// A repeating decimal as a fraction (type 15 with process display on).
void JunSToBunDsp();
// A fraction as a repeating decimal.
void BunToJunSDsp();
// The raw process text (not normalised) of a repeating decimal t; "" when a step cannot be made (the
// pupil has been told).
std::string RepeatingDecimalProcess(const std::string& t);

// Shift+N, Shift+/: number-base mode on or off.
void ToggleBaseMode();
// "=" and "/" in base mode, the panel's "?": 1232(n, 1232>(n or 1232(n>m converted.
void BaseConvert();

inline constexpr const char* MSG_FACTOR_CAPTION = "◇素因数分解◇";
inline constexpr const char* MSG_ENTER_NATURAL = "まず，自然数を入力してください。";
inline constexpr const char* BASE_CAPTION = "ｎ進法の変換！";
inline constexpr const char* BASE_FORMAT_TEXT =
    "◇書式◇\n\n　1232(n) ････ｎ進数の1232を10進数にする\n　1232>(n) ････10進数の1232をｎ進数にする\n"
    "　1232(n>m) ････ｎ進数の1232をｍ進数にする";
inline constexpr const char* BASE_FORMAT_TEXT_LONG =
    "◇書式◇\n\n　1232(n) ････ｎ進数の1232を10進数にする\n　1232>(n) ････10進数の1232をｎ進数にする\n"
    "　1232(n>m) ････ｎ進数の1232をｍ進数にする\n　＊最後の ） は省略可";

// ---- Installation ---------------------------------------------------------------------------------------

// The closed line drawn by the process display, followed by the divisor rows of a factorisation; what
// the page (ScreenPage.h) and the printing call for a closed line.
int DrawScreenLine(Canvas& surface, const std::string& lineText, bool withProcess);

// Installs every command above and the answer store's commands in the line's command table, and
// DrawScreenLine as the page's drawing of a closed line. Called once at start-up (the desktop program and
// the batch tool); the window adds printing, help and the settings window itself.
void InstallLineCommands();

// Back to the state of a fresh program: no factorisation shown, the stored answer empty.
void ResetLineCommands();
// Puts every module the calculation line drives back to its start: evaluator, number parser, fractions,
// expression fractions, solver, checker, calculation process and typesetter (settings and the line's
// commands are left as they are).
void ResetCalculationModules();
