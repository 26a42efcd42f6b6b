// The week's goals without their editor window: the goals text of the editor split into lines and counted
// as its text field counts them, the ten-goal limit, storing the edited goals and the goal font. The
// editor window is ui/tools/Mokuhyou (TMokuhyouEditForm); the side panel draws goal DSPBANGOU.
#pragma once

#include <string>
#include <vector>

inline constexpr const char* MOKUHYOU_LIMIT_TEXT = "目標は１０個までです。";
inline constexpr const char* MOKUHYOU_LIMIT_CAPTION = "Warning!!";

// The goal editor's record (state records: tools/ProgramState.h).
struct MokuhyouState {
  bool MokuhyouEditOpen = false;

  void Reset();
};
extern MokuhyouState MokuhyouData;

// Whether the goals editor is open (the conditions window's "編集Ｅ" then does nothing).
inline auto& MokuhyouEditOpen = MokuhyouData.MokuhyouEditOpen;
void ResetMokuhyou();

// The lines of an editor text. A line break ends a line; an empty last line after the final break is
// where the caret waits for the next goal and does not count. Carriage returns are dropped.
std::vector<std::string> SplitGoalLines(const std::string& text);
int CountGoalLines(const std::string& text);
// Whether the editor may hold this text (at most MOKUHYOU_MAX lines).
bool GoalTextAcceptable(const std::string& text);
// One goal per line, as the editor receives them.
std::string JoinGoalLines(const std::vector<std::string>& lines);

// The stored goals: MOKUHYOU[0 … SOUSUU − 1], the count taken within 0 … MOKUHYOU_MAX.
std::vector<std::string> StoredGoals();
// Takes edited goals: the count becomes the number of lines (at most MOKUHYOU_MAX) and the first ten
// lines become goals 1–10; the slots after them are emptied. DSPBANGOU is left as it is.
void StoreGoals(const std::vector<std::string>& lines);

// The goal font (face, size in points, colour 0x00BBGGRR); the goal display is redrawn.
void SetGoalFont(const std::string& name, int size, int colorBgr);
