#!/usr/bin/env python3
"""Baseline for bench_eval: the same short lines evaluated with Python's exact fractions.Fraction and a
small recursive-descent parser of the notation (3b2 = 2/3, 1k3b2 = 1 2/3, m = minus, ^ left-associative,
P, C and ! on integers, [den B num]). Prints evaluations per second of CPU time."""
import math
import re
import time
from fractions import Fraction

LINES = ["1+1", "3b1+3b1", "2b1+1", "1k2b1+1k2b1-3b2*2", "(1+2)*(3+4)", "2^3^2+m2^2",
         "3k4b1-(2b1+5b3)/7", "(3b2-1k4b3)*2b1+0.25", "12/(4-1)+5P2-3!", "[6B1+2]+1k3b1"]
TOKEN = re.compile(r"\d+k\d+b\d+|\d+b\d+|\d+\.\d+|\d+[PC]\d+|\d+!|\d+|[-+*/^()\[\]mBK]")


def evaluate(text):
    toks = TOKEN.findall(text)
    pos = 0

    def peek():
        return toks[pos] if pos < len(toks) else ""

    def take():
        nonlocal pos
        pos += 1
        return toks[pos - 1]

    def number(t):
        if "k" in t:
            w, rest = t.split("k")
            d, n = rest.split("b")
            return int(w) + Fraction(int(n), int(d))
        if "b" in t:
            d, n = t.split("b")
            return Fraction(int(n), int(d))
        if "." in t:
            return Fraction(t)
        if "P" in t:
            n, r = map(int, t.split("P"))
            return Fraction(math.perm(n, r))
        if "C" in t:
            n, r = map(int, t.split("C"))
            return Fraction(math.comb(n, r))
        if t.endswith("!"):
            return Fraction(math.factorial(int(t[:-1])))
        return Fraction(int(t))

    def primary():
        t = take()
        if t == "m":  # a signed number is one operand: m2^2 is 4
            v = -primary()
        elif t == "(":
            v = expr()
            take()
        elif t == "[":
            den = expr()
            take()
            num = expr()
            take()
            v = num / den
        else:
            v = number(t)
        return v

    def atom():
        v = primary()
        while peek() == "^":
            take()
            sign = -1 if peek() == "m" else 1
            if sign < 0:
                take()
            v = v ** (sign * int(take()))
        return v

    def term():
        v = atom()
        while peek() in ("*", "/"):
            v = v * atom() if take() == "*" else v / atom()
        return v

    def expr():
        v = term()
        while peek() in ("+", "-"):
            v = v + term() if take() == "+" else v - term()
        return v

    return expr()


def check():
    assert evaluate("m2^2") == 4 and evaluate("2^3^2") == 64 and evaluate("[6B1+2]") == Fraction(1, 2)


def main():
    check()
    n = 200000
    start = time.process_time()
    for i in range(n):
        evaluate(LINES[i % len(LINES)])
    elapsed = time.process_time() - start
    print(f"{n / elapsed:.0f} evaluations per second (CPU)")


if __name__ == "__main__":
    main()
