// The rule-table checker against the switch-based one it replaces: random key sequences with every
// combination of switches (omitted "*", relaxed signs, whole text, cut, collect, start states) and
// every saved fuzz input must give the same verdicts, numbers, state records and texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "../../fuzz/CheckerDifferential.h"

namespace {

void ExpectSame(const std::vector<uint8_t>& input, const std::string& where) {
  const std::string d = differential::Compare(input.data(), input.size());
  EXPECT_EQ(d, "") << where;
}

TEST(InpCheckDifferential, RandomKeySequences) {
  std::mt19937 random(20261211);
  for (int run = 0; run < 200000; ++run) {
    std::vector<uint8_t> input(1 + random() % 40);
    for (auto& b : input) b = static_cast<uint8_t>(random());
    // Half of the runs stay in the notation's own keys, and most start at the start of a line.
    if (run % 2 == 0) input[0] &= 0x3f;
    ExpectSame(input, "run " + std::to_string(run));
    if (HasFailure()) return;
  }
}

TEST(InpCheckDifferential, EveryStateEveryKey) {
  for (int flags : {0, 1, 2, 3, 64, 65, 66, 67}) {
    for (int state = -2; state < 70; ++state) {
      for (int key = 0; key < 256; ++key) {
        const std::vector<uint8_t> input = {static_cast<uint8_t>(flags | 128), static_cast<uint8_t>(state),
                                            static_cast<uint8_t>(key), static_cast<uint8_t>(key)};
        ExpectSame(input, "state " + std::to_string(state) + " key " + std::to_string(key));
      }
    }
  }
}

TEST(InpCheckDifferential, SavedFuzzInputs) {
  // __FILE__ may be relative to the build directory; look upwards from here as well.
  auto corpus = std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "fuzz" / "corpus";
  for (auto dir = std::filesystem::current_path(); !std::filesystem::is_directory(corpus) && dir.has_relative_path();
       dir = dir.parent_path())
    corpus = dir / std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "fuzz" / "corpus";
  ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
  int files = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(corpus)) {
    if (!e.is_regular_file()) continue;
    std::ifstream in(e.path(), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ++files;
    // Each file as it is (its first byte as switches), and its text under every set of switches.
    ExpectSame(bytes, e.path().string());
    for (int flags = 0; flags < 128; ++flags) {
      std::vector<uint8_t> input = {static_cast<uint8_t>(flags | 64)};
      input.insert(input.end(), bytes.begin(), bytes.end());
      ExpectSame(input, e.path().string() + " flags " + std::to_string(flags));
    }
  }
  EXPECT_GT(files, 0);
}

}  // namespace
