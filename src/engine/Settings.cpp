// The settings variables and their defaults (the values a missing settings file gives).
#include "engine/Settings.h"

std::string FONTNAME;
int FONTSIZE;
int MAINTOP;
int MAINLEFT;
int MAINHEIGHT;
int MAINWIDTH;
int CURSOLTEMPO;
int PAGEA4BAI;
int GYOKEISUU;
int WAKIGAKI;
int SBARDSP;
int KAITOURAN_FLAG;

std::string NOTE_FONTNAME;
int NOTE_FONTSIZE;
int KANKAKU;
int NOTEBKTOP;
int NOTEBKLEFT;
int NOTEBKHEIGHT;
int NOTEBKWIDTH;
int PAGEA4BAIN;
int NOTE_KAITOURAN_FLAG;
int KAITOURAN_ITI;

int EQUAL_KAIGYO;
int INPUTSTR_DSP;
int KAKERU_ABR;

int ANSSYU;
int SYOUDSP;

int KEYTENYOU;
int RETKEYFLAG;

int MOKU_SOUSUU;
int DSPBANGOU;
std::string MOKUHYOU[MOKUHYOU_MAX];
std::string MOKU_FONTNAME;
int MOKU_FONTSIZE;
int FONTCOLOR;
int JIOKURI;

int PROCDSP;
int& CALCTYPE = PROCDSP;
int ADVICEDSP;
int PROCTEIDO;
int PROCLASTANS;

int SIKI_SOUSUU;
std::string SIKI[SIKI_MAX];

int WA_TYPE;
int ICHIGYOU_SUU;

int WARI_TYPE;
int WARI_PNT;
int IROSAFE;
int OOMOJI;

std::string PaiText;
int InterruptibleFactorisation;
int ReduceOnConvert;

namespace {
// Every variable holds its default from the start, so code that runs before the first reset (static
// initialisation of other modules, a forgotten reset in a tool) still sees sound values.
struct InitialDefaults {
  InitialDefaults() { ResetSettings(); }
} initialDefaults;
}  // namespace

void ResetSettings() {
  const std::string defaultFace = "ＭＳ ゴシック";

  FONTNAME = defaultFace;
  FONTSIZE = 14;
  MAINTOP = 80;
  MAINLEFT = 180;
  MAINHEIGHT = 450;
  MAINWIDTH = 500;
  CURSOLTEMPO = 400;
  PAGEA4BAI = 100;
  GYOKEISUU = 5;
  WAKIGAKI = 1;
  SBARDSP = 1;
  KAITOURAN_FLAG = 0;

  NOTE_FONTNAME = defaultFace;
  NOTE_FONTSIZE = 14;
  KANKAKU = 5;
  NOTEBKTOP = 0;
  NOTEBKLEFT = 50;
  NOTEBKHEIGHT = 550;
  NOTEBKWIDTH = 450;
  PAGEA4BAIN = 100;
  NOTE_KAITOURAN_FLAG = 0;
  KAITOURAN_ITI = 36;

  EQUAL_KAIGYO = 0;
  INPUTSTR_DSP = 0;
  KAKERU_ABR = 0;

  ANSSYU = 0;
  SYOUDSP = 0;

  KEYTENYOU = 0;
  RETKEYFLAG = 1;

  MOKU_SOUSUU = 0;
  DSPBANGOU = 0;
  for (auto& goal : MOKUHYOU) goal.clear();
  MOKU_FONTNAME = defaultFace;
  MOKU_FONTSIZE = 14;
  FONTCOLOR = 255;
  JIOKURI = 100;

  PROCDSP = 0;
  ADVICEDSP = 0;
  PROCTEIDO = 0;
  PROCLASTANS = 0;

  SIKI_SOUSUU = 0;
  for (auto& slot : SIKI) slot.clear();

  WA_TYPE = 0;
  ICHIGYOU_SUU = 10;

  WARI_TYPE = 0;
  WARI_PNT = 10;
  IROSAFE = 0;
  OOMOJI = 0;

  PaiText = "3.14";
  InterruptibleFactorisation = 1;
  ReduceOnConvert = 1;
}
