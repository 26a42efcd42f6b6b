// Speed of the prime factorisation and the divisor list: single hard numbers, and a batch of 10,000
// random numbers in [2^62, 2^63) timed beside GNU factor on the very same numbers, in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "engine/Buntakousiki.h"
#include "engine/Settings.h"

namespace {

// splitmix64, so that the batch can be rebuilt outside this program (see docs/performance.md).
std::vector<uint64_t> RandomBatch(size_t count) {
  std::vector<uint64_t> v;
  uint64_t state = 20260406;
  for (size_t i = 0; i < count; ++i) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    v.push_back((z >> 2) | (uint64_t{1} << 62));  // in [2^62, 2^63)
  }
  return v;
}

constexpr size_t BATCH = 10000;

void FactorOne(benchmark::State& state, uint64_t n) {
  InterruptibleFactorisation = 1;  // as the pupil has it: the interrupt query is part of the cost
  std::string text = std::to_string(n);
  for (auto _ : state) benchmark::DoNotOptimize(PrimeFactorisation(text));
}

BENCHMARK_CAPTURE(FactorOne, LargestPrimeBelow2To63, 9223372036854775783ull)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FactorOne, SquareOfPrime2147483647, 4611686014132420609ull)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FactorOne, SquareOfPrime3037000493, 9223371994482243049ull)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FactorOne, BalancedSemiprime, 9223371873002223329ull)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(FactorOne, Mersenne63, 9223372036854775807ull)->Unit(benchmark::kMicrosecond);

// The slowest number of the batch, so that "no single number above 1 ms" is seen, not assumed. Timed
// in the thread's own processor time, which other programs on a busy machine do not inflate.
double ThreadMicroseconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

void SlowestOfBatch(benchmark::State& state) {
  std::vector<uint64_t> batch = RandomBatch(BATCH);
  double worst = 0;
  uint64_t slowest = 0;
  std::vector<PrimePower> f;
  for (auto _ : state) {
    for (uint64_t n : batch) {
      double t0 = ThreadMicroseconds();
      FactorPrimePowers(n, f);
      double us = ThreadMicroseconds() - t0;
      if (us > worst) worst = us, slowest = n;
    }
  }
  state.counters["worst_us"] = worst;
  state.SetLabel("slowest " + std::to_string(slowest));
}
BENCHMARK(SlowestOfBatch)->Unit(benchmark::kMillisecond)->Iterations(1);

// The whole batch as the calculator does it: number text in, factorisation text out.
void KazoruBatch(benchmark::State& state) {
  InterruptibleFactorisation = 1;
  std::vector<std::string> texts;
  for (uint64_t n : RandomBatch(BATCH)) texts.push_back(std::to_string(n));
  for (auto _ : state)
    for (const std::string& t : texts) benchmark::DoNotOptimize(PrimeFactorisation(t));
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * texts.size()));
  state.counters["us_per_number"] =
      benchmark::Counter(static_cast<double>(state.iterations() * texts.size()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(KazoruBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

// GNU factor on the same numbers, read from a file and written to /dev/null; its start-up is included
// but is spread over 10,000 numbers.
void GnuFactorBatch(benchmark::State& state) {
  const char* tool = "/usr/bin/factor";
  if (std::FILE* f = std::fopen(tool, "r")) {
    std::fclose(f);
  } else {
    state.SkipWithError("GNU factor is not installed");
    return;
  }
  std::string file = "bench_factor_numbers.txt";
  {
    std::ofstream out(file);
    for (uint64_t n : RandomBatch(BATCH)) out << n << '\n';
  }
  std::string command = std::string(tool) + " < " + file + " > /dev/null";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) {
      state.SkipWithError("GNU factor failed");
      break;
    }
  }
  std::remove(file.c_str());
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * BATCH));
  state.counters["us_per_number"] =
      benchmark::Counter(static_cast<double>(state.iterations() * BATCH),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(GnuFactorBatch)->Unit(benchmark::kMillisecond)->UseRealTime();

void DivisorListOf(benchmark::State& state, const char* number) {
  std::string f = PrimeFactorisation(number);
  DivisorsPerLine = 10;
  for (auto _ : state) benchmark::DoNotOptimize(DivisorList(f, 1));
  state.counters["divisors"] = static_cast<double>(DivisorCount);
}
BENCHMARK_CAPTURE(DivisorListOf, n963761198400, "963761198400")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DivisorListOf, n897612484786617600, "897612484786617600")->Unit(benchmark::kMillisecond);

}  // namespace
