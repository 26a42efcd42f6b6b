// The commands on the calculation line without a window, typed through the key map as a pupil would:
// conversions with and without their processes, solving, prime factorisation with its divisor rows,
// fraction ⇔ repeating decimal, the number-base mode and the answer store, each with its messages.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "engine/BunMath.h"
#include "engine/Bunio.h"
#include "engine/Buntakousiki.h"
#include "engine/Houtei1ji.h"
#include "engine/InpCheck.h"
#include "engine/Settings.h"
#include "platform/RecordingCanvas.h"
#include "process/CalcProcManage.h"
#include "process/MainDspManage.h"
#include "screen/AnswerStore.h"
#include "screen/ScreenPage.h"
#include "screen/sikiInp.h"
#include "screen/sikiInpCommands.h"
#include "support/TestSupport.h"
#include "support/TypeKeys.h"
#include "tools/ProgramState.h"
#include "typeset/bunCanvasDsp.h"

namespace {

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    InstallLineCommands();
    ResetSikiInp();
  }
  void TearDown() override { DrawCurrentLineHook = DrawScreenLine; }

  // Types a sequence as the batch tool does ("=" closes the line, "{Ctrl+T}" a command key).
  static void Type(const std::string& keys) { TypeKeys(keys); }
  static std::vector<std::string> Shown() { return TestPlatform().ShownTexts(); }
  static int Beeps() {
    int n = 0;
    for (const auto& m : TestPlatform().log) n += m.kind == "beep";
    return n;
  }
  // The page as the screen paints it.
  RecordingCanvas Paint() {
    RecordingCanvas canvas;
    PrepareScreenSurface(canvas);
    PaintPage(canvas, 500, 450);
    return canvas;
  }
  static std::vector<std::string> Lines() {
    std::vector<std::string> out;
    for (const ProcessLine& l : SplitProcessText(ProcessState.processText))
      out.push_back(std::to_string(l.advice) + l.style + " " + l.expr);
    return out;
  }
};

// ---- Conversions without a process -------------------------------------------------------------------

struct ConvertCase {
  int anssyu;
  const char* keys;
  const char* line;  // LineText afterwards
  const char* message;  // "caption: text" of the one message, or "" for none
};

TEST_F(Commands, ConversionsAppendToTheLineOrAnswerWithTheirMessages) {
  const ConvertCase cases[] = {
      {1, "2b1+1={Ctrl+T}", "2b1+1=2b3=1k2b1", ""},
      {1, "3b1+6b1={Ctrl+T}", "3b1+6b1=2b1", "ご報告！: 真分数(分母＞分子)は、帯分数に直せません。"},
      {0, "2b1+1={Ctrl+T}", "2b1+1=1k2b1", "ご報告！: すでに､帯分数の形です。"},
      {0, "2b1+1={Ctrl+K}", "2b1+1=1k2b1=2b3", ""},
      {0, "2b1+1={Ctrl+K}{Ctrl+K}", "2b1+1=1k2b1=2b3", ""},  // once per line
      {1, "6b1+6b1={Ctrl+S}{Ctrl+T}", "6b1+6b1=3b1=0.33333333333333333u",
       "ご報告！: …表示の小数の後は､ご遠慮を。"},
      {0, "6b1+6b1={Ctrl+S}{Ctrl+K}", "6b1+6b1=3b1=0.33333333333333333u",
       "Debug: …表示の小数の後はご遠慮してね。"},
      {0, "8b1+8b1={Ctrl+S}", "8b1+8b1=4b1=0.25", ""},
      {0, "2.75{Ctrl+B}", "2.75=2k4b3", ""},
      {0, "3b1{Ctrl+B}", "3b1", "Report！: 小数を入力してください！"},
      {0, "4b2{Ctrl+Y}", "4b2=2b1", ""},
      {0, "3b2{Ctrl+Y}", "3b2", "報告!!: 公約数がないので、\n約分できません。"},
      {0, "12{Ctrl+Y}", "12", "報告!!: 分数でないので、\n約分できません。"},
      {0, "2*x+1=5{Ctrl+Q}", "2*x+1=5&x=2", ""},
      {0, "2+1{Ctrl+Q}", "2+1",
       "ご報告!!: 方程式・不等式では､左辺にｘが必要です。\n\n計算式なら、最後に＝が必要です。"},
      {0, "3b1{Shift+R}", "3b1=0.@3", ""},
      {0, "2k3b1{Shift+R}", "2k3b1=2.@3", ""},
      {0, "0.@3{Shift+R}", "0.@3=3b1", ""},
      {0, "0.1@6{Ctrl+B}", "0.1@6=6b1", ""},
      // A line that is an expression, or ends in a cut-off decimal, is no number for these commands: each
      // says what it cannot do, and none speaks of the 64-bit range.
      {0, "4b2+4b1={Ctrl+Y}", "4b2+4b1=4b3",
       "報告!!: 約分できるのは、分数１つだけです。\n式のままでは約分できません。"},
      {0, "3b1+3b1={Ctrl+S}{Ctrl+B}", "3b1+3b1=3b2=0.66666666666666666u",
       "Report！: …表示の小数は途中で打ち切った数なので、\n分数に直せません。"},
      {1, "2+3b1{Ctrl+T}", "2+3b1",
       "ご報告！: 帯分数に直せるのは、１つの数だけです。\n式のままでは直せません。"},
      {0, "2+3b1{Ctrl+K}", "2+3b1",
       "ご報告！: 仮分数に直せるのは、１つの数だけです。\n式のままでは直せません。"},
      {0, "2+3b1{Ctrl+S}", "2+3b1",
       "ご報告！: 小数に直せるのは、１つの数だけです。\n式のままでは直せません。"},
      {0, "2b1+3b1{Shift+R}", "2b1+3b1",
       "Report！: 循環小数に直せるのは、分数１つだけです。\n式のままでは直せません。"},
      {0, "1.5+2{Ctrl+B}", "1.5+2", "Report！: 小数を入力してください！"},
  };
  for (const ConvertCase& c : cases) {
    SetUp();
    TestPlatform().Clear();
    ANSSYU = c.anssyu;
    Type(c.keys);
    EXPECT_EQ(LineText, c.line) << c.keys;
    std::vector<std::string> expected;
    if (*c.message) expected.push_back(c.message);
    EXPECT_EQ(Shown(), expected) << c.keys;
  }
}

