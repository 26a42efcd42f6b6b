// One remembered answer of the calculation screen: stored from the closed line (Ctrl+C), typed into a
// later line through the keystroke checker (Ctrl+P) and shown in the notice box. Not kept between runs.
#pragma once

#include <string>

// The stored answer's record (state records: tools/ProgramState.h).
struct AnswerStoreState {
  std::string StoredAnswer;

  void Reset();
};
extern AnswerStoreState AnswerStoreData;

// The stored answer in the notation; empty at start.
inline auto& StoredAnswer = AnswerStoreData.StoredAnswer;

// Ctrl+C: stores the answer of the closed line (the solution of a solved equation, else the mixed
// answer, else the last answer piece, else the improper answer); a negative answer is stored in
// parentheses. The status line names what was stored.
void CopyAnswer();
// Ctrl+P: every character of the stored answer offered to the line as if typed.
void PasteAnswer();
// The stored answer shown in the notice box for three seconds.
void ViewAnswer();

inline constexpr const char* MSG_COPY_NEEDS_CALC = "計算後でないと、答を一時保存できません。";
inline constexpr const char* MSG_NOTHING_TO_COPY = "一時保存する答がありません。";
inline constexpr const char* ANSWER_STORE_CAPTION = "ご確認";
