// Tests of the result file: what is written reads back the same, the files of every kind of damage are
// refused with their reason (never a crash or a hang), the file name keeps to what file systems take, and
// the times in it are read with their offsets.
#include <gtest/gtest.h>

#include <chrono>

#include "classroom/ClassJson.h"
#include "classroom/ResultFile.h"
#include "support/TestSupport.h"

namespace {

ResultFile Sample() {
  ResultFile r;
  r.code = "1ABCDEFG";
  r.className = "5年2組";
  r.number = 12;
  r.name = "山田 \"はな\", こ";
  r.started = "2026-05-12T10:31:00+09:00";
  r.handedIn = "2026-05-12T10:52:30+09:00";
  r.problems.push_back({"2b1+3b1", {"6b3+6b2", "6b5"}, "6b5", 41});
  r.problems.push_back({"4b3-2b1", {}, "", 0});
  return r;
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  const size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

}  // namespace

TEST(ResultFile, WrittenFileReadsBackTheSame) {
  const ResultFile r = Sample();
  const std::string text = WriteResultFile(r);
  EXPECT_NE(text.find("\"format\": \"kazoru-result\""), std::string::npos);
  ResultFile back;
  ASSERT_EQ(ReadResultFile(text, back), "");
  EXPECT_EQ(back.code, r.code);
  EXPECT_EQ(back.className, r.className);
  EXPECT_EQ(back.number, r.number);
  EXPECT_EQ(back.name, r.name);
  EXPECT_EQ(back.started, r.started);
  EXPECT_EQ(back.handedIn, r.handedIn);
  ASSERT_EQ(back.problems.size(), 2u);
  EXPECT_EQ(back.problems[0].working, r.problems[0].working);
  EXPECT_EQ(back.problems[0].answer, "6b5");
  EXPECT_EQ(back.problems[0].seconds, 41);
  EXPECT_TRUE(back.problems[1].working.empty());
  // Another writer's layout: members in another order, unknown members (added by later versions), escapes.
  const std::string other =
      "\xEF\xBB\xBF{\"problems\":[{\"answer\":\"\",\"problem\":\"2b1\",\"extra\":{\"a\":[1,2]}}],\"name\":"
      "\"\\u5c71\\u7530 \\ud83d\\ude00\",\"number\":3,\"class\":\"1\",\"handedIn\":\"2026-01-01T00:00:00Z\","
      "\"code\":\"X\",\"version\":1,\"format\":\"kazoru-result\",\"future\":null}";
  ASSERT_EQ(ReadResultFile(other, back), "");
  EXPECT_EQ(back.name, "山田 \xF0\x9F\x98\x80");
  EXPECT_EQ(back.problems[0].seconds, 0);
}

TEST(ResultFile, DamagedFilesAreRefusedWithTheirReason) {
  const std::string good = WriteResultFile(Sample());
  std::string random;
  uint32_t x = 12345;
  for (int k = 0; k < 4000; ++k) {
    x = x * 1103515245u + 12345u;
    random += static_cast<char>(x >> 24);
  }
  std::string manyProblems =
      "{\"format\":\"kazoru-result\",\"version\":1,\"code\":\"X\",\"class\":\"1\",\"number\":1,"
      "\"name\":\"a\",\"handedIn\":\"2026-01-01T00:00:00Z\",\"problems\":[";
  for (int k = 0; k < 10000; ++k) manyProblems += std::string(k ? "," : "") + "{\"problem\":\"1\"}";
  manyProblems += "]}";
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  struct Case {
    const char* what;
    std::string bytes;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {"empty", "", "空です"},
      {"random bytes", random, "UTF-8"},
      {"another format", "{\"format\":\"kazoru-notebook\",\"version\":1}",
       "format が kazoru-result ではありません"},
      {"a JSON array", "[1,2]", "オブジェクトではありません"},
      {"not JSON", "format=kazoru-result", "JSON として読めません"},
      {"cut short", good.substr(0, good.size() / 2), "途中で終わっています"},
      {"newer version", Replace(good, "\"version\": 1", "\"version\": 7"), "新しい版"},
      {"version zero", Replace(good, "\"version\": 1", "\"version\": 0"), "version"},
      {"version as text", Replace(good, "\"version\": 1", "\"version\": \"1\""), "version"},
      {"number as text", Replace(good, "\"number\": 12", "\"number\": \"12\""), "number"},
      {"number a fraction", Replace(good, "\"number\": 12", "\"number\": 12.5"), "number"},
      {"number too big", Replace(good, "\"number\": 12", "\"number\": 99999999999999999999"), "number"},
      {"name a number", Replace(good, "\"name\": \"山田 \\\"はな\\\", こ\"", "\"name\": 5"), "name"},
      {"no code", Replace(good, "\"code\"", "\"kode\""), "「code」がありません"},
      {"problems an object", Replace(good, "\"problems\": [", "\"problems\": {\"a\": ["), "JSON"},
      {"working not text", Replace(good, "\"6b3+6b2\"", "6"), "working"},
      {"seconds negative", Replace(good, "\"seconds\": 41", "\"seconds\": -1"), "seconds"},
      {"name with a slash", Replace(good, "山田 ", "../../etc/"), "ファイルの場所"},
      {"name with a backslash", Replace(good, "山田 ", "a\\\\b"), "ファイルの場所"},
      {"name with a control", Replace(good, "山田 ", "a\\u0007"), "制御文字"},
      {"name too long", Replace(good, "山田 ", std::string(200, 'a')), "長すぎます"},
      {"invalid UTF-8", Replace(good, "山田", "\xC3\x28"), "UTF-8"},
      {"overlong UTF-8", Replace(good, "山田", "\xC0\xAF"), "UTF-8"},
      {"lone surrogate", Replace(good, "山田", "\\ud800"), "サロゲート"},
      {"hand-in not a time", Replace(good, "2026-05-12T10:52:30+09:00", "yesterday"), "handedIn"},
      {"10 MB", good + std::string(10 << 20, ' '), "大きすぎます"},
      {"10,000 problems", manyProblems, "問題が多すぎます"},
      {"1 MB line", Replace(good, "\"6b3+6b2\"", "\"" + std::string(900 << 10, '1') + "\""), "長すぎます"},
      {"deep nesting", deep, "JSON として読めません"},
      {"deep nesting inside",
       Replace(good, "\"started\"",
               "\"x\": " + std::string(50, '[') + std::string(50, ']') + ", \"started\""),
       "入れ子が深すぎます"},
      {"trailing text", good + "{}", "余分な文字"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto start = std::chrono::steady_clock::now();
    ResultFile r;
    const std::string why = ReadResultFile(c.bytes, r);
    EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  }
}

TEST(ResultFile, FileNameKeepsToWhatFileSystemsTake) {
  ResultFile r = Sample();
  EXPECT_EQ(ResultFileName(r, "分数のひき算"), "5年2組-12-山田 _はな_, こ-分数のひき算.kazoru");
  r.className = "../a";
  r.name = "b/c\\d:e*f?g<h>i|j\x01";
  EXPECT_EQ(ResultFileName(r, "..課題."), "_._a-12-b_c_d_e_f_g_h_i_j_-_.課題_.kazoru");
  r.name = std::string(300, 'x');
  EXPECT_LE(ResultFileName(r, std::string(300, 'y')).size(), 255u);
  // Shortened on a character boundary: the name stays UTF-8.
  r.name = "";
  for (int k = 0; k < 100; ++k) r.name += "名";
  EXPECT_TRUE(classjson::IsUtf8(ResultFileName(r, r.name)));
}

TEST(ResultFile, TimesAreReadWithTheirOffsets) {
  struct Case {
    const char* text;
    bool ok;
    int64_t seconds;
  };
  for (const Case& c : std::vector<Case>{
           {"1970-01-01T00:00:00Z", true, 0},
           {"2026-05-12T10:31:00+09:00", true, 1778549460},
           {"2026-05-12T01:31:00Z", true, 1778549460},
           {"2026-05-12T01:31:00.250Z", true, 1778549460},
           {"2026-05-11T20:31:00-05:00", true, 1778549460},
           {"2024-02-29T00:00:00", true, 1709164800},
           {"2023-02-29T00:00:00Z", false, 0},
           {"2026-13-01T00:00:00Z", false, 0},
           {"2026-05-12 10:31", false, 0},
           {"2026-05-12T10:31:00+9", false, 0},
           {"2026-05-12T10:31:00Zjunk", false, 0},
       }) {
    int64_t s = -1;
    EXPECT_EQ(ParseIsoTime(c.text, s), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(s, c.seconds) << c.text;
    }
  }
  EXPECT_EQ(IsoTime(1778549460, 540), "2026-05-12T10:31:00+09:00");
  EXPECT_EQ(IsoTime(0, -300), "1969-12-31T19:00:00-05:00");
}

TEST(ClassJson, WriterQuotesWhatTheReaderReads) {
  classjson::Writer w;
  w.Object()
      .Key("a\"b")
      .String("x\n\x01\xff")
      .Key("n")
      .Int(-5)
      .Key("l")
      .Array()
      .Bool(true)
      .Null()
      .End()
      .End();
  classjson::Value v;
  std::string why;
  size_t pos = 0;
  ASSERT_TRUE(classjson::Parse(w.Text(), v, why, pos)) << why;
  ASSERT_NE(v.Find("a\"b"), nullptr);
  EXPECT_EQ(v.Find("a\"b")->text, "x\n\x01\xEF\xBF\xBD");
  int64_t n = 0;
  EXPECT_TRUE(v.Find("n")->Int(-10, 10, n));
  EXPECT_EQ(n, -5);
  EXPECT_EQ(v.Find("l")->items.size(), 2u);
  for (const char* bad : {"{\"a\":01}", "{\"a\":1.}", "{\"a\":-}", "[1,]", "{\"a\" 1}", "\"\\x\"", "tru",
                          "{,}", "\"a\tb\"", "[1e]"}) {
    EXPECT_FALSE(classjson::Parse(bad, v, why, pos)) << bad;
    EXPECT_FALSE(why.empty());
  }
}
