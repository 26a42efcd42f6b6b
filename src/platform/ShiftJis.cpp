// CP932 byte counts and conversions between CP932 and UTF-8.
#include "platform/ShiftJis.h"

#include <algorithm>
#include <vector>

#include "platform/Cp932Table.h"

namespace {

// Decodes one UTF-8 character at s[i]; returns its length (1 for an invalid byte) and the code point.
std::size_t DecodeOne(std::string_view s, std::size_t i, char32_t& cp) {
  unsigned char c = static_cast<unsigned char>(s[i]);
  std::size_t len = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
  if (len == 0 || i + len > s.size()) {
    cp = c;
    return 1;
  }
  if (len == 1) {
    cp = c;
    return 1;
  }
  cp = c & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    unsigned char d = static_cast<unsigned char>(s[i + k]);
    if ((d & 0xC0) != 0x80) {
      cp = c;
      return 1;
    }
    cp = (cp << 6) | (d & 0x3F);
  }
  return len;
}

// Reads one strict UTF-8 character at s[i] (no overlong forms, no surrogates, nothing above U+10FFFF);
// returns its length, or 0 when the bytes there are not one.
std::size_t DecodeStrict(std::string_view s, std::size_t i, char32_t& cp) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  if (c < 0x80) {
    cp = c;
    return 1;
  }
  std::size_t len;
  char32_t least;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
    least = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    least = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    least = 0x10000;
  } else {
    return 0;
  }
  if (s.size() - i < len) return 0;
  cp = c & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    const unsigned char d = static_cast<unsigned char>(s[i + k]);
    if ((d & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (d & 0x3F);
  }
  if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

int LeadIndex(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1); }

// Every character above ASCII with the code it is written as, sorted by code point: made from the reading
// tables on first use (the rule in Cp932Table.h), so the program carries no second table.
const std::vector<Cp932Pair>& EncodeTable() {
  static const std::vector<Cp932Pair> table = [] {
    std::vector<Cp932Pair> t(CP932_ONE_WAY, CP932_ONE_WAY + CP932_ONE_WAY_COUNT);
    t.reserve(CP932_ENCODE_COUNT + CP932_ONE_WAY_COUNT);
    const auto add = [&t](uint16_t unicode, int code) {
      if (unicode >= 0x80) t.push_back({unicode, static_cast<uint16_t>(code)});
    };
    for (int b = 0x80; b < 0x100; ++b)
      if (CP932_SINGLE[b] < CP932_LEAD) add(CP932_SINGLE[b], b);
    for (int pass = 0; pass < 2; ++pass) {
      // The NEC-selected IBM extensions come last, so that a character read by another code too is
      // written as that code.
      for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        if ((lead == 0xED || lead == 0xEE) != (pass == 1)) continue;
        for (int k = 0; k < CP932_TRAIL_COUNT; ++k) {
          const uint16_t cp =
              CP932_DOUBLE[LeadIndex(static_cast<unsigned char>(lead)) * CP932_TRAIL_COUNT + k];
          if (cp) add(cp, lead << 8 | (CP932_TRAIL_FIRST + k));
        }
      }
    }
    // The first code of each character is kept (a stable sort keeps the order of the codes).
    std::stable_sort(t.begin(), t.end(),
                     [](const Cp932Pair& a, const Cp932Pair& b) { return a.unicode < b.unicode; });
    t.erase(std::unique(t.begin(), t.end(),
                        [](const Cp932Pair& a, const Cp932Pair& b) { return a.unicode == b.unicode; }),
            t.end());
    return t;
  }();
  return table;
}

// The CP932 code of a character above ASCII; -1 when CP932 does not hold it.
int EncodeOne(char32_t cp) {
  if (cp > 0xFFFF) return -1;
  const std::vector<Cp932Pair>& table = EncodeTable();
  const auto it = std::lower_bound(table.begin(), table.end(), cp,
                                   [](const Cp932Pair& p, char32_t v) { return p.unicode < v; });
  if (it == table.end() || it->unicode != cp) return -1;
  return it->code;
}

}  // namespace

std::size_t SjisLength(std::string_view utf8) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp;
    std::size_t len = DecodeOne(utf8, i, cp);
    if (len == 1)
      n += 1;
    else
      n += (cp >= 0xFF61 && cp <= 0xFF9F) ? 1 : 2;
    i += len;
  }
  return n;
}

std::size_t Utf8CharLength(std::string_view utf8) {
  if (utf8.empty()) return 0;
  char32_t cp = 0;
  return DecodeOne(utf8, 0, cp);
}

std::size_t Utf8Length(std::string_view utf8) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < utf8.size(); ++n) {
    char32_t cp;
    i += DecodeOne(utf8, i, cp);
  }
  return n;
}

std::string Utf8Left(std::string_view utf8, std::size_t n) {
  std::size_t i = 0;
  for (std::size_t k = 0; k < n && i < utf8.size(); ++k) {
    char32_t cp;
    i += DecodeOne(utf8, i, cp);
  }
  return std::string(utf8.substr(0, i));
}

std::string SjisLeft(std::string_view utf8, std::size_t maxBytes) {
  std::size_t i = 0, bytes = 0;
  while (i < utf8.size()) {
    char32_t cp;
    std::size_t len = DecodeOne(utf8, i, cp);
    std::size_t w = (len == 1) ? 1 : (cp >= 0xFF61 && cp <= 0xFF9F) ? 1 : 2;
    if (bytes + w > maxBytes) break;
    bytes += w;
    i += len;
  }
  return std::string(utf8.substr(0, i));
}

bool Cp932ToUtf8(std::string_view cp932, std::string& out, std::size_t* badOffset) {
  std::string result;
  result.reserve(cp932.size() + cp932.size() / 2);
  for (std::size_t i = 0; i < cp932.size();) {
    const unsigned char b = static_cast<unsigned char>(cp932[i]);
    const uint16_t single = CP932_SINGLE[b];
    char32_t cp = 0;
    std::size_t len = 1;
    if (single == CP932_LEAD) {
      const int trail = i + 1 < cp932.size() ? static_cast<unsigned char>(cp932[i + 1]) : -1;
      if (trail >= CP932_TRAIL_FIRST && trail < CP932_TRAIL_FIRST + CP932_TRAIL_COUNT)
        cp = CP932_DOUBLE[LeadIndex(b) * CP932_TRAIL_COUNT + (trail - CP932_TRAIL_FIRST)];
      len = 2;
    } else if (single != CP932_INVALID) {
      cp = single;
      if (cp == 0) {
        result += '\0';
        ++i;
        continue;
      }
    }
    if (cp == 0) {
      if (badOffset) *badOffset = i;
      return false;
    }
    AppendUtf8(result, cp);
    i += len;
  }
  out = std::move(result);
  return true;
}

bool Utf8ToCp932(std::string_view utf8, std::string& out, std::size_t* badOffset) {
  std::string result;
  result.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp;
    const std::size_t len = DecodeStrict(utf8, i, cp);
    int code = -1;
    if (len != 0 && cp < 0x80) {
      code = static_cast<int>(cp);
    } else if (len != 0 && cp >= CP932_IGNORED_FIRST && cp <= CP932_IGNORED_LAST) {
      i += len;
      continue;
    } else if (len != 0) {
      code = EncodeOne(cp);
    }
    if (code < 0) {
      if (badOffset) *badOffset = i;
      return false;
    }
    if (code > 0xFF) result += static_cast<char>(code >> 8);
    result += static_cast<char>(code & 0xFF);
    i += len;
  }
  out = std::move(result);
  return true;
}
