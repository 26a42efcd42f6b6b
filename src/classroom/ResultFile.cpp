// The result file's writer and reader, its file name and the ISO-8601 times in it.
#include "classroom/ResultFile.h"

#include <cstdio>

#include "classroom/ClassJson.h"

namespace {

size_t CharCount(const std::string& s) {
  size_t n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

// Days from 1970-01-01 of a date in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int64_t& m, int64_t& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = yoe + era * 400;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y += m <= 2;
}

bool Digits(const std::string& s, size_t at, size_t n, int64_t& v) {
  if (at + n > s.size()) return false;
  v = 0;
  for (size_t k = at; k < at + n; ++k) {
    if (s[k] < '0' || s[k] > '9') return false;
    v = v * 10 + (s[k] - '0');
  }
  return true;
}

// A name field: text of at most RESULT_MAX_NAME_CHARS characters, no control characters and nothing
// that would make it a path when it becomes part of a file name.
std::string CheckName(const std::string& field, const std::string& label, const std::string& v) {
  if (CharCount(v) > RESULT_MAX_NAME_CHARS)
    return label + "（" + field + "）が長すぎます（" + std::to_string(RESULT_MAX_NAME_CHARS) +
           " 文字まで）。";
  for (char ch : v) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F) return label + "（" + field + "）に制御文字があります。";
    if (c == '/' || c == '\\')
      return label + "（" + field + "）にファイルの場所を表す文字「" + ch + "」があります。";
  }
  if (v == "." || v == "..") return label + "（" + field + "）がファイルの場所を表す「" + v + "」です。";
  return "";
}

std::string TypeReason(const std::string& field, const char* wanted) {
  return "項目「" + field + "」が" + wanted + "ではありません。";
}

std::string Missing(const std::string& field) { return "項目「" + field + "」がありません。"; }

std::string ReadString(const classjson::Value& obj, const std::string& field, std::string& out,
                       bool required) {
  const classjson::Value* v = obj.Find(field);
  if (!v) return required ? Missing(field) : "";
  if (v->type != classjson::Type::String) return TypeReason(field, "文字列");
  out = v->text;
  return "";
}

std::string ReadProblem(const classjson::Value& v, size_t index, ResultProblem& p) {
  const std::string where = std::to_string(index + 1) + " 問目の";
  if (v.type != classjson::Type::Object) return where + "記録がオブジェクトではありません。";
  std::string why = ReadString(v, "problem", p.problem, true);
  if (why.empty()) why = ReadString(v, "answer", p.answer, false);
  if (!why.empty()) return where + why;
  const classjson::Value* w = v.Find("working");
  if (w) {
    if (w->type != classjson::Type::Array) return where + TypeReason("working", "配列");
    if (w->items.size() > RESULT_MAX_LINES)
      return where + "途中の式が多すぎます（" + std::to_string(RESULT_MAX_LINES) + " 行まで）。";
    for (const classjson::Value& line : w->items) {
      if (line.type != classjson::Type::String)
        return where + "途中の式（working）に文字列でないものがあります。";
      p.working.push_back(line.text);
    }
  }
  for (const std::string* s : {&p.problem, &p.answer})
    if (s->size() > RESULT_MAX_LINE_BYTES) return where + "式が長すぎます。";
  for (const std::string& s : p.working)
    if (s.size() > RESULT_MAX_LINE_BYTES) return where + "途中の式が長すぎます。";
  if (const classjson::Value* sec = v.Find("seconds")) {
    if (!sec->Int(0, RESULT_MAX_SECONDS, p.seconds))
      return where + "かかった時間（seconds）が 0 から " + std::to_string(RESULT_MAX_SECONDS) +
             " までの整数ではありません。";
  }
  return "";
}

