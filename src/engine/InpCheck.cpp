// The keystroke checker: a state machine over the characters of the notation, written as two tables of
// rules (one for ordinary text, one for the inside of an expression fraction [ … ]), plus the
// whole-text check built on it.
#include "engine/InpCheck.h"

#include <array>
#include <climits>
#include <map>
#include <string_view>
#include <tuple>
#include <vector>

#include "engine/Characters.h"
#include "platform/Platform.h"

InpCheckState CheckerState;

namespace {

const std::array<std::string, CHECK_MESSAGE_COUNT> MESSAGES = {
    "[0]: 符号+,-,数字,'(' 以外は不可",
    "[1]:（ の直後は、｢（ ＋ － 数字｣のみ可",
    "[2]: 演算記号・符号の連続は不可",
    "[3]:（［ の途中の｢＝｣は不可",
    "[4]: 演算記号の連続は不可",
    "[5]: (b,k,小数点等の直後) 数字以外は不可。",
    "[6]: ",
    "[7]: ",
    "[8]: ）直後は,｢=｣か演算｢+-*/^｣のみ可",
    "[9]: 分母の数字の後は、数字かｂのみ可",
    "[10]: ",
    "[11]:",
    "[12]:",
    "[13]: 小数は､帯数･分母･分子にならない。",
    "[14]: ｢u｣(無限小数を表す) の後は｢=｣のみ可",
    "[15]:",
    "[16]:",
    "[17]:",
    "[18]: 分数の累乗は（　）でくくる。",
    "[19]: ( と ) の数が異なる",
    "[20]: ）に対応する（ がない",
    "[21]: 入力数値が１９ケタを超えた",
    "[22]: 数字直後の（ or [ は不可",
    "[23]: ＋－(符号)の直後に、点｢ ．｣は不可",
    "[24]: 式分数[　]の中では､k､b を K､B にせよ",
    "[25]: ＝ の後の入力は無効",
    "[26]: 式分数入力ﾓｰﾄﾞでは､小数･分数は不可",
    "[27]: 式分数入力ﾓｰﾄﾞでは､帯数部に式は不可",
    "[28]: 分数の累乗は（ ）でくくる",
    "[29]: 小数点が重複している",
    "[30]: ］で式分数ﾓｰﾄﾞ終了後､＝を入力せよ",
    "[31]: ここでは、式分数ﾓｰﾄﾞに入れない",
    "[32]: ****",
    "[33]: × は省略不可[設定を変更せよ]",
    "[34]: 数字直後の 文字 は不可",
    "[35]: 同じ文字の連続は不可",
    "[36]: ＝＝ は不可",
    "[37]: √の中の√（二重根号）は不可",
    "[38]: すでに｢:｣があります｡各辺の項は２項まで。",
    "",  // 39: keys without a meaning are refused silently
    "[40]: すでに等号・不等号があります｡",
};

const std::string EMPTY;

// A number holds at most this many digits in a row as typed.
constexpr int MAX_DIGIT_RUN = 19;

using St = CheckState;
using R = Refusal;

InpCheckState& S = CheckerState;

bool IsUnknown(char c) { return c == 'x' || c == 'y' || c == 'z'; }
bool IsOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/'; }
bool IsSignKey(char c) { return c == '+' || c == 'p' || c == '-' || c == 'm'; }
bool IsRelation(char c) { return c == '<' || c == '>'; }
char SignForm(char c) { return (c == '+' || c == 'p') ? 'p' : 'm'; }

// Counters never pass INT_MAX, however many keys a caller offers.
void Increase(int& n) {
  if (n < INT_MAX) ++n;
}

// ---- The vocabulary of the rules -------------------------------------------------------------------

// Which keys a rule is about.
enum class Key : unsigned char {
  Any,
  Is,  // exactly the rule's character
  Digit,  // 0–9
  Unknown,  // x y z
  Operator,  // + - * /
  OpOrPower,  // + - * / ^
  Sign,  // + p - m
  SignLetter,  // p m (signs the program writes itself)
  Relation,  // < >
  LetterB,  // b B
  LetterK,  // k K
  PorC,  // P C
  EndsTerm,  // the keys of the shared "ends a term" group
};

// What must hold besides the key.
enum class When : unsigned char {
  Always,
  Omit,  // the multiplication sign may be omitted
  NoOmit,
  OmitAfterMarker,  // omitted "*" right after ".", "b" or "k"
  NoOmitAfterDigit,
  PrevDigit,
  PrevNotDigit,
  PrevRelation,  // "<=" and ">="
  PrevEquals,
  RelationOrEqualsSeen,
  Relaxed,  // the evaluator checks a text the program made
  PrevNotFactorial,  // "!!" is refused
  RepeatMarkFree,  // right after "." and the "@" of this decimal not yet used
  RepeatMarkUsed,
  SameAsPrev,
  BracketHasExpression,  // the text since "[" holds more than a plain number
};

// What the rule does when it applies.
enum class Do : unsigned char {
  Refuse,  // refuse with the rule's refusal
  Accept,  // store the key, go to next
  AcceptSign,  // store "p" or "m", go to next
  AcceptCapital,  // store "K" or "B", go to next
  AcceptAwaited,  // the digit a marker waited for: go where the marker said
  Open,  // "(" counted, go to next
  Close,  // ")" when one is open (else the rule's refusal), go to next
  Colon,  // one ":" per side
  Relation,  // one "<" or ">" per line, and not after "="
  Equals,  // "=" with the parentheses balanced, not "=="
  Enter,  // "[": not right after a digit
  EnterAnywhere,  // "[" after an operator
  Leave,  // "]"
  Mark,  // store the key and wait in next for the digit that leads to after
  MarkSign,  // the same, storing "p" or "m"
  RepeatMark,  // "@": wait in next for the digit that leads to after
  RepeatMarkAgain,  // "@" in a marker state: the awaited digit still leads where it did
  EndsTerm,  // the shared group decides
};

struct Rule {
  CheckState state;
  Key key;
  char ch;  // for Key::Is
  When when;
  Do action;
  CheckState next;
  CheckState after;  // for the marks
  Refusal refusal;  // for Refuse and Close
};

// Row builders, so the tables read like the rules: On(state, key).If(condition).Go(next) …
struct On {
  Rule r;
  constexpr On(St s, Key k) : r{s, k, 0, When::Always, Do::Refuse, s, s, R::NotInBrackets} {}
  constexpr On(St s, char c) : r{s, Key::Is, c, When::Always, Do::Refuse, s, s, R::NotInBrackets} {}
  constexpr On If(When w) const {
    On o = *this;
    o.r.when = w;
    return o;
  }
  constexpr Rule Go(St next) const { return With(Do::Accept, next); }
  constexpr Rule Sign(St next) const { return With(Do::AcceptSign, next); }
  constexpr Rule Capital(St next) const { return With(Do::AcceptCapital, next); }
  constexpr Rule Awaited() const { return With(Do::AcceptAwaited, r.state); }
  constexpr Rule Open(St next) const { return With(Do::Open, next); }
  constexpr Rule Close(St next, R refusal) const {
    Rule x = With(Do::Close, next);
    x.refusal = refusal;
    return x;
  }
  constexpr Rule Equals() const { return With(Do::Equals, St::LineStart); }
  constexpr Rule Enter() const { return With(Do::Enter, St::BracketStart); }
  constexpr Rule EnterAnywhere() const { return With(Do::EnterAnywhere, St::BracketStart); }
  constexpr Rule Leave() const { return With(Do::Leave, St::AfterClose); }
  constexpr Rule Mark(St wait, St after) const {
    Rule x = With(Do::Mark, wait);
    x.after = after;
    return x;
  }
  constexpr Rule MarkSign(St wait, St after) const {
    Rule x = With(Do::MarkSign, wait);
    x.after = after;
    return x;
  }
  constexpr Rule RepeatMark(St wait, St after) const {
    Rule x = With(Do::RepeatMark, wait);
    x.after = after;
    return x;
  }
  constexpr Rule RepeatMarkAgain() const { return With(Do::RepeatMarkAgain, r.state); }
  constexpr Rule EndsTerm() const { return With(Do::EndsTerm, r.state); }
  constexpr Rule Refuse(R refusal) const {
    Rule x = With(Do::Refuse, r.state);
    x.refusal = refusal;
    return x;
  }
  constexpr Rule With(Do d, St next) const {
    Rule x = r;
    x.action = d;
    x.next = next;
    return x;
  }
};

constexpr Key D = Key::Digit, U = Key::Unknown, OP = Key::Operator, OPP = Key::OpOrPower, SG = Key::Sign,
              PM = Key::SignLetter, REL = Key::Relation, B = Key::LetterB, K = Key::LetterK, PC = Key::PorC,
              ANY = Key::Any, END = Key::EndsTerm;

// ---- Ordinary text -------------------------------------------------------------------------------
// A term ends with ")" (one must be open), ":" (once per side), "<" or ">" (once per line) or "="; the
// states that end a term name the group with On(state, END).EndsTerm(). The first row that fits a key
// decides; a state's last row refuses whatever is left.

constexpr Rule ENDS_A_TERM[] = {
    On(St::LineStart, ')').Close(St::AfterClose, R::CloseWithoutOpen),
    On(St::LineStart, ':').With(Do::Colon, St::LineStart),
    On(St::LineStart, REL).With(Do::Relation, St::LineStart),
    On(St::LineStart, '=').Equals(),
};

constexpr Rule NORMAL_RULES[] = {
    // Start of a line, after "=", ":", "<", ">", or after an operator that follows a fraction.
    On(St::LineStart, '[').Enter(),
    On(St::LineStart, '(').If(When::OmitAfterMarker).Refuse(R::OnlySignDigitOrOpenAtStart),
    On(St::LineStart, '(').If(When::NoOmitAfterDigit).Refuse(R::NoOpenAfterDigit),
    On(St::LineStart, '(').Open(St::AfterOpen),
    On(St::LineStart, D).Go(St::IntegerDigits),
    On(St::LineStart, U).Go(St::AfterUnknown),
    On(St::LineStart, '.').If(When::PrevDigit).Mark(St::AwaitDigit, St::DecimalDigits),
    On(St::LineStart, SG).Sign(St::AfterSign),
    On(St::LineStart, '=').If(When::PrevRelation).Go(St::LineStart),
    On(St::LineStart, '=').If(When::PrevEquals).Refuse(R::NoDoubleEquals),
    On(St::LineStart, REL).If(When::RelationOrEqualsSeen).Refuse(R::RelationAlreadyUsed),
    On(St::LineStart, ANY).Refuse(R::OnlySignDigitOrOpenAtStart),

    On(St::AfterOpen, D).Go(St::IntegerDigits),
    On(St::AfterOpen, '(').Open(St::AfterOpen),
    On(St::AfterOpen, SG).Sign(St::AfterSign),
    On(St::AfterOpen, U).Go(St::AfterUnknown),
    On(St::AfterOpen, '[').Enter(),
    On(St::AfterOpen, ANY).Refuse(R::OnlySignDigitOrOpenAfterOpen),

    On(St::AfterSign, D).Go(St::IntegerDigits),
    On(St::AfterSign, '(').Open(St::AfterOpen),
    On(St::AfterSign, '[').Enter(),
    On(St::AfterSign, U).Go(St::AfterUnknown),
    On(St::AfterSign, PM).If(When::Relaxed).Go(St::IntegerDigits),
    On(St::AfterSign, ANY).Refuse(R::NoOperatorAfterSign),

    On(St::IntegerDigits, D).Go(St::IntegerDigits),
    On(St::IntegerDigits, OP).Go(St::AfterOperator),
    On(St::IntegerDigits, '^').Go(St::AfterPower),
    On(St::IntegerDigits, '(').If(When::Omit).Open(St::AfterOpen),
    On(St::IntegerDigits, '(').Refuse(R::NoOpenAfterDigit),
    On(St::IntegerDigits, END).EndsTerm(),
    On(St::IntegerDigits, U).If(When::Omit).Go(St::AfterUnknown),
    On(St::IntegerDigits, U).Refuse(R::MultiplicationNotOmittable),
    On(St::IntegerDigits, '!').Go(St::AfterClose),
    On(St::IntegerDigits, '.').Mark(St::AwaitDigit, St::DecimalDigits),
    On(St::IntegerDigits, 'b').Mark(St::AwaitDigit, St::DenominatorDigits),
    On(St::IntegerDigits, 'k').Mark(St::AwaitDigit, St::NumeratorDigits),
    On(St::IntegerDigits, PC).Go(St::AfterPermutation),
    On(St::IntegerDigits, '[').Refuse(R::NoOpenAfterDigit),
    On(St::IntegerDigits, ANY).Refuse(R::NotAfterIntegerDigits),

    On(St::AfterOperator, D).Go(St::IntegerDigits),
    On(St::AfterOperator, '(').Open(St::AfterOpen),
    On(St::AfterOperator, U).Go(St::AfterUnknown),
    On(St::AfterOperator, '[').EnterAnywhere(),
    On(St::AfterOperator, PM).If(When::Relaxed).Go(St::AfterOperator),
    On(St::AfterOperator, ANY).Refuse(R::NoOperatorAfterOperator),

    On(St::AwaitDigit, D).Awaited(),
    On(St::AwaitDigit, '@').If(When::RepeatMarkFree).RepeatMarkAgain(),
    On(St::AwaitDigit, ANY).Refuse(R::OnlyDigitAfterMarker),

    On(St::AfterClose, '^').Go(St::AfterPower),
    On(St::AfterClose, OP).Go(St::AfterOperator),
    On(St::AfterClose, END).EndsTerm(),
    On(St::AfterClose, '!').If(When::PrevNotFactorial).Go(St::AfterClose),
    On(St::AfterClose, '(').If(When::Omit).Open(St::AfterOpen),
    On(St::AfterClose, U).If(When::Omit).Go(St::AfterUnknown),
    On(St::AfterClose, ANY).Refuse(R::OnlyEqualsOrOperatorAfterClose),

    On(St::NumeratorDigits, D).Go(St::NumeratorDigits),
    On(St::NumeratorDigits, 'b').Mark(St::AwaitDigit, St::DenominatorDigits),
    On(St::NumeratorDigits, ANY).Refuse(R::OnlyDigitOrBAfterNumerator),

    On(St::DenominatorDigits, D).Go(St::DenominatorDigits),
    On(St::DenominatorDigits, OP).Go(St::LineStart),
    On(St::DenominatorDigits, '^').Refuse(R::FractionPowerNeedsParentheses),
    On(St::DenominatorDigits, U).Go(St::AfterUnknown),
    On(St::DenominatorDigits, '(').If(When::Omit).Open(St::AfterOpen),
    On(St::DenominatorDigits, '(').Refuse(R::MultiplicationNotOmittable),
    On(St::DenominatorDigits, END).EndsTerm(),
    On(St::DenominatorDigits, ANY).Refuse(R::NotAfterDenominatorDigits),

    On(St::AfterPower, D).Go(St::ExponentDigits),
    On(St::AfterPower, SG).MarkSign(St::AwaitDigit, St::ExponentDigits),
    On(St::AfterPower, U).Go(St::AfterUnknown),
    On(St::AfterPower, ANY).Refuse(R::NotAfterPower),

    On(St::ExponentDigits, D).Go(St::ExponentDigits),
    On(St::ExponentDigits, '^').Go(St::AfterPower),
    On(St::ExponentDigits, OP).Go(St::AfterOperator),
    On(St::ExponentDigits, END).EndsTerm(),
    On(St::ExponentDigits, ANY).Refuse(R::NotAfterExponentDigits),

    On(St::DecimalDigits, D).Go(St::DecimalDigits),
    On(St::DecimalDigits, 'u').Go(St::AfterRecurring),
    On(St::DecimalDigits, '^').Go(St::AfterPower),
    On(St::DecimalDigits, OP).Go(St::AfterOperator),
    On(St::DecimalDigits, '@').If(When::RepeatMarkUsed).Refuse(R::NotAfterDecimalDigits),
    On(St::DecimalDigits, '@').RepeatMark(St::AwaitDigit, St::DecimalDigits),
    On(St::DecimalDigits, '.').Refuse(R::PointTwice),
    On(St::DecimalDigits, END).EndsTerm(),
    On(St::DecimalDigits, U).Go(St::AfterUnknown),
    On(St::DecimalDigits, '(').If(When::Omit).Open(St::AfterOpen),
    On(St::DecimalDigits, '(').Refuse(R::MultiplicationNotOmittable),
    On(St::DecimalDigits, ANY).Refuse(R::NotAfterDecimalDigits),

    On(St::AfterRecurring, '=').Equals(),
    On(St::AfterRecurring, ANY).Refuse(R::OnlyEqualsAfterRecurring),

    On(St::AfterPermutation, D).Go(St::AfterPermutation),
    On(St::AfterPermutation, ANY).If(When::PrevNotDigit).Refuse(R::NotAfterPermutation),  // "P5", not "P+"
    On(St::AfterPermutation, OPP).Go(St::AfterOperator),
    On(St::AfterPermutation, END).EndsTerm(),
    On(St::AfterPermutation, ANY).Refuse(R::NotAfterPermutation),

    On(St::AfterUnknown, OPP).Go(St::AfterOperator),
    On(St::AfterUnknown, END).EndsTerm(),
    On(St::AfterUnknown, U).If(When::NoOmit).Refuse(R::NoOpenAfterDigit),
    On(St::AfterUnknown, U).If(When::SameAsPrev).Refuse(R::NoSameLetterTwice),
    On(St::AfterUnknown, U).Go(St::AfterOpen),
    On(St::AfterUnknown, '(').If(When::Omit).Open(St::AfterOpen),
    On(St::AfterUnknown, '(').Refuse(R::MultiplicationNotOmittable),
    On(St::AfterUnknown, D).Refuse(R::MultiplicationNotOmittable),
    On(St::AfterUnknown, ANY).Refuse(R::NotAfterUnknown),
};

// ---- Inside [ … ] ----------------------------------------------------------------------------------
// "k" and "b" are stored as "K" and "B". A term ends with ")", "B" or "]" (the shared group below); a key
// no row takes is refused with NotInBrackets.

constexpr Rule BRACKET_ENDS_A_TERM[] = {
    On(St::BracketStart, ')').Close(St::BracketAfterClose, R::CloseWithoutOpen),
    On(St::BracketStart, B).Capital(St::BracketAfterB),
    On(St::BracketStart, ']').Leave(),
};

constexpr Rule BRACKET_RULES[] = {
    On(St::BracketStart, D).Go(St::BracketIntegerDigits),
    On(St::BracketStart, '(').Open(St::BracketStart),
    On(St::BracketStart, SG).Sign(St::BracketAfterSign),
    On(St::BracketStart, U).Go(St::BracketAfterUnknown),

    On(St::BracketAfterSign, D).Go(St::BracketIntegerDigits),
    On(St::BracketAfterSign, U).Go(St::BracketAfterUnknown),
    On(St::BracketAfterSign, '(').Open(St::BracketStart),
    On(St::BracketAfterSign, K).Capital(St::BracketAfterK),
    On(St::BracketAfterSign, PM).If(When::Relaxed).Go(St::BracketIntegerDigits),

    On(St::BracketIntegerDigits, D).Go(St::BracketIntegerDigits),
    On(St::BracketIntegerDigits, U).Go(St::BracketAfterUnknown),
    On(St::BracketIntegerDigits, '^').Go(St::BracketAfterPower),
    On(St::BracketIntegerDigits, OP).Go(St::BracketAfterOperator),
    On(St::BracketIntegerDigits, '(').If(When::Omit).Open(St::BracketStart),
    On(St::BracketIntegerDigits, ')').Close(St::BracketAfterClose, R::CloseBracketsBeforeEquals),
    On(St::BracketIntegerDigits, '!').Go(St::BracketAfterClose),
    On(St::BracketIntegerDigits, '.').Mark(St::BracketAwaitDigit, St::BracketIntegerDigits),
    On(St::BracketIntegerDigits, B).Capital(St::BracketAfterB),
    On(St::BracketIntegerDigits, PC).Go(St::BracketAfterPermutation),
    // The whole part of a mixed number inside [ … ] must be a plain number.
    On(St::BracketIntegerDigits, K).If(When::BracketHasExpression).Refuse(R::NoExpressionInBracketWholePart),
    On(St::BracketIntegerDigits, K).Capital(St::BracketAfterK),
    On(St::BracketIntegerDigits, ']').Leave(),

    On(St::BracketAfterOperator, D).Go(St::BracketIntegerDigits),
    On(St::BracketAfterOperator, '(').Open(St::BracketStart),
    On(St::BracketAfterOperator, U).Go(St::BracketAfterUnknown),
    On(St::BracketAfterOperator, PM).If(When::Relaxed).Go(St::BracketAfterOperator),

    On(St::BracketAfterB, D).Go(St::BracketDenominatorDigits),
    On(St::BracketAfterB, U).Go(St::BracketAfterUnknown),
    On(St::BracketAfterB, '(').Open(St::BracketStart),
    On(St::BracketAfterB, SG).Sign(St::BracketAfterSign),

    On(St::BracketAfterK, D).Go(St::BracketNumeratorDigits),
    On(St::BracketAfterK, U).Go(St::BracketAfterUnknown),
    On(St::BracketAfterK, '(').Open(St::BracketStart),
    On(St::BracketAfterK, SG).MarkSign(St::BracketAwaitDigit, St::BracketNumeratorDigits),

    On(St::BracketAwaitDigit, D).Awaited(),
    On(St::BracketAwaitDigit, '@').If(When::RepeatMarkFree).RepeatMarkAgain(),

    On(St::BracketAfterClose, '^').Go(St::BracketAfterPower),
    On(St::BracketAfterClose, OP).Go(St::BracketAfterOperator),
    On(St::BracketAfterClose, END).EndsTerm(),
    On(St::BracketAfterClose, '(').If(When::Omit).Open(St::BracketStart),
    On(St::BracketAfterClose, '!').If(When::PrevNotFactorial).Go(St::BracketAfterClose),

    On(St::BracketNumeratorDigits, D).Go(St::BracketNumeratorDigits),
    On(St::BracketNumeratorDigits, U).Go(St::BracketAfterUnknown),
    On(St::BracketNumeratorDigits, '.').Mark(St::BracketAwaitDigit, St::BracketNumeratorDigits),
    On(St::BracketNumeratorDigits, B).Capital(St::BracketAfterB),
    On(St::BracketNumeratorDigits, '^').Go(St::BracketAfterPower),
    On(St::BracketNumeratorDigits, OP).Go(St::BracketAfterOperator),
    On(St::BracketNumeratorDigits, '!').Go(St::BracketAfterClose),
    On(St::BracketNumeratorDigits, PC).Go(St::BracketAfterPermutation),

    On(St::BracketDenominatorDigits, D).Go(St::BracketDenominatorDigits),
    On(St::BracketDenominatorDigits, U).Go(St::BracketAfterUnknown),
    On(St::BracketDenominatorDigits, '^').Go(St::BracketAfterPower),
    On(St::BracketDenominatorDigits, OP).Go(St::BracketAfterOperator),
    On(St::BracketDenominatorDigits, '!').Go(St::BracketAfterClose),
    On(St::BracketDenominatorDigits, ')').Close(St::BracketAfterClose, R::CloseWithoutOpen),
    On(St::BracketDenominatorDigits, '(').If(When::Omit).Open(St::BracketStart),
    On(St::BracketDenominatorDigits, '.').Mark(St::BracketAwaitDigit, St::BracketDenominatorDigits),
    On(St::BracketDenominatorDigits, PC).Go(St::BracketAfterPermutation),
    On(St::BracketDenominatorDigits, ']').Leave(),

    On(St::BracketAfterPower, D).Go(St::BracketExponentDigits),
    On(St::BracketAfterPower, U).Go(St::BracketAfterUnknown),
    On(St::BracketAfterPower, SG).MarkSign(St::BracketAwaitDigit, St::BracketExponentDigits),
    On(St::BracketAfterPower, ANY).Refuse(R::CloseWithoutOpen),

    On(St::BracketExponentDigits, D).Go(St::BracketExponentDigits),
    On(St::BracketExponentDigits, '^').Go(St::BracketAfterPower),
    On(St::BracketExponentDigits, OP).Go(St::BracketAfterOperator),
    On(St::BracketExponentDigits, END).EndsTerm(),
    On(St::BracketExponentDigits, ANY).Refuse(R::CloseWithoutOpen),

    On(St::BracketAfterPermutation, D).Go(St::BracketAfterPermutation),
    On(St::BracketAfterPermutation, ANY).If(When::PrevNotDigit).Refuse(R::NotInBrackets),
    On(St::BracketAfterPermutation, OPP).Go(St::BracketAfterOperator),
    On(St::BracketAfterPermutation, END).EndsTerm(),

    On(St::BracketAfterUnknown, OPP).Go(St::BracketAfterOperator),
    On(St::BracketAfterUnknown, END).EndsTerm(),
    On(St::BracketAfterUnknown, U).If(When::NoOmit).Refuse(R::NoOpenAfterDigit),
    On(St::BracketAfterUnknown, U).If(When::SameAsPrev).Refuse(R::NoSameLetterTwice),
    On(St::BracketAfterUnknown, U).Go(St::BracketStart),
    On(St::BracketAfterUnknown, '(').If(When::Omit).Open(St::BracketStart),
    On(St::BracketAfterUnknown, '(').Refuse(R::MultiplicationNotOmittable),
    On(St::BracketAfterUnknown, D).Refuse(R::MultiplicationNotOmittable),
};

// ---- The machine that reads the tables -----------------------------------------------------------

// The rows of one state: a slice of a table, found through an index by state number.
struct Rows {
  unsigned short begin = 0, end = 0;
};
constexpr int STATE_SLOTS = 67;  // state numbers 0 … 66

template <size_t N>
constexpr std::array<Rows, STATE_SLOTS> IndexRows(const Rule (&rules)[N]) {
  std::array<Rows, STATE_SLOTS> index{};
  for (size_t i = 0; i < N; ++i) {
    const int s = StateNumber(rules[i].state);
    if (index[s].end == 0) index[s].begin = static_cast<unsigned short>(i);
    index[s].end = static_cast<unsigned short>(i + 1);
  }
  return index;
}

// Every state's rows must stand together, so that a slice holds all of them.
template <size_t N>
constexpr bool RowsTogether(const Rule (&rules)[N]) {
  for (size_t i = 0; i < N; ++i)
    for (size_t j = i + 2; j < N; ++j)
      if (rules[j].state == rules[i].state && rules[j - 1].state != rules[i].state) return false;
  return true;
}
static_assert(RowsTogether(NORMAL_RULES) && RowsTogether(BRACKET_RULES));

constexpr std::array<Rows, STATE_SLOTS> NORMAL_INDEX = IndexRows(NORMAL_RULES);
constexpr std::array<Rows, STATE_SLOTS> BRACKET_INDEX = IndexRows(BRACKET_RULES);

bool KeyFits(Key key, char rc, char ch) {
  switch (key) {
    case Key::Any: return true;
    case Key::Is: return ch == rc;
    case Key::Digit: return IsDigit(ch);
    case Key::Unknown: return IsUnknown(ch);
    case Key::Operator: return IsOperator(ch);
    case Key::OpOrPower: return IsOperator(ch) || ch == '^';
    case Key::Sign: return IsSignKey(ch);
    case Key::SignLetter: return ch == 'p' || ch == 'm';
    case Key::Relation: return IsRelation(ch);
    case Key::LetterB: return ch == 'b' || ch == 'B';
    case Key::LetterK: return ch == 'k' || ch == 'K';
    case Key::PorC: return ch == 'P' || ch == 'C';
    case Key::EndsTerm: return true;  // the group's own rows decide
  }
  return false;
}

bool Holds(When when, char ch, char prevChar, bool omit) {
  switch (when) {
    case When::Always: return true;
    case When::Omit: return omit;
    case When::NoOmit: return !omit;
    case When::OmitAfterMarker: return omit && (prevChar == '.' || prevChar == 'b' || prevChar == 'k');
    case When::NoOmitAfterDigit: return !omit && IsDigit(prevChar);
    case When::PrevDigit: return IsDigit(prevChar);
    case When::PrevNotDigit: return !IsDigit(prevChar);
    case When::PrevRelation: return IsRelation(prevChar);
    case When::PrevEquals: return prevChar == '=';
    case When::RelationOrEqualsSeen: return S.equalsSeen || S.relationSeen;
    case When::Relaxed: return S.relaxedSigns;
    case When::PrevNotFactorial: return prevChar != '!';
    case When::RepeatMarkFree: return prevChar == '.' && !S.repeatMarkUsed;
    case When::RepeatMarkUsed: return S.repeatMarkUsed;
    case When::SameAsPrev: return ch == prevChar;
    case When::BracketHasExpression: return S.bracketText.find_first_of(".+-*/^!()PC") != std::string::npos;
  }
  return false;
}

// Every action either refuses without touching the state, or changes it and accepts; nothing is
// changed before the decision, so a refusal leaves the line exactly as it was.
bool RefuseNumber(int no) {
  S.errorNo = no;
  return false;
}

bool Refuse(Refusal r) { return RefuseNumber(RefusalNumber(r)); }

bool Accept(CheckState next, char stored) {
  S.state = next;
  S.storedChar = stored;
  S.prevChar = stored;
  if (S.bracketMode) S.bracketText += stored;
  return true;
}

bool Enter(char prevChar, bool digitTest) {
  if (digitTest && IsDigit(prevChar)) return Refuse(R::CannotEnterBracketsHere);
  S.bracketMode = true;
  S.bracketText.assign(1, '[');
  S.bracketDigitRun = 0;
  S.state = St::BracketStart;
  S.storedChar = '[';
  S.prevChar = '[';
  return true;
}

bool Leave() {
  S.bracketText += ']';
  S.bracketMode = false;
  S.state = St::AfterClose;
  S.storedChar = ']';
  S.prevChar = ']';
  return true;
}

bool Apply(const Rule& rule, char ch, char prevChar) {
  switch (rule.action) {
    case Do::Refuse: return Refuse(rule.refusal);
    case Do::Accept: return Accept(rule.next, ch);
    case Do::AcceptSign: return Accept(rule.next, SignForm(ch));
    case Do::AcceptCapital: return Accept(rule.next, (ch == 'b' || ch == 'B') ? 'B' : 'K');
    case Do::AcceptAwaited: return Accept(S.afterState, ch);
    case Do::Open: Increase(S.opened); return Accept(rule.next, '(');
    case Do::Close:
      if (S.opened < S.closed + 1) return Refuse(rule.refusal);
      Increase(S.closed);
      return Accept(rule.next, ')');
    case Do::Colon:
      if (S.colonCount > 0) return Refuse(R::ColonAlreadyUsed);
      Increase(S.colonCount);
      return Accept(St::LineStart, ':');
    case Do::Relation:
      if (S.equalsSeen || S.relationSeen) return Refuse(R::RelationAlreadyUsed);
      S.relationSeen = true;
      return Accept(St::LineStart, ch);
    case Do::Equals:
      if (S.opened != S.closed) return Refuse(R::ParenthesesDoNotMatch);
      if (prevChar == '=') return Refuse(R::NoDoubleEquals);
      S.equalsSeen = true;
      S.colonCount = 0;
      return Accept(St::LineStart, '=');
    case Do::Enter: return Enter(prevChar, true);
    case Do::EnterAnywhere: return Enter(prevChar, false);
    case Do::Leave: return Leave();
    case Do::Mark:
    case Do::MarkSign:
      S.afterState = rule.after;
      if (ch == '.') S.repeatMarkUsed = false;
      return Accept(rule.next, rule.action == Do::MarkSign ? SignForm(ch) : ch);
    case Do::RepeatMark:
    case Do::RepeatMarkAgain:
      S.repeatMarkUsed = true;
      if (rule.action == Do::RepeatMark) S.afterState = rule.after;
      return Accept(rule.next, '@');
    case Do::EndsTerm: break;  // handled by the caller
  }
  return false;
}

// ---- The tables compiled for speed -----------------------------------------------------------------
// Before the first key each table is compiled into a dense array: for every state and key, the first
// of the rows that can take that key. A row of the "ends a term" group stands in for the row that names
// the group, and a chain ends at its first row without a condition (it always decides), so a key costs
// one look-up and, for most keys, no condition at all: what a hand-written switch costs.

// One candidate row: a copy of the row that acts (kept beside the look-up, not behind a pointer), the
// condition of its place in the state's rows, and the next candidate when that condition does not hold.
struct Step {
  Rule rule;
  When when = When::Always;
  unsigned short next = 0;
};
constexpr unsigned short NO_STEP = 0xFFFF;

struct CompiledTable {
  std::vector<Step> steps;
  std::array<std::array<unsigned short, 256>, STATE_SLOTS> first{};  // NO_STEP: no row takes the key
};

// The row of the group that takes the key (the first whose key fits), or nullptr.
template <size_t G>
const Rule* GroupRow(const Rule (&group)[G], char ch) {
  for (const Rule& g : group)
    if (KeyFits(g.key, g.ch, ch)) return &g;
  return nullptr;
}

template <size_t N, size_t G>
CompiledTable Compile(const Rule (&rules)[N], const std::array<Rows, STATE_SLOTS>& index,
                      const Rule (&group)[G]) {
  CompiledTable table;
  // Chains of different keys often end alike: equal candidates with equal rests are stored once.
  std::map<std::tuple<const Rule*, When, unsigned short>, unsigned short> known;
  struct Candidate {
    const Rule* rule;
    When when;
  };
  std::vector<Candidate> chain;
  for (int s = 0; s < STATE_SLOTS; ++s)
    for (int c = 0; c < 256; ++c) {
      const char ch = static_cast<char>(c);
      chain.clear();
      for (unsigned i = index[s].begin; i < index[s].end; ++i) {
        const Rule& rule = rules[i];
        const Rule* acting = rule.action == Do::EndsTerm      ? GroupRow(group, ch)
                             : KeyFits(rule.key, rule.ch, ch) ? &rule
                                                              : nullptr;
        if (acting == nullptr) continue;
        chain.push_back(Candidate{acting, rule.when});
        if (rule.when == When::Always) break;
      }
      unsigned short next = NO_STEP;
      for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const auto key = std::make_tuple(it->rule, it->when, next);
        auto found = known.find(key);
        if (found == known.end()) {
          found = known.emplace(key, static_cast<unsigned short>(table.steps.size())).first;
          table.steps.push_back(Step{*it->rule, it->when, next});
        }
        next = found->second;
      }
      table.first[static_cast<size_t>(s)][static_cast<size_t>(c)] = next;
    }
  return table;
}

