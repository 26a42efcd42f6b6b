// The user's settings as program variables, named by their keys in the settings file, with their
// defaults; reading and writing the file itself is screen/SettingsFile.h.
//
// A key that occurs in several sections keeps its plain name for the calculation screen's section and
// gets its section's prefix elsewhere: NOTE_ for "▼ノート画面▼", MOKU_ for "▼週の目標▼", SIKI_ for
// "▼式のメモ▼". Switches are ints holding 0 or 1 (any non-zero value read from the file counts as on).
#pragma once

#include <string>

// Slots of the goal list and of the expression memo.
inline constexpr int MOKUHYOU_MAX = 10;
inline constexpr int SIKI_MAX = 50;

// Every setting with its default or start value; the names below are the settings' names in the code
// (state records: tools/ProgramState.h).
struct SettingsState {
  std::string FONTNAME = "ＭＳ ゴシック";
  int FONTSIZE = 14;
  int MAINTOP = 80;
  int MAINLEFT = 180;
  int MAINHEIGHT = 450;
  int MAINWIDTH = 500;
  int CURSOLTEMPO = 400;
  int PAGEA4BAI = 100;
  int GYOKEISUU = 5;
  int WAKIGAKI = 1;
  int SBARDSP = 1;
  int KAITOURAN_FLAG = 0;
  std::string NOTE_FONTNAME = "ＭＳ ゴシック";
  int NOTE_FONTSIZE = 14;
  int KANKAKU = 5;
  int NOTEBKTOP = 0;
  int NOTEBKLEFT = 50;
  int NOTEBKHEIGHT = 550;
  int NOTEBKWIDTH = 450;
  int PAGEA4BAIN = 100;
  int NOTE_KAITOURAN_FLAG = 0;
  int KAITOURAN_ITI = 36;
  int EQUAL_KAIGYO = 0;
  int INPUTSTR_DSP = 0;
  int KAKERU_ABR = 0;
  int ANSSYU = 0;
  int SYOUDSP = 0;
  int KEYTENYOU = 0;
  int RETKEYFLAG = 1;
  int MOKU_SOUSUU = 0;
  int DSPBANGOU = 0;
  std::string MOKUHYOU[MOKUHYOU_MAX];
  std::string MOKU_FONTNAME = "ＭＳ ゴシック";
  int MOKU_FONTSIZE = 14;
  int FONTCOLOR = 255;
  int JIOKURI = 100;
  int PROCDSP = 0;
  int ADVICEDSP = 0;
  int PROCTEIDO = 0;
  int PROCLASTANS = 0;
  int SIKI_SOUSUU = 0;
  std::string SIKI[SIKI_MAX];
  int WA_TYPE = 0;
  int ICHIGYOU_SUU = 10;
  int WARI_TYPE = 0;
  int WARI_PNT = 10;
  int IROSAFE = 0;
  int OOMOJI = 0;
  std::string KADAI_SITE;
  std::string KADAI_KUMI;
  int KADAI_BANGOU = 0;
  std::string KADAI_NAMAE;
  std::string PaiText = "3.14";
  int InterruptibleFactorisation = 1;
  int ReduceOnConvert = 1;

  void Reset();
};
extern SettingsState SettingsData;

// "▼計算画面▼"
inline auto& FONTNAME = SettingsData.FONTNAME;  // face of the calculation screen's font
inline auto& FONTSIZE = SettingsData.FONTSIZE;  // its size in points
inline auto& MAINTOP = SettingsData.MAINTOP;
inline auto& MAINLEFT = SettingsData.MAINLEFT;
inline auto& MAINHEIGHT = SettingsData.MAINHEIGHT;
inline auto& MAINWIDTH = SettingsData.MAINWIDTH;
inline auto& CURSOLTEMPO = SettingsData.CURSOLTEMPO;  // cursor blink period in milliseconds
inline auto& PAGEA4BAI = SettingsData.PAGEA4BAI;  // page length in percent of the A4 height, 80–400
inline auto& GYOKEISUU = SettingsData.GYOKEISUU;  // row-advance factor, 1–12
inline auto& WAKIGAKI = SettingsData.WAKIGAKI;  // side panel with date and goal shown
inline auto& SBARDSP = SettingsData.SBARDSP;  // status line shown
inline auto& KAITOURAN_FLAG = SettingsData.KAITOURAN_FLAG;  // answer column on the calculation screen

