// Runs the rule-table checker and the switch-based one side by side over the same keys and reports
// the first difference in verdict, message number, any field of the state record or the stored text.
#pragma once

#include <cstdint>
#include <string>

#include "LegacyInpCheck.h"
#include "engine/InpCheck.h"

namespace differential {

inline const char KEYS[] = "0123456789+-*/^()[]pmkbKBxyz.@u=<>:!PCr_&%$ 9";

// An empty text when the two records agree, else the first field that differs.
inline std::string Difference(const InpCheckState& n, const legacy::InpCheckState& o) {
  if (StateNumber(n.state) != o.state) return "state";
  if (n.bracketMode != o.bracketMode) return "bracketMode";
  if (n.prevChar != o.prevChar) return "prevChar";
  if (n.opened != o.opened) return "opened";
  if (n.closed != o.closed) return "closed";
  if (n.colonCount != o.colonCount) return "colonCount";
  if (n.equalsSeen != o.equalsSeen) return "equalsSeen";
  if (n.relationSeen != o.relationSeen) return "relationSeen";
  if (n.digitRun != o.digitRun) return "digitRun";
  if (n.bracketDigitRun != o.bracketDigitRun) return "bracketDigitRun";
  if (n.repeatMarkUsed != o.repeatMarkUsed) return "repeatMarkUsed";
  if (StateNumber(n.afterState) != o.afterState) return "afterState";
  if (n.rootDepth != o.rootDepth) return "rootDepth";
  if (n.bracketText != o.bracketText) return "bracketText";
  if (n.relaxedSigns != o.relaxedSigns) return "relaxedSigns";
  if (n.storedChar != o.storedChar) return "storedChar";
  if (n.errorNo != o.errorNo) return "errorNo";
  return "";
}

// The first byte chooses: bit 0 omitted "*", bit 1 relaxed signs, bit 2 whole text (else key by key),
// bit 3 cut at "=", bit 4 collect, bit 5 show the message, bit 6 raw bytes (else keys of the notation),
// bit 7 key by key from a state chosen by the second byte. Returns the empty text when both agree.
inline std::string Compare(const uint8_t* data, size_t size) {
  if (size == 0) return "";
  const uint8_t flags = data[0];
  ++data;
  --size;
  const bool omit = flags & 1, relaxed = flags & 2;
  int startState = 0;
  if ((flags & 128) && size > 0) {
    startState = static_cast<int8_t>(data[0]);
    ++data;
    --size;
  }
  std::string keys;
  for (size_t i = 0; i < size; ++i)
    keys += (flags & 64) ? static_cast<char>(data[i]) : KEYS[data[i] % (sizeof KEYS - 1)];

  ResetInpCheck();
  legacy::CheckerState = legacy::InpCheckState{};
  legacy::CheckedText.clear();
  CheckerState.relaxedSigns = legacy::CheckerState.relaxedSigns = relaxed;

  if (flags & 4) {
    const int a = CheckText(keys, {.cutAtEquals = (flags & 8) != 0,
                                   .collectText = (flags & 16) != 0,
                                   .omitMul = omit,
                                   .showMessage = (flags & 32) != 0});
    const int b = legacy::CheckText(keys, (flags >> 3) & 1, (flags >> 4) & 1, omit, (flags >> 5) & 1);
    if (a != b) return "position";
    if (CheckedText != legacy::CheckedText) return "checkedText";
    const bool accepted = TextAccepted(keys, omit);
    if (accepted != legacy::TextAccepted(keys, omit)) return "TextAccepted";
    return Difference(CheckerState, legacy::CheckerState);
  }

  // Key by key as the line offers them: its previous stored character and its state, going on after a
  // refusal with the line unchanged.
  char prev = '$';
  int state = startState;
  CheckerState.state = static_cast<CheckState>(state);
  legacy::CheckerState.state = state;
  for (char ch : keys) {
    const bool a = CheckKey(ch, prev, static_cast<CheckState>(state), omit);
    const bool b = legacy::CheckKey(ch, prev, state, omit);
    if (a != b) return std::string("verdict at key '") + ch + "'";
    const std::string d = Difference(CheckerState, legacy::CheckerState);
    if (!d.empty()) return d + " at key '" + ch + "'";
    if (a) {
      prev = StoredChar;
      state = StateNumber(CheckerState.state);
    }
  }
  return "";
}

}  // namespace differential
