// The reading of a line aloud: a small scanner over the notation's tokens that writes each as the words a
// teacher says, in display form and in kana, with numbers read in full (さんぜん, ろっぴゃく, はっせん).
#include "typeset/Reading.h"

#include <vector>

#include "engine/Characters.h"

namespace {

// One word of the reading; glued words stand without a space before them ("3分の2", "2の3乗").
struct Word {
  std::string display;
  std::string kana;
  bool glue = false;
};

bool IsUnknown(char c) { return c == 'x' || c == 'y' || c == 'z' || c == 'X' || c == 'Y' || c == 'Z'; }

bool EndsWith(const std::string& s, std::string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}
void ReplaceTail(std::string& s, std::string_view tail, std::string_view with) {
  s.replace(s.size() - tail.size(), tail.size(), with);
}

const char* const ONES[] = {"", "いち", "に", "さん", "よん", "ご", "ろく", "なな", "はち", "きゅう"};
const char* const DIGIT_KANA[] = {"れい", "いち", "に",   "さん", "よん",
                                  "ご",   "ろく", "なな", "はち", "きゅう"};

// 1 to 9999; upper is set for the groups of 万 and above, where a lone thousand reads いっせん.
std::string GroupKana(int v, bool upper) {
  static const char* const THOUSANDS[] = {"",       "せん",     "にせん",   "さんぜん", "よんせん",
                                          "ごせん", "ろくせん", "ななせん", "はっせん", "きゅうせん"};
  static const char* const HUNDREDS[] = {"",           "ひゃく",      "にひゃく",   "さんびゃく",
                                         "よんひゃく", "ごひゃく",    "ろっぴゃく", "ななひゃく",
                                         "はっぴゃく", "きゅうひゃく"};
  std::string s;
  const int t = v / 1000, h = v / 100 % 10, d = v / 10 % 10, o = v % 10;
  s += (t == 1 && upper) ? "いっせん" : THOUSANDS[t];
  s += HUNDREDS[h];
  if (d > 0) s += std::string(d == 1 ? "" : ONES[d]) + "じゅう";
  s += ONES[o];
  return s;
}

std::string DigitByDigit(std::string_view digits) {
  std::string s;
  for (char c : digits)
    if (IsDigit(c)) s += DIGIT_KANA[c - '0'];
  return s;
}

// Digits written as they stand on the screen (leading zeros of a whole number dropped, at least "0").
std::string DigitsShown(std::string_view digits) {
  size_t i = 0;
  while (i + 1 < digits.size() && digits[i] == '0') ++i;
  return std::string(digits.substr(i));
}

// A scanner over one text; each Read* appends words and advances pos.
class Reader {
 public:
  Reader(std::string_view text, int depth) : s_(text), depth_(depth) {}

  std::vector<Word> words;

  // Reads the whole text as one expression segment (no "&", no "~").
  void ReadSegment(bool equation) {
    equation_ = equation;
    // A relation at the outer level: "x<=3" reads "エックス は 3 以下", "x<3" reads "エックス 小なり 3".
    size_t rel = RelationAt();
    if (rel == std::string_view::npos) {
      ReadTokens(s_);
      return;
    }
    const bool pair = rel + 1 < s_.size() && s_[rel + 1] == '=';
    std::string_view left = s_.substr(0, rel), right = s_.substr(rel + (pair ? 2 : 1));
    const bool less = s_[rel] == '<';
    ReadTokens(left);
    if (pair && !right.empty()) {
      Add("は", "は");
      ReadTokens(right);
      Add(less ? "以下" : "以上", less ? "いか" : "いじょう");
      return;
    }
    if (pair)
      Add(less ? "小なりイコール" : "大なりイコール", less ? "しょうなりいこーる" : "だいなりいこーる");
    else
      Add(less ? "小なり" : "大なり", less ? "しょうなり" : "だいなり");
    ReadTokens(right);
  }

 private:
  std::string_view s_;
  int depth_;
  bool equation_ = false;
  int equalsSeen_ = 0;
  bool glueNext_ = false;  // the next word stands right after the last one (after a sign)

  void Add(std::string display, std::string kana, bool glue = false) {
    words.push_back({std::move(display), std::move(kana), glue || glueNext_});
    glueNext_ = false;
  }
  void AddNumber(std::string_view digits, bool glue = false) {
    Add(DigitsShown(digits), NumberKana(digits), glue);
  }
  bool LastIsNumber() const {
    if (words.empty()) return false;
    const std::string& d = words.back().display;
    return !d.empty() && (IsDigit(d.back()) || EndsWith(d, "）"));
  }

  size_t RelationAt() const {
    int depth = 0;
    for (size_t i = 0; i < s_.size(); ++i) {
      char c = s_[i];
      if (c == '(' || c == '[') ++depth;
      if (c == ')' || c == ']') --depth;
      if ((c == '<' || c == '>') && depth <= 0) return i;
    }
    return std::string_view::npos;
  }

