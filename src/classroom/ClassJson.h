// A small JSON reader and writer for the classroom files (the pupils' result files and the summaries made
// from them). The reader takes text from outside the program: it is bounded in depth, checks UTF-8 and
// every escape, never throws, and says in Japanese why a text is not JSON. Numbers are kept as written
// and read as whole numbers on request.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace classjson {

enum class Type { Null, Bool, Number, String, Array, Object };

struct Member;

struct Value {
  Type type = Type::Null;
  bool boolean = false;
  std::string text;  // String: the decoded UTF-8 text; Number: the number as written
  std::vector<Value> items;  // Array
  std::vector<Member> members;  // Object, in written order

  // The member of an object with that key (the last one when written twice), or nullptr.
  const Value* Find(const std::string& key) const;
  // A Number that is a whole number in [lo, hi]: true and sets out.
  bool Int(int64_t lo, int64_t hi, int64_t& out) const;
};

struct Member {
  std::string key;
  Value value;
};

struct Limits {
  int maxDepth = 16;  // arrays and objects inside each other
  size_t maxString = 1 << 16;  // bytes of one string or key after decoding
  size_t maxItems = 1 << 16;  // items of one array or members of one object
  size_t maxValues = 1 << 18;  // values in the whole text
};

// Reads a whole JSON text (one value, white space around it allowed; a UTF-8 byte order mark at the
// start is skipped). On failure returns false and sets why (Japanese) and the 1-based byte position.
bool Parse(const std::string& text, Value& out, std::string& why, size_t& position,
           const Limits& limits = Limits{});

// True when s is well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsUtf8(const std::string& s);

// ---- Writing ------------------------------------------------------------------------------------------

// A JSON string literal of s (UTF-8 kept as it is; control characters escaped).
std::string Quote(const std::string& s);

// Builds one JSON text member by member: Object/Array open a level, End closes it.
class Writer {
 public:
  explicit Writer(bool pretty = false) : pretty_(pretty) {}
  Writer& Object();
  Writer& Array();
  Writer& End();
  Writer& Key(const std::string& key);
  Writer& String(const std::string& s);
  Writer& Int(int64_t v);
  Writer& Bool(bool b);
  Writer& Null();
  const std::string& Text() const { return out_; }

 private:
  void Before();
  void Newline();
  bool pretty_;
  std::string out_;
  std::vector<bool> first_;  // per open level: nothing written in it yet
  std::vector<bool> isObject_;
  bool afterKey_ = false;
};

}  // namespace classjson
