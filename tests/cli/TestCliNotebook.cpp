// Tests of "kazoru-cli notebook calc" through the real executable: the computed page in CP932 to standard
// output, to -o and in place, the outcomes in JSON, and the failures (file missing, output not writable,
// usage errors).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "support/CliRunner.h"

namespace {

// "#練習" and four lines, in CP932: one fails the check, one cannot be computed.
const std::string PAGE = "#\x97\xfb\x8f\x4b\r\n1b2+3b1=\r\n1+*2\r\n\r\n2x+1=5\r\n4:6\r\n1/0=\r\n";
const std::string COMPUTED =
    "#\x97\xfb\x8f\x4b\r\n1b2+3b1=2k3b1&2k3b1\r\n1+*2\r\n2x+1=5&x=2\r\n4:6=2:3&2:3\r\n1/0=\r\n";

std::string WritePage() {
  const std::string path = TempDir() + "/page.siki";
  std::ofstream(path, std::ios::binary) << PAGE;
  return path;
}

}  // namespace

TEST(CliNotebook, CalcWritesThePageToStandardOutputThenTheLineCount) {
  const std::string page = WritePage();
  CliResult r = RunCli("notebook calc '" + page + "'");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, COMPUTED + "5\n");
  EXPECT_NE(r.err.find("ご報告！: [2 問:3 字目][ｴﾗｰ値4]"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("ご報告！: [ 5 問目]は､計算できませんでした。"), std::string::npos) << r.err;
  EXPECT_EQ(ReadBytes(page), PAGE);  // the file itself is left alone
}

TEST(CliNotebook, CalcToAFileOrInPlaceWithJsonOutcomes) {
  const std::string page = WritePage();
  const std::string out = TempDir() + "/out.siki";
  CliResult r = RunCli("notebook calc --json '" + page + "' -o '" + out + "'");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(ReadBytes(out), COMPUTED);
  nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["result"], "5");
  EXPECT_EQ(j["status"], 1);
  ASSERT_EQ(j["outcomes"].size(), 2u);
  EXPECT_EQ(j["outcomes"][0]["kind"], "CheckFailed");
  EXPECT_EQ(j["outcomes"][0]["line"], 2);
  EXPECT_EQ(j["outcomes"][0]["position"], 3);
  EXPECT_EQ(j["outcomes"][0]["errorNo"], 4);
  EXPECT_EQ(j["outcomes"][1]["kind"], "NotComputable");
  EXPECT_EQ(j["outcomes"][1]["line"], 5);

  r = RunCli("notebook calc --in-place '" + page + "'");
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, "5\n");
  EXPECT_EQ(ReadBytes(page), COMPUTED);
}

TEST(CliNotebook, FailuresAreReportedWithStatus) {
  const std::string page = WritePage();
  struct Case {
    std::string args;
    int exitCode;
    std::string message;
  } cases[] = {
      {"notebook calc '" + TempDir() + "/missing.siki'", 1, "ご注意！: ご指定のﾌｧｲﾙをOpenできませんでした。"},
      {"notebook calc '" + page + "' -o '" + TempDir() + "/no/such/folder.siki'", 1,
       "ご注意！: ご指定のﾌｧｲﾙに保存できませんでした。"},
      {"notebook", 2, "notebook needs calc or print"},
      {"notebook sum '" + page + "'", 2, "notebook takes calc or print"},
      {"notebook calc", 2, "needs one FILE"},
      {"notebook calc '" + page + "' -o x.siki --in-place", 2, "exclude each other"},
      {"notebook print '" + page + "'", 2, "needs -o OUT.pdf"},
  };
  for (const auto& c : cases) {
    CliResult r = RunCli(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args << "\n" << r.err;
  }
  EXPECT_EQ(ReadBytes(page), PAGE);
}

TEST(CliNotebook, DamagedFileIsComputedAndItsProblemsTold) {
  const std::string path = TempDir() + "/damaged.siki";
  std::string bytes = "1+1\r\n2\xff+2\r\n";
  for (int i = 0; i < 52; ++i) bytes += "3+3\r\n";
  std::ofstream(path, std::ios::binary) << bytes;
  CliResult r = RunCli("notebook calc --json '" + path + "' -o '" + TempDir() + "/d.siki'");
  EXPECT_EQ(r.exitCode, 0);
  nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["result"], "50");
  const std::string all = j["messages"].dump();
  EXPECT_NE(all.find("2 行目に、読めない文字がありました"), std::string::npos) << all;
  EXPECT_NE(all.find("51問目からの 4 行は読み込みませんでした"), std::string::npos) << all;
  EXPECT_EQ(j["outcomes"][0]["kind"], "CheckFailed");
  EXPECT_EQ(j["outcomes"][0]["line"], 2);
}

