// What the evaluator's and the batch tool's benchmarks share: the short lines a pupil types, and the quiet
// platform every timed call shows its messages on.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

// Ten short lines as a pupil types them, from a plain sum to an expression fraction.
inline const std::vector<std::string>& ShortLines() {
  static const std::vector<std::string> lines = {
      "1+1",
      "3b1+3b1",
      "2b1+1",
      "1k2b1+1k2b1-3b2*2",
      "(1+2)*(3+4)",
      "2^3^2+m2^2",
      "3k4b1-(2b1+5b3)/7",
      "(3b2-1k4b3)*2b1+0.25",
      "12/(4-1)+5P2-3!",
      "[6B1+2]+1k3b1",
  };
  return lines;
}

// A recording platform installed for the scope: nothing a timed call says is shown.
class QuietPlatform {
 public:
  QuietPlatform() { SetPlatform(&quiet_); }
  ~QuietPlatform() { SetPlatform(nullptr); }
  QuietPlatform(const QuietPlatform&) = delete;
  QuietPlatform& operator=(const QuietPlatform&) = delete;

 private:
  RecordingPlatform quiet_;
};
