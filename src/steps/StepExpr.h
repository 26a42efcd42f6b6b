// Reads one piece of a pupil's working (an expression text that passed the whole-text check) into a small
// tree, computes its exact value with the engine's checked 64-bit fractions, and flattens it into the
// terms of a sum and the factors of a product, which is what the step checker compares. It never shows a
// message: the caller runs it under a quiet platform.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/Bunsuu.h"

namespace steps {

enum class NodeKind { Number, Neg, Add, Sub, Mul, Div, Pow, Fact, Perm, Comb, Group, ExprFrac };

// What kind of number a Number node is, as written.
enum class NumberForm { Integer, Fraction, Mixed, Decimal };

struct Node {
  NodeKind kind = NodeKind::Number;
  int a = -1;  // first child (operand, group content, expression fraction's denominator)
  int b = -1;  // second child (right operand, expression fraction's numerator)
  int begin = 0;  // the node's text in the piece: [begin, end)
  int end = 0;
  NumberForm form = NumberForm::Integer;  // Number only
  Bunsuu value = BUNSUU_ERROR;  // Number: its value as read (positive or zero)
  int32_t exponent = 0;  // Pow
  int64_t whole = 0;  // ExprFrac: its whole part
  int sign = 1;  // ExprFrac: its sign
  Bunsuu val = BUNSUU_ERROR;  // the node's exact value (canonical), computed when the piece is read
  int fail = 0;  // a ValueFailure when val is BUNSUU_ERROR
};

// Why a value could not be computed.
enum class ValueFailure { None, Overflow, DivisionByZero, Other };

struct Piece {
  std::string text;  // the normalised text (signs as m and p)
  std::vector<Node> nodes;
  int root = -1;
  // Not readable by this reader although the checker accepted it (unknowns, relations, ratios …):
  // position (1-based) and the reason; 0 when the tree was built.
  int badPosition = 0;
  std::string badReason;
  Bunsuu value = BUNSUU_ERROR;  // the exact value, reduced (improper form, whole 0)
  ValueFailure failure = ValueFailure::None;
  bool Readable() const { return root >= 0 && badPosition == 0; }
  bool HasValue() const { return Readable() && failure == ValueFailure::None; }
  std::string Text(int node) const;
};

// Builds the tree of an already checked and normalised text and computes its value.
Piece ReadPiece(const std::string& normalized);

// Exact value helpers: a canonical form (improper, reduced, zero as BUNSUU_ZERO) so that equal values
// compare equal with ==; failures come back as BUNSUU_ERROR with the reason.
Bunsuu Canon(const Bunsuu& v);
Bunsuu Checked(char op, const Bunsuu& a, const Bunsuu& b, ValueFailure* why = nullptr);
// The value of one node (canonical), or BUNSUU_ERROR.
Bunsuu NodeValue(const Piece& p, int node, ValueFailure* why = nullptr);

// One term of a flattened sum: its sign (+1/-1) and its node, never a Neg or a Group of a sum.
struct Term {
  int sign = 1;
  int node = -1;
};
std::vector<Term> FlattenSum(const Piece& p, int node);

// One factor of a flattened product: the operator before it ('*' for the first) and its node.
struct Factor {
  char op = '*';
  int node = -1;
};
// The factors of a chain of "*" and "/"; sign receives the product's sign (-1 for each Neg taken out).
std::vector<Factor> FlattenProduct(const Piece& p, int node, int& sign);

// The node without groups around it and, when it is a signed single node, without its signs (sign
// receives them).
int Unwrap(const Piece& p, int node, int& sign);
bool IsNumber(const Piece& p, int node);
bool IsProduct(const Piece& p, int node);  // "*" or "/" at its top

}  // namespace steps
