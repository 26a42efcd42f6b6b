// The desktop half of bench/bench_web.mjs: evaluates each argument line REPEAT times, exactly as the
// browser build's kz_evaluate does, and prints the microseconds of one evaluation.
//   web_eval_native REPEAT LINE...
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/BunMath.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const long repeat = std::strtol(argv[1], nullptr, 10);
  std::vector<std::string> lines(argv + 2, argv + argc);
  std::size_t sink = 0;
  const auto t0 = std::chrono::steady_clock::now();
  for (const std::string& line : lines)
    for (long i = 0; i < repeat; ++i)
      sink += EvaluateExpression(line, {.forms = AnswerForms::Both, .decimal = true}).size();
  const double us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count();
  std::printf("%.3f %zu\n", us / static_cast<double>(repeat * static_cast<long>(lines.size())), sink);
  return 0;
}
