// Typing a key sequence on the calculation line as the batch tool does ("=" closes the line, "{Ctrl+T}"
// a command key), for the tests of the screen model.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/sikiInp.h"

inline void TypeKeys(const std::string& keys) {
  std::vector<KeyPress> presses;
  std::string error;
  ASSERT_TRUE(ParseKeySequence(keys, presses, error)) << error;
  for (const auto& p : presses) KeyToInput(p.key, p.shift);
}
