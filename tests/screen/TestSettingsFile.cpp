#include "screen/SettingsFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "engine/Settings.h"
#include "platform/ShiftJis.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void Spit(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

// A UTF-8 INI text as the CP932 bytes of a file.
std::string Sjis(const std::string& utf8) {
  std::string out;
  EXPECT_TRUE(Utf8ToCp932(utf8, out)) << utf8;
  return out;
}

std::string Utf8(const std::string& cp932) {
  std::string out;
  EXPECT_TRUE(Cp932ToUtf8(cp932, out));
  return out;
}

// Every stored setting as "name=value", so that two states compare in one expectation with a readable diff.
std::vector<std::string> Snapshot() {
  std::vector<std::string> s;
  auto num = [&](const char* n, int v) { s.push_back(std::string(n) + "=" + std::to_string(v)); };
  auto txt = [&](const std::string& n, const std::string& v) { s.push_back(n + "=" + v); };
  txt("FONTNAME", FONTNAME);
  num("FONTSIZE", FONTSIZE);
  num("MAINTOP", MAINTOP);
  num("MAINLEFT", MAINLEFT);
  num("MAINHEIGHT", MAINHEIGHT);
  num("MAINWIDTH", MAINWIDTH);
  num("CURSOLTEMPO", CURSOLTEMPO);
  num("PAGEA4BAI", PAGEA4BAI);
  num("GYOKEISUU", GYOKEISUU);
  num("WAKIGAKI", WAKIGAKI);
  num("SBARDSP", SBARDSP);
  num("KAITOURAN_FLAG", KAITOURAN_FLAG);
  txt("NOTE_FONTNAME", NOTE_FONTNAME);
  num("NOTE_FONTSIZE", NOTE_FONTSIZE);
  num("KANKAKU", KANKAKU);
  num("NOTEBKTOP", NOTEBKTOP);
  num("NOTEBKLEFT", NOTEBKLEFT);
  num("NOTEBKHEIGHT", NOTEBKHEIGHT);
  num("NOTEBKWIDTH", NOTEBKWIDTH);
  num("PAGEA4BAIN", PAGEA4BAIN);
  num("NOTE_KAITOURAN_FLAG", NOTE_KAITOURAN_FLAG);
  num("KAITOURAN_ITI", KAITOURAN_ITI);
  num("EQUAL_KAIGYO", EQUAL_KAIGYO);
  num("INPUTSTR_DSP", INPUTSTR_DSP);
  num("KAKERU_ABR", KAKERU_ABR);
  num("ANSSYU", ANSSYU);
  num("SYOUDSP", SYOUDSP);
  num("KEYTENYOU", KEYTENYOU);
  num("RETKEYFLAG", RETKEYFLAG);
  num("MOKU_SOUSUU", MOKU_SOUSUU);
  num("DSPBANGOU", DSPBANGOU);
  for (int i = 0; i < MOKUHYOU_MAX; ++i) txt("MOKUHYOU" + std::to_string(i), MOKUHYOU[i]);
  txt("MOKU_FONTNAME", MOKU_FONTNAME);
  num("MOKU_FONTSIZE", MOKU_FONTSIZE);
  num("FONTCOLOR", FONTCOLOR);
  num("JIOKURI", JIOKURI);
  num("PROCDSP", PROCDSP);
  num("ADVICEDSP", ADVICEDSP);
  num("PROCTEIDO", PROCTEIDO);
  num("PROCLASTANS", PROCLASTANS);
  num("SIKI_SOUSUU", SIKI_SOUSUU);
  for (int i = 0; i < SIKI_MAX; ++i) txt("SIKI" + std::to_string(i), SIKI[i]);
  num("WA_TYPE", WA_TYPE);
  num("ICHIGYOU_SUU", ICHIGYOU_SUU);
  num("WARI_TYPE", WARI_TYPE);
  num("WARI_PNT", WARI_PNT);
  return s;
}