TEST_F(Commands, ConvertedValuesKeepTheAnswerColumn) {
  ANSSYU = 1;
  KAITOURAN_FLAG = 1;
  Type("2b1+1={Ctrl+T}");
  EXPECT_EQ(LineText, "2b1+1=2b3=1k2b1&2b3");
  SetUp();
  KAITOURAN_FLAG = 1;
  Type("6b1+6b1={Ctrl+S}");
  EXPECT_EQ(LineText, "6b1+6b1=3b1=0.33333333333333333u&3b1");
}

TEST_F(Commands, DecimalCommandShowsItsVerdictOnceAndDisablesItsButton) {
  Type("6b1+6b1={Ctrl+S}");
  EXPECT_TRUE(DecimalDone);
  EXPECT_FALSE(SyouButtonEnabled);
  EXPECT_EQ(LineVerdict.text, "【割り切れません】");
  EXPECT_EQ(LineVerdict.color, CLR_RED);
  EXPECT_EQ(LineVerdict.sizeTenths, 5);  // FONTSIZE / 2
  std::string line = LineText;
  Type("{Ctrl+S}");
  EXPECT_EQ(LineText, line);
  // The verdict is painted one row under the last "＝", two cells after it.
  RecordingCanvas page = Paint();
  bool found = false;
  for (const CanvasOp& op : page.OpsOf(CanvasOp::Kind::Text))
    if (op.text == "【割り切れません】") {
      found = true;
      EXPECT_EQ(op.x, EqualsPoint.x + 2 * CharWidth);
      EXPECT_EQ(op.y, EqualsPoint.y + CharHeight);
      EXPECT_EQ(op.fontSize, 7);
    }
  EXPECT_TRUE(found);

  SetUp();
  Type("8b1+8b1={Ctrl+S}");
  EXPECT_EQ(LineVerdict.text, "【割り切れました】");
  EXPECT_EQ(LineVerdict.color, CLR_GREEN);
}

