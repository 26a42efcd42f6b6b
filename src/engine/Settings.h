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

// "▼計算画面▼"
extern std::string FONTNAME;  // face of the calculation screen's font
extern int FONTSIZE;          // its size in points
extern int MAINTOP;
extern int MAINLEFT;
extern int MAINHEIGHT;
extern int MAINWIDTH;
extern int CURSOLTEMPO;     // cursor blink period in milliseconds
extern int PAGEA4BAI;       // page length in percent of the A4 height, 80–400
extern int GYOKEISUU;       // row-advance factor, 1–12
extern int WAKIGAKI;        // side panel with date and goal shown
extern int SBARDSP;         // status line shown
extern int KAITOURAN_FLAG;  // answer column on the calculation screen

// "▼ノート画面▼"
extern std::string NOTE_FONTNAME;  // key FONTNAME
extern int NOTE_FONTSIZE;          // key FONTSIZE
extern int KANKAKU;
extern int NOTEBKTOP;
extern int NOTEBKLEFT;
extern int NOTEBKHEIGHT;
extern int NOTEBKWIDTH;
extern int PAGEA4BAIN;
extern int NOTE_KAITOURAN_FLAG;  // key KAITOURAN_FLAG
extern int KAITOURAN_ITI;

// "▼式の表示▼"
extern int EQUAL_KAIGYO;
extern int INPUTSTR_DSP;
extern int KAKERU_ABR;

// "▼答の表示▼"
extern int ANSSYU;   // 0 mixed only, 1 improper only, 2 both
extern int SYOUDSP;  // also the decimal form
// CALCTYPE is stored in this section but is the process-display switch itself: see PROCDSP.

// "▼式の編集▼"
extern int KEYTENYOU;
extern int RETKEYFLAG;

// "▼週の目標▼"
extern int MOKU_SOUSUU;  // key SOUSUU: number of goals, 0–MOKUHYOU_MAX
extern int DSPBANGOU;    // goal shown in the side panel (from 0)
extern std::string MOKUHYOU[MOKUHYOU_MAX];  // keys MOKUHYOU0 … MOKUHYOU9
extern std::string MOKU_FONTNAME;           // key FONTNAME
extern int MOKU_FONTSIZE;                   // key FONTSIZE
extern int FONTCOLOR;                       // 0x00BBGGRR
extern int JIOKURI;                         // character advance of vertical text in percent, 80–200

// "▼過程表示▼"
extern int PROCDSP;  // process display; the file's CALCTYPE is the same switch
extern int& CALCTYPE;
extern int ADVICEDSP;
extern int PROCTEIDO;
extern int PROCLASTANS;

// "▼式のメモ▼"
extern int SIKI_SOUSUU;             // key SOUSUU: number of expressions in the memo
extern std::string SIKI[SIKI_MAX];  // keys SIKI0 … SIKI49

// "▼素因数分解▼"
extern int WA_TYPE;       // 0: divisor list without the number itself; otherwise all divisors
extern int ICHIGYOU_SUU;  // key 1GYOU_SUU: divisors per printed row, 10 or 5

// "▼その他▼"
extern int WARI_TYPE;  // 1: a division gives quotient and remainder
extern int WARI_PNT;   // decimal places of that quotient
extern int IROSAFE;    // colours that stay apart for every kind of colour vision (typeset/Palette.h)
extern int OOMOJI;     // large print: every text a pupil reads at 12 pixels or more

// Settings that are not stored; they take their start values at every start.
extern std::string PaiText;           // the π approximation typed by the ¥ key, "3.14"
extern int InterruptibleFactorisation;  // prime factorisation may be interrupted, starts on
extern int ReduceOnConvert;           // reduce while converting mixed ⇔ improper, starts on

// Puts every setting above back to its default or start value.
void ResetSettings();