// Applies the first candidate whose condition holds; decided is false when none does.
bool RunTable(const CompiledTable& table, char ch, char prevChar, CheckState state, bool omit,
              bool& decided) {
  const int s = StateNumber(state);
  if (s >= 0 && s < STATE_SLOTS) {
    const Step* steps = table.steps.data();
    for (unsigned short i = table.first[static_cast<size_t>(s)][static_cast<unsigned char>(ch)]; i != NO_STEP;
         i = steps[i].next) {
      const Step& step = steps[i];
      if (step.when != When::Always && !Holds(step.when, ch, prevChar, omit)) continue;
      decided = true;
      return Apply(step.rule, ch, prevChar);
    }
  }
  decided = false;
  return false;
}

const CompiledTable& NormalTable() {
  static const CompiledTable table = Compile(NORMAL_RULES, NORMAL_INDEX, ENDS_A_TERM);
  return table;
}

const CompiledTable& BracketTable() {
  static const CompiledTable table = Compile(BRACKET_RULES, BRACKET_INDEX, BRACKET_ENDS_A_TERM);
  return table;
}

// The root group "r" … "_" is decided before the
// tables and never changes the state. Returns false when the key is no part of a root group (the
// tables decide), else true with the verdict in accepted.
bool RootGroup(char ch, CheckState state, bool& accepted) {
  if (ch == 'r') {
    if (S.rootDepth > 0) {
      accepted = Refuse(R::NoNestedRoot);  // roots do not nest
    } else {
      S.rootDepth = 1;
      accepted = Accept(state, 'r');
    }
    return true;
  }
  if (ch == '_' && S.rootDepth > 0) {
    --S.rootDepth;
    accepted = Accept(state, '_');
    return true;
  }
  return false;
}

