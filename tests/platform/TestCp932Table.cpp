// The program's own CP932 conversion against glibc's iconv: every byte and byte pair, every code point,
// and random texts of both kinds, with the offset of the first bad sequence.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <random>
#include <string>

#include "platform/ShiftJis.h"

namespace {

struct IconvResult {
  bool ok = false;
  std::string out;
  std::size_t bad = 0;
};

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (valid()) iconv_close(cd_);
  }
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  IconvResult operator()(const std::string& in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    IconvResult r;
    std::string buf(in.size() * 4 + 16, '\0');
    char* inp = const_cast<char*>(in.data());
    std::size_t inleft = in.size();
    char* outp = buf.data();
    std::size_t outleft = buf.size();
    r.ok = iconv(cd_, &inp, &inleft, &outp, &outleft) != static_cast<std::size_t>(-1);
    r.bad = in.size() - inleft;
    r.out.assign(buf.data(), buf.size() - outleft);
    return r;
  }

 private:
  iconv_t cd_;
};

std::string Utf8Of(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | (cp >> 6));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    s += static_cast<char>(0xE0 | (cp >> 12));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (cp >> 18));
    s += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

// Our answer and iconv's agree: both fail at the same offset, or both succeed with the same bytes.
void ExpectSame(bool ok, const std::string& out, std::size_t bad, const IconvResult& want,
                const std::string& in) {
  ASSERT_EQ(ok, want.ok) << "input " << testing::PrintToString(in);
  if (ok)
    ASSERT_EQ(out, want.out) << "input " << testing::PrintToString(in);
  else
    ASSERT_EQ(bad, want.bad) << "input " << testing::PrintToString(in);
}

void CheckDecode(Iconv& ref, const std::string& in) {
  std::string out;
  std::size_t bad = 0;
  const bool ok = Cp932ToUtf8(in, out, &bad);
  ExpectSame(ok, out, bad, ref(in), in);
}

void CheckEncode(Iconv& ref, const std::string& in) {
  std::string out;
  std::size_t bad = 0;
  const bool ok = Utf8ToCp932(in, out, &bad);
  ExpectSame(ok, out, bad, ref(in), in);
}

}  // namespace

TEST(Cp932Table, ReadsEveryOneAndTwoByteSequenceAsIconvDoes) {
  Iconv ref("UTF-8", "CP932");
  ASSERT_TRUE(ref.valid());
  for (int a = 0; a < 256; ++a) {
    ASSERT_NO_FATAL_FAILURE(CheckDecode(ref, std::string(1, static_cast<char>(a))));
    for (int b = 0; b < 256; ++b)
      ASSERT_NO_FATAL_FAILURE(CheckDecode(ref, std::string{static_cast<char>(a), static_cast<char>(b)}));
  }
}

TEST(Cp932Table, WritesEveryCodePointAsIconvDoes) {
  Iconv ref("CP932", "UTF-8");
  ASSERT_TRUE(ref.valid());
  for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    ASSERT_NO_FATAL_FAILURE(CheckEncode(ref, Utf8Of(cp)));
  }
}

TEST(Cp932Table, RefusesBrokenUtf8WhereIconvDoes) {
  Iconv ref("CP932", "UTF-8");
  const char* cases[] = {"\xC0\x80", "\xE3\x81",    "a\xED\xA0\x80",        "\xF4\x90\x80\x80", "\x80",
                         "\xFF",     "ab\xE3\x81x", "\xF8\x88\x80\x80\x80", "\xE0\x80\x80",     "①\xC2"};
  for (const char* c : cases) ASSERT_NO_FATAL_FAILURE(CheckEncode(ref, c));
}

TEST(Cp932Table, ConvertsRandomTextsAsIconvDoes) {
  Iconv toUtf8("UTF-8", "CP932"), toCp932("CP932", "UTF-8");
  std::mt19937 rng(20260422);
  // Mostly characters CP932 holds, with a few bytes and code points it does not.
  auto randomCp932 = [&] {
    std::string s;
    const int n = std::uniform_int_distribution<int>(0, 24)(rng);
    for (int i = 0; i < n; ++i) {
      const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
      if (kind < 4) {
        s += static_cast<char>(std::uniform_int_distribution<int>(0x20, 0x7E)(rng));
      } else if (kind < 8) {
        s += static_cast<char>(std::uniform_int_distribution<int>(0x81, 0x9F)(rng));
        s += static_cast<char>(std::uniform_int_distribution<int>(0x40, 0xFC)(rng));
      } else {
        s += static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
      }
    }
    return s;
  };
  auto randomUtf8 = [&] {
    std::string s;
    const int n = std::uniform_int_distribution<int>(0, 24)(rng);
    for (int i = 0; i < n; ++i) {
      const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
      char32_t cp;
      if (kind < 3)
        cp = std::uniform_int_distribution<char32_t>(0x20, 0x7E)(rng);
      else if (kind < 6)
        cp = std::uniform_int_distribution<char32_t>(0x3000, 0x9FFF)(rng);
      else if (kind < 8)
        cp = std::uniform_int_distribution<char32_t>(0xFF01, 0xFF9F)(rng);
      else if (kind < 9)
        cp = std::uniform_int_distribution<char32_t>(0x80, 0x2FFF)(rng);
      else
        cp = std::uniform_int_distribution<char32_t>(0xE0000, 0xE00FF)(rng);
      s += Utf8Of(cp);
    }
    if (std::uniform_int_distribution<int>(0, 7)(rng) == 0 && !s.empty())
      s.insert(std::uniform_int_distribution<std::size_t>(0, s.size() - 1)(rng), 1, '\xE3');
    return s;
  };
  for (int i = 0; i < 20000; ++i) {
    ASSERT_NO_FATAL_FAILURE(CheckDecode(toUtf8, randomCp932()));
    ASSERT_NO_FATAL_FAILURE(CheckEncode(toCp932, randomUtf8()));
  }
}
