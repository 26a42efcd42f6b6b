// Speech through espeak-ng's Japanese voice, run as a child process so that nothing waits on it: the
// command line for a kana text, whether the voice is installed, and writing the speech to a WAV file.
#pragma once

#include <string>
#include <vector>

// The speech program's record (state records: tools/ProgramState.h).
struct SpeechState {
  std::string SpeechProgram = "espeak-ng";

  void Reset();
};
extern SpeechState SpeechData;

// The program that speaks; a test may point it elsewhere (an empty name means no voice is installed).
inline auto& SpeechProgram = SpeechData.SpeechProgram;

// The full path of SpeechProgram found on PATH, or "" when it is not installed.
std::string FindSpeechProgram();

// The arguments after the program name that speak kana aloud, or write it to wavFile when one is given.
std::vector<std::string> SpeechArguments(const std::string& kana, const std::string& wavFile = "");

// Writes the speech of kana to wavFile and waits for it; false (with why set) when no voice is installed
// or the program failed. Never throws.
bool WriteSpeechWav(const std::string& kana, const std::string& wavFile, std::string& why);