// Every stored setting away from its default, within the ranges the controls allow.
void SetEverySettingAwayFromDefault() {
  FONTNAME = "ＭＳ 明朝";
  FONTSIZE = 18;
  MAINTOP = -20;
  MAINLEFT = 33;
  MAINHEIGHT = 612;
  MAINWIDTH = 777;
  CURSOLTEMPO = 650;
  PAGEA4BAI = 250;
  GYOKEISUU = 9;
  WAKIGAKI = 0;
  SBARDSP = 0;
  KAITOURAN_FLAG = 1;
  NOTE_FONTNAME = "IPAゴシック";
  NOTE_FONTSIZE = 11;
  KANKAKU = 7;
  NOTEBKTOP = 12;
  NOTEBKLEFT = 345;
  NOTEBKHEIGHT = 700;
  NOTEBKWIDTH = 640;
  PAGEA4BAIN = 150;
  NOTE_KAITOURAN_FLAG = 1;
  KAITOURAN_ITI = 44;
  EQUAL_KAIGYO = 1;
  INPUTSTR_DSP = 1;
  KAKERU_ABR = 1;
  ANSSYU = 2;
  SYOUDSP = 1;
  KEYTENYOU = 1;
  RETKEYFLAG = 0;
  MOKU_SOUSUU = 3;
  DSPBANGOU = 2;
  MOKUHYOU[0] = "分数のたし算を完ぺきに！";
  MOKUHYOU[1] = "①～⑩ ｶﾀｶﾅも";
  MOKUHYOU[2] = "  前後に空白  ";
  MOKU_FONTNAME = "ＭＳ Ｐゴシック";
  MOKU_FONTSIZE = 20;
  FONTCOLOR = 0x00FF8000;
  JIOKURI = 150;
  PROCDSP = 1;
  ADVICEDSP = 1;
  PROCTEIDO = 1;
  PROCLASTANS = 1;
  SIKI_SOUSUU = 3;
  SIKI[0] = "3b2+4b1=";
  SIKI[1] = "\"1k3b2\"";
  SIKI[2] = "2x+1=5";
  SIKI[49] = "(1+2)*3";
  WA_TYPE = 1;
  ICHIGYOU_SUU = 5;
  WARI_TYPE = 1;
  WARI_PNT = 4;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = TempDir();
    exeDir = root + "/bin";
    configDir = root + "/config/kazoru";
    fs::create_directories(exeDir);
    SetSettingsFolders(exeDir, configDir);
  }
  void TearDown() override {
    ResetSettingsFile();
    ResetSettings();
  }
  std::string root, exeDir, configDir;
};

TEST_F(SettingsFileTest, NoFileGivesTheDefaultsAndStartValues) {
  SetEverySettingAwayFromDefault();
  PaiText = "3.1";
  InterruptibleFactorisation = 0;
  ReduceOnConvert = 0;
  EXPECT_FALSE(ReadSettings());
  EXPECT_EQ(MAINLEFT, 180);
  EXPECT_EQ(MAINTOP, 80);
  EXPECT_EQ(MAINWIDTH, 500);
  EXPECT_EQ(MAINHEIGHT, 450);
  EXPECT_EQ(FONTNAME, "ＭＳ ゴシック");
  EXPECT_EQ(FONTSIZE, 14);
  EXPECT_EQ(CURSOLTEMPO, 400);
  EXPECT_EQ(RETKEYFLAG, 1);
  EXPECT_EQ(WAKIGAKI, 1);
  EXPECT_EQ(SBARDSP, 1);
  EXPECT_EQ(ICHIGYOU_SUU, 10);
  EXPECT_EQ(WARI_PNT, 10);
  EXPECT_EQ(FONTCOLOR, 255);
  EXPECT_EQ(KAITOURAN_ITI, 36);
  // Reading leaves the settings that are not stored alone; only a fresh start resets them.
  EXPECT_EQ(PaiText, "3.1");
  ResetSettings();
  EXPECT_EQ(PaiText, "3.14");
  EXPECT_EQ(InterruptibleFactorisation, 1);
  EXPECT_EQ(ReduceOnConvert, 1);
  EXPECT_TRUE(TestPlatform().Shown().empty());
}

