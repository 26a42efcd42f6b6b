// The settings file: INI text in Shift_JIS, read into and written from the settings variables in one
// fixed order of sections and keys, with foreign keys of the old file kept as they were.
#include "screen/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "engine/Settings.h"
#include "platform/AtomicFile.h"
#include "platform/Platform.h"
#include "platform/ShiftJis.h"

namespace {

// ---------------------------------------------------------------------------------------------------
// The table of stored settings.

enum class Kind { Int, Switch, Text, Goals, Memo };

struct Item {
  int section;
  const char* key;
  Kind kind;
  int* number = nullptr;
  std::string* text = nullptr;
};

const char* const SECTIONS[] = {"▼計算画面▼", "▼ノート画面▼", "▼式の表示▼", "▼答の表示▼",   "▼式の編集▼",
                                "▼週の目標▼", "▼過程表示▼",   "▼式のメモ▼", "▼素因数分解▼", "▼その他▼"};
constexpr int SECTION_COUNT = static_cast<int>(std::size(SECTIONS));

// Goals and Memo stand for their numbered keys; they expand in place, the goals by the goal count.
const std::vector<Item>& Table() {
  static const std::vector<Item> table = {
      {0, "FONTNAME", Kind::Text, nullptr, &FONTNAME},
      {0, "FONTSIZE", Kind::Int, &FONTSIZE},
      {0, "MAINTOP", Kind::Int, &MAINTOP},
      {0, "MAINLEFT", Kind::Int, &MAINLEFT},
      {0, "MAINHEIGHT", Kind::Int, &MAINHEIGHT},
      {0, "MAINWIDTH", Kind::Int, &MAINWIDTH},
      {0, "CURSOLTEMPO", Kind::Int, &CURSOLTEMPO},
      {0, "PAGEA4BAI", Kind::Int, &PAGEA4BAI},
      {0, "GYOKEISUU", Kind::Int, &GYOKEISUU},
      {0, "WAKIGAKI", Kind::Switch, &WAKIGAKI},
      {0, "SBARDSP", Kind::Switch, &SBARDSP},
      {0, "KAITOURAN_FLAG", Kind::Switch, &KAITOURAN_FLAG},
      {1, "FONTNAME", Kind::Text, nullptr, &NOTE_FONTNAME},
      {1, "FONTSIZE", Kind::Int, &NOTE_FONTSIZE},
      {1, "KANKAKU", Kind::Int, &KANKAKU},
      {1, "NOTEBKTOP", Kind::Int, &NOTEBKTOP},
      {1, "NOTEBKLEFT", Kind::Int, &NOTEBKLEFT},
      {1, "NOTEBKHEIGHT", Kind::Int, &NOTEBKHEIGHT},
      {1, "NOTEBKWIDTH", Kind::Int, &NOTEBKWIDTH},
      {1, "PAGEA4BAIN", Kind::Int, &PAGEA4BAIN},
      {1, "KAITOURAN_FLAG", Kind::Switch, &NOTE_KAITOURAN_FLAG},
      {1, "KAITOURAN_ITI", Kind::Int, &KAITOURAN_ITI},
      {2, "EQUAL_KAIGYO", Kind::Switch, &EQUAL_KAIGYO},
      {2, "INPUTSTR_DSP", Kind::Switch, &INPUTSTR_DSP},
      {2, "KAKERU_ABR", Kind::Int, &KAKERU_ABR},
      {3, "ANSSYU", Kind::Int, &ANSSYU},
      {3, "SYOUDSP", Kind::Int, &SYOUDSP},
      {3, "CALCTYPE", Kind::Switch, &CALCTYPE},
      {4, "KEYTENYOU", Kind::Int, &KEYTENYOU},
      {4, "RETKEYFLAG", Kind::Switch, &RETKEYFLAG},
      {5, "SOUSUU", Kind::Int, &MOKU_SOUSUU},
      {5, "DSPBANGOU", Kind::Int, &DSPBANGOU},
      {5, "MOKUHYOU", Kind::Goals},
      {5, "FONTNAME", Kind::Text, nullptr, &MOKU_FONTNAME},
      {5, "FONTSIZE", Kind::Int, &MOKU_FONTSIZE},
      {5, "FONTCOLOR", Kind::Int, &FONTCOLOR},
      {5, "JIOKURI", Kind::Int, &JIOKURI},
      {6, "PROCDSP", Kind::Switch, &PROCDSP},
      {6, "ADVICEDSP", Kind::Switch, &ADVICEDSP},
      {6, "PROCTEIDO", Kind::Switch, &PROCTEIDO},
      {6, "PROCLASTANS", Kind::Switch, &PROCLASTANS},
      {7, "SOUSUU", Kind::Int, &SIKI_SOUSUU},
      {7, "SIKI", Kind::Memo},
      {8, "WA_TYPE", Kind::Int, &WA_TYPE},
      {8, "1GYOU_SUU", Kind::Int, &ICHIGYOU_SUU},
      {9, "WARI_TYPE", Kind::Int, &WARI_TYPE},
      {9, "WARI_PNT", Kind::Int, &WARI_PNT},
      {9, "IROSAFE", Kind::Switch, &IROSAFE},
      {9, "OOMOJI", Kind::Switch, &OOMOJI},
      {9, "KADAI_SITE", Kind::Text, nullptr, &KADAI_SITE},
      {9, "KADAI_KUMI", Kind::Text, nullptr, &KADAI_KUMI},
      {9, "KADAI_BANGOU", Kind::Int, &KADAI_BANGOU},
      {9, "KADAI_NAMAE", Kind::Text, nullptr, &KADAI_NAMAE},
  };
  return table;
}

// The goal count as an index bound, whatever the variable holds.
int GoalCount() { return std::clamp(MOKU_SOUSUU, 0, MOKUHYOU_MAX); }

// The table with the numbered keys expanded: goals 0 … count − 1, the memo's 50 slots always.
std::vector<Item> Expanded(const Item& item, int goalCount) {
  std::vector<Item> out;
  if (item.kind == Kind::Goals) {
    static const std::string names[MOKUHYOU_MAX] = {"MOKUHYOU0", "MOKUHYOU1", "MOKUHYOU2", "MOKUHYOU3",
                                                    "MOKUHYOU4", "MOKUHYOU5", "MOKUHYOU6", "MOKUHYOU7",
                                                    "MOKUHYOU8", "MOKUHYOU9"};
    for (int i = 0; i < goalCount; ++i)
      out.push_back({item.section, names[i].c_str(), Kind::Text, nullptr, &MOKUHYOU[i]});
  } else if (item.kind == Kind::Memo) {
    static const std::vector<std::string> names = [] {
      std::vector<std::string> v;
      for (int i = 0; i < SIKI_MAX; ++i) v.push_back("SIKI" + std::to_string(i));
      return v;
    }();
    for (int i = 0; i < SIKI_MAX; ++i)
      out.push_back({item.section, names[i].c_str(), Kind::Text, nullptr, &SIKI[i]});
  } else {
    out.push_back(item);
  }
  return out;
}

// ---------------------------------------------------------------------------------------------------
// The INI text, kept as raw Shift_JIS lines so that foreign lines are written back byte for byte.

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string_view Trim(std::string_view s) {
  // Blanks and tabs are below 0x40, so they are never the second byte of a double-byte character.
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x < 0x80 && y < 0x80) {
      if (std::tolower(x) != std::tolower(y)) return false;
    } else if (x != y) {
      return false;
    }
  }
  return true;
}