TEST_F(Commands, ReduceAndDecimalToFractionReportInTheStatusLine) {
  Type("4b2{Ctrl+Y}");
  EXPECT_EQ(StatusText, "◆約分の過程を表示しました。");
  EXPECT_FALSE(LineOpen);
  SetUp();
  Type("2.75{Ctrl+B}");
  EXPECT_EQ(StatusText, "◆小数を分数になおしました。");
  EXPECT_FALSE(LineOpen);
  SetUp();
  KAKERU_ABR = 1;  // 2x is typed without the times sign
  Type("2x+1=5{Ctrl+Q}");
  EXPECT_EQ(StatusText, "◆方程式or不等式を解きました。");
  EXPECT_EQ(LineText, "2x+1=5&x=2");
  EXPECT_EQ(SavedLine, "2x+1=5&x=2");
  SetUp();
  Type("0.@3{Shift+R}");
  EXPECT_EQ(StatusText, "◆循環小数を分数になおしました。");
  SetUp();
  Type("3b1{Shift+R}");
  EXPECT_EQ(StatusText, "◆分数を循環小数になおしました。");
}

TEST_F(Commands, RepeatingDecimalRefusals) {
  // An integer has no repeating decimal; the typed part of a line that is not a number cannot be read.
  Type("5+1={Shift+R}");
  EXPECT_TRUE(Shown().empty());  // "6" holds neither "@" nor "b": nothing happens
  SetUp();
  TestPlatform().Clear();
  LineText = "5+1=6";
  BunToJunSDsp();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"Report！: 整数は循環小数に直せない。"}));
  EXPECT_EQ(LineText, "5+1=6");
}

TEST_F(Commands, RepeatingDecimalAndDecimalCommandsDoNotCallEachOtherForEver) {
  // The typed part 3b1 holds no "@" while the answer does: each command would hand over to the other.
  Type("3b1{Shift+R}");
  ASSERT_EQ(LineText, "3b1=0.@3");
  Type("{Ctrl+B}");
  EXPECT_EQ(LineText, "3b1=0.@3");
  Type("{Shift+R}");
  EXPECT_EQ(LineText, "3b1=0.@3");
}

// ---- Conversions with their processes -----------------------------------------------------------------

struct ProcessCase {
  const char* keys;
  int type;
  std::vector<std::string> lines;  // advice, style and expression of every record
};

TEST_F(Commands, ProcessDisplayMakesTheConversionProcesses) {
  const ProcessCase cases[] = {
      {"4b2{Ctrl+Y}", 9, {"56X 4b2", "57A 4b2", "59X 2b1"}},
      {"2k4b2{Ctrl+Y}", 9, {"56X 2k4b2", "58A 2k4b2", "59X 2k2b1"}},
      {"2.75{Ctrl+B}", 14, {"70X 2.75", "71X 2k100b75", "72A 2k100b75", "73X 2k4b3"}},
      {"0.3{Ctrl+B}", 14, {"70X 0.3", "98X 10b3"}},
      {"3{Ctrl+B}", 14, {"54X 3", "55X 1b3"}},
      {"3b7{Ctrl+T}",
       17,
       {"43X 3b7", "44X [3B3*2+1]", "45X [3B3*2]+3b1", "90X 3b3*2+3b1", "97Y 3b3*2+3b1", "10X 2+3b1",
        "47X 2k3b1"}},
      {"2k3b1{Ctrl+K}",
       18,
       {"50X 2k3b1", "51X 2+3b1", "52X 1b2+3b1", "99X 1b2*3b3+3b1", "60X [1*3B2*3]+3b1", "5X 3b6+3b1",
        "35X [3B6+1]", "55X 3b7"}},
      {"0.@3{Shift+R}", 15, {"87X 0.@3", "86X 0.@1*3", "89X 9b1*3", "72X 9b3", "2A 9b3", "73X 3b1"}},
      // Two neighbouring lines showing the same fraction: only the later one is drawn.
      {"0.@1{Shift+R}", 15, {"86X 0.@1", "73X 9b1"}},
      {"0.0@3{Shift+R}",
       15,
       {"76X 0.0@3", "86X 0.@3*10b1", "78X 9b3*10b1", "72X 90b3", "2A 90b3", "73X 30b1"}},
  };
  for (const ProcessCase& c : cases) {
    SetUp();
    PROCDSP = 1;
    PROCTEIDO = 1;
    Type(c.keys);
    EXPECT_EQ(ProcessTypeNumber(ProcessState.processType), c.type) << c.keys;
    EXPECT_EQ(Lines(), c.lines) << c.keys;
    EXPECT_FALSE(LineOpen) << c.keys;
  }
}