TEST_F(SettingsFileTest, EveryKeyRoundTripsIncludingJapaneseTexts) {
  SetEverySettingAwayFromDefault();
  const auto written = Snapshot();
  ASSERT_TRUE(WriteSettings());
  EXPECT_TRUE(fs::exists(configDir + "/Kazoru1.ini"));
  ResetSettings();
  ASSERT_NE(Snapshot(), written);
  ASSERT_TRUE(ReadSettings());
  EXPECT_EQ(Snapshot(), written);
  EXPECT_TRUE(TestPlatform().Shown().empty());
}

TEST_F(SettingsFileTest, WrittenFileIsCp932InTheTablesOrder) {
  MOKU_SOUSUU = 2;
  MOKUHYOU[0] = "毎日けいさん";
  MOKUHYOU[1] = "ミスを減らす";
  SIKI_SOUSUU = 1;
  SIKI[0] = "3b2+1";
  std::string path = root + "/out.ini";
  ASSERT_TRUE(WriteSettingsTo(path));
  std::string bytes = Slurp(path);

  // "▼" is 0x81 0xA5 in CP932; the file holds no UTF-8 sequence for it.
  EXPECT_EQ(bytes.substr(0, 3), "[\x81\xA5");
  EXPECT_EQ(bytes.find("\xE2\x96\xBC"), std::string::npos);

  std::string expected =
      "[▼計算画面▼]\r\nFONTNAME=ＭＳ ゴシック\r\nFONTSIZE=14\r\nMAINTOP=80\r\nMAINLEFT=180\r\n"
      "MAINHEIGHT=450\r\nMAINWIDTH=500\r\nCURSOLTEMPO=400\r\nPAGEA4BAI=100\r\nGYOKEISUU=5\r\nWAKIGAKI=1\r\n"
      "SBARDSP=1\r\nKAITOURAN_FLAG=0\r\n"
      "[▼ノート画面▼]\r\nFONTNAME=ＭＳ ゴシック\r\nFONTSIZE=14\r\nKANKAKU=5\r\nNOTEBKTOP=0\r\nNOTEBKLEFT=50\r\n"
      "NOTEBKHEIGHT=550\r\nNOTEBKWIDTH=450\r\nPAGEA4BAIN=100\r\nKAITOURAN_FLAG=0\r\nKAITOURAN_ITI=36\r\n"
      "[▼式の表示▼]\r\nEQUAL_KAIGYO=0\r\nINPUTSTR_DSP=0\r\nKAKERU_ABR=0\r\n"
      "[▼答の表示▼]\r\nANSSYU=0\r\nSYOUDSP=0\r\nCALCTYPE=0\r\n"
      "[▼式の編集▼]\r\nKEYTENYOU=0\r\nRETKEYFLAG=1\r\n"
      "[▼週の目標▼]\r\nSOUSUU=2\r\nDSPBANGOU=0\r\nMOKUHYOU0=毎日けいさん\r\nMOKUHYOU1=ミスを減らす\r\n"
      "FONTNAME=ＭＳ ゴシック\r\nFONTSIZE=14\r\nFONTCOLOR=255\r\nJIOKURI=100\r\n"
      "[▼過程表示▼]\r\nPROCDSP=0\r\nADVICEDSP=0\r\nPROCTEIDO=0\r\nPROCLASTANS=0\r\n"
      "[▼式のメモ▼]\r\nSOUSUU=1\r\nSIKI0=3b2+1\r\n";
  for (int i = 1; i < 50; ++i) expected += "SIKI" + std::to_string(i) + "=\r\n";
  expected +=
      "[▼素因数分解▼]\r\nWA_TYPE=0\r\n1GYOU_SUU=10\r\n"
      "[▼その他▼]\r\nWARI_TYPE=0\r\nWARI_PNT=10\r\nIROSAFE=0\r\nOOMOJI=0\r\nKADAI_SITE=\r\nKADAI_KUMI=\r\n"
      "KADAI_BANGOU=0\r\nKADAI_NAMAE=\r\n";
  EXPECT_EQ(bytes, Sjis(expected));
}