// "▼ノート画面▼"
inline auto& NOTE_FONTNAME = SettingsData.NOTE_FONTNAME;  // key FONTNAME
inline auto& NOTE_FONTSIZE = SettingsData.NOTE_FONTSIZE;  // key FONTSIZE
inline auto& KANKAKU = SettingsData.KANKAKU;
inline auto& NOTEBKTOP = SettingsData.NOTEBKTOP;
inline auto& NOTEBKLEFT = SettingsData.NOTEBKLEFT;
inline auto& NOTEBKHEIGHT = SettingsData.NOTEBKHEIGHT;
inline auto& NOTEBKWIDTH = SettingsData.NOTEBKWIDTH;
inline auto& PAGEA4BAIN = SettingsData.PAGEA4BAIN;
inline auto& NOTE_KAITOURAN_FLAG = SettingsData.NOTE_KAITOURAN_FLAG;  // key KAITOURAN_FLAG
inline auto& KAITOURAN_ITI = SettingsData.KAITOURAN_ITI;

// "▼式の表示▼"
inline auto& EQUAL_KAIGYO = SettingsData.EQUAL_KAIGYO;
inline auto& INPUTSTR_DSP = SettingsData.INPUTSTR_DSP;
inline auto& KAKERU_ABR = SettingsData.KAKERU_ABR;

// "▼答の表示▼"
inline auto& ANSSYU = SettingsData.ANSSYU;  // 0 mixed only, 1 improper only, 2 both
inline auto& SYOUDSP = SettingsData.SYOUDSP;  // also the decimal form
// CALCTYPE is stored in this section but is the process-display switch itself: see PROCDSP.

// "▼式の編集▼"
inline auto& KEYTENYOU = SettingsData.KEYTENYOU;
inline auto& RETKEYFLAG = SettingsData.RETKEYFLAG;

// "▼週の目標▼"
inline auto& MOKU_SOUSUU = SettingsData.MOKU_SOUSUU;  // key SOUSUU: number of goals, 0–MOKUHYOU_MAX
inline auto& DSPBANGOU = SettingsData.DSPBANGOU;  // goal shown in the side panel (from 0)
inline auto& MOKUHYOU = SettingsData.MOKUHYOU;  // keys MOKUHYOU0 … MOKUHYOU9
inline auto& MOKU_FONTNAME = SettingsData.MOKU_FONTNAME;  // key FONTNAME
inline auto& MOKU_FONTSIZE = SettingsData.MOKU_FONTSIZE;  // key FONTSIZE
inline auto& FONTCOLOR = SettingsData.FONTCOLOR;  // 0x00BBGGRR
inline auto& JIOKURI = SettingsData.JIOKURI;  // character advance of vertical text in percent, 80–200

// "▼過程表示▼"
inline auto& PROCDSP = SettingsData.PROCDSP;  // process display; the file's CALCTYPE is the same switch
inline int& CALCTYPE = SettingsData.PROCDSP;
inline auto& ADVICEDSP = SettingsData.ADVICEDSP;
inline auto& PROCTEIDO = SettingsData.PROCTEIDO;
inline auto& PROCLASTANS = SettingsData.PROCLASTANS;

// "▼式のメモ▼"
inline auto& SIKI_SOUSUU = SettingsData.SIKI_SOUSUU;  // key SOUSUU: number of expressions in the memo
inline auto& SIKI = SettingsData.SIKI;  // keys SIKI0 … SIKI49

// "▼素因数分解▼"
// 0: divisor list without the number itself; otherwise all divisors
inline auto& WA_TYPE = SettingsData.WA_TYPE;
inline auto& ICHIGYOU_SUU = SettingsData.ICHIGYOU_SUU;  // key 1GYOU_SUU: divisors per printed row, 10 or 5

// "▼その他▼"
inline auto& WARI_TYPE = SettingsData.WARI_TYPE;  // 1: a division gives quotient and remainder
inline auto& WARI_PNT = SettingsData.WARI_PNT;  // decimal places of that quotient
// colours that stay apart for every kind of colour vision (typeset/Palette.h)
inline auto& IROSAFE = SettingsData.IROSAFE;
inline auto& OOMOJI = SettingsData.OOMOJI;  // large print: every text a pupil reads at 12 pixels or more
// the school's copy of the site that assignment links point to; empty: the program's own default
inline auto& KADAI_SITE = SettingsData.KADAI_SITE;
// the pupil working assignments on this computer: 組, 番号 (0: not said yet) and 名前, asked once
inline auto& KADAI_KUMI = SettingsData.KADAI_KUMI;
inline auto& KADAI_BANGOU = SettingsData.KADAI_BANGOU;
inline auto& KADAI_NAMAE = SettingsData.KADAI_NAMAE;

// Settings that are not stored; they take their start values at every start.
inline auto& PaiText = SettingsData.PaiText;  // the π approximation typed by the ¥ key, "3.14"
// prime factorisation may be interrupted, starts on
inline auto& InterruptibleFactorisation = SettingsData.InterruptibleFactorisation;
// reduce while converting mixed ⇔ improper, starts on
inline auto& ReduceOnConvert = SettingsData.ReduceOnConvert;

// Puts every setting above back to its default or start value (SettingsData.Reset()).
void ResetSettings();