TEST(CliNotebook, PrintWritesTheSheetAsOnePdfPage) {
  const std::string page = WritePage();
  const std::string pdf = TempDir() + "/sheet.pdf";
  CliResult r = RunCli("notebook print --json '" + page + "' -o '" + pdf + "'");
  if (r.out.find("画面なしで作られた") != std::string::npos)
    GTEST_SKIP() << "kazoru-cli was built without Qt";
  EXPECT_EQ(r.exitCode, 0) << r.err;
  nlohmann::json j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["result"], pdf);
  EXPECT_EQ(j["status"], 1);
  EXPECT_EQ(j["pages"], 1);
  const std::string bytes = ReadBytes(pdf);
  ASSERT_GT(bytes.size(), 1000u);
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_NE(bytes.find("/Count 1"), std::string::npos);

  r = RunCli("notebook print --json '" + page + "' -o '" + TempDir() + "/no/such/dir/x.pdf'");
  EXPECT_EQ(r.exitCode, 1);
  j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["status"], -1);
  EXPECT_NE(j["messages"].dump().find("印刷できませんでした"), std::string::npos) << r.out;

  r = RunCli("notebook print '" + TempDir() + "/missing.siki' -o '" + pdf + "'");
  EXPECT_EQ(r.exitCode, 1);
}

namespace {

// The text of a PDF file, sheet after sheet (form feeds between them), as pdftotext extracts it.
std::string PdfText(const std::string& pdf) {
  std::string out;
  if (std::FILE* p = ::popen(("pdftotext -enc UTF-8 '" + pdf + "' - 2>/dev/null").c_str(), "r")) {
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

std::size_t Count(const std::string& text, const std::string& piece) {
  std::size_t n = 0;
  for (std::size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size()))
    ++n;
  return n;
}

}  // namespace

// A long page prints every line, on as many sheets as it needs, each under the title line; "pages"
// tells how many.
TEST(CliNotebook, PrintPutsEveryLineOnAsManySheetsAsItNeeds) {
  struct Case {
    int lines;
    int pages;
  };
  for (const Case& c : {Case{0, 1}, Case{1, 1}, Case{40, 2}, Case{50, 3}}) {
    std::string bytes = "#\x8e\x6c\x8f\x5c\r\n";  // "#四十"
    for (int i = 1; i <= c.lines; ++i)
      bytes += std::to_string(i) + "+3b" + std::to_string(i % 2 + 1) + "\r\n";
    const std::string page = TempDir() + "/long" + std::to_string(c.lines) + ".siki";
    std::ofstream(page, std::ios::binary) << bytes;
    const std::string pdf = TempDir() + "/long" + std::to_string(c.lines) + ".pdf";
    CliResult r = RunCli("notebook print --json '" + page + "' -o '" + pdf + "'");
    if (r.out.find("画面なしで作られた") != std::string::npos)
      GTEST_SKIP() << "kazoru-cli was built without Qt";
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(nlohmann::json::parse(r.out)["pages"], c.pages) << c.lines;
    EXPECT_NE(ReadBytes(pdf).find("/Count " + std::to_string(c.pages)), std::string::npos) << c.lines;
    const std::string text = PdfText(pdf);
    if (text.empty()) continue;  // pdftotext is not installed
    EXPECT_EQ(Count(text, "四十"), static_cast<std::size_t>(c.pages)) << c.lines;
    for (int i = 1; i <= c.lines; ++i)
      EXPECT_EQ(Count(text, "[" + std::to_string(i) + "]"), 1u) << "line " << i << " of " << c.lines;
  }
}