struct IniLine {
  std::string raw;  // the line without its line end
  std::string key;  // raw key bytes, trimmed; empty for comments, blanks and lines without "="
  std::string value;  // raw value bytes, trimmed, one pair of enclosing quotes removed
};

struct IniSection {
  std::string name;  // raw bytes between the brackets, trimmed
  std::string header;
  std::vector<IniLine> lines;
};

struct IniFile {
  std::vector<IniLine> preamble;  // lines before the first section
  std::vector<IniSection> sections;
};

// The section name of a line "[name]", reading double-byte characters as units so that a second byte
// that happens to be "]" does not end the name.
std::optional<std::string> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  for (std::size_t i = 1; i < line.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (c == ']') return std::string(Trim(line.substr(1, i - 1)));
    if (IsLeadByte(c)) ++i;
  }
  return std::nullopt;
}

IniLine ParseLine(std::string raw) {
  IniLine l;
  std::string_view t = Trim(raw);
  // "=" (0x3D) is never the second byte of a double-byte character, so the first one splits the line.
  std::size_t eq = t.find('=');
  if (!t.empty() && t.front() != ';' && eq != std::string_view::npos && eq > 0) {
    l.key = std::string(Trim(t.substr(0, eq)));
    std::string_view v = Trim(t.substr(eq + 1));
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
    l.value = std::string(v);
  }
  l.raw = std::move(raw);
  return l;
}

