// Fast prime factorisation of 64-bit integers: small primes divided out by multiplying with their
// inverses, a deterministic Miller-Rabin test and Pollard-Brent rho in Montgomery arithmetic.
#include <algorithm>
#include <array>
#include <cmath>

#include "engine/Buntakousiki.h"
#include "engine/Settings.h"
#include "platform/Platform.h"

namespace {

using u64 = uint64_t;
using u128 = unsigned __int128;

// Trial division covers the primes below this bound; a cofactor below its square is then prime.
constexpr u64 TRIAL_BOUND = 1024;

// One odd prime with what it takes to test divisibility by a multiplication: n is a multiple of p
// exactly when n * inverse (mod 2^64) is at most limit, and the product is then n / p.
struct TrialPrime {
  u64 p;
  u64 inverse;
  u64 limit;
};

u64 InverseMod2To64(u64 odd) {
  // Newton's iteration doubles the number of correct low bits; odd * odd is 1 modulo 8 to start.
  u64 inv = odd;
  for (int i = 0; i < 5; ++i) inv *= 2 - odd * inv;
  return inv;
}

const std::vector<TrialPrime>& TrialPrimes() {
  static const std::vector<TrialPrime> primes = [] {
    std::vector<TrialPrime> v;
    std::vector<bool> composite(TRIAL_BOUND, false);
    for (u64 i = 3; i < TRIAL_BOUND; i += 2) {
      if (composite[i]) continue;
      v.push_back({i, InverseMod2To64(i), ~u64{0} / i});
      for (u64 j = i * i; j < TRIAL_BOUND; j += 2 * i) composite[j] = true;
    }
    return v;
  }();
  return primes;
}

// Arithmetic modulo an odd n in Montgomery form (R = 2^64).
class Montgomery {
 public:
  explicit Montgomery(u64 n) : n_(n), inv_(InverseMod2To64(n)) {
    one_ = (0 - n) % n;  // R mod n
    r2_ = static_cast<u64>(static_cast<u128>(one_) * one_ % n);
  }
  u64 Mul(u64 a, u64 b) const { return Redc(static_cast<u128>(a) * b); }
  u64 To(u64 a) const { return Mul(a % n_, r2_); }
  u64 One() const { return one_; }
  u64 MinusOne() const { return n_ - one_; }
  u64 Pow(u64 base, u64 e) const {
    u64 r = one_;
    while (e) {
      if (e & 1) r = Mul(r, base);
      base = Mul(base, base);
      e >>= 1;
    }
    return r;
  }
  // x*x + c for the rho sequence; both values below n.
  u64 SquareAdd(u64 x, u64 c) const {
    u64 y = Mul(x, x);
    // y + c may pass 2^64 only when n is above 2^63; compare against n - c to stay safe.
    return y >= n_ - c ? y - (n_ - c) : y + c;
  }

