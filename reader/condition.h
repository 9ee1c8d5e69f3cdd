// The expressions of conditional RIB (IfBegin, ElseIf): comparisons and
// arithmetic of $name variables (the values of Option "user") and
// literals, joined by &&, || and !.
//
//   expression := or;  or := and ("||" and)*;  and := not ("&&" not)*
//   not := "!" not | comparison
//   comparison := sum [("==" | "!=" | "<" | "<=" | ">" | ">=" | "=~") sum]
//   sum := product (("+" | "-") product)*
//   product := unary (("*" | "/" | "%") unary)*
//   unary := ("-" | "+") unary | value
//   value := "(" expression ")" | 'text' | "text" | number | true | false
//          | $name | ${name} | $(name) | defined(name) | defined($name)
//          | concat([expression ("," expression)*]) | a bare word (as text)
//
// A name is letters, digits, "_", ":" and "."; "user:name" is "name".
// A number is written as RIB writes one: an optional sign (as text only:
// in an expression a sign is the operator), digits with an optional point
// (or a point and digits), an optional exponent ("1", "0.5", ".5", "2e-3").
// A bare word is letters, digits, "_", ".", ":", "-" and "+"; it begins
// with a letter, "_", "." or ":", or it is a number followed at once by
// one of those (as in "2nd-pass" or "1.2.3").  So "-" and "+" join a word
// ("shot-2" is one word) but follow a number as operators ("12-3" is 9);
// write blanks around them to subtract from a variable's value.  The bare
// words true and false are the numbers 1 and 0.
//
// Each value is a text, and a number too when its text reads as one; a
// literal number keeps the text it was written with.  Arithmetic takes
// numbers only (a text that is not a number cannot be evaluated, nor is a
// division or modulo by zero, nor a result past the range of doubles); it
// is worked out in doubles, % as C's fmod, and its result is printed as
// the shortest text that reads back as the same number ("29", "0.5",
// "1e+20").  Unary minus and plus bind tightest, then * / %, then + -,
// then the comparisons, then !, && and ||; a comparison does not chain.
// Two values compare as numbers when both are numbers, else as texts (so
// a word compared with a number compares as text); a comparison is the
// number 1 or 0.  =~ matches the left text against the right one as a
// glob pattern (see reader/glob_match.h).  A value alone is true when it
// is a number other than 0 or a text other than "" and "0".  As in C, the
// right side of && is only read past (checked, not evaluated) when the
// left one is false, and of || when it is true: "defined(x) && $x == 1"
// is false where x is not set.
//
// Bounds: parentheses, !, unary signs and functions nest at most 64 deep.
// The work of an expression is the bytes of text it builds (each variable
// value it takes, each concat result, each number it prints, comparisons'
// 1 and 0 and true and false included) plus the steps of its glob
// matches; the evaluation stops as soon as the work would pass the most
// it is given, so that its time and memory stay in proportion to the
// expression's length and that most.
#ifndef VELLUM_READER_CONDITION_H
#define VELLUM_READER_CONDITION_H

#include <cstdint>
#include <functional>
#include <string>

namespace vellum {

// A variable's value, or null when it is not set.  The value must stay as
// it is while the expression is evaluated.
using VariableLookup = std::function<const std::string *(const std::string &name)>;

struct ConditionResult {
  enum Status {
    kTrue,
    kFalse,
    kCannotEvaluate,  // bad syntax, a variable that is not set, an unknown
                      // function, arithmetic that has no result, nesting too deep
    kTooLarge,        // its work would pass the most it was given
  };
  Status status;
  // The work done (see above), at most the most allowed; for kTooLarge
  // what was done up to where it stopped.
  uint64_t work;
};

// Evaluates `expression`, doing at most `mostWork` work.
ConditionResult evaluateCondition(const std::string &expression, const VariableLookup &lookup,
                                  uint64_t mostWork);

}  // namespace vellum

#endif
