// Reads numbers written in the calculator's notation into exact fractions and writes them back, writes
// decimal expansions, divides with a remainder, and provides the small text operations on expression texts.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "engine/Bunio.h"
#include "engine/Bunsuu.h"
#include "engine/Characters.h"
#include "platform/Platform.h"

BunioState BunioData;

void BunioState::Reset() { *this = BunioState{}; }

void ResetBunio() { BunioData.Reset(); }

namespace {

bool Holds(const std::string& text, char c) { return text.find(c) != std::string::npos; }

// The value of a digit text that FitsInt64Text accepted.
int64_t ReadInt64(const std::string& text) {
  return static_cast<int64_t>(std::strtoll(text.c_str(), nullptr, 10));
}

// Reads one part of a number (whole, denominator or numerator); false after the range message.
bool ReadPart(const std::string& text, int64_t& value) {
  if (!FitsInt64Text(text, 1)) return false;
  value = ReadInt64(text);
  return true;
}

Bunsuu ParseDecimal(std::string text) {
  int sign = 1;
  if (!text.empty() && (text[0] == 'm' || text[0] == '-')) {
    sign = -1;
    text.erase(0, 1);
  } else if (!text.empty() && (text[0] == 'p' || text[0] == '+')) {
    text.erase(0, 1);
  }
  Bunsuu repeating = BUNSUU_ZERO;
  bool hasRepeating = false;
  size_t at = text.find('@');
  if (at != std::string::npos) {
    // d.s@r: the repeating digits r over (10^|r| - 1) × 10^|s|, i.e. |r| nines then |s| zeros.
    size_t point = text.find('.');
    std::string after = text.substr(at + 1);
    size_t between = (point != std::string::npos && point < at) ? at - point - 1 : 0;
    std::string fraction = std::string(after.size(), '9') + std::string(between, '0') + "b" + after;
    repeating = ParseNumber(fraction);
    if (repeating.den == 0) return BUNSUU_ERROR;
    hasRepeating = true;
    text.erase(at);
    if (!text.empty() && text.back() == '.') text += "0";
  }
  size_t point = text.find('.');
  std::string intDigits = text.substr(0, point);
  std::string fracDigits = point == std::string::npos ? std::string() : text.substr(point + 1);
  int64_t whole = 0;
  int64_t num = 0;
  if (!ReadPart(intDigits, whole) || !ReadPart(fracDigits, num)) return BUNSUU_ERROR;
  if (whole < 0 || num < 0) return BUNSUU_ERROR;
  // The denominator is 10 to the number of fractional digits; past 18 digits it leaves the 64-bit range.
  int64_t den = 1;
  for (size_t i = 0; i < fracDigits.size(); ++i) {
    if (!MulFits(den, 10)) return BUNSUU_ERROR;
    den *= 10;
  }
  Bunsuu value = (whole == 0 && num == 0) ? BUNSUU_ZERO : MakeBunsuu(sign, whole, den, num);
  if (!hasRepeating) return value;
  repeating.sign = static_cast<int8_t>(sign);
  return Add(value, repeating);
}

// Parses a floating-point operand of the division with remainder: plain decimal notation only.
bool ReadDouble(const std::string& text, double& value) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!(IsDigit(c) || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E')) return false;
  }
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size()) return false;
  return std::isfinite(value);
}

// Digits of x rounded to `significant` significant digits and laid out in fixed notation (no exponent).
std::string FixedSignificant(double x, int significant) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, x);
  std::string s = buffer;
  size_t e = s.find('e');
  int exponent = std::atoi(s.c_str() + e + 1);
  std::string mantissa = s.substr(0, e);
  bool negative = !mantissa.empty() && mantissa[0] == '-';
  std::string digits;
  for (char c : mantissa) {
    if (IsDigit(c)) digits += c;
  }
  // digits = d0 d1 d2 ... with the point after d0, shifted by the exponent.
  int pointAt = 1 + exponent;
  std::string out;
  if (pointAt <= 0) {
    out = "0." + std::string(static_cast<size_t>(-pointAt), '0') + digits;
  } else if (static_cast<size_t>(pointAt) >= digits.size()) {
    out = digits + std::string(static_cast<size_t>(pointAt) - digits.size(), '0');
  } else {
    out = digits.substr(0, static_cast<size_t>(pointAt)) + "." + digits.substr(static_cast<size_t>(pointAt));
  }
  return negative ? "-" + out : out;
}