// A digit counted into a run; true when the run has grown past what a number may hold.
bool DigitRunTooLong(int& run, char ch, char prevChar) {
  if (!IsDigit(ch)) {
    run = 0;
    return false;
  }
  if (IsDigit(prevChar))
    Increase(run);
  else
    run = 1;
  if (run <= MAX_DIGIT_RUN) return false;
  CurrentPlatform().ShowNotice("$ 19ケタ以上は入力不可！", "警告！", 1500);
  return true;
}

}  // namespace

const std::string& CheckMessage(int errorNo) {
  if (errorNo < 0 || errorNo >= CHECK_MESSAGE_COUNT) return EMPTY;
  return MESSAGES[static_cast<size_t>(errorNo)];
}

void ResetInpCheck() { CheckerState.Reset(); }

namespace {

bool OfferKey(char ch, char prevChar, CheckState state, bool omit) {
  if (ch == '%') return Refuse(R::KeyWithoutMeaning);
  if (prevChar == '$') S.equalsSeen = false;

  // Inside [ … ] a relation or "=" needs the expression fraction closed first, and digits are counted
  // apart from the line's.
  const bool bracket = S.bracketMode;
  if (bracket && (ch == '<' || ch == '=' || ch == '>')) return Refuse(R::CloseBracketsBeforeEquals);
  if (DigitRunTooLong(bracket ? S.bracketDigitRun : S.digitRun, ch, prevChar))
    return Refuse(R::TooManyDigits);
  bool decided = false, accepted = false;
  if ((ch == 'r' || ch == '_') && RootGroup(ch, state, accepted)) return accepted;
  accepted = RunTable(bracket ? BracketTable() : NormalTable(), ch, prevChar, state, omit, decided);
  if (decided) return accepted;
  // No row takes the key: inside [ … ] that is NotInBrackets; a state without rows (6, 7, 17–19 or a
  // number of no state) refuses with its own number.
  return bracket ? Refuse(R::NotInBrackets) : RefuseNumber(StateNumber(state));
}

}  // namespace

