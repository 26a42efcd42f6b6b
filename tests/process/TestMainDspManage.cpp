// The process catalogue (titles, advice texts, hidden steps) and the normalisation of process texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process/MainDspManage.h"

namespace {

TEST(ProcessCatalogue, TablesHaveTheirCountsAndExactTexts) {
  ASSERT_EQ(ProcessTypeTitles.size(), 19u);
  ASSERT_EQ(AdviceTexts.size(), 100u);
  EXPECT_EQ(ProcessTypeTitles[0], "タイプ[00]::[指定外・直接計算]");
  EXPECT_EQ(ProcessTypeTitles[2], "タイプ[02]::[分数の加減] <整数や帯分数をふくむ> ２数以上の場合 ▼別解F6▼");
  EXPECT_EQ(ProcessTypeTitles[18], "タイプ[18]::[帯分数 ⇒ 仮分数] 変形のプロセス");
  EXPECT_EQ(AdviceTexts[0], "");
  EXPECT_EQ(AdviceTexts[1], "⇒ 約分できるものは､まず約分しよう。[1]");
  EXPECT_EQ(AdviceTexts[17], "⇒ 整数のグループを計算しましょう。[017]");
  EXPECT_EQ(AdviceTexts[20], "⇒ 計算終了しました。ホっ!! 時間があれば検算しよう！　(^_^) [20]");
  EXPECT_EQ(AdviceTexts[42], "⇒  ＋(－◆) の ( ) を外すと －◆ になるよ。[42]");
  EXPECT_EQ(AdviceTexts[46], "⇔ 前の分数は、分母で割り切れて(約分できて)、整数になりました。[046]");
  EXPECT_EQ(AdviceTexts[99],
            "⇔ ▼分母をそろえる(通分する)ために､<分母＝分子>の分数をかけます。||"
            "　<分母＝分子>の分数は１と同じなので､かけても大きさは変わらないよ。[99]");
}

TEST(ProcessCatalogue, EveryTitleAndAdviceCarriesItsOwnNumber) {
  for (int t = 0; t < PROCESS_TYPE_COUNT; ++t) {
    char tag[16];
    std::snprintf(tag, sizeof tag, "タイプ[%02d]::", t);
    EXPECT_EQ(ProcessTypeTitles[static_cast<size_t>(t)].rfind(tag, 0), 0u) << t;
  }
  for (int n = 1; n < ADVICE_COUNT; ++n) {
    std::string_view text = AdviceTexts[static_cast<size_t>(n)];
    std::string plain = "[" + std::to_string(n) + "]";
    char padded[8];
    std::snprintf(padded, sizeof padded, "[%03d]", n);
    bool ends = text.ends_with(plain) || text.ends_with(padded);
    EXPECT_TRUE(ends) << n << " " << text;
    EXPECT_TRUE(text.starts_with("⇒") || text.starts_with("⇔")) << n;
  }
}

TEST(ProcessCatalogue, HiddenStepsAndBoundsCheckedReads) {
  EXPECT_TRUE(IsHiddenStep(1));
  EXPECT_TRUE(IsHiddenStep(4));
  EXPECT_TRUE(IsHiddenStep(35));
  EXPECT_FALSE(IsHiddenStep(0));
  EXPECT_FALSE(IsHiddenStep(2));
  EXPECT_EQ(AdviceText(100), "");
  EXPECT_EQ(AdviceText(-1), "");
  EXPECT_EQ(ProcessTypeTitle(19), "");
  EXPECT_EQ(StepRecord(Advice::Finished, 'X', "2b1"), "~020X=2b1");
  EXPECT_EQ(StepRecord(Advice::AddNumeratorsOverOneDenominator, 'Y', "E"), "~005Y=E");
}

struct NormCase {
  const char* raw;
  const char* normalized;
};

TEST(ProcessCatalogue, NormalizeProcessText) {
  const std::vector<NormCase> cases = {
      {"", ""},
      {"~020X=2b1", "020X2b1~"},
      {"~035X=[6B1+3]=6b4", "035X[6B1+3]~000X=6b4~"},
      {"~090X=E~020X=E", "020XE~"},
      {"~001X=E~002Y=E", "001XE~002Y=E~"},
      {"~002Y=E~090X=E", "090XE~"},
      // A first record without a code gets advice 90.
      {"2b1+3b1", "090X2b1+3b1~"},
      {"ab", "090Xab~"},
      // Signs after "=" become unary signs, a plus sign is dropped.
      {"~010X=E~020X=-3b1", "010XE~020X=m3b1~"},
      {"~010X=2+3b1~020X=+2k3b1", "010X2+3b1~020X=2k3b1~"},
      {"~010X=(-2b1)", "010X(m2b1)~"},
      // Doubled separators collapse; a trailing "=" disappears.
      {"~038X=E==F=~012X=F", "038XE~012X=F~"},
      // Three equal lines in a row leave the last.
      {"~001X=E~003X=E~020X=E", "020XE~"},
      // A line of style X gives way to nothing but compares by expression, so it also replaces a figure
      // line that shows the same expression; a figure line compares whole records.
      {"~001X=E~002Y=E~020X=E", "001XE~020X=E~"},
      {"~001X=E~002Y=E~020X=F", "001XE~002Y=E~020X=F~"},
  };
  for (const NormCase& c : cases) EXPECT_EQ(NormalizeProcessText(c.raw), c.normalized) << c.raw;
}

TEST(ProcessCatalogue, SplitAndVisibleLines) {
  std::string t = "001X3b2*4b3~062Z=3b2*4b3~064X=[1*2B1*1]~020X=2b1~";
  std::vector<ProcessLine> all = SplitProcessText(t);
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].advice, 1);
  EXPECT_FALSE(all[0].newRow);
  EXPECT_EQ(all[0].expr, "3b2*4b3");
  EXPECT_EQ(all[1].style, 'Z');
  EXPECT_TRUE(all[1].newRow);
  // At the normal level a hidden step is drawn only as the first record.
  EXPECT_EQ(VisibleProcessLines(t, 0).size(), 4u);
  std::string u = "003X2b1+3b1~004X=F~005X=C~035X=K~020X=6b5~";
  std::vector<ProcessLine> shown = VisibleProcessLines(u, 0);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[1].advice, 5);
  EXPECT_EQ(VisibleProcessLines(u, 1).size(), 5u);
  // A record without a style letter is drawn in style X without advice.
  std::vector<ProcessLine> odd = SplitProcessText("2b1");
  ASSERT_EQ(odd.size(), 1u);
  EXPECT_EQ(odd[0].advice, 0);
  EXPECT_EQ(odd[0].style, 'X');
}

}  // namespace