TEST_F(SettingsFileTest, ProcdspWinsOverCalctypeAndBothAreWritten) {
  struct Case {
    const char* answerSection;
    const char* processSection;
    int expected;
  } cases[] = {
      {"CALCTYPE=0", "PROCDSP=1", 1},
      {"CALCTYPE=1", "PROCDSP=0", 0},
      {"CALCTYPE=1", "", 1},  // an old file without PROCDSP keeps what CALCTYPE said
      {"", "PROCDSP=1", 1},
      {"CALCTYPE=5", "PROCDSP=-2", 1},  // any non-zero value is on
      {"", "", 0},
  };
  for (const auto& c : cases) {
    ResetSettings();
    ReadSettingsBytes(
        Sjis(std::string("[▼答の表示▼]\n") + c.answerSection + "\n[▼過程表示▼]\n" + c.processSection + "\n"));
    EXPECT_EQ(PROCDSP, c.expected) << c.answerSection << " " << c.processSection;
    EXPECT_EQ(CALCTYPE, c.expected);
  }
  PROCDSP = 1;
  std::string text = Utf8(SettingsFileBytes(""));
  EXPECT_NE(text.find("CALCTYPE=1\r\n"), std::string::npos);
  EXPECT_NE(text.find("PROCDSP=1\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, ForeignKeysSectionsAndCommentsAreKeptByteForByte) {
  // 0x815D is "‐": its second byte is "]", which must not end the section name early.
  std::string old = Sjis(
      "; 自分用のメモ\r\n"
      "[▼計算画面▼]\r\n"
      "FONTSIZE=16\r\n"
      "MYCOLOR=12345\r\n"
      "FONTSIZE=30\r\n"
      "[自分用‐設定]\r\n"
      "THEME=暗い\r\n"
      "[▼週の目標▼]\r\n"
      "SOUSUU=1\r\n"
      "MOKUHYOU0=がんばる\r\n"
      "MOKUHYOU5=古い目標\r\n");
  old += std::string("RAW=\x82\xA0\xFF\xFE\r\n");  // bytes that are not CP932 stay as they were
  std::string path = exeDir + "/Kazoru1.ini";
  Spit(path, old);

  ASSERT_TRUE(ReadSettings());
  EXPECT_EQ(FONTSIZE, 16);  // the first of two equal keys counts
  EXPECT_EQ(MOKU_SOUSUU, 1);
  EXPECT_EQ(MOKUHYOU[0], "がんばる");
  EXPECT_EQ(MOKUHYOU[5], "");  // goals beyond the count are not read
  FONTSIZE = 20;
  ASSERT_TRUE(WriteSettings());
  std::string bytes = Slurp(path);

  EXPECT_EQ(bytes.rfind(Sjis("; 自分用のメモ\r\n[▼計算画面▼]\r\nFONTNAME="), 0), 0u);
  EXPECT_NE(bytes.find("MYCOLOR=12345\r\n"), std::string::npos);
  EXPECT_NE(bytes.find(Sjis("[自分用‐設定]\r\nTHEME=暗い\r\n")), std::string::npos);
  EXPECT_NE(bytes.find(Sjis("MOKUHYOU5=古い目標\r\n")), std::string::npos);
  EXPECT_NE(bytes.find(std::string("RAW=\x82\xA0\xFF\xFE\r\n")), std::string::npos);
  EXPECT_NE(bytes.find("FONTSIZE=20\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("FONTSIZE=16"), std::string::npos);
  EXPECT_EQ(bytes.find("FONTSIZE=30"), std::string::npos);  // a shadowed copy of our key goes
  // The foreign section comes after all of ours.
  EXPECT_GT(bytes.find(Sjis("[自分用‐設定]")), bytes.find(Sjis("[▼その他▼]")));

  // Written again, the file does not change.
  ASSERT_TRUE(WriteSettings());
  EXPECT_EQ(Slurp(path), bytes);
}

TEST_F(SettingsFileTest, OutOfRangeValuesAreBroughtIntoTheirRanges) {
  struct Case {
    const char* section;
    const char* line;
    const int* var;
    int expected;
  } cases[] = {
      {"▼計算画面▼", "CURSOLTEMPO=0", &CURSOLTEMPO, 200},
      {"▼計算画面▼", "CURSOLTEMPO=99999", &CURSOLTEMPO, 2000},
      {"▼計算画面▼", "FONTSIZE=-3", &FONTSIZE, 6},
      {"▼計算画面▼", "FONTSIZE=abc", &FONTSIZE, 14},
      {"▼計算画面▼", "FONTSIZE=99999999999999", &FONTSIZE, 14},
      {"▼計算画面▼", "FONTSIZE= 15 ", &FONTSIZE, 15},
      {"▼計算画面▼", "GYOKEISUU=500", &GYOKEISUU, 12},
      {"▼計算画面▼", "GYOKEISUU=0", &GYOKEISUU, 1},
      {"▼計算画面▼", "PAGEA4BAI=0", &PAGEA4BAI, 80},
      {"▼計算画面▼", "MAINWIDTH=-5", &MAINWIDTH, 100},
      {"▼計算画面▼", "WAKIGAKI=7", &WAKIGAKI, 1},
      {"▼ノート画面▼", "KANKAKU=0", &KANKAKU, 2},
      {"▼ノート画面▼", "PAGEA4BAIN=1000", &PAGEA4BAIN, 300},
      {"▼ノート画面▼", "KAITOURAN_ITI=3", &KAITOURAN_ITI, 10},
      {"▼ノート画面▼", "FONTSIZE=0", &NOTE_FONTSIZE, 6},
      {"▼答の表示▼", "ANSSYU=9", &ANSSYU, 2},
      {"▼答の表示▼", "SYOUDSP=4", &SYOUDSP, 1},
      {"▼週の目標▼", "SOUSUU=99", &MOKU_SOUSUU, 10},
      {"▼週の目標▼", "SOUSUU=-1", &MOKU_SOUSUU, 0},
      {"▼週の目標▼", "JIOKURI=10", &JIOKURI, 80},
      {"▼週の目標▼", "FONTCOLOR=-16777201", &FONTCOLOR, 255},
      {"▼式のメモ▼", "SOUSUU=51", &SIKI_SOUSUU, 50},
      {"▼素因数分解▼", "1GYOU_SUU=0", &ICHIGYOU_SUU, 10},
      {"▼素因数分解▼", "1GYOU_SUU=3", &ICHIGYOU_SUU, 5},
      {"▼素因数分解▼", "WA_TYPE=2", &WA_TYPE, 1},
      {"▼その他▼", "WARI_PNT=-1", &WARI_PNT, 0},
      {"▼その他▼", "WARI_PNT=100", &WARI_PNT, 18},
  };
  for (const auto& c : cases) {
    ReadSettingsBytes(Sjis(std::string("[") + c.section + "]\r\n" + c.line + "\r\n"));
    EXPECT_EQ(*c.var, c.expected) << c.section << " " << c.line;
  }
}

TEST_F(SettingsFileTest, GoalCountAndShownGoalFromAnotherWriter) {
  std::string text = "[▼週の目標▼]\r\nSOUSUU=99\r\nDSPBANGOU=12\r\n";
  for (int i = 0; i < 12; ++i) text += "MOKUHYOU" + std::to_string(i) + "=目標" + std::to_string(i) + "\r\n";
  ReadSettingsBytes(Sjis(text));
  EXPECT_EQ(MOKU_SOUSUU, 10);
  EXPECT_EQ(MOKUHYOU[9], "目標9");
  EXPECT_EQ(DSPBANGOU, 0);  // not a stored goal: the first one is shown

  ReadSettingsBytes(
      Sjis("[▼週の目標▼]\r\nSOUSUU=3\r\nDSPBANGOU=2\r\nMOKUHYOU0=a\r\nMOKUHYOU1=b\r\nMOKUHYOU2=c\r\n"));
  EXPECT_EQ(DSPBANGOU, 2);
  ReadSettingsBytes(Sjis("[▼週の目標▼]\r\nSOUSUU=0\r\nDSPBANGOU=1\r\nMOKUHYOU0=a\r\n"));
  EXPECT_EQ(DSPBANGOU, 0);
  EXPECT_EQ(MOKUHYOU[0], "");

  // The memo's slots are read whatever its count says.
  ReadSettingsBytes(Sjis("[▼式のメモ▼]\r\nSOUSUU=0\r\nSIKI49=1+1\r\n"));
  EXPECT_EQ(SIKI[49], "1+1");
  // A count the program could have stored beyond the array is written only up to the goals it holds.
  MOKU_SOUSUU = 1000;
  std::string written = Utf8(SettingsFileBytes(""));
  EXPECT_NE(written.find("MOKUHYOU9="), std::string::npos);
  EXPECT_EQ(written.find("MOKUHYOU10="), std::string::npos);
}

TEST_F(SettingsFileTest, BrokenFilesAreReadAsFarAsTheyAreSound) {
  // A face name that is not CP932 keeps its default and the pupil is told; the keys around it are read.
  std::string bad = Sjis("[▼計算画面▼]\r\nFONTSIZE=16\r\n") + "FONTNAME=\x82\xFF\xFF\r\n" + "MAINTOP=5\r\n";
  ReadSettingsBytes(bad);
  EXPECT_EQ(FONTNAME, "ＭＳ ゴシック");
  EXPECT_EQ(FONTSIZE, 16);
  EXPECT_EQ(MAINTOP, 5);
  ASSERT_EQ(TestPlatform().Shown().size(), 1u);
  EXPECT_EQ(TestPlatform().Shown()[0].caption, "注意!!");
  TestPlatform().log.clear();

  const std::string junk[] = {
      std::string("\0\0\0\xFF\xFE[", 7),
      "[▼計算画面▼\r\nFONTSIZE=20\r\n",  // a section line without its "]"
      "FONTSIZE=20\r\n",  // a key before any section
      "[]\r\n=\r\n==\r\n[\r\n]\r\n;FONTSIZE=20\r\n",
      std::string(100000, '['),
      "[▼計算画面▼]\rFONTSIZE=20\rMAINTOP=3",  // old Mac line ends: one long line
      "\x81",
  };
  for (const auto& j : junk) {
    ResetSettings();
    ReadSettingsBytes(j);
    EXPECT_EQ(FONTSIZE, 14);
  }
  // Text values lose one pair of enclosing quotes and surrounding blanks only.
  ReadSettingsBytes(Sjis("[▼式のメモ▼]\r\nSIKI0 = \" 1+2 \"  \r\nSIKI1=\"3\r\nsiki2=4\r\n"));
  EXPECT_EQ(SIKI[0], " 1+2 ");
  EXPECT_EQ(SIKI[1], "\"3");
  EXPECT_EQ(SIKI[2], "4");  // keys compare without regard to case, as INI readers do
}

TEST_F(SettingsFileTest, TextsThatCannotBeStoredAreReplacedAndReported) {
  MOKU_SOUSUU = 1;
  MOKUHYOU[0] = "がんばる😀\n二行目";
  ASSERT_TRUE(WriteSettings());
  ResetSettings();
  ASSERT_TRUE(ReadSettings());
  EXPECT_EQ(MOKUHYOU[0], "がんばる? 二行目");
  ASSERT_EQ(TestPlatform().Shown().size(), 1u);
  EXPECT_EQ(TestPlatform().Shown()[0].caption, "警告!");
}

TEST_F(SettingsFileTest, FileLivesBesideTheExecutableOnlyWhenACopyIsThere) {
  // No copy beside the executable: the configuration folder, created on writing.
  EXPECT_EQ(SettingsReadPath(), configDir + "/Kazoru1.ini");
  FONTSIZE = 17;
  ASSERT_TRUE(WriteSettings());
  EXPECT_FALSE(fs::exists(exeDir + "/Kazoru1.ini"));
  EXPECT_TRUE(fs::exists(configDir + "/Kazoru1.ini"));

  // A portable copy beside the executable is read and written instead.
  Spit(exeDir + "/Kazoru1.ini", Sjis("[▼計算画面▼]\r\nFONTSIZE=22\r\n"));
  EXPECT_EQ(SettingsReadPath(), exeDir + "/Kazoru1.ini");
  ASSERT_TRUE(ReadSettings());
  EXPECT_EQ(FONTSIZE, 22);
  FONTSIZE = 23;
  ASSERT_TRUE(WriteSettings());
  EXPECT_NE(Slurp(exeDir + "/Kazoru1.ini").find("FONTSIZE=23\r\n"), std::string::npos);
  EXPECT_NE(Slurp(configDir + "/Kazoru1.ini").find("FONTSIZE=17\r\n"), std::string::npos);

  // No temporary file is left behind.
  for (const auto& dir : {exeDir, configDir})
    for (const auto& e : fs::directory_iterator(dir)) EXPECT_EQ(e.path().filename(), "Kazoru1.ini");
}

TEST_F(SettingsFileTest, ReadOnlyCopyBesideTheExecutableGivesWayToTheConfigurationFolder) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  std::string beside = exeDir + "/Kazoru1.ini";
  Spit(beside, Sjis("[▼計算画面▼]\r\nFONTSIZE=22\r\nMYKEY=1\r\n"));
  ::chmod(beside.c_str(), 0444);
  ::chmod(exeDir.c_str(), 0555);
  ASSERT_TRUE(ReadSettings());
  FONTSIZE = 25;
  ASSERT_TRUE(WriteSettings());
  EXPECT_EQ(SettingsReadPath(), configDir + "/Kazoru1.ini");
  std::string written = Slurp(configDir + "/Kazoru1.ini");
  EXPECT_NE(written.find("FONTSIZE=25\r\n"), std::string::npos);
  EXPECT_NE(written.find("MYKEY=1\r\n"), std::string::npos);  // foreign keys travel with the file
  ResetSettings();
  ASSERT_TRUE(ReadSettings());
  EXPECT_EQ(FONTSIZE, 25);
  ::chmod(exeDir.c_str(), 0755);
  EXPECT_TRUE(TestPlatform().Shown().empty());
}

TEST_F(SettingsFileTest, AFileThatCannotBeWrittenIsReportedOnce) {
  // The configuration folder would have to be made inside a plain file.
  Spit(root + "/plain", "x");
  SetSettingsFolders(exeDir, root + "/plain/kazoru");
  EXPECT_FALSE(WriteSettings());
  EXPECT_FALSE(WriteSettings());
  auto shown = TestPlatform().Shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, "警告!");
  EXPECT_NE(shown[0].text.find("保存できませんでした"), std::string::npos);
}

TEST_F(SettingsFileTest, AnInterruptedWriteLeavesTheOldFileWhole) {
  std::string path = root + "/keep.ini";
  Spit(path, "old");
  // A folder in the way of the rename: the write fails and the old file stays as it was.
  std::string blocked = root + "/dir.ini";
  fs::create_directories(blocked);
  EXPECT_FALSE(WriteSettingsTo(blocked, path));
  EXPECT_EQ(Slurp(path), "old");
  for (const auto& e : fs::directory_iterator(root))
    EXPECT_EQ(e.path().filename().string().find("dir.ini."), std::string::npos) << e.path();
}

}  // namespace