 private:
  // t * R^-1 mod n for t < n * 2^64: the low words of t and m * n agree, so the difference of the high
  // words is the exact quotient, in (-n, n).
  u64 Redc(u128 t) const {
    u64 m = static_cast<u64>(t) * inv_;
    u64 mh = static_cast<u64>((static_cast<u128>(m) * n_) >> 64);
    u64 th = static_cast<u64>(t >> 64);
    // Without a branch: the comparison is a coin toss in the rho loop and would be mispredicted.
    return th - mh + (n_ & (0 - static_cast<u64>(th < mh)));
  }
  u64 n_, inv_, one_ = 0, r2_ = 0;
};

u64 Gcd(u64 a, u64 b) {
  if (a == 0) return b;
  if (b == 0) return a;
  int shift = __builtin_ctzll(a | b);
  a >>= __builtin_ctzll(a);
  do {
    b >>= __builtin_ctzll(b);
    if (a > b) std::swap(a, b);
    b -= a;
  } while (b != 0);
  return a << shift;
}

// Deterministic Miller-Rabin for odd n > 3 with a base set known to be exact below 2^64.
bool MillerRabin(u64 n) {
  static constexpr std::array<u64, 7> BASES = {2, 325, 9375, 28178, 450775, 9780504, 1795265022};
  Montgomery m(n);
  u64 d = n - 1;
  int s = __builtin_ctzll(d);
  d >>= s;
  for (u64 a : BASES) {
    u64 am = m.To(a);
    if (am == 0) continue;  // a base that is a multiple of n says nothing
    u64 x = m.Pow(am, d);
    if (x == m.One() || x == m.MinusOne()) continue;
    bool witness = true;
    for (int i = 1; i < s && witness; ++i) {
      x = m.Mul(x, x);
      if (x == m.MinusOne()) witness = false;
    }
    if (witness) return false;
  }
  return true;
}

u64 IntegerSqrt(u64 n) {
  u64 r = static_cast<u64>(std::sqrt(static_cast<double>(n)));
  while (r > 0 && static_cast<u128>(r) * r > n) --r;
  while (static_cast<u128>(r + 1) * (r + 1) <= n) ++r;
  return r;
}

// The pupil's stop request, asked only while the interruptible switch is on.
// Whether the running factorisation may be stopped at all is set once per call.
bool MayStop = true;
bool StopRequested() {
  return MayStop && InterruptibleFactorisation != 0 && CurrentPlatform().InterruptRequested();
}

// A non-trivial factor of the odd composite n (not a perfect square); 0 when the pupil stopped it.
// Brent's cycle search with the differences multiplied together, so one gcd serves a batch of steps. Two
// walks with different constants run side by side: one step of a walk waits on its previous step, so
// the processor does the second walk almost for free, and the first of the two to meet a factor ends the
// search (which also makes a long unlucky search much rarer).
u64 PollardBrent(u64 n) {
  constexpr u64 BATCH = 128;
  constexpr u64 POLL_EVERY = u64{1} << 14;  // steps between interrupt queries, a few tens of microseconds
  const Montgomery m(n);
  struct Walk {
    u64 c, x, y, ys, q;
  };
  // The factor that a batch's gcd g points at; a batch that overshot (g = n) is walked again step by
  // step. 1 when the walk found nothing yet, n when it cycled without separating the factors.
  auto resolve = [&](Walk& w, u64 g) {
    if (g != n) return g;
    do {
      w.ys = m.SquareAdd(w.ys, w.c);
      g = Gcd(w.ys + (n - w.x), n);
    } while (g == 1);
    return g;
  };
  u64 sincePoll = 0;
  for (u64 c = 1;; c += 2) {
    const u64 start = m.To(2);
    Walk a{m.To(c), start, start, start, m.One()};
    Walk b{m.To(c + 1), start, start, start, m.One()};
    bool restart = false;
    for (u64 r = 1; !restart; r *= 2) {
      a.x = a.y;
      b.x = b.y;
      for (u64 i = 0; i < r; ++i) {
        a.y = m.SquareAdd(a.y, a.c);
        b.y = m.SquareAdd(b.y, b.c);
      }
      sincePoll += r;
      for (u64 k = 0; k < r && !restart; k += BATCH) {
        a.ys = a.y;
        b.ys = b.y;
        u64 steps = std::min(BATCH, r - k);
        for (u64 i = 0; i < steps; ++i) {
          a.y = m.SquareAdd(a.y, a.c);
          b.y = m.SquareAdd(b.y, b.c);
          // y - x + n is below 2n, which Mul accepts since n < 2^63; it is 0 mod n just when x = y.
          a.q = m.Mul(a.q, a.y + (n - a.x));
          b.q = m.Mul(b.q, b.y + (n - b.x));
        }
        sincePoll += steps;
        u64 ga = Gcd(a.q, n), gb = Gcd(b.q, n);
        if (ga == 1 && gb == 1) continue;
        if (ga != 1 && (ga = resolve(a, ga)) != n) return ga;
        if (gb != 1 && (gb = resolve(b, gb)) != n) return gb;
        restart = true;  // a walk cycled without separating the factors: try the next constants
      }
      if (sincePoll >= POLL_EVERY) {
        sincePoll = 0;
        if (StopRequested()) return 0;
      }
    }
  }
}

// Splits n (odd, without prime factors below TRIAL_BOUND) into primes, each counted `times` times.
bool SplitLarge(u64 n, int times, std::vector<PrimePower>& out) {
  if (n == 1) return true;
  if (n < TRIAL_BOUND * TRIAL_BOUND || MillerRabin(n)) {
    out.push_back({n, times});
    return true;
  }
  // Rho is slow on the square of a prime (the two cycles coincide); a square root test settles it.
  u64 s = IntegerSqrt(n);
  if (s * s == n) return SplitLarge(s, times * 2, out);
  u64 d = PollardBrent(n);
  if (d == 0) return false;
  return SplitLarge(d, times, out) && SplitLarge(n / d, times, out);
}

}  // namespace

bool IsPrime64(uint64_t n) {
  if (n < 2) return false;
  if (n % 2 == 0) return n == 2;
  for (const TrialPrime& t : TrialPrimes()) {
    if (t.p * t.p > n) return true;
    if (n * t.inverse <= t.limit) return n == t.p;
  }
  return MillerRabin(n);
}

bool FactorPrimePowers(uint64_t n, std::vector<PrimePower>& out, bool interruptible) {
  out.clear();
  MayStop = interruptible;
  if (n <= 1) return true;
  if (StopRequested()) return false;
  if (int twos = __builtin_ctzll(n); twos > 0) {
    out.push_back({2, twos});
    n >>= twos;
  }
  for (const TrialPrime& t : TrialPrimes()) {
    if (t.p * t.p > n) break;
    if (n * t.inverse > t.limit) continue;
    int e = 0;
    do {
      n *= t.inverse;  // exact division: n was a multiple of p
      ++e;
    } while (n * t.inverse <= t.limit);
    out.push_back({t.p, e});
  }
  if (n == 1) return true;
  size_t small = out.size();
  if (n < TRIAL_BOUND * TRIAL_BOUND) {
    out.push_back({n, 1});
    return true;
  }
  if (!SplitLarge(n, 1, out)) {
    out.clear();
    return false;
  }
  // The large factors come in the order rho found them: sort them and merge repeated primes.
  std::sort(out.begin() + static_cast<std::ptrdiff_t>(small), out.end(),
            [](const PrimePower& a, const PrimePower& b) { return a.prime < b.prime; });
  std::vector<PrimePower> merged(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(small));
  for (size_t i = small; i < out.size(); ++i) {
    if (merged.size() > small && merged.back().prime == out[i].prime)
      merged.back().exponent += out[i].exponent;
    else
      merged.push_back(out[i]);
  }
  out = std::move(merged);
  return true;
}