IniFile ParseIni(std::string_view bytes) {
  IniFile f;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t nl = bytes.find('\n', pos);
    std::size_t end = nl == std::string_view::npos ? bytes.size() : nl;
    std::string line(bytes.substr(pos, end - pos));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos = nl == std::string_view::npos ? bytes.size() : nl + 1;
    if (auto name = SectionName(line)) {
      f.sections.push_back({*name, line, {}});
    } else if (f.sections.empty()) {
      f.preamble.push_back(ParseLine(std::move(line)));
    } else {
      f.sections.back().lines.push_back(ParseLine(std::move(line)));
    }
  }
  return f;
}

const std::string& SectionBytes(int section) {
  static const std::vector<std::string> bytes = [] {
    std::vector<std::string> v;
    for (const char* name : SECTIONS) {
      std::string b;
      Utf8ToCp932(name, b);
      v.push_back(b);
    }
    return v;
  }();
  return bytes[static_cast<std::size_t>(section)];
}

// The first value of key in the first section of that name, as the reader of INI files has always done.
const std::string* Lookup(const IniFile& f, int section, std::string_view key) {
  for (const auto& s : f.sections) {
    if (!SameKey(s.name, SectionBytes(section))) continue;
    for (const auto& l : s.lines)
      if (!l.key.empty() && SameKey(l.key, key)) return &l.value;
    return nullptr;
  }
  return nullptr;
}

// A whole decimal integer with an optional sign that fits an int; anything else is no number.
std::optional<int> ParseInt(std::string_view s) {
  s = Trim(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.size() > 12) return std::nullopt;
  long long v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + (c - '0');
  }
  if (negative) v = -v;
  if (v < INT_MIN || v > INT_MAX) return std::nullopt;
  return static_cast<int>(v);
}

// ---------------------------------------------------------------------------------------------------
// Ranges. The file is not trusted: a value outside what the controls allow is brought back into that
// range, so that no timer runs at 0 ms and no index leaves its list.

int Clamp(int v, int lo, int hi) { return std::clamp(v, lo, hi); }

