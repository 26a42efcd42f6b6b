// The reading of lines aloud: a table of lines and the words a teacher says, in display and kana form,
// and the kana of whole numbers with their sound changes.
#include <gtest/gtest.h>

#include <string>

#include "typeset/Reading.h"

namespace {

struct ReadingCase {
  const char* line;
  const char* display;
  const char* kana;
};

const ReadingCase CASES[] = {
    // Fractions, mixed numbers and the answer after "は".
    {"3b2+1k4b1=1k12b11", "3分の2 たす 1と4分の1 は 1と12分の11",
     "さんぶんのに たす いちとよんぶんのいち は いちとじゅうにぶんのじゅういち"},
    {"3b2+1k4b1=12b11", "3分の2 たす 1と4分の1 は 12分の11",
     "さんぶんのに たす いちとよんぶんのいち は じゅうにぶんのじゅういち"},
    // Mixed and improper answer forms and the decimal, each after the first "=" joined by イコール.
    {"2b1+1=1k2b1=2b3=1.5", "2分の1 たす 1 は 1と2分の1 イコール 2分の3 イコール 1.5",
     "にぶんのいち たす いち は いちとにぶんのいち いこーる にぶんのさん いこーる いちてんご"},
    {"3b1+3b1=3b2=0.66666666666666666u", "3分の1 たす 3分の1 は 3分の2 イコール 0.66666666666666666…",
     "さんぶんのいち たす さんぶんのいち は さんぶんのに いこーる れいてんろくろくろくろくろくろくろくろくろくろくろくろくろくろくろくろくろく"},
    {"6-8=m2", "6 ひく 8 は マイナス2", "ろく ひく はち は まいなすに"},
    {"m3b1*(2-5)", "マイナス3分の1 かける かっこ 2 ひく 5 かっことじ",
     "まいなすさんぶんのいち かける かっこ に ひく ご かっことじ"},
    {"4/m(1+1)", "4 わる マイナス かっこ 1 たす 1 かっことじ",
     "よん わる まいなす かっこ いち たす いち かっことじ"},
    // Decimals and repeating decimals.
    {"2.05*0.1@6", "2.05 かける 0.16…（6の循環）", "にてんれいご かける れいてんいちろく、ろくのじゅんかん"},
    {"0.@142857", "0.142857…（142857の循環）",
     "れいてんいちよんにはちごなな、いちよんにはちごななのじゅんかん"},
    // Powers, factorial, permutations and combinations.
    {"2^3=8", "2の3乗 は 8", "にのさんじょう は はち"},
    {"2^m1+(3b2)^2", "2のマイナス1乗 たす かっこ 3分の2 かっことじの2乗",
     "にのまいなすいちじょう たす かっこ さんぶんのに かっことじのにじょう"},
    {"5!+5P2-5C2", "5の階乗 たす 5P2 ひく 5C2", "ごのかいじょう たす ごぴーに ひく ごしーに"},
    // Expression fractions: denominator first, bracketed when it is an expression.
    {"[3+1B2]", "かっこ 3 たす 1 かっことじ 分の 2", "かっこ さん たす いち かっことじ ぶんの に"},
    {"[2K3B1]-[mK3B1]", "2と3分の1 ひく マイナス3分の1", "にとさんぶんのいち ひく まいなすさんぶんのいち"},
    // Ratios.
    {"4:6=2:3&2:3", "4対6 は 2対3", "よんたいろく は にたいさん"},
    // Equations, inequalities and their solutions.
    {"2*x+1=7&x=3", "2 かける エックス たす 1 イコール 7、答え エックス イコール 3",
     "に かける えっくす たす いち いこーる なな、こたえ えっくす いこーる さん"},
    {"3*x-2<4*x&x>m2", "3 かける エックス ひく 2 小なり 4 かける エックス、答え エックス 大なり マイナス2",
     "さん かける えっくす ひく に しょうなり よん かける えっくす、こたえ えっくす だいなり まいなすに"},
    {"x<=m2", "エックス は マイナス2 以下", "えっくす は まいなすに いか"},
    {"2x>=1", "2エックス は 1 以上", "にえっくす は いち いじょう"},
    {"2*x+1=2*x&(不能)", "2 かける エックス たす 1 イコール 2 かける エックス、答え 不能",
     "に かける えっくす たす いち いこーる に かける えっくす、こたえ ふのう"},
    // A factorisation, a remainder, a failed line.
    {"360=2^3*3^2*5", "360 は 2の3乗 かける 3の2乗 かける 5",
     "さんびゃくろくじゅう は にのさんじょう かける さんのにじょう かける ご"},
    {"7/2=3.3R0.1", "7 わる 2 は 3.3 あまり 0.1", "なな わる に は さんてんさん あまり れいてんいち"},
    {"n", "計算できません", "けいさんできません"},
    // A process: each step after イコール; the figure record that repeats its step is read once.
    {"001X3b2*4b3~062Z=3b2*4b3~064X=[1*2B1*1]~020X=2b1~",
     "3分の2 かける 4分の3、イコール かっこ 1 かける 2 かっことじ 分の かっこ 1 かける 1 かっことじ、イコール 2分の1",
     "さんぶんのに かける よんぶんのさん、いこーる かっこ いち かける に かっことじ ぶんの かっこ いち かける いち "
     "かっことじ、いこーる にぶんのいち"},
    // Lines as far as they are typed.
    {"3b", "3分の", "さんぶんの"},
    {"1k3b", "1と3分の", "いちとさんぶんの"},
    {"2^", "2の", "にの"},
    {"", "", ""},
};

TEST(Reading, LinesReadAsATeacherReadsThem) {
  for (const auto& c : CASES) {
    LineReading r = ReadLineAloud(c.line);
    EXPECT_EQ(r.display, c.display) << c.line;
    EXPECT_EQ(r.kana, c.kana) << c.line;
  }
}

TEST(Reading, WholeNumbersInKanaWithTheirSoundChanges) {
  const std::pair<const char*, const char*> cases[] = {
      {"0", "れい"},
      {"1", "いち"},
      {"10", "じゅう"},
      {"11", "じゅういち"},
      {"100", "ひゃく"},
      {"300", "さんびゃく"},
      {"600", "ろっぴゃく"},
      {"800", "はっぴゃく"},
      {"1000", "せん"},
      {"3000", "さんぜん"},
      {"8000", "はっせん"},
      {"10000", "いちまん"},
      {"10000000", "いっせんまん"},
      {"100000000", "いちおく"},
      {"1000000000000", "いっちょう"},
      {"8000000000000", "はっちょう"},
      {"10000000000000", "じゅっちょう"},
      {"60000000000000000", "ろっけい"},
      {"100000000000000000", "じゅっけい"},
      {"1000000000000000000", "ひゃっけい"},
      {"9223372036854775807",
       "きゅうひゃくにじゅうにけいさんぜんさんびゃくななじゅうにちょうさんびゃくろくじゅうはちおく"
       "ごせんよんひゃくななじゅうななまんごせんはっぴゃくなな"},
      {"007", "なな"},
      // Longer than the units reach: digit by digit.
      {"123456789012345678901",
       "いちにさんよんごろくななはちきゅうれいいちにさんよんごろくななはちきゅうれいいち"},
  };
  for (const auto& [digits, kana] : cases) EXPECT_EQ(NumberKana(digits), kana) << digits;
}

TEST(Reading, TextsOutsideTheNotationAreReadWithoutHarm) {
  // Damaged texts: unclosed and nested brackets, stray marks, bytes outside the notation.
  for (const char* t :
       {"[[[[[[[[1B2", "((((", "b", "^^^", "~~~", "&&&", "]", "[KB]", "\xff\xfe", "001X", "<<=>"}) {
    LineReading r = ReadLineAloud(t);
    EXPECT_LT(r.display.size(), 200u) << t;
  }
}

}  // namespace