TEST_F(Commands, RepeatingDecimalWithANonRepeatingPartIsSplitFirst) {
  PROCDSP = 1;
  PROCTEIDO = 1;
  Type("2.1@36{Shift+R}");
  ASSERT_EQ(ProcessTypeNumber(ProcessState.processType), 15);
  std::vector<std::string> lines = Lines();
  ASSERT_GE(lines.size(), 6u);
  EXPECT_EQ(lines[0], "80X 2.1@36");
  EXPECT_EQ(lines[1], "81X 2.1+0.0@36");
  EXPECT_EQ(lines[2], "82X 2k10b1+0.0@36");
  EXPECT_EQ(lines[3], "77X 2k10b1+0.@36*10b1");
  EXPECT_EQ(lines.back(), "73X 2k22b3");  // 2.1363636… is 2 3/22

  SetUp();
  PROCDSP = 1;
  Type("0.1@6{Shift+R}");
  lines = Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "80X 0.1@6");
  EXPECT_EQ(lines.back(), "73X 6b1");
  // At the normal level the lines with advice 4 and 35 are hidden by the display, not by the text.
  EXPECT_LT(VisibleProcessLines(ProcessState.processText, 0).size(), lines.size());
}

TEST_F(Commands, MixedToImproperContinuesTheLinesProcessAndTheDisplayDrawsIt) {
  PROCDSP = 1;
  Type("3b7{Ctrl+T}");
  ASSERT_EQ(ProcessTypeNumber(ProcessState.processType), 17);
  RecordingCanvas page = Paint();
  std::vector<std::string> texts = page.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), std::string(ProcessTypeTitles[17])), texts.end());
}

// ---- Prime factorisation ---------------------------------------------------------------------------------

std::vector<std::string> RowTexts(const RecordingCanvas& page, int y) {
  std::vector<std::string> out;
  for (const CanvasOp& op : page.OpsOf(CanvasOp::Kind::Text))
    if (op.y == y) out.push_back(op.text);
  return out;
}

TEST_F(Commands, FactorisationOfTwelveShowsItsDivisorRows) {
  Type("12{Shift+S}");
  EXPECT_EQ(LineText, "12=2^2*3");
  EXPECT_FALSE(LineOpen);
  EXPECT_EQ(StatusText, "◆素因数分解をおこないました。");
  RecordingCanvas page = Paint();
  const int y = LineOrigin.y, ch = CharHeight;
  EXPECT_EQ(RowTexts(page, y + 3 * ch), (std::vector<std::string>{"▽ < 12 > は合成数です。"}));
  EXPECT_EQ(RowTexts(page, y + 4 * ch),
            (std::vector<std::string>{"　［約数が全部で 6 個（＞２個）あるので］"}));
  EXPECT_EQ(RowTexts(page, y + 6 * ch),
            (std::vector<std::string>{"◎ < 12 > の約数 5 個[元の数を除く]の和◎"}));
  // Row 8 lists 1+2+3+4+6, the sum 16 a row and a half lower, and the verdict right after it.
  std::vector<std::string> list = RowTexts(page, y + 8 * ch);
  EXPECT_EQ(list.front(), " ");
  std::vector<std::string> sum = RowTexts(page, y + 8 * ch + 3 * ch / 2);
  EXPECT_EQ(sum, (std::vector<std::string>{"＝", "1", "6", "（過剰数［元の数より大きい］）"}));
  for (const CanvasOp& op : page.OpsOf(CanvasOp::Kind::Text)) {
    if (op.text.rfind("▽", 0) == 0) {
      EXPECT_EQ(op.fontColor, CLR_BLUE);
    } else if (op.text.rfind("◎", 0) == 0) {
      EXPECT_EQ(op.fontColor, CLR_MAROON);
    } else if (op.text.rfind("（過剰数", 0) == 0) {
      EXPECT_EQ(op.fontColor, CLR_RED);
    }
  }
  // A new line takes the rows away.
  Type("{Delete}");
  page = Paint();
  EXPECT_TRUE(RowTexts(page, y + 3 * ch).empty());
}

struct FactorRowsCase {
  const char* number;
  int waType;
  std::vector<std::string> row3, row4;
  const char* verdict;  // after the divisor list, "" for none
};