  static std::string_view Digits(std::string_view t, size_t& i) {
    size_t start = i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    return t.substr(start, i - start);
  }

  // A number form starting at a digit: integer, fraction, mixed number, decimal, repeating decimal.
  void ReadNumber(std::string_view t, size_t& i) {
    std::string_view a = Digits(t, i);
    char next = i < t.size() ? t[i] : '\0';
    if (next == 'k') {
      ++i;
      std::string_view d = Digits(t, i);
      if (i < t.size() && t[i] == 'b') {
        ++i;
        std::string_view n = Digits(t, i);
        Add(DigitsShown(a) + "と" + (d.empty() ? "" : DigitsShown(d) + "分の") +
                (n.empty() ? "" : DigitsShown(n)),
            NumberKana(a) + "と" + (d.empty() ? "" : NumberKana(d) + "ぶんの") +
                (n.empty() ? "" : NumberKana(n)));
      } else {
        Add(DigitsShown(a) + "と" + (d.empty() ? "" : DigitsShown(d)),
            NumberKana(a) + "と" + (d.empty() ? "" : NumberKana(d)));
      }
      return;
    }
    if (next == 'b') {
      ++i;
      std::string_view n = Digits(t, i);
      Add(DigitsShown(a) + "分の" + (n.empty() ? "" : DigitsShown(n)),
          NumberKana(a) + "ぶんの" + (n.empty() ? "" : NumberKana(n)));
      return;
    }
    if (next == '.') {
      ++i;
      std::string_view f = Digits(t, i);
      std::string display = DigitsShown(a) + "." + std::string(f);
      std::string kana = NumberKana(a) + "てん" + DigitByDigit(f);
      if (i < t.size() && t[i] == '@') {
        ++i;
        std::string_view r = Digits(t, i);
        // The repeating block is written once, then "…", and named: "0.16…（6の循環）".
        display += std::string(r) + "…（" + std::string(r) + "の循環）";
        kana += DigitByDigit(r) + "、" + DigitByDigit(r) + "のじゅんかん";
      }
      if (i < t.size() && t[i] == 'u') {
        ++i;
        display += "…";
      }
      Add(display, kana);
      return;
    }
    AddNumber(a);
  }

  // An expression fraction "[" [sign] [whole "K"] den "B" num "]": read denominator first, like a
  // fraction, each part in brackets when it is an expression of its own.
  void ReadExpressionFraction(std::string_view t, size_t& i) {
    size_t close = t.find(']', i);
    std::string_view inner =
        t.substr(i, close == std::string_view::npos ? std::string_view::npos : close - i);
    i = close == std::string_view::npos ? t.size() : close + 1;
    if (!inner.empty() && (inner[0] == 'm' || inner[0] == 'p')) {
      ReadSign(inner[0], inner.size() > 1 && (IsDigit(inner[1]) || inner[1] == 'K'));
      inner.remove_prefix(1);
    }
    size_t k = inner.find('K');
    bool glue = false;
    if (k != std::string_view::npos) {
      // "[mK3B1]" has no whole part: it reads as the fraction alone.
      if (k > 0 && ReadPart(inner.substr(0, k), false)) {
        Add("と", "と", true);
        glue = true;
      }
      inner.remove_prefix(k + 1);
    }
    size_t b = inner.find('B');
    if (b == std::string_view::npos) {
      ReadPart(inner, glue);
      return;
    }
    const bool single = ReadPart(inner.substr(0, b), glue);
    Add("分の", "ぶんの", single);
    glueNext_ = single;
    ReadPart(inner.substr(b + 1), single);
  }

  // One part of an expression fraction, in brackets when it is more than one word; true when it was read
  // as a single word (which then stands right after the word before it when glue is set).
  bool ReadPart(std::string_view part, bool glue) {
    if (part.empty()) return false;
    Reader sub(part, depth_ + 1);
    sub.ReadTokens(part);
    if (sub.words.empty()) return false;
    if (sub.words.size() == 1) {
      Word w = sub.words.front();
      Add(w.display, w.kana, glue);
      return true;
    }
    glueNext_ = false;
    Add("かっこ", "かっこ");
    for (auto& w : sub.words) words.push_back(w);
    Add("かっことじ", "かっことじ");
    return false;
  }

  // "マイナス3分の1" stands together; "マイナス かっこ" does not.
  void ReadSign(char c, bool beforeNumber) {
    if (c == 'm')
      Add("マイナス", "まいなす");
    else
      Add("プラス", "ぷらす");
    glueNext_ = beforeNumber;
  }

