#include "platform/HalfWidth.h"

#include <gtest/gtest.h>

#include "support/TestSupport.h"

TEST(HalfWidth, TakesFullWidthFormsAsTyped) {
  struct Case {
    const char* typed;
    const char* taken;
  } cases[] = {
      {"２ｂ１＋３ｂ１", "2b1+3b1"},
      {"１ｋ３ｂ２－０．５＊４／３＝", "1k3b2-0.5*4/3="},
      {"（ｘ＋１）：ＡＢＣ＾２", "(x+1):ABC^2"},
      {"！＂＃＄％＆＇＜＞？＠［＼］＿｀｛｜｝～", "!\"#$%&'<>?@[\\]_`{|}~"},
      {"３\xE2\x88\x92１", "3-1"},  // the minus sign
      {"第１回　たし算", "第1回 たし算"},
      {"ｴﾗｰ ① あ 漢字 ー ・", "ｴﾗｰ ① あ 漢字 ー ・"},  // left as they are
      {"2b1+3b1", "2b1+3b1"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(HalfWidthInput(c.typed), c.taken) << c.typed;
}

TEST(HalfWidth, LeavesBytesThatAreNotUtf8AndCutSequences) {
  const std::string cases[] = {std::string("\xEF\xBC", 2),     std::string("a\xEF", 2),
                               std::string("\xFF\x80\xBC", 3), std::string("\xEF\xBC\x80", 3),
                               std::string("\xEF\xBD\x9F", 3), std::string("1\0002", 3)};
  for (const std::string& c : cases) EXPECT_EQ(HalfWidthInput(c), c);
  EXPECT_EQ(HalfWidthInput(std::string("\xEF\xBC\xEF\xBC\x91", 5)), std::string("\xEF\xBC"
                                                                                "1",
                                                                                3));
}