TEST_F(Commands, FactorisationRowsForPerfectDeficientPrimeAndOne) {
  const FactorRowsCase cases[] = {
      {"6",
       0,
       {"▽ < 6 > は合成数です。"},
       {"　［約数が全部で 4 個（＞２個）あるので］"},
       "（完全数［元の数と同じ大きさ］）"},
      {"8",
       0,
       {"▽ < 8 > は合成数です。"},
       {"　［約数が全部で 4 個（＞２個）あるので］"},
       "（不足数［元の数より小さい］）"},
      {"8", 1, {"▽ < 8 > は合成数です。"}, {"　［約数が全部で 4 個（＞２個）あるので］"}, ""},
      {"7", 0, {"▽ < 7 > は素数です。"}, {"　［約数が１と 7 の２個だけなので］"}, ""},
      {"7", 1, {"▽ < 7 > は素数です。"}, {"　［約数が１と 7 の２個だけなので］"}, ""},
      {"1", 0, {"◎ < １ > は素数でも合成数でもありません。"}, {"　［１の約数は１の１個だけなので］"}, ""},
  };
  for (const FactorRowsCase& c : cases) {
    SetUp();
    WA_TYPE = c.waType;
    Type(std::string(c.number) + "{Shift+S}");
    RecordingCanvas page = Paint();
    const int y = LineOrigin.y, ch = CharHeight;
    EXPECT_EQ(RowTexts(page, y + 3 * ch), c.row3) << c.number;
    EXPECT_EQ(RowTexts(page, y + 4 * ch), c.row4) << c.number;
    bool verdictFound = false;
    for (const std::string& t : page.Texts()) verdictFound |= t == c.verdict;
    EXPECT_EQ(verdictFound, *c.verdict != 0) << c.number;
    if (c.waType == 1 && std::string(c.number) == "8") {
      EXPECT_EQ(RowTexts(page, y + 6 * ch), (std::vector<std::string>{"◎ < 8 > の全約数(4個)の和◎"}));
    }
  }
}

TEST_F(Commands, FactorisationRefusesWhatIsNotANaturalNumber) {
  const char* const lines[] = {"", "0", "1+2", "3b2", "2.5"};
  for (const char* line : lines) {
    SetUp();
    TestPlatform().Clear();
    Type(line);
    Type("{Shift+S}");
    EXPECT_EQ(Shown(), (std::vector<std::string>{"◇素因数分解◇: まず，自然数を入力してください。"})) << line;
    EXPECT_EQ(Beeps(), 1) << line;
    EXPECT_FALSE(FactorisationShown);
  }
  // The order differs: for an empty line the box comes first, for an operator the beep.
  SetUp();
  TestPlatform().Clear();
  Type("1+2{Shift+S}");
  ASSERT_GE(TestPlatform().log.size(), 2u);
  EXPECT_EQ(TestPlatform().log[0].kind, "beep");
}

TEST_F(Commands, AnInterruptedFactorisationLeavesTheLineOpenWithABeep) {
  // A large prime needs many rounds; the pupil's request is honoured while the switch is on.
  TestPlatform().interrupts = std::deque<bool>(1000, true);
  Type("9223372036854775783{Shift+S}");
  EXPECT_EQ(LineText, "9223372036854775783");
  EXPECT_TRUE(LineOpen);
  EXPECT_FALSE(FactorisationShown);
  EXPECT_GE(Beeps(), 1);
  EXPECT_NE(StatusText.find("《Esc or ｸﾘｯｸで中断することが可能です。》"), std::string::npos);

  SetUp();
  InterruptibleFactorisation = 0;
  TestPlatform().interrupts = std::deque<bool>(1000, true);
  Type("9223372036854775783{Shift+S}");
  EXPECT_EQ(LineText, "9223372036854775783=9223372036854775783");
}

// ---- Number bases -----------------------------------------------------------------------------------------

struct BaseCase {
  const char* line;
  const char* result;  // "" for the format message
};

// A letter typed in base mode stays on the line when the mode is left (the checker never saw it); "="
// then fails on the line and offers it again to the checker, which leaves the letter out, for the pupil
// to correct. (Found by the key-sequence fuzz target.)
TEST_F(Commands, LeavingBaseModeWithALetterIsMendedAtEquals) {
  Type("111{Shift+/}+b{Shift+/}2+3");
  EXPECT_FALSE(BaseMode);
  EXPECT_EQ(LineText, "111+B2+3");
  Type("=");
  EXPECT_TRUE(LineOpen);
  EXPECT_EQ(LineText, "111+2+3");
  EXPECT_TRUE(TextAccepted(LineText, KAKERU_ABR));
  EXPECT_EQ(static_cast<size_t>(LineCount), LineText.size());
  Type("=");
  EXPECT_EQ(LineText, "111+2+3=116");
}

