// Speed of the keystroke checker on a 256-character line: the whole-text check, and the same text
// offered key by key as the calculation line does.
#include <benchmark/benchmark.h>

#include <string>

#include "engine/InpCheck.h"

namespace {

// Mixed numbers, decimals with a repeating part, powers, brackets, an expression fraction, a
// permutation and an unknown, closed with "=": every table of the checker takes part.
std::string LongLine() {
  const std::string piece = "1k2b3+(-2.5^2-[x+1b2])*3P2/";
  std::string text;
  while (text.size() + piece.size() <= 250) text += piece;
  text += "0.1@6+123456=";
  return text;
}

void BM_CheckText256(benchmark::State& state) {
  const std::string text = LongLine();
  ResetInpCheck();
  if (text.size() != 256 || CheckText(text, {.collectText = true, .omitMul = true}) != 0) {
    state.SkipWithError("the benchmark line is not a 256-character accepted text");
    return;
  }
  for (auto _ : state) {
    int position = CheckText(text, {.collectText = true, .omitMul = true});
    benchmark::DoNotOptimize(position);
    benchmark::DoNotOptimize(CheckedText.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_CheckText256);

void BM_CheckKeyTyping256(benchmark::State& state) {
  const std::string text = LongLine();
  for (auto _ : state) {
    ResetInpCheck();
    char prev = '$';
    CheckState st = CheckState::LineStart;
    for (char ch : text) {
      if (!CheckKey(ch, prev, st, true)) break;
      prev = StoredChar;
      st = CheckerState.state;
    }
    benchmark::DoNotOptimize(st);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_CheckKeyTyping256);

}  // namespace