// Strips trailing zeros after a decimal point, and then the point itself.
std::string StripFraction(std::string s) {
  if (!Holds(s, '.')) return s;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

}  // namespace

bool FitsInt64Text(const std::string& text, int show) {
  bool fits = false;
  bool digitsOnly = false;
  size_t start = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (text.size() > start) {
    fits = true;
    digitsOnly = true;
    for (size_t i = start; i < text.size(); ++i)
      if (!IsDigit(text[i])) digitsOnly = false;
    // Compare the digits against the bound as a number, without converting past the range.
    unsigned __int128 value = 0;
    const unsigned __int128 bound =
        text[0] == '-' ? static_cast<unsigned __int128>(std::numeric_limits<int64_t>::max()) + 1
                       : static_cast<unsigned __int128>(std::numeric_limits<int64_t>::max());
    for (size_t i = start; i < text.size() && fits; ++i) {
      if (!IsDigit(text[i])) {
        fits = false;
      } else {
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
        if (value > bound) fits = false;
      }
    }
  }
  // Only a number too large is reported as beyond the range; a text that is no number at all (an
  // expression, a cut-off decimal "…u") is the caller's to explain.
  if (!fits && digitsOnly && show == 1) {
    ShowMessage("(int64StrMaxCheck)\n文字列< " + text + " >は int64 の有効値を超えた。", "警告!!");
  }
  return fits;
}

Bunsuu ParseNumber(const std::string& input) {
  std::string text = StripParentheses(input, 1);
  if (Holds(text, '.')) return ParseDecimal(text);
  int sign = 1;
  if (!text.empty() && (text[0] == 'm' || text[0] == '-')) {
    sign = -1;
    text.erase(0, 1);
  } else if (!text.empty() && (text[0] == 'p' || text[0] == '+')) {
    text.erase(0, 1);
  }
  int64_t whole = 0;
  size_t k = text.find('k');
  if (k != std::string::npos) {
    if (!ReadPart(text.substr(0, k), whole)) return BUNSUU_ERROR;
    text.erase(0, k + 1);
  }
  int64_t den = 1;
  int64_t num = 0;
  size_t b = text.find('b');
  if (b == std::string::npos) {
    if (!ReadPart(text, num)) return BUNSUU_ERROR;
    if (num == 0 && whole == 0) sign = 0;
  } else {
    if (!ReadPart(text.substr(0, b), den) || !ReadPart(text.substr(b + 1), num)) return BUNSUU_ERROR;
  }
  // A part written with its own sign ("3b-2") is no number of the notation.
  if (whole < 0 || den < 0 || num < 0) return BUNSUU_ERROR;
  // A zero denominator is kept: den 0 is the error marker that callers test.
  return Bunsuu{static_cast<int8_t>(sign), whole, den, num};
}

std::string FormatBunsuu(const Bunsuu& b, int paren) {
  if (b.den == 0) return "n";
  if (b.sign == 0) return "0";
  if (b.num == 0 && b.whole == 0) return "0";
  bool wrap = b.sign < 0 && paren == 1;
  std::string text = b.sign < 0 ? (wrap ? "(m" : "m") : "";
  if (b.num == 0) {
    text += std::to_string(b.whole);
  } else {
    if (b.whole > 0) text += std::to_string(b.whole) + "k";
    text += std::to_string(b.den) + "b" + std::to_string(b.num);
  }
  if (wrap) text += ")";
  return text;
}

