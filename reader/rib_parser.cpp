#include "reader/rib_parser.h"

#include <cstring>
#include <utility>

#include "decl/declaration.h"
#include "decl/standard_declarations.h"
#include "decl/string_table.h"

namespace vellum {

namespace {

std::string quote(const std::string &text) { return "\"" + text + "\""; }

void pushNumber(RibValue &array, double number, bool integer) {
  array.floats.push_back(static_cast<float>(number));
  if (array.allIntegers && integer) {
    array.ints.push_back(static_cast<RtInt>(number));
  } else if (array.allIntegers) {
    array.allIntegers = false;
    array.ints.clear();
  }
}

RibRequest commentOf(Token &token) {
  RibRequest comment;
  comment.isComment = true;
  comment.structure = token.structure;
  comment.comment.swap(token.text);
  comment.line = token.line;
  return comment;
}

RibValue emptyArray(RibValue::Kind kind) {
  RibValue value;
  value.kind = kind;
  return value;
}

}  // namespace

RibParser::RibParser(ByteSource &source, std::string fileName, DiagnosticSink sink)
    : lexer_(source), fileName_(std::move(fileName)), sink_(std::move(sink)) {
  loadStandardDeclarations([](char *name, char *declaration) -> RtToken {
    if (declaration != nullptr && *declaration != '\0') return declare(name, declaration, nullptr, false);
    return internString(name);
  });
  advance();
}

void RibParser::report(int line, const std::string &message) {
  ++errors_;
  if (sink_) sink_(fileName_ + ":" + std::to_string(line) + ": " + message);
}

void RibParser::advance() { lexer_.next(token_); }

const RequestShape *RibParser::shapeOf(const RibRequest &request) const {
  return request.isComment ? nullptr : findRequestShape(request.name);
}

bool RibParser::readArray(RibValue &value) {
  const int line = token_.line;
  value = emptyArray(RibValue::kNumbers);
  bool strings = false;
  for (advance();; advance()) {
    switch (token_.kind) {
      case TokenKind::kArrayEnd:
        advance();
        if (strings) value.kind = RibValue::kStrings;
        return true;
      case TokenKind::kNumber:
        if (strings) return report(token_.line, "an array mixes strings and numbers"), false;
        pushNumber(value, token_.number, token_.integer);
        break;
      case TokenKind::kFloatArray:
        if (strings) return report(token_.line, "an array mixes strings and numbers"), false;
        for (float f : token_.floats) pushNumber(value, f, false);
        break;
      case TokenKind::kString:
        if (!value.floats.empty()) return report(token_.line, "an array mixes strings and numbers"), false;
        strings = true;
        value.strings.push_back(token_.text);
        break;
      case TokenKind::kComment:
        comments_.push_back(commentOf(token_));
        break;
      case TokenKind::kArrayBegin:
        return report(token_.line, "an array inside an array"), false;
      case TokenKind::kError:
        return report(token_.line, token_.text), false;
      default:
        return report(line, "an array without its closing \"]\""), false;
    }
  }
}

bool RibParser::readItem(RibValue &value, int *line) {
  *line = token_.line;
  switch (token_.kind) {
    case TokenKind::kNumber:
      value.kind = RibValue::kNumber;
      value.number = token_.number;
      value.integer = token_.integer;
      advance();
      return true;
    case TokenKind::kString:
      value.kind = RibValue::kString;
      value.string.swap(token_.text);
      advance();
      return true;
    case TokenKind::kFloatArray:
      value = emptyArray(RibValue::kNumbers);
      value.floats.swap(token_.floats);
      value.allIntegers = false;
      advance();
      return true;
    case TokenKind::kArrayBegin:
      return readArray(value);
    case TokenKind::kArrayEnd:
      report(token_.line, "\"]\" without \"[\"");
      advance();
      return false;
    default:
      report(token_.line, token_.text);
      advance();
      return false;
  }
}

// Skips to the next keyword or the end, keeping comments.
void RibParser::skipRequest() {
  while (token_.kind != TokenKind::kKeyword && token_.kind != TokenKind::kEnd) {
    if (token_.kind == TokenKind::kComment) comments_.push_back(commentOf(token_));
    advance();
  }
}

bool RibParser::next(RibRequest &request) {
  for (;;) {
    if (!comments_.empty()) {
      request = std::move(comments_.front());
      comments_.pop_front();
      return true;
    }
    switch (token_.kind) {
      case TokenKind::kEnd:
        return false;
      case TokenKind::kError:
        report(token_.line, token_.text);
        advance();
        continue;
      case TokenKind::kComment:
        request = commentOf(token_);
        advance();
        return true;
      case TokenKind::kKeyword:
        break;
      default:
        report(token_.line, "operands without a request");
        skipRequest();
        continue;
    }

    request.isComment = false;
    request.name.swap(token_.text);
    request.line = token_.line;
    request.operands.clear();
    request.parameters.clear();
    advance();
    const RequestShape *shape = findRequestShape(request.name);
    if (shape == nullptr) {
      report(request.line, "unknown request " + request.name);
      skipRequest();
      continue;
    }
    items_.clear();
    bool sound = true;
    while (sound && token_.kind != TokenKind::kKeyword && token_.kind != TokenKind::kEnd) {
      if (token_.kind == TokenKind::kComment) {
        skipRequest();  // queues the comment
        continue;
      }
      items_.emplace_back();
      int line;
      sound = readItem(items_.back(), &line);
    }
    if (!sound) {
      skipRequest();
      continue;
    }
    size_t used = 0;
    if (matchOperands(*shape, items_, &used, request) &&
        matchParameters(items_, used, request) && checkRequest(*shape, request))
      return true;
  }
}

bool RibParser::matchOperands(const RequestShape &shape, std::vector<RibValue> &items,
                              size_t *used, RibRequest &request) {
  const std::string where = request.name + ": ";
  size_t k = 0;
  const RibValue *unpack = nullptr;  // an array whose numbers fill scalar operands
  size_t unpackAt = 0;
  auto missing = [&](const char *what) {
    report(request.line, where + "expected " + what + " as operand " +
                             std::to_string(request.operands.size() + 1));
    return false;
  };
  for (const char *s = shape.operands; *s != '\0'; ++s) {
    const char c = *s;
    if (unpack != nullptr && c != 'i' && c != 'f')
      return report(request.line, where + "too many numbers in an operand array"), false;
    RibValue *item = k < items.size() ? &items[k] : nullptr;
    switch (c) {
      case 'i':
      case 'f': {
        RibValue number;
        if (unpack == nullptr && item != nullptr && item->kind == RibValue::kNumbers &&
            !item->floats.empty()) {
          unpack = item;
          unpackAt = 0;
          ++k;
        }
        if (unpack != nullptr) {
          number.number = unpack->allIntegers ? unpack->ints[unpackAt] : unpack->floats[unpackAt];
          number.integer = unpack->allIntegers;
          if (++unpackAt == unpack->floats.size()) unpack = nullptr;
        } else if (item != nullptr && item->kind == RibValue::kNumber) {
          number = std::move(*item);
          ++k;
        } else {
          return missing(c == 'i' ? "an integer" : "a number");
        }
        if (c == 'i' && !number.integer) return missing("an integer");
        request.operands.push_back(std::move(number));
        break;
      }
      case 's':
        if (item != nullptr && item->kind == RibValue::kStrings && item->strings.size() == 1) {
          item->kind = RibValue::kString;
          item->string = item->strings[0];
        }
        if (item == nullptr || item->kind != RibValue::kString) return missing("a string");
        request.operands.push_back(std::move(*item));
        ++k;
        break;
      case 'I':
      case 'F':
        if (item == nullptr || item->kind != RibValue::kNumbers ||
            (c == 'I' && !item->allIntegers))
          return missing(c == 'I' ? "an array of integers" : "an array of numbers");
        request.operands.push_back(std::move(*item));
        ++k;
        break;
      case 'S':
        if (item != nullptr && item->kind == RibValue::kNumbers && item->floats.empty())
          item->kind = RibValue::kStrings;
        if (item == nullptr || item->kind != RibValue::kStrings) return missing("an array of strings");
        request.operands.push_back(std::move(*item));
        ++k;
        break;
      case 'B':
        if (item == nullptr || !(item->kind == RibValue::kString ||
                                 (item->kind == RibValue::kNumbers && item->floats.size() == 16)))
          return missing("a basis name or 16 numbers");
        request.operands.push_back(std::move(*item));
        ++k;
        break;
      case 'T': {
        // Tags, their argument counts, and the integer and float arguments,
        // each present only when needed; always handed out as four arrays.
        RibValue tags = emptyArray(RibValue::kStrings), nargs = emptyArray(RibValue::kNumbers),
                 intargs = emptyArray(RibValue::kNumbers), floatargs = emptyArray(RibValue::kNumbers);
        if (item != nullptr && item->kind == RibValue::kStrings) {
          tags = std::move(*item);
          ++k;
          if (k >= items.size() || items[k].kind != RibValue::kNumbers || !items[k].allIntegers)
            return missing("the argument counts of the tags");
          nargs = std::move(items[k++]);
          if (nargs.ints.size() != 2 * tags.strings.size())
            return report(request.line, where + "the tags need " +
                                            std::to_string(2 * tags.strings.size()) +
                                            " argument counts, not " +
                                            std::to_string(nargs.ints.size())),
                   false;
          int64_t intCount = 0, floatCount = 0;
          for (size_t t = 0; t < tags.strings.size(); ++t) {
            intCount += nargs.ints[2 * t];
            floatCount += nargs.ints[2 * t + 1];
          }
          auto arrayAt = [&](size_t i) {
            return i < items.size() && items[i].kind == RibValue::kNumbers;
          };
          if (arrayAt(k) && (intCount > 0 || items[k].floats.empty())) {
            if (!items[k].allIntegers) return missing("the integer arguments of the tags");
            intargs = std::move(items[k++]);
          }
          if (arrayAt(k) && (floatCount > 0 || items[k].floats.empty())) floatargs = std::move(items[k++]);
          if (static_cast<int64_t>(intargs.ints.size()) != intCount ||
              static_cast<int64_t>(floatargs.floats.size()) != floatCount)
            return report(request.line, where + "the tags need " + std::to_string(intCount) +
                                            " integer and " + std::to_string(floatCount) +
                                            " float arguments"),
                   false;
        }
        request.operands.push_back(std::move(tags));
        request.operands.push_back(std::move(nargs));
        request.operands.push_back(std::move(intargs));
        request.operands.push_back(std::move(floatargs));
        break;
      }
    }
  }
  if (unpack != nullptr) return report(request.line, where + "too many numbers in an operand array"), false;
  if (!shape.parameters && k < items.size())
    return report(request.line, where + "too many operands"), false;
  *used = k;
  return true;
}

bool RibParser::matchParameters(std::vector<RibValue> &items, size_t first, RibRequest &request) {
  for (size_t k = first; k < items.size(); k += 2) {
    RibValue &token = items[k];
    if (token.kind == RibValue::kStrings && token.strings.size() == 1) {
      token.kind = RibValue::kString;
      token.string = token.strings[0];
    }
    if (token.kind != RibValue::kString)
      return report(request.line, request.name + ": expected a parameter name, not a value"), false;
    if (k + 1 >= items.size())
      return report(request.line, request.name + ": parameter " + quote(token.string) +
                                      " has no value"),
             false;
    RibParameter parameter;
    parameter.token = std::move(token.string);
    parameter.value = std::move(items[k + 1]);
    RibValue &value = parameter.value;
    // A single value may stand without brackets.
    if (value.kind == RibValue::kNumber) {
      RibValue array = emptyArray(RibValue::kNumbers);
      pushNumber(array, value.number, value.integer);
      value = std::move(array);
    } else if (value.kind == RibValue::kString) {
      RibValue array = emptyArray(RibValue::kStrings);
      array.strings.push_back(std::move(value.string));
      value = std::move(array);
    }
    request.parameters.push_back(std::move(parameter));
  }
  return true;
}

}  // namespace vellum
