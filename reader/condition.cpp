#include "reader/condition.h"

#include <fnmatch.h>

#include <cctype>
#include <charconv>
#include <vector>

namespace vellum {

namespace {

// Parentheses and ! nest at most this deep.
constexpr int kMostNesting = 64;

struct Value {
  std::string text;
  bool isNumber = false;
  double number = 0;

  static Value ofText(std::string text) {
    Value value;
    value.text = std::move(text);
    const char *first = value.text.data(), *last = first + value.text.size();
    auto [end, code] = std::from_chars(first, last, value.number);
    value.isNumber = !value.text.empty() && code == std::errc() && end == last;
    return value;
  }
  static Value ofBool(bool truth) { return ofText(truth ? "1" : "0"); }
  bool truth() const { return isNumber ? number != 0 : !text.empty() && text != "0"; }
};

// Recursive descent over the expression; `failed` once anything cannot be
// evaluated, after which every result is meaningless and ignored.
class Evaluator {
 public:
  Evaluator(const std::string &text, const VariableLookup &lookup) : text_(text), lookup_(lookup) {}

  std::optional<bool> run() {
    const Value value = orExpression();
    skipBlanks();
    if (failed_ || at_ != text_.size()) return std::nullopt;
    return value.truth();
  }

 private:
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
  Value fail() {
    failed_ = true;
    at_ = text_.size();
    return {};
  }

  Value orExpression() {
    Value left = andExpression();
    while (!failed_ && take("||")) {
      const Value right = andExpression();
      left = Value::ofBool(left.truth() || right.truth());
    }
    return left;
  }
  Value andExpression() {
    Value left = notExpression();
    while (!failed_ && take("&&")) {
      const Value right = notExpression();
      left = Value::ofBool(left.truth() && right.truth());
    }
    return left;
  }
  Value notExpression() {
    skipBlanks();
    if (at_ < text_.size() && text_[at_] == '!' && text_.compare(at_, 2, "!=") != 0) {
      ++at_;
      if (++depth_ > kMostNesting) return fail();
      const Value operand = notExpression();
      --depth_;
      return Value::ofBool(!operand.truth());
    }
    return comparison();
  }
  Value comparison() {
    Value left = value();
    static const char *const kOperators[] = {"==", "!=", "<=", ">=", "=~", "<", ">"};
    for (const char *op : kOperators) {
      if (failed_ || !take(op)) continue;
      const Value right = value();
      const std::string name = op;
      if (name == "=~") return Value::ofBool(fnmatch(right.text.c_str(), left.text.c_str(), 0) == 0);
      const bool numbers = left.isNumber && right.isNumber;
      const int order = numbers ? (left.number < right.number ? -1 : left.number > right.number ? 1 : 0)
                                : left.text.compare(right.text);
      if (name == "==") return Value::ofBool(order == 0);
      if (name == "!=") return Value::ofBool(order != 0);
      if (name == "<") return Value::ofBool(order < 0);
      if (name == "<=") return Value::ofBool(order <= 0);
      if (name == ">") return Value::ofBool(order > 0);
      return Value::ofBool(order >= 0);
    }
    return left;
  }

  // A name after $ or in defined(...): letters, digits, _, : and .
  std::string name() {
    const size_t first = at_;
    while (at_ < text_.size() &&
           (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_' ||
            text_[at_] == ':' || text_[at_] == '.'))
      ++at_;
    std::string found = text_.substr(first, at_ - first);
    if (found.rfind("user:", 0) == 0) found.erase(0, 5);
    return found;
  }
  Value variable() {
    ++at_;  // '$'
    std::string variableName;
    if (at_ < text_.size() && text_[at_] == '{') {
      ++at_;
      variableName = name();
      if (at_ >= text_.size() || text_[at_] != '}') return fail();
      ++at_;
    } else {
      variableName = name();
    }
    if (variableName.empty()) return fail();
    const std::optional<std::string> found = lookup_(variableName);
    if (!found) return fail();
    return Value::ofText(*found);
  }
  Value quoted(char quote) {
    const size_t first = ++at_;
    while (at_ < text_.size() && text_[at_] != quote) ++at_;
    if (at_ >= text_.size()) return fail();
    return Value::ofText(text_.substr(first, at_++ - first));
  }
  Value value() {
    skipBlanks();
    if (failed_ || at_ >= text_.size()) return fail();
    const char c = text_[at_];
    if (c == '(') {
      ++at_;
      if (++depth_ > kMostNesting) return fail();
      const Value inner = orExpression();
      --depth_;
      if (!take(")")) return fail();
      return inner;
    }
    if (c == '\'' || c == '"') return quoted(c);
    if (c == '$') return variable();
    // A number, a function or a bare word.
    const size_t first = at_;
    while (at_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[at_])) ||
                                  std::string("._-+:").find(text_[at_]) != std::string::npos))
      ++at_;
    const std::string word = text_.substr(first, at_ - first);
    if (word.empty()) return fail();
    skipBlanks();
    if (at_ < text_.size() && text_[at_] == '(') return function(word);
    return Value::ofText(word);
  }
  Value function(const std::string &function) {
    ++at_;  // '('
    if (++depth_ > kMostNesting) return fail();
    const Value result = call(function);
    --depth_;
    return result;
  }
  Value call(const std::string &function) {
    if (function == "defined") {
      skipBlanks();
      if (at_ < text_.size() && text_[at_] == '$') ++at_;
      const std::string variableName = name();
      if (variableName.empty() || !take(")")) return fail();
      return Value::ofBool(lookup_(variableName).has_value());
    }
    if (function != "concat") return fail();
    std::string joined;
    if (take(")")) return Value::ofText(joined);
    do {
      joined += value().text;
    } while (!failed_ && take(","));
    if (!take(")")) return fail();
    return Value::ofText(joined);
  }

  const std::string &text_;
  const VariableLookup &lookup_;
  size_t at_ = 0;
  int depth_ = 0;
  bool failed_ = false;
};

}  // namespace

std::optional<bool> evaluateCondition(const std::string &expression, const VariableLookup &lookup) {
  return Evaluator(expression, lookup).run();
}

}  // namespace vellum
