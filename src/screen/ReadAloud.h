// Reading the current line of the calculation screen aloud (Ctrl+R and the panel's 読R): the line with its
// answers, or its process when one is shown, spoken through the platform; a second press stops it.
#pragma once

#include "typeset/Reading.h"

// The reading of what the screen shows now: the process text when a process is stored, else LineText.
LineReading CurrentLineReading();

// Speaks the current line, or stops the speech when it is still going. When no voice is installed the
// pupil is told once in a message box, later presses only in the status line.
void ReadCurrentLineAloud();

// The read-aloud command's record (state records: tools/ProgramState.h).
struct ReadAloudState {
  bool VoiceMissingTold = false;

  void Reset();
};
extern ReadAloudState ReadAloudData;

// Whether the missing voice has been reported (the message box is shown once per run of the program).
inline auto& VoiceMissingTold = ReadAloudData.VoiceMissingTold;

inline constexpr const char* VOICE_MISSING_TEXT =
    "読み上げの音声が入っていません。\n\n(espeak-ng を入れると、式を読み上げます。)";
inline constexpr const char* VOICE_MISSING_STATUS = "◆読み上げの音声が入っていません。";
inline constexpr const char* NOTHING_TO_READ_STATUS = "◆読み上げる式がありません。";