bool CheckKey(char ch, char prevChar, CheckState state, bool omitMul) {
  // A refused key leaves the line as it was, so it must not end or restart the run of digits the line
  // holds: otherwise a letter refused between digits would let a 20-digit number onto the line.
  const int run = S.digitRun, bracketRun = S.bracketDigitRun;
  if (OfferKey(ch, prevChar, state, omitMul)) return true;
  S.digitRun = run;
  S.bracketDigitRun = bracketRun;
  return false;
}

int CheckText(const std::string& text, const CheckOptions& options) {
  std::string_view checked = text;
  if (options.cutAtEquals) {
    // Everything after the first "=" is the answer part; the "=" itself is still checked.
    size_t eq = checked.find('=');
    if (eq != std::string_view::npos) checked = checked.substr(0, eq + 1);
  }

  // A check starts from a fresh line, so nothing left over from an earlier text (an open root group,
  // a digit run, a used "@") can decide about this one. RelaxedSigns is the caller's and stays.
  const bool relaxed = S.relaxedSigns;
  const int errorNo = S.errorNo;
  const char storedChar = S.storedChar;
  S.Reset();
  S.relaxedSigns = relaxed;
  S.errorNo = errorNo;
  S.storedChar = storedChar;

  for (size_t i = 0; i < checked.size(); ++i) {
    const char ch = checked[i];
    if (ch == '&') {
      // What follows "&" is a text of its own (an answer copy, a solution); the brackets still count.
      S.bracketMode = false;
      S.prevChar = '$';
      S.state = St::LineStart;
      S.equalsSeen = false;
      S.relationSeen = false;
      S.colonCount = 0;
      if (options.collectText) S.checkedText += ch;
      continue;
    }
    if (CheckKey(ch, S.prevChar, S.state, options.omitMul)) {
      S.prevChar = ch;
      if (options.collectText) S.checkedText += S.storedChar;
      continue;
    }
    const int position = i < static_cast<size_t>(INT_MAX) ? static_cast<int>(i) + 1 : INT_MAX;
    if (options.showMessage)
      ShowMessage("文字列>> " + std::string(checked) + "\n\n◇ｴﾗｰ:: (" + std::to_string(position) + "字目) " +
                      CheckMessage(S.errorNo),
                  "ｴﾗｰの報告");
    return position;
  }
  S.bracketMode = false;
  return 0;
}

bool TextAccepted(const std::string& text, bool omitMul) {
  const InpCheckState keep = CheckerState;
  const int bad = CheckText(text, {.cutAtEquals = true, .omitMul = omitMul});
  CheckerState = keep;
  return bad == 0;
}