  // "^" and its exponent: "2の3乗", "2のマイナス1乗", "2のエックス乗".
  void ReadPower(std::string_view t, size_t& i) {
    std::string display = "の", kana = "の";
    if (i < t.size() && (t[i] == 'm' || t[i] == 'p')) {
      display += t[i] == 'm' ? "マイナス" : "プラス";
      kana += t[i] == 'm' ? "まいなす" : "ぷらす";
      ++i;
    }
    bool any = false;
    if (i < t.size() && IsUnknown(t[i])) {
      while (i < t.size() && IsUnknown(t[i])) {
        Word w = UnknownWord(t[i++]);
        display += w.display;
        kana += w.kana;
      }
      any = true;
    } else if (i < t.size() && IsDigit(t[i])) {
      std::string_view e = Digits(t, i);
      display += DigitsShown(e);
      kana += NumberKana(e);
      any = true;
    }
    if (any) {
      display += "乗";
      kana += "じょう";
    }
    Add(display, kana, true);
  }

  static Word UnknownWord(char c) {
    switch (c) {
      case 'x':
      case 'X': return {"エックス", "えっくす"};
      case 'y':
      case 'Y': return {"ワイ", "わい"};
      default: return {"ゼット", "ぜっと"};
    }
  }

  void ReadTokens(std::string_view t) {
    size_t i = 0;
    while (i < t.size()) {
      const char c = t[i];
      if (IsDigit(c)) {
        ReadNumber(t, i);
        continue;
      }
      // The words of the solver's special answers.
      if (t.substr(i).rfind("(不定)", 0) == 0 || t.substr(i).rfind("不定", 0) == 0) {
        Add("不定", "ふてい");
        i += t[i] == '(' ? std::string_view("(不定)").size() : std::string_view("不定").size();
        continue;
      }
      if (t.substr(i).rfind("(不能)", 0) == 0 || t.substr(i).rfind("不能", 0) == 0) {
        Add("不能", "ふのう");
        i += t[i] == '(' ? std::string_view("(不能)").size() : std::string_view("不能").size();
        continue;
      }
      ++i;
      switch (c) {
        case '+': Add("たす", "たす"); break;
        case '-': Add("ひく", "ひく"); break;
        case '*': Add("かける", "かける"); break;
        case '/': Add("わる", "わる"); break;
        case 'm':
        case 'p': ReadSign(c, i < t.size() && IsDigit(t[i])); break;
        case '^': ReadPower(t, i); break;
        case '!': Add("の階乗", "のかいじょう", true); break;
        case 'P':
          Add("P", "ぴー", true);
          glueNext_ = true;
          break;
        case 'C':
          Add("C", "しー", true);
          glueNext_ = true;
          break;
        case ':':
          Add("対", "たい", true);
          glueNext_ = true;
          break;
        case '(': Add("かっこ", "かっこ"); break;
        case ')': Add("かっことじ", "かっことじ"); break;
        case 'R': Add("あまり", "あまり"); break;
        case 'u': Add("…", "", true); break;
        case 'r': Add("ルート", "るーと"); break;
        case '.': {
          // A decimal point typed first: ".5" reads as "0.5"; a point alone reads "てん".
          if (i < t.size() && IsDigit(t[i])) {
            std::string_view f = Digits(t, i);
            Add("0." + std::string(f), "れいてん" + DigitByDigit(f));
          } else {
            Add(".", "てん", true);
          }
          break;
        }
        case '=':
          if (equation_ || equalsSeen_ > 0)
            Add("イコール", "いこーる");
          else
            Add("は", "は");
          ++equalsSeen_;
          break;
        case '<':
        case '>': {
          const bool pair = i < t.size() && t[i] == '=';
          if (pair) ++i;
          const bool less = c == '<';
          if (pair)
            Add(less ? "小なりイコール" : "大なりイコール", less ? "しょうなりいこーる" : "だいなりいこーる");
          else
            Add(less ? "小なり" : "大なり", less ? "しょうなり" : "だいなり");
          break;
        }
        case '[':
          if (depth_ < 4) ReadExpressionFraction(t, i);
          break;
        case 'k':
        case 'K': Add("と", "と", true); break;
        case 'b':
        case 'B':
          Add("分の", "ぶんの", true);
          glueNext_ = true;
          break;
        default:
          if (IsUnknown(c)) {
            Word w = UnknownWord(c);
            Add(w.display, w.kana, LastIsNumber());
          }
          // Everything else (spaces, the row break "|", the root's close "_", internal marks, bytes
          // outside the notation) is passed over.
          break;
      }
    }
  }
};

// Spaces between words, none before glued ones; "、" takes no space before it.
LineReading Join(const std::vector<Word>& words) {
  LineReading r;
  for (const Word& w : words) {
    if (w.display.empty() && w.kana.empty()) continue;
    const bool space =
        !r.display.empty() && !w.glue && w.display.rfind("、", 0) != 0 && !EndsWith(r.display, "、");
    if (space) r.display += ' ';
    r.display += w.display;
    if (!w.kana.empty()) {
      if (space && !r.kana.empty()) r.kana += ' ';
      r.kana += w.kana;
    }
  }
  return r;
}

bool HasUnknown(std::string_view t) {
  for (char c : t)
    if (IsUnknown(c)) return true;
  return false;
}

void AppendSegment(std::vector<Word>& out, std::string_view seg, bool equation) {
  Reader r(seg, 0);
  r.ReadSegment(equation);
  for (auto& w : r.words) out.push_back(std::move(w));
}

// The last answer piece of a line: the text after its last "=".
std::string_view LastPiece(std::string_view t) {
  size_t eq = t.rfind('=');
  return eq == std::string_view::npos ? t : t.substr(eq + 1);
}

// A process text: records each ending in "~", a record starting with a three-digit advice number and a
// style letter; each step is read after "イコール".
LineReading ReadProcessText(std::string_view text) {
  std::vector<Word> words;
  std::string_view previous;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('~', start);
    std::string_view rec =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    start = end == std::string_view::npos ? text.size() : end + 1;
    if (rec.size() >= 4 && IsDigit(rec[0]) && IsDigit(rec[1]) && IsDigit(rec[2]) &&
        (rec[3] == 'X' || rec[3] == 'Y' || rec[3] == 'Z' || rec[3] == 'A'))
      rec.remove_prefix(4);
    // A figure record repeats the step before it in another drawing; it is read once.
    std::string_view body = !rec.empty() && rec[0] == '=' ? rec.substr(1) : rec;
    if (body.empty() || body == previous) continue;
    previous = body;
    if (!words.empty()) words.push_back({"、", "、", true});
    if (rec[0] == '=') {
      words.push_back({"イコール", "いこーる", false});
      rec.remove_prefix(1);
    }
    AppendSegment(words, rec, HasUnknown(rec));
  }
  return Join(words);
}

}  // namespace

