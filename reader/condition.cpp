#include "reader/condition.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string_view>

#include "reader/glob_match.h"

namespace vellum {

namespace {

// Parentheses, !, unary signs and functions nest at most this deep.
constexpr int kMostNesting = 64;

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
// What a bare word begins with, and what may follow a number to make it a
// word instead.
bool isWordStart(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == ':';
}
bool isWordByte(char c) { return isWordStart(c) || c == '-' || c == '+'; }
bool isNameByte(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == ':' || c == '.';
}

// Where the unsigned number that begins at `at` ends (`at` when none does):
// digits with an optional point, or a point and digits, then an optional
// exponent, taken only when digits follow its "e" and sign.
size_t numberEnd(std::string_view text, size_t at) {
  const auto digits = [&](size_t from) {
    while (from < text.size() && isDigit(text[from])) ++from;
    return from;
  };
  const size_t first = at;
  at = digits(at);
  const bool before = at > first;
  if (at < text.size() && text[at] == '.') {
    const size_t after = digits(at + 1);
    if (!before && after == at + 1) return first;
    at = after;
  } else if (!before) {
    return first;
  }
  if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
    size_t exponent = at + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    const size_t end = digits(exponent);
    if (end > exponent) at = end;
  }
  return at;
}

// The value of `text` when all of it is a number (a sign allowed), in the
// range of doubles.
bool readNumber(std::string_view text, double &number) {
  size_t first = 0;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) first = 1;
  if (numberEnd(text, first) != text.size() || first == text.size()) return false;
  // from_chars takes a "-" but not a "+".
  const char *start = text.data() + (text[0] == '+' ? 1 : 0);
  const auto [end, code] = std::from_chars(start, text.data() + text.size(), number);
  return code == std::errc() && end == text.data() + text.size();
}

struct Value {
  std::string text;
  bool isNumber = false;
  double number = 0;

  bool truth() const { return isNumber ? number != 0 : !text.empty() && text != "0"; }
};

Value textValue(std::string text) {
  Value value;
  value.text = std::move(text);
  value.isNumber = readNumber(value.text, value.number);
  return value;
}

// Recursive descent over the expression.  Once it stops (the expression
// cannot be evaluated, or its work would pass the most) the rest of the
// text is skipped and every value after is meaningless and ignored.
class Evaluator {
 public:
  Evaluator(const std::string &text, const VariableLookup &lookup, uint64_t mostWork)
      : text_(text), lookup_(lookup), mostWork_(mostWork) {}

  ConditionResult run() {
    const Value value = orExpression();
    skipBlanks();
    if (at_ != text_.size()) fail();
    if (stopped_) return {why_, work_};
    return {value.truth() ? ConditionResult::kTrue : ConditionResult::kFalse, work_};
  }

 private:
  bool stopped() const { return stopped_; }
  Value stop(ConditionResult::Status why) {
    if (!stopped_) why_ = why;
    stopped_ = true;
    at_ = text_.size();
    return {};
  }
  Value fail() { return stop(ConditionResult::kCannotEvaluate); }
  // A value that has none (a variable not set, a division by zero): the
  // expression cannot be evaluated, unless this part of it is only being
  // read past (the right side of an && whose left is false, or of an ||
  // whose left is true), which asks for no value.
  Value undefined() { return skipping_ > 0 ? Value{} : fail(); }
  // Counts `bytes` of work about to be done; false (and stopped) when they
  // would pass the most.
  bool charge(uint64_t bytes) {
    if (bytes > mostWork_ - work_) {
      stop(ConditionResult::kTooLarge);
      return false;
    }
    work_ += bytes;
    return true;
  }
  bool enter() {
    if (++depth_ <= kMostNesting) return true;
    fail();
    return false;
  }