std::string DecimalText(const Bunsuu& input) {
  Bunsuu b = ToMixed(input);
  if (b.den == 0) return "n";
  if (b.sign == 0) {
    DecimalTerminates = true;
    return "0";
  }
  if (b.num == 0) {
    DecimalTerminates = true;
    return (b.sign < 0 ? "m" : "") + std::to_string(b.whole);
  }
  // 18 decimals by long division, rounded half up at the 18th; the quotient is below 1 (proper form).
  const int PLACES = 18;
  unsigned __int128 remainder = static_cast<unsigned __int128>(b.num);
  const unsigned __int128 den = static_cast<unsigned __int128>(b.den);
  std::string digits;
  for (int i = 0; i < PLACES; ++i) {
    remainder *= 10;
    digits += static_cast<char>('0' + static_cast<int>(remainder / den));
    remainder %= den;
  }
  unsigned __int128 whole = static_cast<unsigned __int128>(b.whole);
  if (remainder * 2 >= den) {
    int i = PLACES - 1;
    while (i >= 0 && digits[static_cast<size_t>(i)] == '9') {
      digits[static_cast<size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++digits[static_cast<size_t>(i)];
    } else {
      whole += 1;  // 0.999…95 and above rounds up to the next whole
    }
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  std::string wholeText;
  do {
    wholeText.insert(wholeText.begin(), static_cast<char>('0' + static_cast<int>(whole % 10)));
    whole /= 10;
  } while (whole != 0);
  DecimalTerminates = IsTerminating(b.den / Gcd64(b.num, b.den));
  std::string text = (b.sign < 0 ? "m" : "") + wholeText;
  if (!digits.empty()) text += "." + digits;
  return text;
}

int NumberKind(const std::string& text) {
  if (ParseNumber(text).den == 0) return -1;
  if (Holds(text, 'b')) return -1;
  if (Holds(text, '.')) return Holds(text, '@') ? 2 : 1;
  return 0;
}

bool IsReducibleText(const std::string& text) { return IsReducible(ParseNumber(text)); }

bool IsSingleNumber(const std::string& text) {
  if (FirstOperator(text).kind != -1) return false;
  int depth = 0;
  for (char c : text) {
    if (c == '(') ++depth;
    if (c == ')' && --depth < 0) return false;
  }
  if (depth != 0) return false;
  if (Holds(text, '.')) return text.front() != '.' && text.back() != '.';
  bool k = Holds(text, 'k');
  bool b = Holds(text, 'b');
  if (!k && !b) return true;
  if (k && !b) return false;
  return k || text.back() != 'b';
}

std::string DivideWithRemainder(const std::string& text, int places) {
  size_t slash = text.find('/');
  if (slash == std::string::npos) return "n";
  std::string aText = text.substr(0, slash);
  std::string bText = text.substr(slash + 1);
  double a = 0;
  double b = 0;
  if (!ReadDouble(aText, a) || !ReadDouble(bText, b) || b == 0) return "n";
  if (places < 0) places = 0;
  if (places > 100) places = 100;
  size_t point = bText.find('.');
  int f = 0;
  if (point != std::string::npos) {
    size_t end = bText.find_first_of("eE", point);
    f = static_cast<int>((end == std::string::npos ? bText.size() : end) - point - 1);
  }
  double quotient = a / b;
  if (!std::isfinite(quotient)) return "n";
  // 15 significant digits, written without an exponent so that cutting the decimals keeps the value.
  std::string q = FixedSignificant(quotient, 15);
  size_t qPoint = q.find('.');
  if (qPoint != std::string::npos) {
    if (q.size() > qPoint + 1 + static_cast<size_t>(places))
      q.erase(qPoint + 1 + static_cast<size_t>(places));
    q = StripFraction(q);
  }
  if (q.empty() || q == "-") q = "0";
  double qValue = std::strtod(q.c_str(), nullptr);
  double remainder = a - b * qValue;
  if (!std::isfinite(remainder)) return "n";
  // The remainder rounded to 15 significant digits, then to places + f decimals.
  double rounded = remainder == 0 ? 0.0 : std::strtod(FixedSignificant(remainder, 15).c_str(), nullptr);
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, "%.*f", places + f, rounded);
  std::string r = StripFraction(buffer);
  double rValue = std::strtod(r.c_str(), nullptr);
  if (rValue > 0) return q + "R" + r;
  return q;
}

std::string StripParentheses(const std::string& input, int kind) {
  auto strip = [](std::string text, char open, char close) {
    while (text.size() >= 2 && text.front() == open && text.back() == close) {
      // The first character must open the group that the last one closes.
      int depth = 0;
      bool encloses = true;
      for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == open) ++depth;
        if (text[i] == close) --depth;
        if (depth == 0) {
          encloses = false;
          break;
        }
      }
      if (!encloses) break;
      text = text.substr(1, text.size() - 2);
    }
    return text;
  };
  switch (kind) {
    case 0: return strip(strip(input, '(', ')'), '[', ']');
    case 1: return strip(input, '(', ')');
    case 2: return strip(input, '[', ']');
    default: return input;
  }
}