std::string NumberKana(std::string_view digits) {
  size_t i = 0;
  while (i < digits.size() && digits[i] == '0') ++i;
  std::string_view d = digits.substr(i);
  if (d.empty()) return digits.empty() ? "" : "れい";
  if (d.size() > 20) return DigitByDigit(d);
  static const char* const UNITS[] = {"", "まん", "おく", "ちょう", "けい"};
  std::string s;
  // Groups of four digits from the highest.
  const size_t groups = (d.size() + 3) / 4;
  size_t pos = 0;
  size_t first = d.size() - (groups - 1) * 4;
  for (size_t g = 0; g < groups; ++g) {
    size_t len = g == 0 ? first : 4;
    int v = 0;
    for (size_t k = 0; k < len; ++k) v = v * 10 + (d[pos + k] - '0');
    pos += len;
    if (v == 0) continue;
    const size_t unit = groups - 1 - g;
    std::string part = GroupKana(v, unit > 0);
    // The sound changes before ちょう and けい: いっちょう, はっちょう, じゅっちょう, ろっけい, ひゃっけい.
    if (unit >= 3) {
      if (EndsWith(part, "いち"))
        ReplaceTail(part, "いち", "いっ");
      else if (EndsWith(part, "はち"))
        ReplaceTail(part, "はち", "はっ");
      else if (EndsWith(part, "じゅう"))
        ReplaceTail(part, "じゅう", "じゅっ");
      else if (unit == 4 && EndsWith(part, "ろく"))
        ReplaceTail(part, "ろく", "ろっ");
      else if (unit == 4 && EndsWith(part, "ゃく"))
        ReplaceTail(part, "く", "っ");
    }
    s += part;
    s += UNITS[unit];
  }
  return s;
}

LineReading ReadLineAloud(std::string_view text) {
  if (text == "n") return {"計算できません", "けいさんできません"};
  if (text.find('~') != std::string_view::npos) return ReadProcessText(text);
  std::vector<Word> words;
  size_t amp = text.find('&');
  std::string_view line = text.substr(0, amp);
  AppendSegment(words, line, HasUnknown(line));
  while (amp != std::string_view::npos) {
    size_t next = text.find('&', amp + 1);
    std::string_view part =
        text.substr(amp + 1, next == std::string_view::npos ? std::string_view::npos : next - amp - 1);
    amp = next;
    // The copy of the answer for the answer column (or a simplified ratio) repeats the line's last piece.
    if (part.empty() || part == LastPiece(line)) continue;
    words.push_back({"、", "、", true});
    if (HasUnknown(line)) words.push_back({"答え", "こたえ", false});
    AppendSegment(words, part, HasUnknown(part));
  }
  return Join(words);
}