  void skipBlanks() {
    while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) ++at_;
  }
  bool take(const char *token) {
    skipBlanks();
    const size_t length = std::char_traits<char>::length(token);
    if (text_.compare(at_, length, token) != 0) return false;
    at_ += length;
    return true;
  }
  // The operator byte at the cursor when it is one of `operators`, else 0.
  char takeOneOf(const char *operators) {
    skipBlanks();
    if (at_ >= text_.size() || std::string_view(operators).find(text_[at_]) == std::string_view::npos)
      return 0;
    return text_[at_++];
  }

  // A number worked out by the expression, printed.
  Value numberValue(double number) {
    if (stopped() || skipping_ > 0) return {};
    if (!std::isfinite(number)) return fail();
    number += 0.0;  // -0 prints as 0
    char printed[32];
    const auto [end, code] = std::to_chars(printed, printed + sizeof printed, number);
    if (code != std::errc()) return fail();
    if (!charge(static_cast<uint64_t>(end - printed))) return {};
    Value value;
    value.text.assign(printed, end);
    value.isNumber = true;
    value.number = number;
    return value;
  }
  Value truthValue(bool truth) { return numberValue(truth ? 1 : 0); }

  // The right side of || and && is only read past when the left one
  // decides, as in C: "defined(x) && $x == 1" holds where x is not set.
  Value orExpression() {
    Value left = andExpression();
    while (!stopped() && take("||")) {
      const bool decided = left.truth();
      skipping_ += decided;
      const Value right = andExpression();
      skipping_ -= decided;
      left = truthValue(decided || right.truth());
    }
    return left;
  }
  Value andExpression() {
    Value left = notExpression();
    while (!stopped() && take("&&")) {
      const bool decided = !left.truth();
      skipping_ += decided;
      const Value right = notExpression();
      skipping_ -= decided;
      left = truthValue(!decided && right.truth());
    }
    return left;
  }
  Value notExpression() {
    skipBlanks();
    if (at_ < text_.size() && text_[at_] == '!' && text_.compare(at_, 2, "!=") != 0) {
      ++at_;
      if (!enter()) return {};
      const Value operand = notExpression();
      --depth_;
      return truthValue(!operand.truth());
    }
    return comparison();
  }
  Value comparison() {
    Value left = sum();
    static const char *const kOperators[] = {"==", "!=", "<=", ">=", "=~", "<", ">"};
    for (const char *op : kOperators) {
      if (stopped() || !take(op)) continue;
      const Value right = sum();
      if (stopped()) return {};
      const std::string_view name = op;
      if (name == "=~") return match(left.text, right.text);
      const bool numbers = left.isNumber && right.isNumber;
      const int order = numbers ? (left.number < right.number ? -1 : left.number > right.number ? 1 : 0)
                                : left.text.compare(right.text);
      if (name == "==") return truthValue(order == 0);
      if (name == "!=") return truthValue(order != 0);
      if (name == "<") return truthValue(order < 0);
      if (name == "<=") return truthValue(order <= 0);
      if (name == ">") return truthValue(order > 0);
      return truthValue(order >= 0);
    }
    return left;
  }
  Value match(const std::string &text, const std::string &pattern) {
    if (skipping_ > 0) return {};
    const GlobMatch found = matchGlob(pattern, text, mostWork_ - work_);
    work_ += found.steps;
    if (!found.finished) return stop(ConditionResult::kTooLarge);
    return truthValue(found.matched);
  }

  Value sum() {
    Value left = product();
    while (!stopped()) {
      const char op = takeOneOf("+-");
      if (op == 0) break;
      const Value right = product();
      left = arithmetic(op, left, right);
    }
    return left;
  }
  Value product() {
    Value left = unary();
    while (!stopped()) {
      const char op = takeOneOf("*/%");
      if (op == 0) break;
      const Value right = unary();
      left = arithmetic(op, left, right);
    }
    return left;
  }
  Value arithmetic(char op, const Value &left, const Value &right) {
    if (stopped()) return {};
    if (!left.isNumber || !right.isNumber) return undefined();
    const double a = left.number, b = right.number;
    switch (op) {
      case '+': return numberValue(a + b);
      case '-': return numberValue(a - b);
      case '*': return numberValue(a * b);
      case '/': return b == 0 ? undefined() : numberValue(a / b);
      default: return b == 0 ? undefined() : numberValue(std::fmod(a, b));
    }
  }
  Value unary() {
    const char sign = takeOneOf("+-");
    if (sign == 0) return value();
    if (!enter()) return {};
    const Value operand = unary();
    --depth_;
    if (stopped()) return {};
    if (!operand.isNumber) return undefined();
    return numberValue(sign == '-' ? -operand.number : operand.number);
  }

  Value value() {
    skipBlanks();
    if (stopped() || at_ >= text_.size()) return fail();
    const char c = text_[at_];
    if (c == '(') {
      ++at_;
      if (!enter()) return {};
      Value inner = orExpression();
      --depth_;
      if (!take(")")) return fail();
      return inner;
    }
    if (c == '\'' || c == '"') return quoted(c);
    if (c == '$') return variable();
    if (isWordStart(c)) return numberOrWord();
    return fail();
  }
  Value quoted(char quote) {
    const size_t first = ++at_;
    while (at_ < text_.size() && text_[at_] != quote) ++at_;
    if (at_ >= text_.size()) return fail();
    return textValue(text_.substr(first, at_++ - first));
  }
  // A number (as written), a function, true, false or a bare word.
  Value numberOrWord() {
    const size_t first = at_;
    const size_t end = numberEnd(text_, first);
    if (end > first && (end == text_.size() || !isWordStart(text_[end]))) {
      at_ = end;
      return textValue(text_.substr(first, end - first));
    }
    while (at_ < text_.size() && isWordByte(text_[at_])) ++at_;
    const std::string word = text_.substr(first, at_ - first);
    skipBlanks();
    if (at_ < text_.size() && text_[at_] == '(') return function(word);
    if (word == "true" || word == "false") return truthValue(word == "true");
    return textValue(word);
  }

  // A name after $ or in defined(...).
  std::string name() {
    const size_t first = at_;
    while (at_ < text_.size() && isNameByte(text_[at_])) ++at_;
    std::string found = text_.substr(first, at_ - first);
    if (found.rfind("user:", 0) == 0) found.erase(0, 5);
    return found;
  }
  Value variable() {
    ++at_;  // '$'
    const char open = at_ < text_.size() ? text_[at_] : 0;
    const char close = open == '{' ? '}' : open == '(' ? ')' : 0;
    if (close != 0) ++at_;
    const std::string variableName = name();
    if (close != 0) {
      if (at_ >= text_.size() || text_[at_] != close) return fail();
      ++at_;
    }
    if (variableName.empty()) return fail();
    if (skipping_ > 0) return {};
    const std::string *found = lookup_(variableName);
    if (found == nullptr) return fail();
    if (!charge(found->size())) return {};
    return textValue(*found);
  }

  Value function(const std::string &function) {
    ++at_;  // '('
    if (!enter()) return {};
    Value result = call(function);
    --depth_;
    return result;
  }
  Value call(const std::string &function) {
    if (function == "defined") {
      skipBlanks();
      if (at_ < text_.size() && text_[at_] == '$') ++at_;
      const std::string variableName = name();
      if (variableName.empty() || !take(")")) return fail();
      return truthValue(lookup_(variableName) != nullptr);
    }
    if (function != "concat") return fail();
    std::string joined;
    if (take(")")) return textValue(joined);
    do {
      const Value part = orExpression();
      if (stopped() || (skipping_ == 0 && !charge(part.text.size()))) return {};
      joined += part.text;
    } while (take(","));
    if (!take(")")) return fail();
    return textValue(std::move(joined));
  }

  const std::string &text_;
  const VariableLookup &lookup_;
  const uint64_t mostWork_;
  uint64_t work_ = 0;
  size_t at_ = 0;
  int depth_ = 0;
  int skipping_ = 0;  // inside parts read past, not evaluated
  bool stopped_ = false;
  ConditionResult::Status why_ = ConditionResult::kCannotEvaluate;  // once stopped
};

}  // namespace

ConditionResult evaluateCondition(const std::string &expression, const VariableLookup &lookup,
                                  uint64_t mostWork) {
  return Evaluator(expression, lookup, mostWork).run();
}

}  // namespace vellum
