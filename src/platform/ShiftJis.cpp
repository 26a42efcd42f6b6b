// CP932 byte counts and conversions between CP932 and UTF-8.
#include "platform/ShiftJis.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

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

bool Convert(const char* to, const char* from, std::string_view in, std::string& out, std::size_t* bad) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    if (bad) *bad = 0;
    return false;
  }
  std::string result;
  std::vector<char> buf(4096);
  char* inp = const_cast<char*>(in.data());
  std::size_t inleft = in.size();
  bool ok = true;
  while (inleft > 0) {
    char* outp = buf.data();
    std::size_t outleft = buf.size();
    std::size_t r = iconv(cd, &inp, &inleft, &outp, &outleft);
    result.append(buf.data(), buf.size() - outleft);
    if (r == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      ok = false;
      if (bad) *bad = in.size() - inleft;
      break;
    }
  }
  if (ok) {
    // Flush any shift state.
    char* outp = buf.data();
    std::size_t outleft = buf.size();
    iconv(cd, nullptr, nullptr, &outp, &outleft);
    result.append(buf.data(), buf.size() - outleft);
  }
  iconv_close(cd);
  if (ok) out = std::move(result);
  return ok;
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
  return Convert("UTF-8", "CP932", cp932, out, badOffset);
}

bool Utf8ToCp932(std::string_view utf8, std::string& out, std::size_t* badOffset) {
  return Convert("CP932", "UTF-8", utf8, out, badOffset);
}
