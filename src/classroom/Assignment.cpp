// The assignment code: the fields packed into bytes (the skill as a 16-bit key of its id), a CRC-32 after
// them, written in Crockford's base 32 (digits and capitals without I, L, O, U, so a code read aloud or
// typed from paper survives), behind one character for the format version.
#include "classroom/Assignment.h"

#include <array>
#include <cstdint>

#include "classroom/ClassJson.h"

namespace {

constexpr const char* ALPHABET = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
constexpr char FORMAT_CHAR = '1';

constexpr const char* MSG_EMPTY = "課題のコードがありません。";
constexpr const char* MSG_DAMAGED =
    "課題のコードがまちがっているか、途中で切れています。コードをもう一度たしかめてください。";
constexpr const char* MSG_NEWER =
    "この課題は、新しい版の Kazoru で作られています。Kazoru を新しくしてから開いてください。";

uint32_t Crc32(const std::string& bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t c = 0xFFFFFFFFu;
  for (char ch : bytes) c = table[(c ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

void PutVarint(std::string& out, uint64_t v) {
  while (v >= 0x80) {
    out += static_cast<char>((v & 0x7F) | 0x80);
    v >>= 7;
  }
  out += static_cast<char>(v);
}

std::string Base32(const std::string& bytes) {
  std::string out;
  uint32_t buffer = 0;
  int bits = 0;
  for (char ch : bytes) {
    buffer = (buffer << 8) | static_cast<unsigned char>(ch);
    bits += 8;
    while (bits >= 5) {
      out += ALPHABET[(buffer >> (bits - 5)) & 31];
      bits -= 5;
    }
  }
  if (bits > 0) out += ALPHABET[(buffer << (5 - bits)) & 31];
  return out;
}

// The value of one code character (Crockford's reading: either case, O as 0, I and L as 1), or -1.
int Base32Value(char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (c == 'O') c = '0';
  if (c == 'I' || c == 'L') c = '1';
  for (int k = 0; k < 32; ++k)
    if (ALPHABET[k] == c) return k;
  return -1;
}

// Bytes from base 32; false when the length cannot be one the writer makes or left-over bits are set.
bool FromBase32(const std::string& text, std::string& bytes) {
  uint32_t buffer = 0;
  int bits = 0;
  for (char c : text) {
    const int v = Base32Value(c);
    if (v < 0) return false;
    buffer = (buffer << 5) | static_cast<uint32_t>(v);
    bits += 5;
    if (bits >= 8) {
      bytes += static_cast<char>((buffer >> (bits - 8)) & 0xFF);
      bits -= 8;
    }
    buffer &= (1u << bits) - 1;
  }
  return bits < 5 && buffer == 0;
}

class Bytes {
 public:
  explicit Bytes(const std::string& s) : s_(s) {}
  bool Byte(unsigned& v) {
    if (pos_ >= s_.size()) return false;
    v = static_cast<unsigned char>(s_[pos_++]);
    return true;
  }
  bool Varint(uint64_t& v) {
    v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      unsigned b = 0;
      if (!Byte(b)) return false;
      if (shift == 63 && b > 1) return false;
      v |= static_cast<uint64_t>(b & 0x7F) << shift;
      if ((b & 0x80) == 0) return true;
    }
    return false;
  }
  bool Text(std::string& out) {
    unsigned n = 0;
    if (!Byte(n) || pos_ + n > s_.size()) return false;
    out = s_.substr(pos_, n);
    pos_ += n;
    return true;
  }
  bool AtEnd() const { return pos_ == s_.size(); }

 private:
  const std::string& s_;
  size_t pos_ = 0;
};

bool IsTitleText(const std::string& t) {
  if (!classjson::IsUtf8(t)) return false;
  for (char ch : t) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

}  // namespace

uint16_t AssignmentSkillKey(const std::string& id) {
  uint32_t h = 2166136261u;
  for (char c : id) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return static_cast<uint16_t>((h >> 16) ^ (h & 0xFFFF));
}

namespace {

// The skill whose key that is, or nullptr (a skill of a newer Kazoru).
const SheetSkill* SkillOfKey(uint16_t key) {
  for (const SheetSkill& s : SheetSkills())
    if (AssignmentSkillKey(s.id) == key) return &s;
  return nullptr;
}

}  // namespace

const char* AssignmentFinalId(AssignmentFinal f) {
  switch (f) {
    case AssignmentFinal::Mixed: return "mixed";
    case AssignmentFinal::Improper: return "improper";
    case AssignmentFinal::Either: return "either";
  }
  return "either";
}

const char* AssignmentFeedbackId(AssignmentFeedback f) {
  switch (f) {
    case AssignmentFeedback::Now: return "now";
    case AssignmentFeedback::End: return "end";
    case AssignmentFeedback::None: return "none";
  }
  return "now";
}

const char* AssignmentFinalName(AssignmentFinal f) {
  switch (f) {
    case AssignmentFinal::Mixed: return "帯分数";
    case AssignmentFinal::Improper: return "仮分数";
    case AssignmentFinal::Either: return "どちらでも";
  }
  return "どちらでも";
}

const char* AssignmentFeedbackName(AssignmentFeedback f) {
  switch (f) {
    case AssignmentFeedback::Now: return "すぐに見せる";
    case AssignmentFeedback::End: return "提出のあとで見せる";
    case AssignmentFeedback::None: return "見せない（テスト）";
  }
  return "すぐに見せる";
}

bool ParseAssignmentFinal(const std::string& id, AssignmentFinal& f) {
  for (AssignmentFinal x : {AssignmentFinal::Mixed, AssignmentFinal::Improper, AssignmentFinal::Either})
    if (id == AssignmentFinalId(x)) {
      f = x;
      return true;
    }
  return false;
}

bool ParseAssignmentFeedback(const std::string& id, AssignmentFeedback& f) {
  for (AssignmentFeedback x : {AssignmentFeedback::Now, AssignmentFeedback::End, AssignmentFeedback::None})
    if (id == AssignmentFeedbackId(x)) {
      f = x;
      return true;
    }
  return false;
}

std::string EncodeAssignment(const Assignment& a, std::string& code) {
  code.clear();
  const SheetControls& c = a.controls;
  std::string why = CheckSheetControls(c);
  if (!why.empty()) return why;
  if (!IsTitleText(a.title)) return "課題名に使えない文字があります。";
  if (a.title.size() > 255) return "課題名が長すぎます。もっと短くしてください。";
  std::string p;
  const uint16_t key = AssignmentSkillKey(c.skill);
  p += static_cast<char>(key >> 8);
  p += static_cast<char>(key & 0xFF);
  p += static_cast<char>(c.count);
  p += static_cast<char>(c.maxDen);
  p += static_cast<char>(c.terms);
  const unsigned reduce = c.reduce == ReduceRule::Yes ? 1u : c.reduce == ReduceRule::No ? 2u : 0u;
  const unsigned flags = reduce | (c.mixedAnswers ? 4u : 0u) | (static_cast<unsigned>(a.finalForm) << 3) |
                         (static_cast<unsigned>(a.feedback) << 5);
  p += static_cast<char>(flags);
  p += static_cast<char>(c.version - 'A');
  PutVarint(p, static_cast<uint64_t>(c.maxAnswer));
  PutVarint(p, c.seed);
  p += static_cast<char>(a.title.size());
  p += a.title;
  const uint32_t crc = Crc32(std::string(1, FORMAT_CHAR) + p);
  for (int shift = 24; shift >= 0; shift -= 8) p += static_cast<char>((crc >> shift) & 0xFF);
  std::string out = std::string(1, FORMAT_CHAR) + Base32(p);
  if (out.size() > ASSIGNMENT_CODE_MAX) return "課題名が長すぎます。もっと短くしてください。";
  code = out;
  return "";
}

std::string CodeOfText(const std::string& text) {
  const std::string key = "kadai=";
  const size_t at = text.find(key);
  std::string code = at == std::string::npos ? text : text.substr(at + key.size());
  // A link may carry more after the code ("&…") or be pasted with white space around it.
  const size_t amp = code.find('&');
  if (amp != std::string::npos) code.resize(amp);
  return code;
}

std::string DecodeAssignment(const std::string& text, Assignment& a) {
  const std::string raw = CodeOfText(text);
  if (raw.size() > 4 * ASSIGNMENT_CODE_MAX) return MSG_DAMAGED;
  std::string code;
  for (char c : raw)
    if (c != ' ' && c != '-' && c != '\t' && c != '\r' && c != '\n') code += c;
  if (code.empty()) return MSG_EMPTY;
  if (code.size() > ASSIGNMENT_CODE_MAX) return MSG_DAMAGED;
  for (char c : code)
    if (Base32Value(c) < 0) {
      if (static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F)
        return std::string("課題のコードに使えない文字「") + c +
               "」があります。コードをもう一度たしかめてください。";
      return "課題のコードに使えない文字があります。コードをもう一度たしかめてください。";
    }
  // The first character is the format version: a later format is refused before anything is read.
  const int version = Base32Value(code[0]);
  if (version != Base32Value(FORMAT_CHAR))
    return version > Base32Value(FORMAT_CHAR) ? MSG_NEWER : MSG_DAMAGED;
  std::string bytes;
  if (!FromBase32(code.substr(1), bytes) || bytes.size() < 5) return MSG_DAMAGED;
  const std::string payload = bytes.substr(0, bytes.size() - 4);
  uint32_t crc = 0;
  for (size_t k = bytes.size() - 4; k < bytes.size(); ++k)
    crc = (crc << 8) | static_cast<unsigned char>(bytes[k]);
  if (crc != Crc32(std::string(1, FORMAT_CHAR) + payload)) return MSG_DAMAGED;

  Bytes in(payload);
  Assignment r;
  unsigned keyHigh = 0, keyLow = 0, count = 0, maxDen = 0, terms = 0, flags = 0, version_letter = 0;
  uint64_t maxAnswer = 0, seed = 0;
  if (!in.Byte(keyHigh) || !in.Byte(keyLow) || !in.Byte(count) || !in.Byte(maxDen) || !in.Byte(terms) ||
      !in.Byte(flags) || !in.Byte(version_letter) || !in.Varint(maxAnswer) || !in.Varint(seed) ||
      !in.Text(r.title) || !in.AtEnd())
    return MSG_DAMAGED;
  const unsigned reduce = flags & 3u, finalForm = (flags >> 3) & 3u, feedback = (flags >> 5) & 3u;
  if (reduce > 2 || finalForm > 2 || feedback > 2 || (flags >> 7) != 0 || version_letter > 25 ||
      maxAnswer > static_cast<uint64_t>(SHEET_MAX_ANSWER_LIMIT) || !IsTitleText(r.title))
    return MSG_DAMAGED;
  // A sound code whose skill this Kazoru lacks was made by a newer one.
  const SheetSkill* skill = SkillOfKey(static_cast<uint16_t>((keyHigh << 8) | keyLow));
  if (!skill) return MSG_NEWER;
  r.controls.skill = skill->id;
  r.controls.count = static_cast<int>(count);
  r.controls.maxDen = static_cast<int>(maxDen);
  r.controls.terms = static_cast<int>(terms);
  r.controls.reduce = reduce == 1 ? ReduceRule::Yes : reduce == 2 ? ReduceRule::No : ReduceRule::Any;
  r.controls.mixedAnswers = (flags & 4u) != 0;
  r.controls.version = static_cast<char>('A' + version_letter);
  r.controls.maxAnswer = static_cast<int64_t>(maxAnswer);
  r.controls.seed = seed;
  r.finalForm = static_cast<AssignmentFinal>(finalForm);
  r.feedback = static_cast<AssignmentFeedback>(feedback);
  if (!CheckSheetControls(r.controls).empty()) return MSG_DAMAGED;
  a = r;
  return "";
}

std::string CheckSiteAddress(const std::string& text) {
  if (text.empty()) return "サイトのアドレスを入れてください（例 https://www.example.ed.jp/kazoru/）。";
  if (text.size() > HANDOUT_SITE_MAX)
    return "サイトのアドレスが長すぎます（" + std::to_string(HANDOUT_SITE_MAX) + " 文字まで）。";
  if (text.rfind("https://", 0) != 0 && text.rfind("http://", 0) != 0)
    return "サイトのアドレスは https:// か http:// で始めてください。";
  for (const char c : text)
    if (c <= ' ' || c > '~') return "サイトのアドレスには、空白や全角の文字を入れられません。";
  const size_t host = text.find("://") + 3;
  if (host >= text.size() || text[host] == '/' || text[host] == '#')
    return "サイトのアドレスに、サーバーの名前がありません。";
  return "";
}

std::string HandoutSite(const std::string& setting, const std::string& fallback) {
  if (CheckSiteAddress(setting).empty()) return setting;
  return CheckSiteAddress(fallback).empty() ? fallback : ASSIGNMENT_DEFAULT_SITE;
}

std::string AssignmentLink(const std::string& site, const std::string& code) {
  std::string base = site.empty() ? std::string(ASSIGNMENT_DEFAULT_SITE) : site;
  const size_t hash = base.find('#');
  if (hash != std::string::npos) base.resize(hash);
  return base + ASSIGNMENT_LINK_KEY + code;
}

std::string GroupedCode(const std::string& code) {
  std::string out;
  for (size_t k = 0; k < code.size(); ++k) {
    if (k > 0 && k % 4 == 0) out += '-';
    out += code[k];
  }
  return out;
}

StepOptions AssignmentStepOptions(const Assignment& a) {
  StepOptions o;
  o.finalForm = a.finalForm == AssignmentFinal::Improper ? StepFinalForm::Improper : StepFinalForm::Mixed;
  o.hints = false;
  return o;
}

bool AssignmentFinalNoteCounts(const Assignment& a, const std::string& note) {
  if (note.empty()) return false;
  if (a.finalForm == AssignmentFinal::Either && note == "improper-left") return false;
  return true;
}

Sheet AssignmentSheet(const Assignment& a) { return MakeSheet(a.controls); }