// Each format row names one number twice: as typed ("1232(n)") and in the words after it ("…の1232を…").
TEST(BaseFormat, EachRowsExampleAndWordsNameTheSameNumber) {
  for (const std::string text : {BASE_FORMAT_TEXT, BASE_FORMAT_TEXT_LONG}) {
    std::istringstream rows(text);
    std::string row;
    int examples = 0;
    while (std::getline(rows, row)) {
      const size_t dots = row.find("････");
      if (dots == std::string::npos) continue;
      const size_t digits = row.find_first_of("0123456789");
      ASSERT_LT(digits, dots) << row;
      const std::string typed = row.substr(digits, row.find_first_not_of("0123456789", digits) - digits);
      const size_t no = row.find("の", dots);
      ASSERT_NE(no, std::string::npos) << row;
      const size_t from = no + std::string("の").size();
      const std::string said = row.substr(from, row.find_first_not_of("0123456789", from) - from);
      EXPECT_EQ(typed, said) << row;
      ++examples;
    }
    EXPECT_EQ(examples, 3) << text;
  }
}

TEST_F(Commands, BaseModeConvertsBetweenBases) {
  Type("{Shift+N}");
  EXPECT_TRUE(BaseMode);
  EXPECT_EQ(StatusText, "Ｎ進法変換モードに入りました！!");
  EXPECT_EQ(Shown(), (std::vector<std::string>{std::string("ｎ進法の変換！: ") + BASE_FORMAT_TEXT}));
  const BaseCase cases[] = {
      {"FF(16", "FF(16)=255(10)"},
      {"FF(16)", "FF(16)=255(10)"},
      {"255>(2", "255(10)=11111111(2)"},
      {"11(2>16", "11(2)=3(16)"},
      {"12(2", ""},
      {"12", ""},
      {"12(1", ""},
      {"12>(x", ""},
  };
  for (const BaseCase& c : cases) {
    TestPlatform().Clear();
    ClearLine();
    LineText = c.line;
    RunScreenCommand(ScreenCommand::BaseConvert);
    if (*c.result) {
      EXPECT_EQ(LineText, c.result) << c.line;
      EXPECT_FALSE(LineOpen);
      EXPECT_TRUE(Shown().empty());
    } else {
      EXPECT_EQ(LineText, c.line);
      EXPECT_EQ(Shown(), (std::vector<std::string>{std::string("ｎ進法の変換！: ") + BASE_FORMAT_TEXT_LONG}))
          << c.line;
    }
  }
  // Typed: digits through the checker, "(" as Shift+8, then "=" after the closing bracket, or the "/"
  // key without it.
  ClearLine();
  KAKERU_ABR = 1;  // "(" right after a digit
  Type("31(16)=");
  EXPECT_EQ(LineText, "31(16)=49(10)");
  ClearLine();
  Type("31(16");
  KeyToInput(VK_OEM_2, 0);
  EXPECT_EQ(LineText, "31(16)=49(10)");
  Type("{Shift+N}");
  EXPECT_FALSE(BaseMode);
  EXPECT_EQ(StatusText, "Ｎ進法変換モードを出ました！!");
  // Outside base mode "/" is no command.
  ClearLine();
  LineText = "FF(16";
  EXPECT_FALSE(RunScreenCommand(ScreenCommand::BaseConvert));
}

// Every form the mode's format box shows can be typed with the keys, under the default settings (no left-out
// multiplication), with all sixteen digits.
TEST_F(Commands, BaseModeTakesEveryFormOfItsFormatBox) {
  struct Case {
    const char* keys;
    const char* line;
  } cases[] = {
      {"101(2=", "101(2)=5(10)"},
      {"101(2)=", "101(2)=5(10)"},
      {"1A(16=", "1A(16)=26(10)"},
      {"ABCDEF(16=", "ABCDEF(16)=11259375(10)"},
      {"1234567890ABCDEF(16=", "1234567890ABCDEF(16)=1311768467294899695(10)"},
      {"C(16=", "C(16)=12(10)"},
      {"255>(2=", "255(10)=11111111(2)"},
      {"255.(2)=", "255(10)=11111111(2)"},
      {"101(2>8=", "101(2)=5(8)"},
      {"FF(16.2)=", "FF(16)=11111111(2)"},
      {"{Shift+C}C(16{Slash}", "CC(16)=204(10)"},
  };
  for (const auto& c : cases) {
    SetUp();
    Type("{Shift+N}");
    TestPlatform().Clear();
    Type(c.keys);
    EXPECT_EQ(LineText, c.line) << c.keys << " status " << StatusText;
    EXPECT_EQ(RefusalCount, 0) << c.keys << " status " << StatusText;
    EXPECT_TRUE(Shown().empty()) << c.keys;
  }
}

