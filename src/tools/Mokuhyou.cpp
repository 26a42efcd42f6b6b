// The week's goals: editor text split into lines, the ten-goal limit, storing goals and the goal font.
#include "tools/Mokuhyou.h"

#include <algorithm>

#include "engine/Settings.h"
#include "tools/kihonSet.h"

MokuhyouState MokuhyouData;

void MokuhyouState::Reset() { *this = MokuhyouState{}; }

void ResetMokuhyou() { MokuhyouData.Reset(); }

std::vector<std::string> SplitGoalLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  bool pending = false;  // a line has been started (text or a break after it is still to come)
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
      pending = false;
      continue;
    }
    line += c;
    pending = true;
  }
  if (pending) lines.push_back(line);
  return lines;
}

int CountGoalLines(const std::string& text) { return static_cast<int>(SplitGoalLines(text).size()); }

bool GoalTextAcceptable(const std::string& text) { return CountGoalLines(text) <= MOKUHYOU_MAX; }

std::string JoinGoalLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += '\n';
    text += lines[i];
  }
  return text;
}

std::vector<std::string> StoredGoals() {
  const int count = std::clamp(MOKU_SOUSUU, 0, MOKUHYOU_MAX);
  return std::vector<std::string>(MOKUHYOU, MOKUHYOU + count);
}

void StoreGoals(const std::vector<std::string>& lines) {
  const int count = std::min(static_cast<int>(lines.size()), MOKUHYOU_MAX);
  MOKU_SOUSUU = count;
  for (int i = 0; i < MOKUHYOU_MAX; ++i)
    MOKUHYOU[i] = i < count ? lines[static_cast<size_t>(i)] : std::string();
}

void SetGoalFont(const std::string& name, int size, int colorBgr) {
  MOKU_FONTNAME = name;
  MOKU_FONTSIZE = size;
  FONTCOLOR = colorBgr & 0xFFFFFF;
  RedrawGoalDisplay();
}