std::string ReadVersion1(const classjson::Value& root, ResultFile& r) {
  std::string why;
  if (!(why = ReadString(root, "code", r.code, true)).empty()) return why;
  if (r.code.size() > 1000) return "課題のコードが長すぎます。";
  if (!(why = ReadString(root, "class", r.className, true)).empty()) return why;
  if (!(why = ReadString(root, "name", r.name, true)).empty()) return why;
  if (!(why = CheckName("class", "組", r.className)).empty()) return why;
  if (!(why = CheckName("name", "名前", r.name)).empty()) return why;
  const classjson::Value* number = root.Find("number");
  if (!number) return Missing("number");
  if (!number->Int(0, RESULT_MAX_NUMBER, r.number))
    return "番号（number）が 0 から " + std::to_string(RESULT_MAX_NUMBER) + " までの整数ではありません。";
  if (!(why = ReadString(root, "started", r.started, false)).empty()) return why;
  if (!(why = ReadString(root, "handedIn", r.handedIn, true)).empty()) return why;
  int64_t t = 0;
  if (!r.started.empty() && !ParseIsoTime(r.started, t))
    return "始めた時刻（started）が日時として読めません。";
  if (!ParseIsoTime(r.handedIn, t)) return "提出した時刻（handedIn）が日時として読めません。";
  const classjson::Value* problems = root.Find("problems");
  if (!problems) return Missing("problems");
  if (problems->type != classjson::Type::Array) return TypeReason("problems", "配列");
  if (problems->items.size() > RESULT_MAX_PROBLEMS)
    return "問題が多すぎます（" + std::to_string(problems->items.size()) + " 問。" +
           std::to_string(RESULT_MAX_PROBLEMS) + " 問まで）。";
  for (size_t k = 0; k < problems->items.size(); ++k) {
    r.problems.emplace_back();
    if (!(why = ReadProblem(problems->items[k], k, r.problems.back())).empty()) return why;
  }
  return "";
}

}  // namespace

std::string WriteResultFile(const ResultFile& r) {
  classjson::Writer w(true);
  w.Object();
  w.Key("format").String(RESULT_FORMAT_NAME);
  w.Key("version").Int(RESULT_FORMAT_VERSION);
  w.Key("code").String(r.code);
  w.Key("class").String(r.className);
  w.Key("number").Int(r.number);
  w.Key("name").String(r.name);
  w.Key("started").String(r.started);
  w.Key("handedIn").String(r.handedIn);
  w.Key("problems").Array();
  for (const ResultProblem& p : r.problems) {
    w.Object();
    w.Key("problem").String(p.problem);
    w.Key("working").Array();
    for (const std::string& s : p.working) w.String(s);
    w.End();
    w.Key("answer").String(p.answer);
    w.Key("seconds").Int(p.seconds);
    w.End();
  }
  w.End();
  w.End();
  return w.Text() + "\n";
}

std::string ReadResultFile(const std::string& bytes, ResultFile& out) {
  if (bytes.empty()) return "ファイルが空です。";
  if (bytes.size() > RESULT_MAX_BYTES)
    return "ファイルが大きすぎます（" + std::to_string(bytes.size() / 1024) + " KB。結果のファイルは " +
           std::to_string(RESULT_MAX_BYTES / 1024) + " KB までです）。";
  if (!classjson::IsUtf8(bytes))
    return "UTF-8 のテキストではありません（Kazoru の結果のファイルではありません）。";
  classjson::Value root;
  std::string why;
  size_t position = 0;
  classjson::Limits limits;
  limits.maxDepth = 8;
  limits.maxString = RESULT_MAX_LINE_BYTES * 4;
  limits.maxItems = 100000;
  limits.maxValues = 200000;
  if (!classjson::Parse(bytes, root, why, position, limits))
    return "JSON として読めません（" + std::to_string(position) + " バイト目: " + why + "）。";
  if (root.type != classjson::Type::Object)
    return "Kazoru の結果のファイルではありません（JSON のオブジェクトではありません）。";
  const classjson::Value* format = root.Find("format");
  if (!format || format->type != classjson::Type::String || format->text != RESULT_FORMAT_NAME)
    return "Kazoru の結果のファイルではありません（format が kazoru-result ではありません）。";
  const classjson::Value* version = root.Find("version");
  int64_t v = 0;
  if (!version) return Missing("version");
  if (!version->Int(1, 1000000, v)) return "版（version）が 1 以上の整数ではありません。";
  if (v > RESULT_FORMAT_VERSION)
    return "新しい版の Kazoru で作られた結果です（版 " + std::to_string(v) +
           "）。Kazoru を新しくしてください。";
  ResultFile r;
  r.version = static_cast<int>(v);
  // Every earlier version is read by its own function into today's record (there is one so far).
  why = ReadVersion1(root, r);
  if (!why.empty()) return why;
  out = std::move(r);
  return "";
}