std::string CutAtEquals(const std::string& text, int keep) {
  size_t eq = text.find('=');
  if (eq == std::string::npos) {
    TextAfterEquals.clear();
    return text;
  }
  TextAfterEquals = text.substr(eq + 1);
  return text.substr(0, eq) + (keep == 1 ? "=" : "");
}

std::string LastAnswerPiece(const std::string& input) {
  std::string text = input;
  for (;;) {
    size_t eq = text.find('=');
    if (eq == std::string::npos || eq + 1 == text.size()) return text;
    text.erase(0, eq + 1);
  }
}

std::string SplitAtAmpersand(const std::string& text) {
  size_t amp = text.find('&');
  if (amp == std::string::npos) {
    TextAfterAmpersand.clear();
    return text;
  }
  TextAfterAmpersand = text.substr(amp + 1);
  return text.substr(0, amp);
}

std::string CutForSolver(const std::string& text, int keep) {
  return Holds(text, 'x') ? SplitAtAmpersand(text) : CutAtEquals(text, keep);
}

std::string StripLeading(const std::string& text, char c) {
  size_t start = text.find_first_not_of(c);
  return start == std::string::npos ? std::string() : text.substr(start);
}

std::string StripTrailing(const std::string& text, char c) {
  size_t end = text.find_last_not_of(c);
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

int CountOccurrences(const std::string& text, const std::string& sub) {
  if (sub.empty()) return 0;
  int count = 0;
  for (size_t at = text.find(sub); at != std::string::npos; at = text.find(sub, at + sub.size())) ++count;
  return count;
}

int FindLast(const std::string& text, char c, int include) {
  size_t at = text.rfind(c);
  if (at == std::string::npos) {
    FoundText.clear();
    return 0;
  }
  FoundText = text.substr(include == 1 ? at : at + 1);
  return static_cast<int>(at) + 1;
}

int FirstInSet(const std::string& text, const std::string& set) {
  FoundChar = '\0';
  FoundText.clear();
  if (text.empty() || set.empty()) return -1;
  size_t at = text.find_first_of(set);
  if (at == std::string::npos) return 0;
  FoundChar = text[at];
  FoundText = text.substr(at);
  return static_cast<int>(at) + 1;
}

int FirstNotInSet(const std::string& text, const std::string& set) {
  FoundChar = '\0';
  FoundText.clear();
  size_t at = text.find_first_not_of(set);
  if (at == std::string::npos) return 0;
  FoundChar = text[at];
  FoundText = text.substr(at);
  return static_cast<int>(at) + 1;
}

bool IsOperatorChar(char c) {
  switch (c) {
    case '+':
    case '-':
    case '*':
    case '/':
    case '^':
    case '=':
    case ':': return true;
    default: return false;
  }
}

OperatorFound FirstOperator(const std::string& text) {
  static const char OPERATORS[] = "+-*/^!PC";
  for (int kind = 1; kind <= 8; ++kind) {
    size_t at = text.find(OPERATORS[kind - 1]);
    // A character at the first position is a sign, not an operator.
    if (at != std::string::npos && at >= 1) return OperatorFound{kind, static_cast<int>(at) + 1};
  }
  return OperatorFound{};
}
