// Tests of "kazoru-cli read" and "kazoru-cli say": the reading with its kana in JSON, and speech written
// as a WAV file whose length grows with the text and whose samples are not silence.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/Speech.h"
#include "support/CliRunner.h"

TEST(CliRead, ReadingAndKanaOfEachLine) {
  CliResult r = RunCli("read '3b2+1k4b1=12b11'");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "3分の2 たす 1と4分の1 は 12分の11\n");

  r = RunCli("read --json -", "3000+600\n2*x+1=7&x=3\n");
  auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0]["result"], "3000 たす 600");
  EXPECT_EQ(lines[0]["kana"], "さんぜん たす ろっぴゃく");
  EXPECT_EQ(lines[1]["kana"], "に かける えっくす たす いち いこーる なな、こたえ えっくす いこーる さん");
}

namespace {

struct Wav {
  size_t samples = 0;
  int peak = 0;
};

// The 16-bit mono samples of the "data" chunk of a WAV file.
Wav ReadWav(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::vector<unsigned char> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  Wav w;
  if (b.size() < 12 || std::string(b.begin(), b.begin() + 4) != "RIFF") return w;
  size_t pos = 12;
  while (pos + 8 <= b.size()) {
    std::string id(b.begin() + pos, b.begin() + pos + 4);
    size_t len = b[pos + 4] | b[pos + 5] << 8 | b[pos + 6] << 16 | static_cast<size_t>(b[pos + 7]) << 24;
    pos += 8;
    if (id == "data") {
      len = std::min(len, b.size() - pos);
      w.samples = len / 2;
      for (size_t i = 0; i + 1 < len; i += 2) {
        int v = static_cast<int16_t>(b[pos + i] | b[pos + i + 1] << 8);
        w.peak = std::max(w.peak, std::abs(v));
      }
      return w;
    }
    pos += len + (len & 1);
  }
  return w;
}

}  // namespace

TEST(CliSay, SpeechGrowsWithTheTextAndIsNotSilence) {
  if (FindSpeechProgram().empty()) GTEST_SKIP() << "espeak-ng is not installed";
  const std::string dir = TempDir();
  CliResult r = RunCli("say -o '" + dir + "/short.wav' 3");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  r = RunCli("say --json -o '" + dir + "/long.wav' '3b2+1k4b1=12b11'");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto lines = JsonLines(r.out);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0]["kana"], "さんぶんのに たす いちとよんぶんのいち は じゅうにぶんのじゅういち");

  Wav shortWav = ReadWav(dir + "/short.wav"), longWav = ReadWav(dir + "/long.wav");
  EXPECT_GT(shortWav.samples, 0u);
  EXPECT_GT(longWav.samples, 3 * shortWav.samples);
  EXPECT_GT(shortWav.peak, 1000);
  EXPECT_GT(longWav.peak, 1000);
}

TEST(CliSay, FailuresAreReportedAndLeaveNoFile) {
  const std::string dir = TempDir();
  // Without -o it is a usage error; an unwritable place is a failed run; so is a line with nothing to say.
  EXPECT_EQ(RunCli("say 3").exitCode, 2);
  EXPECT_EQ(RunCli("say -o '" + dir + "/no/such/folder/x.wav' 3").exitCode, 1);
  EXPECT_EQ(RunCli("say -o '" + dir + "/empty.wav' '~~'").exitCode, 1);
  EXPECT_FALSE(std::ifstream(dir + "/empty.wav").good());
}
