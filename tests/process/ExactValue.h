// An exact evaluator of expression texts for the process tests, independent of the engine: 128-bit
// rationals over the notation's numbers, unary signs, + - * /, parentheses and expression fractions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace exact {

using I128 = __int128;

inline I128 Gcd(I128 a, I128 b) {
  if (a < 0) a = -a;
  if (b < 0) b = -b;
  while (b != 0) {
    I128 t = a % b;
    a = b;
    b = t;
  }
  return a;
}

struct Q {
  I128 n = 0, d = 1;
  static Q Make(I128 n, I128 d) {
    if (d < 0) {
      n = -n;
      d = -d;
    }
    I128 g = Gcd(n, d);
    if (g > 1) {
      n /= g;
      d /= g;
    }
    return Q{n, d};
  }
  friend Q operator+(Q a, Q b) { return Make(a.n * b.d + b.n * a.d, a.d * b.d); }
  friend Q operator-(Q a, Q b) { return Make(a.n * b.d - b.n * a.d, a.d * b.d); }
  friend Q operator*(Q a, Q b) { return Make(a.n * b.n, a.d * b.d); }
  friend bool operator==(Q a, Q b) { return a.n == b.n && a.d == b.d; }
};

inline std::string ToString(Q q) {
  auto s = [](I128 v) {
    bool neg = v < 0;
    if (neg) v = -v;
    std::string r;
    do {
      r.insert(r.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
      v /= 10;
    } while (v != 0);
    return neg ? "-" + r : r;
  };
  return s(q.n) + "/" + s(q.d);
}

// Recursive descent over one text; nullopt for anything it cannot read (or a zero divisor).
class Parser {
 public:
  explicit Parser(const std::string& t) : s_(t) {}
  std::optional<Q> All() {
    auto v = Sum();
    if (!v || i_ != s_.size()) return std::nullopt;
    return v;
  }

 private:
  const std::string& s_;
  size_t i_ = 0;
  char Peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }

  std::optional<Q> Sum() {
    auto v = Product();
    while (v && (Peek() == '+' || Peek() == '-')) {
      char op = s_[i_++];
      auto r = Product();
      if (!r) return std::nullopt;
      v = op == '+' ? *v + *r : *v - *r;
    }
    return v;
  }
  std::optional<Q> Product() {
    auto v = Unary();
    while (v && (Peek() == '*' || Peek() == '/')) {
      char op = s_[i_++];
      auto r = Unary();
      if (!r) return std::nullopt;
      if (op == '/') {
        if (r->n == 0) return std::nullopt;
        v = *v * Q::Make(r->d, r->n);
      } else {
        v = *v * *r;
      }
    }
    return v;
  }
  std::optional<Q> Unary() {
    if (Peek() == 'm' || Peek() == '-') {
      ++i_;
      auto v = Unary();
      if (!v) return std::nullopt;
      return Q::Make(-v->n, v->d);
    }
    if (Peek() == 'p' || Peek() == '+') {
      ++i_;
      return Unary();
    }
    return Primary();
  }
  std::optional<I128> Digits() {
    size_t from = i_;
    I128 v = 0;
    while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') v = v * 10 + (s_[i_++] - '0');
    if (i_ == from) return std::nullopt;
    return v;
  }
  std::optional<Q> Primary() {
    if (Peek() == '(') {
      ++i_;
      auto v = Sum();
      if (!v || Peek() != ')') return std::nullopt;
      ++i_;
      return v;
    }
    if (Peek() == '[') return Bracket();
    return Number();
  }
  std::optional<Q> Bracket() {
    ++i_;
    bool neg = false;
    I128 whole = 0;
    size_t close = s_.find(']', i_);
    if (close == std::string::npos) return std::nullopt;
    size_t kpos = s_.find('K', i_);
    if (kpos != std::string::npos && kpos < close) {
      if (Peek() == 'm') {
        neg = true;
        ++i_;
      }
      if (Peek() != 'K') {
        auto w = Digits();
        if (!w) return std::nullopt;
        whole = *w;
      }
      if (Peek() != 'K') return std::nullopt;
      ++i_;
    }
    size_t bpos = s_.find('B', i_);
    if (bpos == std::string::npos || bpos > close) return std::nullopt;
    std::string den = s_.substr(i_, bpos - i_), num = s_.substr(bpos + 1, close - bpos - 1);
    i_ = close + 1;
    auto d = Parser(den).All();
    auto n = Parser(num).All();
    if (!d || !n || d->n == 0) return std::nullopt;
    Q v = Q::Make(whole, 1) + *n * Q::Make(d->d, d->n);
    return neg ? Q::Make(-v.n, v.d) : v;
  }
  std::optional<Q> Number() {
    auto a = Digits();
    if (!a) return std::nullopt;
    if (Peek() == '.') {
      ++i_;
      size_t from = i_;
      auto f = Digits();
      I128 scale = 1;
      for (size_t k = from; k < i_; ++k) scale *= 10;
      return Q::Make(*a * scale + (f ? *f : 0), scale);
    }
    if (Peek() == 'k') {
      ++i_;
      auto d = Digits();
      if (!d || Peek() != 'b') return std::nullopt;
      ++i_;
      auto n = Digits();
      if (!n || *d == 0) return std::nullopt;
      return Q::Make(*a * *d + *n, *d);
    }
    if (Peek() == 'b') {
      ++i_;
      auto n = Digits();
      if (!n || *a == 0) return std::nullopt;
      return Q::Make(*n, *a);
    }
    return Q::Make(*a, 1);
  }
};

inline std::optional<Q> Value(const std::string& text) { return Parser(text).All(); }

// The answer texts of a value in the notation: mixed (m1k6b1) and improper (m6b7); an integer is
// written plainly either way.
inline std::string Digits128(I128 v) {
  std::string r;
  do {
    r.insert(r.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
    v /= 10;
  } while (v != 0);
  return r;
}
inline std::string MixedText(Q q) {
  if (q.n == 0) return "0";
  std::string s = q.n < 0 ? "m" : "";
  I128 n = q.n < 0 ? -q.n : q.n;
  if (q.d == 1) return s + Digits128(n);
  I128 w = n / q.d, r = n % q.d;
  return s + (w > 0 ? Digits128(w) + "k" : "") + Digits128(q.d) + "b" + Digits128(r);
}
inline std::string ImproperText(Q q) {
  if (q.n == 0) return "0";
  std::string s = q.n < 0 ? "m" : "";
  I128 n = q.n < 0 ? -q.n : q.n;
  if (q.d == 1) return s + Digits128(n);
  return s + Digits128(q.d) + "b" + Digits128(n);
}

}  // namespace exact
