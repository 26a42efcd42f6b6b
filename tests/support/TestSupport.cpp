// The recording platform of the tests and small file helpers.
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace {
RecordingPlatform& Recorder() {
  static RecordingPlatform p;
  return p;
}

class ResetPlatform : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    RecordingPlatform& p = Recorder();
    p.log.clear();
    p.answers.clear();
    p.interrupts.clear();
    p.inputs.clear();
    p.fileNames.clear();
    p.defaultAnswer = MsgAnswer::Yes;
    SetPlatform(&p);
  }
};

std::filesystem::path& TempRoot() {
  static std::filesystem::path root;
  return root;
}
}  // namespace

RecordingPlatform& TestPlatform() { return Recorder(); }

std::string TestDataDir() {
  const char* d = std::getenv("KAZORU_TEST_DATA");
  return d ? d : "tests/data";
}

std::string TempDir() {
  namespace fs = std::filesystem;
  if (TempRoot().empty()) {
    std::random_device rd;
    TempRoot() = fs::temp_directory_path() / ("kazoru-test-" + std::to_string(rd()));
    fs::create_directories(TempRoot());
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(TempRoot(), ec);
    });
  }
  static int n = 0;
  fs::path p = TempRoot() / std::to_string(++n);
  fs::create_directories(p);
  return p.string();
}

void InstallTestPlatform() {
  SetPlatform(&Recorder());
  ::testing::UnitTest::GetInstance()->listeners().Append(new ResetPlatform);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