// ---- Answer store ------------------------------------------------------------------------------------------

TEST_F(Commands, CopyAnswerStoresTheAnswerOfTheClosedLine) {
  Type("2b1+3b1={Ctrl+C}");
  EXPECT_EQ(StoredAnswer, "6b5");
  EXPECT_EQ(StatusText, "CopyAnswer:: < 6b5 >を保存しました。");
  KAKERU_ABR = 1;
  Type("{Delete}2x+1=5{Ctrl+Q}{Ctrl+C}");
  EXPECT_EQ(StoredAnswer, "2");
  Type("{Delete}2x>4{Ctrl+Q}{Ctrl+C}");
  EXPECT_EQ(StoredAnswer, "2");
  Type("{Delete}2b1-1={Ctrl+C}");
  EXPECT_EQ(StoredAnswer, "(m2b1)");
  // Pasting types the brackets too, through the checker.
  Type("{Delete}1+{Ctrl+P}");
  EXPECT_EQ(LineText, "1+(m2b1)");
  TestPlatform().Clear();
  ViewAnswer();
  ASSERT_EQ(TestPlatform().log.size(), 1u);
  EXPECT_EQ(TestPlatform().log[0].kind, "notice");
  EXPECT_EQ(TestPlatform().log[0].text, "@(m2b1)");
  EXPECT_EQ(TestPlatform().log[0].caption, "一時保存の答");
  EXPECT_EQ(TestPlatform().log[0].durationMs, 3000);
}

TEST_F(Commands, CopyAnswerMessages) {
  Type("{Ctrl+C}");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"ご確認: 計算後でないと、答を一時保存できません。"}));
  // On an open line a stored answer stays and is named again.
  Type("2b1+3b1={Ctrl+C}{Delete}1+{Ctrl+C}");
  EXPECT_EQ(StoredAnswer, "6b5");
  TestPlatform().Clear();
  ViewAnswer();
  EXPECT_EQ(TestPlatform().log.size(), 1u);
  StoredAnswer.clear();
  TestPlatform().Clear();
  ViewAnswer();
  EXPECT_TRUE(TestPlatform().log.empty());
}

TEST_F(Commands, CopyAnswerTakesTheLinesOwnAnswerNotAnEarlierEvaluation) {
  // The factorised line was never evaluated: the evaluator still holds the answer of the line before.
  Type("2b1+3b1={Delete}12{Shift+S}{Ctrl+C}");
  EXPECT_EQ(StoredAnswer, "2^2*3");
  // With a process shown, its last line is the answer.
  Type("{Delete}");
  PROCDSP = 1;
  Type("2b1+3b1={Ctrl+C}");
  EXPECT_EQ(StoredAnswer, "6b5");
}

// ---- The page draws the process -----------------------------------------------------------------------

TEST_F(Commands, ProcessDisplayOnDrawsTheTitleAndLinesUnderTheLine) {
  Type("{F5}");
  ASSERT_EQ(PROCDSP, 1);
  ADVICEDSP = 1;
  Type("2b1+3b1=");
  ASSERT_EQ(ProcessTypeNumber(ProcessState.processType), 1);
  RecordingCanvas page = Paint();
  std::vector<std::string> texts = page.Texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), std::string(ProcessTypeTitles[1])), texts.end());
  bool advice = false;
  for (const std::string& t : texts) advice |= t.rfind("⇒ 分母を同じに", 0) == 0;
  EXPECT_TRUE(advice);
  // F5 again: the stored process is still drawn (the page draws what is stored), below an origin 1.5
  // rows higher.
  const int before = LineOrigin.y;
  Type("{F5}");
  Paint();
  EXPECT_EQ(LineOrigin.y, before - 3 * CharHeight / 2);
}

}  // namespace
