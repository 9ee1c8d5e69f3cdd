// The expressions of conditional RIB (IfBegin, ElseIf): comparisons of
// $name variables (the values of Option "user", also written $user:name
// or ${name}) with string or number literals, joined by &&, || and !.
//
//   expression := or;  or := and ("||" and)*;  and := not ("&&" not)*
//   not := "!" not | comparison
//   comparison := value [("==" | "!=" | "<" | "<=" | ">" | ">=" | "=~") value]
//   value := "(" expression ")" | 'text' | "text" | number | $name | ${name}
//          | defined(name) | concat(value, ...) | a bare word (as text)
//
// Two values compare as numbers when both are numbers (or texts that read
// as numbers), else as texts; =~ matches the left text against the right
// one as a glob pattern (*, ?, [...]).  A value alone is true when it is a
// number other than 0 or a text other than "" and "0".
#ifndef VELLUM_READER_CONDITION_H
#define VELLUM_READER_CONDITION_H

#include <functional>
#include <optional>
#include <string>

namespace vellum {

// A variable's value as text, or none when it is not set.
using VariableLookup = std::function<std::optional<std::string>(const std::string &name)>;

// The truth of `expression`; none when it cannot be evaluated (bad syntax,
// a variable that is not set, an unknown function).  The work is linear in
// the expression's length, and nesting is bounded so that a hostile one
// cannot exhaust the stack.
std::optional<bool> evaluateCondition(const std::string &expression, const VariableLookup &lookup);

}  // namespace vellum

#endif
