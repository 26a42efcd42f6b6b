// Expression fractions [sign whole K den B num]: building, reading and writing the four texts, computing
// the value through the evaluator, and replacing every bracket of an expression text by its value.
#include "engine/Bunsuuh.h"

#include "engine/BunMath.h"
#include "engine/BunMathWork.h"
#include "engine/Bunio.h"
#include "platform/Platform.h"

const BunsuuH BUNSUUH_EMPTY{"0", "0", "0", "0"};
BunsuuhState BunsuuhData;

using bunmath::CanonicalZero;
using bunmath::CountChar;
using bunmath::MARK_CLOSE;
using bunmath::MARK_OPEN;

namespace {

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

int64_t DigitsValue(const std::string& digits) {
  int64_t v = 0;
  for (char c : digits) v = v * 10 + (c - '0');
  return v;
}

// The value of one part of the bracket, in improper form; BUNSUU_ERROR when it cannot be computed.
Bunsuu PartValue(const std::string& text) {
  Bunsuu v = EvaluateNested(text);
  if (IsError(v)) return BUNSUU_ERROR;
  return ToImproper(CanonicalZero(v));
}

}  // namespace

void BunsuuhState::Reset() { *this = BunsuuhState{}; }

void ResetBunsuuh() { BunsuuhData.Reset(); }

BunsuuH MakeBunsuuh(const std::string& sign, const std::string& whole, const std::string& den,
                    const std::string& num) {
  if (sign.empty() || whole.empty() || den.empty() || num.empty()) {
    BunsuuhError = 8;
    return BUNSUUH_EMPTY;
  }
  BunsuuhError = 0;
  return BunsuuH{sign, whole, den, num};
}

BunsuuH MakeBunsuuhFromSign(int sign, const std::string& whole, const std::string& den,
                            const std::string& num) {
  return MakeBunsuuh(sign == 1 ? "+1" : sign == -1 ? "-1" : "0", whole, den, num);
}

BunsuuH ParseBunsuuh(const std::string& text) {
  BunsuuhError = 0;
  if (text.size() < 2 || text.front() != '[' || text.back() != ']') {
    BunsuuhError = 1;
    return BUNSUUH_EMPTY;
  }
  std::string t = text.substr(1, text.size() - 2);
  std::string sign = "+1";
  std::string whole = "0";
  auto takeSign = [&]() {
    if (!t.empty() && (t[0] == 'm' || t[0] == '-')) {
      sign = "-1";
      t.erase(0, 1);
    } else if (!t.empty() && (t[0] == 'p' || t[0] == '+')) {
      sign = "+1";
      t.erase(0, 1);
    }
  };
  size_t k = t.find('K');
  if (k != std::string::npos) {
    takeSign();
    k = t.find('K');
    std::string w = t.substr(0, k);
    if (w.empty()) w = "0";
    if (!AllDigits(w) || !FitsInt64Text(w, 0)) {
      BunsuuhError = 3;
      return BUNSUUH_EMPTY;
    }
    whole = w;
    t.erase(0, k + 1);
  }
  size_t b = t.find('B');
  if (b != std::string::npos) return MakeBunsuuh(sign, whole, t.substr(0, b), t.substr(b + 1));
  // Without "B" the bracket is an integer ([5] is 5); a "K" without its fraction is a missing part.
  if (k != std::string::npos) {
    BunsuuhError = 4;
    return BUNSUUH_EMPTY;
  }
  takeSign();
  whole = t;
  if (whole == "0") sign = "0";
  return MakeBunsuuh(sign, whole, "1", "0");
}

Bunsuu BunsuuhValue(const BunsuuH& h) {
  if (h.sign.empty() || h.sign == "0") return BUNSUU_ZERO;
  const int s = SignOfText(h.sign) == -1 ? -1 : 1;
  if (!AllDigits(h.whole) || !FitsInt64Text(h.whole, 0)) return BUNSUU_ERROR;
  const int64_t w = DigitsValue(h.whole);

  Bunsuu d = PartValue(h.den);
  if (IsError(d)) return BUNSUU_ERROR;
  Bunsuu n = PartValue(h.num);
  if (IsError(n)) return BUNSUU_ERROR;
  // The quotient goes through the evaluator, so a denominator expression worth 0 shows its division
  // messages.
  Bunsuu q = EvaluateNested(FormatBunsuu(n, 1) + "/" + FormatBunsuu(d, 1));
  if (IsError(q)) return BUNSUU_ERROR;
  q = ToImproper(CanonicalZero(q));
  if (IsError(q)) return BUNSUU_ERROR;

  if (q.sign < 0 && w > 0) {
    ShowMessage("[　] 内が､｢帯分数でかつ分数部の符号が負｣となる\n\n定義不能ｴﾗｰを発生しました。",
                "警告!! <bunHCalc>");
    return BUNSUU_ERROR;
  }
  if (q.sign == 0) return w == 0 ? BUNSUU_ZERO : MakeBunsuu(s, w, 1, 0);
  return MakeBunsuu(s * q.sign, w, q.den, q.num);
}

Bunsuu BunsuuhTextValue(const std::string& text) {
  BunsuuH h = ParseBunsuuh(text);
  if (BunsuuhError != 0 || h.den == "0") return BUNSUU_ERROR;
  return BunsuuhValue(h);
}

std::string FormatBunsuuh(const BunsuuH& h) {
  if (h.sign == "0") return "0";
  std::string out = "[";
  if (h.sign == "m") {
    out += h.whole == "0" ? "mK" : "m" + h.whole + "K";
  } else if (h.whole != "0") {
    out += h.whole + "K";
  }
  out += h.den;
  out += 'B';
  out += h.num;
  out += ']';
  return out;
}

int SignOfText(const std::string& text) {
  if (text.empty()) return -2;
  switch (text[0]) {
    case '0': return 0;
    case '+':
    case 'p':
    case 'P':
    case '1': return 1;
    case '-':
    case 'm':
    case 'M': return -1;
    default: return -2;
  }
}

std::string ReplaceExpressionFractions(const std::string& text) {
  BunsuuhError = 0;
  std::string t = text;
  // Every round replaces one "]" (by a value, or by ">~" for a bracket that holds an unknown).
  for (size_t close = t.find(']'); close != std::string::npos; close = t.find(']')) {
    size_t open = t.find('[');
    if (open == std::string::npos || open > close) {
      BunsuuhError = 10;
      return "n";
    }
    std::string bracket = t.substr(open, close - open + 1);
    std::string replacement;
    if (bracket.find_first_of("xyz") != std::string::npos) {
      replacement = "~<" + bracket.substr(1, bracket.size() - 2) + ">~";
    } else {
      Bunsuu v = BunsuuhTextValue(bracket);
      if (IsError(v)) {
        BunsuuhError = 11;
        return "n";
      }
      replacement = FormatBunsuu(v, 1);
      if (replacement == "n") {
        BunsuuhError = 12;
        return "n";
      }
      // Before "^" the value is the base of the power as a whole: [3B1]^2 is (3b1)^2.
      if (close + 1 < t.size() && t[close + 1] == '^' && replacement[0] != '(')
        replacement = "(" + replacement + ")";
    }
    t.replace(open, close - open + 1, replacement);
  }
  for (size_t at = t.find("~<"); at != std::string::npos; at = t.find("~<", at)) t.replace(at, 2, "[");
  for (size_t at = t.find(">~"); at != std::string::npos; at = t.find(">~", at)) t.replace(at, 2, "]");
  return RemoveSimpleBrackets(t, OtherGroups::PassOver);
}