std::string ResultFileName(const ResultFile& r, const std::string& title) {
  auto clean = [](const std::string& s, size_t maxBytes) {
    std::string out;
    for (size_t k = 0; k < s.size();) {
      const unsigned char c = static_cast<unsigned char>(s[k]);
      size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
      if (k + n > s.size()) n = 1;
      std::string ch = s.substr(k, n);
      if (n == 1 && (c < 0x20 || c == 0x7F || c >= 0x80 ||
                     std::string("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string::npos))
        ch = "_";
      if (out.size() + ch.size() > maxBytes) break;
      out += ch;
      k += n;
    }
    while (!out.empty() && (out.back() == '.' || out.back() == ' ')) out.back() = '_';
    if (!out.empty() && out.front() == '.') out.front() = '_';
    return out;
  };
  std::string name = clean(r.className, 60) + "-" + std::to_string(r.number) + "-" + clean(r.name, 60) + "-" +
                     clean(title, 100);
  return name + RESULT_EXTENSION;
}

bool ParseIsoTime(const std::string& s, int64_t& seconds) {
  int64_t y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0;
  if (s.size() < 19 || s.size() > 40) return false;
  if (!Digits(s, 0, 4, y) || s[4] != '-' || !Digits(s, 5, 2, mo) || s[7] != '-' || !Digits(s, 8, 2, d) ||
      (s[10] != 'T' && s[10] != 't' && s[10] != ' ') || !Digits(s, 11, 2, h) || s[13] != ':' ||
      !Digits(s, 14, 2, mi) || s[16] != ':' || !Digits(s, 17, 2, se))
    return false;
  static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (mo < 1 || mo > 12 || d < 1 || d > days[mo - 1] || (mo == 2 && d == 29 && !leap) || h > 23 || mi > 59 ||
      se > 60)
    return false;
  size_t k = 19;
  if (k < s.size() && s[k] == '.') {
    ++k;
    const size_t from = k;
    while (k < s.size() && s[k] >= '0' && s[k] <= '9') ++k;
    if (k == from) return false;
  }
  int64_t offset = 0;
  if (k < s.size()) {
    if (s[k] == 'Z' || s[k] == 'z') {
      ++k;
    } else if (s[k] == '+' || s[k] == '-') {
      int64_t oh = 0, om = 0;
      if (!Digits(s, k + 1, 2, oh) || k + 3 >= s.size() || s[k + 3] != ':' || !Digits(s, k + 4, 2, om) ||
          oh > 23 || om > 59)
        return false;
      offset = (oh * 60 + om) * 60 * (s[k] == '-' ? -1 : 1);
      k += 6;
    } else {
      return false;
    }
  }
  if (k != s.size()) return false;
  seconds = DaysFromCivil(y, mo, d) * 86400 + h * 3600 + mi * 60 + se - offset;
  return true;
}

std::string IsoTime(int64_t seconds, int offsetMinutes) {
  const int64_t local = seconds + static_cast<int64_t>(offsetMinutes) * 60;
  int64_t days = local / 86400, rest = local % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  int64_t y = 0, m = 0, d = 0;
  CivilFromDays(days, y, m, d);
  char buf[128];
  const int off = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
  std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lldT%02lld:%02lld:%02lld%c%02d:%02d",
                static_cast<long long>(y), static_cast<long long>(m), static_cast<long long>(d),
                static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                static_cast<long long>(rest % 60), offsetMinutes < 0 ? '-' : '+', off / 60, off % 60);
  return buf;
}
