// The classroom files' JSON: a recursive reader bounded in depth and size, and a writer.
#include "classroom/ClassJson.h"

#include <cstdio>

namespace classjson {

const Value* Value::Find(const std::string& key) const {
  const Value* found = nullptr;
  for (const auto& [k, v] : members)
    if (k == key) found = &v;
  return found;
}

bool Value::Int(int64_t lo, int64_t hi, int64_t& out) const {
  if (type != Type::Number || text.empty()) return false;
  size_t k = 0;
  bool negative = false;
  if (text[0] == '-') {
    negative = true;
    k = 1;
  }
  // Whole numbers only, written without a fraction or an exponent ("12", "-3"; "12.0" is not one).
  if (k >= text.size()) return false;
  int64_t v = 0;
  for (; k < text.size(); ++k) {
    const char c = text[k];
    if (c < '0' || c > '9') return false;
    if (v > (INT64_MAX - (c - '0')) / 10) return false;
    v = v * 10 + (c - '0');
  }
  if (negative) v = -v;
  if (v < lo || v > hi) return false;
  out = v;
  return true;
}

namespace {

size_t Utf8Length(unsigned char c) {
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) return 2;
  if (c >= 0xE0 && c <= 0xEF) return 3;
  if (c >= 0xF0 && c <= 0xF4) return 4;
  return 0;
}

// The length of the well-formed UTF-8 sequence at s[k], or 0.
size_t Utf8At(const std::string& s, size_t k) {
  const unsigned char c = static_cast<unsigned char>(s[k]);
  const size_t n = Utf8Length(c);
  if (n == 0 || k + n > s.size()) return 0;
  for (size_t j = 1; j < n; ++j)
    if ((static_cast<unsigned char>(s[k + j]) & 0xC0) != 0x80) return 0;
  const unsigned char c1 = static_cast<unsigned char>(s[k + 1 < s.size() ? k + 1 : k]);
  if (c == 0xE0 && c1 < 0xA0) return 0;  // overlong
  if (c == 0xED && c1 >= 0xA0) return 0;  // surrogates
  if (c == 0xF0 && c1 < 0x90) return 0;  // overlong
  if (c == 0xF4 && c1 >= 0x90) return 0;  // above U+10FFFF
  return n;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

class Reader {
 public:
  Reader(const std::string& s, const Limits& l) : s_(s), limits_(l) {}

  bool Document(Value& out) {
    if (s_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
    Space();
    if (!ReadValue(out, 0)) return false;
    Space();
    if (pos_ != s_.size()) return Fail("JSON のあとに余分な文字があります。");
    return true;
  }

  std::string why;
  size_t pos_ = 0;

 private:
  bool Fail(const char* reason) {
    if (why.empty()) why = reason;
    return false;
  }
  void Space() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
      ++pos_;
  }
  bool Literal(const char* word) {
    size_t n = 0;
    while (word[n] != '\0') ++n;
    if (s_.compare(pos_, n, word) != 0) return Fail("JSON として読めない文字があります。");
    pos_ += n;
    return true;
  }

  bool ReadValue(Value& out, int depth) {
    if (pos_ >= s_.size()) return Fail("JSON が途中で終わっています。");
    if (++values_ > limits_.maxValues) return Fail("JSON の値が多すぎます。");
    const char c = s_[pos_];
    switch (c) {
      case '{': return ReadObject(out, depth + 1);
      case '[': return ReadArray(out, depth + 1);
      case '"': out.type = Type::String; return ReadString(out.text);
      case 't':
        out.type = Type::Bool;
        out.boolean = true;
        return Literal("true");
      case 'f':
        out.type = Type::Bool;
        out.boolean = false;
        return Literal("false");
      case 'n': out.type = Type::Null; return Literal("null");
      default:
        if (c == '-' || (c >= '0' && c <= '9')) return ReadNumber(out);
        return Fail("JSON として読めない文字があります。");
    }
  }

  bool ReadNumber(Value& out) {
    const size_t start = pos_;
    auto digits = [&]() {
      const size_t from = pos_;
      while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
      return pos_ - from;
    };
    if (s_[pos_] == '-') ++pos_;
    if (pos_ < s_.size() && s_[pos_] == '0') {
      ++pos_;
    } else if (digits() == 0) {
      return Fail("数の書き方がまちがっています。");
    }
    if (pos_ < s_.size() && s_[pos_] == '.') {
      ++pos_;
      if (digits() == 0) return Fail("数の書き方がまちがっています。");
    }
    if (pos_ < s_.size() && (s_[pos_] == 'e' || s_[pos_] == 'E')) {
      ++pos_;
      if (pos_ < s_.size() && (s_[pos_] == '+' || s_[pos_] == '-')) ++pos_;
      if (digits() == 0) return Fail("数の書き方がまちがっています。");
    }
    if (pos_ - start > 64) return Fail("数が長すぎます。");
    out.type = Type::Number;
    out.text = s_.substr(start, pos_ - start);
    return true;
  }

  bool Hex4(uint32_t& v) {
    if (pos_ + 4 > s_.size()) return Fail("JSON が途中で終わっています。");
    v = 0;
    for (int k = 0; k < 4; ++k) {
      const char c = s_[pos_++];
      v <<= 4;
      if (c >= '0' && c <= '9')
        v |= static_cast<uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        v |= static_cast<uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        v |= static_cast<uint32_t>(c - 'A' + 10);
      else
        return Fail("文字列の \\u のあとが16進数ではありません。");
    }
    return true;
  }

  bool ReadString(std::string& out) {
    ++pos_;  // the opening quote
    out.clear();
    while (true) {
      if (pos_ >= s_.size()) return Fail("文字列が閉じていません。");
      if (out.size() > limits_.maxString) return Fail("文字列が長すぎます。");
      const unsigned char c = static_cast<unsigned char>(s_[pos_]);
      if (c == '"') {
        ++pos_;
        return true;
      }
      if (c < 0x20) return Fail("文字列の中に制御文字があります。");
      if (c == '\\') {
        if (++pos_ >= s_.size()) return Fail("文字列が閉じていません。");
        const char e = s_[pos_++];
        switch (e) {
          case '"': out += '"'; break;
          case '\\': out += '\\'; break;
          case '/': out += '/'; break;
          case 'b': out += '\b'; break;
          case 'f': out += '\f'; break;
          case 'n': out += '\n'; break;
          case 'r': out += '\r'; break;
          case 't': out += '\t'; break;
          case 'u': {
            uint32_t cp = 0;
            if (!Hex4(cp)) return false;
            if (cp >= 0xDC00 && cp <= 0xDFFF)
              return Fail("文字列の中に対になっていないサロゲートがあります。");
            if (cp >= 0xD800 && cp <= 0xDBFF) {
              uint32_t low = 0;
              if (s_.compare(pos_, 2, "\\u") != 0)
                return Fail("文字列の中に対になっていないサロゲートがあります。");
              pos_ += 2;
              if (!Hex4(low)) return false;
              if (low < 0xDC00 || low > 0xDFFF)
                return Fail("文字列の中に対になっていないサロゲートがあります。");
              cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
            }
            AppendUtf8(out, cp);
            break;
          }
          default: return Fail("文字列の \\ のあとの文字がまちがっています。");
        }
        continue;
      }
      const size_t n = Utf8At(s_, pos_);
      if (n == 0) return Fail("UTF-8 として正しくない文字があります。");
      out.append(s_, pos_, n);
      pos_ += n;
    }
  }

  bool ReadArray(Value& out, int depth) {
    if (depth > limits_.maxDepth) return Fail("入れ子が深すぎます。");
    out.type = Type::Array;
    ++pos_;
    Space();
    if (pos_ < s_.size() && s_[pos_] == ']') {
      ++pos_;
      return true;
    }
    while (true) {
      if (out.items.size() >= limits_.maxItems) return Fail("配列の要素が多すぎます。");
      out.items.emplace_back();
      Space();
      if (!ReadValue(out.items.back(), depth)) return false;
      Space();
      if (pos_ >= s_.size()) return Fail("JSON が途中で終わっています。");
      if (s_[pos_] == ']') {
        ++pos_;
        return true;
      }
      if (s_[pos_] != ',') return Fail("配列の区切りの「,」がありません。");
      ++pos_;
    }
  }

  bool ReadObject(Value& out, int depth) {
    if (depth > limits_.maxDepth) return Fail("入れ子が深すぎます。");
    out.type = Type::Object;
    ++pos_;
    Space();
    if (pos_ < s_.size() && s_[pos_] == '}') {
      ++pos_;
      return true;
    }
    while (true) {
      if (out.members.size() >= limits_.maxItems) return Fail("オブジェクトの項目が多すぎます。");
      Space();
      if (pos_ >= s_.size()) return Fail("JSON が途中で終わっています。");
      if (s_[pos_] != '"') return Fail("項目の名前がありません。");
      out.members.emplace_back();
      if (!ReadString(out.members.back().key)) return false;
      Space();
      if (pos_ >= s_.size() || s_[pos_] != ':') return Fail("項目の名前のあとに「:」がありません。");
      ++pos_;
      Space();
      if (!ReadValue(out.members.back().value, depth)) return false;
      Space();
      if (pos_ >= s_.size()) return Fail("JSON が途中で終わっています。");
      if (s_[pos_] == '}') {
        ++pos_;
        return true;
      }
      if (s_[pos_] != ',') return Fail("オブジェクトの区切りの「,」がありません。");
      ++pos_;
    }
  }

  const std::string& s_;
  const Limits& limits_;
  size_t values_ = 0;
};

}  // namespace

bool Parse(const std::string& text, Value& out, std::string& why, size_t& position, const Limits& limits) {
  out = Value{};
  Reader r(text, limits);
  if (r.Document(out)) {
    why.clear();
    position = 0;
    return true;
  }
  why = r.why;
  position = r.pos_ + 1;
  out = Value{};
  return false;
}

bool IsUtf8(const std::string& s) {
  for (size_t k = 0; k < s.size();) {
    const size_t n = Utf8At(s, k);
    if (n == 0) return false;
    k += n;
  }
  return true;
}

std::string Quote(const std::string& s) {
  std::string out = "\"";
  for (size_t k = 0; k < s.size(); ++k) {
    const char ch = s[k];
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 0x80) {
      // Well-formed UTF-8 is kept; a stray byte (a file name in another encoding) becomes U+FFFD.
      const size_t n = Utf8At(s, k);
      if (n == 0) {
        out += "\xEF\xBF\xBD";
      } else {
        out.append(s, k, n);
        k += n - 1;
      }
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

void Writer::Newline() {
  if (!pretty_) return;
  out_ += '\n';
  out_.append(2 * first_.size(), ' ');
}

void Writer::Before() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (first_.empty()) return;
  if (!first_.back()) out_ += ',';
  first_.back() = false;
  Newline();
}

Writer& Writer::Object() {
  Before();
  out_ += '{';
  first_.push_back(true);
  isObject_.push_back(true);
  return *this;
}

Writer& Writer::Array() {
  Before();
  out_ += '[';
  first_.push_back(true);
  isObject_.push_back(false);
  return *this;
}

Writer& Writer::End() {
  if (first_.empty()) return *this;
  const bool empty = first_.back();
  const bool object = isObject_.back();
  first_.pop_back();
  isObject_.pop_back();
  if (!empty) Newline();
  out_ += object ? '}' : ']';
  return *this;
}

Writer& Writer::Key(const std::string& key) {
  Before();
  out_ += Quote(key);
  out_ += pretty_ ? ": " : ":";
  afterKey_ = true;
  return *this;
}

Writer& Writer::String(const std::string& s) {
  Before();
  out_ += Quote(s);
  return *this;
}

Writer& Writer::Int(int64_t v) {
  Before();
  out_ += std::to_string(v);
  return *this;
}

Writer& Writer::Bool(bool b) {
  Before();
  out_ += b ? "true" : "false";
  return *this;
}

Writer& Writer::Null() {
  Before();
  out_ += "null";
  return *this;
}

}  // namespace classjson