void Normalise() {
  const std::string defaultFace = "ＭＳ ゴシック";
  for (std::string* face : {&FONTNAME, &NOTE_FONTNAME, &MOKU_FONTNAME})
    if (face->empty()) *face = defaultFace;
  // The font dialog offers no size below 6; above 72 the cells no longer fit the windows.
  for (int* size : {&FONTSIZE, &NOTE_FONTSIZE, &MOKU_FONTSIZE}) *size = Clamp(*size, 6, 72);
  // Window geometry: a window must stay big enough to be seen and grabbed.
  for (int* p : {&MAINTOP, &MAINLEFT, &NOTEBKTOP, &NOTEBKLEFT}) *p = Clamp(*p, -10000, 10000);
  for (int* p : {&MAINHEIGHT, &MAINWIDTH, &NOTEBKHEIGHT, &NOTEBKWIDTH}) *p = Clamp(*p, 100, 10000);
  CURSOLTEMPO = Clamp(CURSOLTEMPO, 200, 2000);
  PAGEA4BAI = Clamp(PAGEA4BAI, 80, 400);
  GYOKEISUU = Clamp(GYOKEISUU, 1, 12);
  KANKAKU = Clamp(KANKAKU, 2, 25);
  PAGEA4BAIN = Clamp(PAGEA4BAIN, 80, 300);
  KAITOURAN_ITI = Clamp(KAITOURAN_ITI, 10, 80);
  ANSSYU = Clamp(ANSSYU, 0, 2);
  // Check boxes stored as integers: the answer form is ANSSYU + 4 × SYOUDSP, so only 0 and 1 are sound.
  for (int* flag : {&SYOUDSP, &KAKERU_ABR, &KEYTENYOU, &WA_TYPE, &WARI_TYPE}) *flag = *flag != 0 ? 1 : 0;
  // The process settings window maps 1–5 per row to its "5" items and everything else to "10".
  ICHIGYOU_SUU = (ICHIGYOU_SUU >= 1 && ICHIGYOU_SUU <= 5) ? 5 : 10;
  // The window offers 0–6 places but the default is 10; more than 18 places exceed the digits kept.
  WARI_PNT = Clamp(WARI_PNT, 0, 18);
  JIOKURI = Clamp(JIOKURI, 80, 200);
  if (FONTCOLOR < 0 || FONTCOLOR > 0xFFFFFF) FONTCOLOR = 255;
  MOKU_SOUSUU = Clamp(MOKU_SOUSUU, 0, MOKUHYOU_MAX);
  // A goal number that is not a stored goal shows the first goal.
  if (DSPBANGOU < 0 || DSPBANGOU >= std::max(MOKU_SOUSUU, 1)) DSPBANGOU = 0;
  SIKI_SOUSUU = Clamp(SIKI_SOUSUU, 0, SIKI_MAX);
}

// ---------------------------------------------------------------------------------------------------
// Folders.

std::string ExeDirOverride;
std::string ConfigDirOverride;
bool WriteFailureReported = false;

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string DirOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return dir.back() == '/' ? dir + name : dir + "/" + name;
}

// A copy beside the executable is used only while it can be replaced: the file and its folder writable.
bool Writable(const std::string& path) {
  return ::access(path.c_str(), W_OK) == 0 && ::access(DirOf(path).c_str(), W_OK) == 0;
}

bool MakeDirs(const std::string& dir) {
  if (dir.empty()) return false;
  std::string partial;
  std::size_t pos = 0;
  while (pos <= dir.size()) {
    std::size_t slash = dir.find('/', pos);
    if (slash == std::string::npos) slash = dir.size();
    partial = dir.substr(0, slash);
    if (!partial.empty() && ::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST) return false;
    pos = slash + 1;
  }
  struct stat st;
  return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ReadAll(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  // A settings file is a few kilobytes; anything past 4 MB is not one and is not read further.
  constexpr std::size_t LIMIT = 4u << 20;
  std::string data;
  char buf[65536];
  while (in && data.size() < LIMIT) {
    in.read(buf, sizeof buf);
    data.append(buf, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return false;
  if (data.size() > LIMIT) data.resize(LIMIT);
  out = std::move(data);
  return true;
}

// ---------------------------------------------------------------------------------------------------
// Writing values.

// A text value as Shift_JIS; characters that Shift_JIS cannot hold become "?" and set replaced. Line ends
// would start a new line of the file and become blanks; leading or trailing blanks and a text in quotes
// are protected by quotes, which the reader removes.
std::string EncodeText(const std::string& utf8, bool& replaced) {
  std::string clean;
  for (char c : utf8) clean += (c == '\r' || c == '\n') ? ' ' : c;
  if (clean != utf8) replaced = true;
  std::string out;
  if (!Utf8ToCp932(clean, out)) {
    out.clear();
    for (std::size_t i = 0; i < clean.size();) {
      std::size_t len = 1;
      unsigned char c = static_cast<unsigned char>(clean[i]);
      if (c >= 0xF0)
        len = 4;
      else if (c >= 0xE0)
        len = 3;
      else if (c >= 0xC0)
        len = 2;
      len = std::min(len, clean.size() - i);
      std::string one;
      if (Utf8ToCp932(std::string_view(clean).substr(i, len), one)) {
        out += one;
      } else {
        out += '?';
        replaced = true;
      }
      i += len;
    }
  }
  bool quote =
      !out.empty() && (out.front() == ' ' || out.front() == '\t' || out.back() == ' ' || out.back() == '\t' ||
                       (out.size() >= 2 && out.front() == '"' && out.back() == '"'));
  return quote ? "\"" + out + "\"" : out;
}

std::string ValueBytes(const Item& item, bool& replaced) {
  switch (item.kind) {
    case Kind::Int: return std::to_string(*item.number);
    case Kind::Switch: return *item.number != 0 ? "1" : "0";
    case Kind::Text: return EncodeText(*item.text, replaced);
    default: return {};
  }
}

bool IsOurKey(const std::vector<Item>& items, std::string_view key) {
  for (const auto& it : items)
    if (SameKey(key, it.key)) return true;
  return false;
}

std::string BuildFile(std::string_view oldBytes, bool& replaced) {
  IniFile old = ParseIni(oldBytes);
  std::vector<std::vector<Item>> items(SECTION_COUNT);
  int goals = GoalCount();
  for (const auto& item : Table())
    for (const auto& e : Expanded(item, goals)) items[static_cast<std::size_t>(e.section)].push_back(e);

  const std::string EOL = "\r\n";
  std::string out;
  for (const auto& l : old.preamble) out += l.raw + EOL;
  std::vector<bool> used(old.sections.size(), false);
  for (int s = 0; s < SECTION_COUNT; ++s) {
    out += "[" + SectionBytes(s) + "]" + EOL;
    for (const auto& it : items[static_cast<std::size_t>(s)])
      out += std::string(it.key) + "=" + ValueBytes(it, replaced) + EOL;
    // Foreign lines of the old section (every section of that name) follow our keys, in their order.
    for (std::size_t k = 0; k < old.sections.size(); ++k) {
      if (!SameKey(old.sections[k].name, SectionBytes(s))) continue;
      used[k] = true;
      for (const auto& l : old.sections[k].lines)
        if (l.key.empty() ? !Trim(l.raw).empty() : !IsOurKey(items[static_cast<std::size_t>(s)], l.key))
          out += l.raw + EOL;
    }
  }
  for (std::size_t k = 0; k < old.sections.size(); ++k) {
    if (used[k]) continue;
    out += old.sections[k].header + EOL;
    for (const auto& l : old.sections[k].lines) out += l.raw + EOL;
  }
  return out;
}

void ReportOnce(const std::string& text) {
  if (WriteFailureReported) return;
  WriteFailureReported = true;
  ShowMessage(text, "警告!");
}

// The stored settings as they were last read or written in this run (without the old file's foreign
// keys); empty before either.
std::string LastStoredBytes;
bool SettingsKnown = false;

void RememberStoredSettings() {
  LastStoredBytes = SettingsFileBytes("");
  SettingsKnown = true;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------

void SetSettingsFolders(const std::string& exeDir, const std::string& configDir) {
  ExeDirOverride = exeDir;
  ConfigDirOverride = configDir;
}

std::string SettingsExeDir() {
  if (!ExeDirOverride.empty()) return ExeDirOverride;
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  return DirOf(std::string(buf, static_cast<std::size_t>(n)));
}

std::string SettingsConfigDir() {
  if (!ConfigDirOverride.empty()) return ConfigDirOverride;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return Join(xdg, "kazoru");
  const char* home = std::getenv("HOME");
  if (home && home[0]) return Join(Join(home, ".config"), "kazoru");
  return Join(SettingsExeDir(), ".kazoru");
}

std::string SettingsReadPath() {
  std::string beside = Join(SettingsExeDir(), SETTINGS_FILE_NAME);
  std::string config = Join(SettingsConfigDir(), SETTINGS_FILE_NAME);
  if (Exists(beside)) {
    // A copy beside the executable that cannot be replaced has been superseded by the configuration
    // folder's copy, when there is one.
    if (!Writable(beside) && Exists(config)) return config;
    return beside;
  }
  return config;
}

std::string SettingsWritePath() {
  std::string beside = Join(SettingsExeDir(), SETTINGS_FILE_NAME);
  if (Exists(beside) && Writable(beside)) return beside;
  return Join(SettingsConfigDir(), SETTINGS_FILE_NAME);
}

void ReadSettingsBytes(std::string_view bytes) {
  IniFile f = ParseIni(bytes);
  // Every stored setting starts from its default; the settings that are not stored keep their values.
  std::string pai = PaiText;
  int interruptible = InterruptibleFactorisation, reduce = ReduceOnConvert;
  ResetSettings();
  PaiText = pai;
  InterruptibleFactorisation = interruptible;
  ReduceOnConvert = reduce;

  bool unreadable = false;
  for (const auto& entry : Table()) {
    // The goal count is read (and bounded) before the goals, so only stored goals are read.
    if (entry.kind == Kind::Goals) MOKU_SOUSUU = Clamp(MOKU_SOUSUU, 0, MOKUHYOU_MAX);
    for (const auto& it : Expanded(entry, GoalCount())) {
      const std::string* raw = Lookup(f, it.section, it.key);
      // A missing key keeps the current value: the default, except that a missing PROCDSP leaves the
      // switch as CALCTYPE set it.
      if (!raw) continue;
      if (it.kind == Kind::Text) {
        std::string utf8;
        if (Cp932ToUtf8(*raw, utf8))
          *it.text = utf8;
        else
          unreadable = true;
      } else if (auto v = ParseInt(*raw)) {
        *it.number = it.kind == Kind::Switch ? (*v != 0 ? 1 : 0) : *v;
      }
    }
  }
  Normalise();
  RememberStoredSettings();
  if (unreadable)
    ShowMessage("設定ファイル「Kazoru1.ini」に読めない文字がありました。\nその項目は初期の設定で始めます。",
                "注意!!");
}

bool ReadSettingsFrom(const std::string& path) {
  std::string bytes;
  if (!ReadAll(path, bytes)) {
    ReadSettingsBytes("");
    return false;
  }
  ReadSettingsBytes(bytes);
  return true;
}

bool ReadSettings() { return ReadSettingsFrom(SettingsReadPath()); }

std::string SettingsFileBytes(std::string_view oldBytes) {
  bool replaced = false;
  return BuildFile(oldBytes, replaced);
}

bool WriteSettingsTo(const std::string& path, const std::string& base) {
  std::string old;
  if (!ReadAll(base.empty() ? path : base, old)) old.clear();
  bool replaced = false;
  return WriteAtomically(path, BuildFile(old, replaced));
}

bool WriteSettings() {
  std::string readFrom = SettingsReadPath();
  std::string base = Exists(readFrom) ? readFrom : "";
  std::string first = SettingsWritePath();
  std::string config = Join(SettingsConfigDir(), SETTINGS_FILE_NAME);
  std::string old;
  if (!ReadAll(Exists(first) ? first : base, old)) old.clear();
  bool replaced = false;
  std::string bytes = BuildFile(old, replaced);

  // The copy beside the executable first (when it is the one to write), else the configuration folder.
  bool ok = false;
  std::string written = first;
  if (first != config) ok = WriteAtomically(first, bytes);
  if (!ok) {
    written = config;
    ok = MakeDirs(SettingsConfigDir()) && WriteAtomically(config, bytes);
  }
  // A failed write is not tried again until a setting changes again.
  RememberStoredSettings();
  if (!ok) {
    ReportOnce(
        "設定ファイル「Kazoru1.ini」を保存できませんでした。\n今回変えた設定は次回に引き継がれません。\n" +
        first);
    return false;
  }
  if (replaced)
    ReportOnce(
        "設定ファイル「Kazoru1.ini」に保存できない文字があったため、「?」に置き換えて保存しました。\n" +
        written);
  return true;
}

bool SettingsChangedSinceWritten() { return SettingsKnown && SettingsFileBytes("") != LastStoredBytes; }

bool WriteChangedSettings() { return SettingsChangedSinceWritten() && WriteSettings(); }

void ResetSettingsFile() {
  ExeDirOverride.clear();
  ConfigDirOverride.clear();
  WriteFailureReported = false;
  LastStoredBytes.clear();
  SettingsKnown = false;
}
