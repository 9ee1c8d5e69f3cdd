#include "reader/rib_parser.h"

#include <cstring>
#include <utility>

namespace vellum {

namespace {

std::string quote(const std::string &text) { return "\"" + text + "\""; }

// A one-string array where a string is expected is taken as the string.
void unwrapString(RibValue &value) {
  if (value.kind == RibValue::kStrings && value.strings.size() == 1) {
    value.kind = RibValue::kString;
    value.string = std::move(value.strings[0]);
  }
}

bool fail(std::string *error, std::string message) {
  *error = std::move(message);
  return false;
}

}  // namespace

RibParser::RibParser(std::vector<RibInput> inputs) : lexer_(std::move(inputs)) { advance(); }

void RibParser::skipInput(int input) {
  while (!comments_.empty() && comments_.front().input == input) comments_.pop_front();
  if (token_.input != input || token_.kind == TokenKind::kEnd) return;
  if (lexer_.input() == input) lexer_.skipInput();
  advance();
}

RibRequest RibParser::commentOf(Token &token) {
  RibRequest comment;
  comment.isComment = true;
  comment.structure = token.structure;
  comment.comment.swap(token.text);
  comment.input = token.input;
  comment.line = token.line;
  return comment;
}

bool RibParser::readArray(RibValue &value, std::string *error) {
  const int line = token_.line;
  value.makeNumbers();
  bool strings = false;
  for (;;) {
    // The bulk of an array, index and position arrays, is read in runs
    // without tokens; the token path takes whatever a run leaves.
    if (!strings && value.allIntegers && !value.floatsValid) lexer_.integerRun(value.ints);
    else if (!strings && !value.allIntegers) lexer_.floatRun(value.floats);
    advance();
    switch (token_.kind) {
      case TokenKind::kArrayEnd:
        advance();
        if (strings) value.kind = RibValue::kStrings;
        return true;
      case TokenKind::kNumber:
        if (strings) return fail(error, "an array mixes strings and numbers");
        value.push(token_.number, token_.integer);
        break;
      case TokenKind::kFloatArray:
        if (strings) return fail(error, "an array mixes strings and numbers");
        for (float f : token_.floats) value.push(f, false);
        break;
      case TokenKind::kString:
        if (value.size() != 0) return fail(error, "an array mixes strings and numbers");
        strings = true;
        value.strings.push_back(token_.text);
        break;
      case TokenKind::kComment:
        comments_.push_back(commentOf(token_));
        break;
      case TokenKind::kArrayBegin:
        return fail(error, "an array inside an array");
      case TokenKind::kError:
        return fail(error, token_.text);
      default:
        return fail(error, "an array without its closing \"]\" (opened on line " +
                               std::to_string(line) + ")");
    }
  }
}

bool RibParser::readItem(RibValue &value, std::string *error) {
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
      value.makeNumbers();
      value.allIntegers = false;
      value.floats.swap(token_.floats);
      value.floatsValid = true;
      advance();
      return true;
    case TokenKind::kArrayBegin:
      return readArray(value, error);
    case TokenKind::kArrayEnd:
      return fail(error, "\"]\" without \"[\"");
    default:
      return fail(error, token_.text);
  }
}

// Skips to the next keyword or the end, keeping comments.
void RibParser::skipRequest() {
  while (token_.kind != TokenKind::kKeyword && token_.kind != TokenKind::kEnd) {
    if (token_.kind == TokenKind::kComment) comments_.push_back(commentOf(token_));
    advance();
  }
}

RibParser::Result RibParser::next(RibRequest &request, const RequestRow **row,
                                  std::string *error) {
  *row = nullptr;
  if (!comments_.empty()) {
    request = std::move(comments_.front());
    comments_.pop_front();
    return Result::kComment;
  }
  request.isComment = false;
  request.name.clear();
  request.operands.clear();
  request.parameters.clear();
  request.input = token_.input;
  request.line = token_.line;
  request.bytes = 0;
  const uint64_t start = token_.start;
  switch (token_.kind) {
    case TokenKind::kEnd:
      return Result::kEnd;
    case TokenKind::kError:
      *error = token_.text;
      advance();
      return Result::kMalformed;
    case TokenKind::kComment:
      request = commentOf(token_);
      advance();
      return Result::kComment;
    case TokenKind::kKeyword:
      break;
    default:
      *error = "operands without a request";
      skipRequest();
      return Result::kMalformed;
  }

  request.name.swap(token_.text);
  advance();
  *row = findRequest(request.name);
  // Everything up to the next keyword belongs to this request; a comment
  // among its tokens comes out after it.
  items_.clear();
  while (token_.kind != TokenKind::kKeyword && token_.kind != TokenKind::kEnd) {
    if (token_.kind == TokenKind::kComment) {
      comments_.push_back(commentOf(token_));
      advance();
      continue;
    }
    // An unknown request leaves a bad token to be reported on its own.
    if (*row == nullptr && token_.kind == TokenKind::kError) break;
    items_.emplace_back();
    if (!readItem(items_.back(), error)) {
      items_.pop_back();
      skipRequest();
      request.bytes = consumedEnd_ - start;
      request.operands = std::move(items_);
      return Result::kMalformed;
    }
  }
  request.bytes = consumedEnd_ - start;
  if (*row == nullptr) {
    *error = "unknown request " + request.name;
    return Result::kMalformed;
  }
  // A request that defines a handle keeps what it read, so that a rejected
  // one can still be told by its handle.
  const bool definesHandle = std::strchr((*row)->operands, 'H') != nullptr;
  std::vector<RibValue> read;
  if (definesHandle) read = items_;
  size_t used = 0;
  if (matchOperands(**row, items_, &used, request, error) &&
      matchParameters(items_, used, request, error))
    return Result::kRequest;
  if (definesHandle) request.operands = std::move(read);
  return Result::kMalformed;
}

bool RibParser::matchTags(std::vector<RibValue> &items, size_t *k, RibRequest &request,
                          std::string *error) {
  // Tags, their argument counts, and the integer and float arguments: all
  // four, none, or (as older writers left them out) without empty argument
  // arrays.  They are always handed on as four arrays.
  RibValue tags, nargs, intargs, floatargs;
  tags.kind = RibValue::kStrings;
  nargs.makeNumbers();
  intargs.makeNumbers();
  floatargs.makeNumbers();
  auto arrayAt = [&](size_t i) {
    return i < items.size() && (items[i].kind == RibValue::kNumbers || items[i].isEmptyArray());
  };
  RibValue *item = *k < items.size() ? &items[*k] : nullptr;
  if (item != nullptr && (item->kind == RibValue::kStrings || item->isEmptyArray())) {
    tags.strings = std::move(item->strings);
    ++*k;
    if (!arrayAt(*k) || !items[*k].allIntegers)
      return fail(error, "expected the argument counts of the tags");
    nargs = std::move(items[(*k)++]);
    if (nargs.size() != 2 * tags.strings.size())
      return fail(error, "the tags need " + std::to_string(2 * tags.strings.size()) +
                             " argument counts, not " + std::to_string(nargs.size()));
    int64_t intCount = 0, floatCount = 0;
    for (size_t t = 0; t < tags.strings.size(); ++t) {
      if (nargs.ints[2 * t] < 0 || nargs.ints[2 * t + 1] < 0)
        return fail(error, "negative tag argument counts");
      intCount += nargs.ints[2 * t];
      floatCount += nargs.ints[2 * t + 1];
    }
    if (arrayAt(*k) && (intCount > 0 || items[*k].size() == 0)) {
      if (!items[*k].allIntegers) return fail(error, "expected the integer arguments of the tags");
      intargs = std::move(items[(*k)++]);
    }
    if (arrayAt(*k) && (floatCount > 0 || items[*k].size() == 0)) floatargs = std::move(items[(*k)++]);
    if (static_cast<int64_t>(intargs.size()) != intCount ||
        static_cast<int64_t>(floatargs.size()) != floatCount)
      return fail(error, "the tags need " + std::to_string(intCount) + " integer and " +
                             std::to_string(floatCount) + " float arguments, not " +
                             std::to_string(intargs.size()) + " and " +
                             std::to_string(floatargs.size()));
  }
  request.operands.push_back(std::move(tags));
  request.operands.push_back(std::move(nargs));
  request.operands.push_back(std::move(intargs));
  request.operands.push_back(std::move(floatargs));
  return true;
}

bool RibParser::matchOperands(const RequestRow &row, std::vector<RibValue> &items, size_t *used,
                              RibRequest &request, std::string *error) {
  size_t k = 0;
  RibValue *unpack = nullptr;  // an array whose numbers fill scalar operands
  size_t unpackAt = 0;
  auto missing = [&](const char *what) {
    return fail(error, "expected " + std::string(what) + " as operand " +
                           std::to_string(request.operands.size() + 1));
  };
  for (const char *s = row.operands; *s != '\0'; ++s) {
    const char c = *s;
    const bool scalar = c == 'i' || c == 'f' || c == 'b';
    if (unpack != nullptr && !scalar) return fail(error, "too many numbers in an operand array");
    RibValue *item = k < items.size() ? &items[k] : nullptr;
    switch (c) {
      case 'i':
      case 'b':
      case 'f': {
        RibValue number;
        if (unpack == nullptr && item != nullptr && item->kind == RibValue::kNumbers &&
            item->size() > 0) {
          unpack = item;
          unpackAt = 0;
          ++k;
        }
        if (unpack != nullptr) {
          number.integer = unpack->allIntegers;
          number.number = unpack->numberAt(unpackAt);
          if (++unpackAt == unpack->size()) unpack = nullptr;
        } else if (item != nullptr && item->kind == RibValue::kNumber) {
          number = std::move(*item);
          ++k;
        } else {
          return missing(c == 'f' ? "a number" : "an integer");
        }
        if (c != 'f' && !number.integer) return missing("an integer");
        if (c == 'b' && (number.number < -32768 || number.number > 32767))
          return fail(error, "operand " + std::to_string(request.operands.size() + 1) +
                                 " is out of range for a boolean: " +
                                 std::to_string(static_cast<RtInt>(number.number)));
        request.operands.push_back(std::move(number));
        break;
      }
      case 's':
        if (item != nullptr) unwrapString(*item);
        if (item == nullptr || item->kind != RibValue::kString) return missing("a string");
        request.operands.push_back(std::move(*item));
        ++k;
        break;
      case 'H':
        if (item != nullptr) unwrapString(*item);
        if (item == nullptr || !(item->kind == RibValue::kString ||
                                 (item->kind == RibValue::kNumber && item->integer)))
          return missing("a handle (an integer or a string)");
        request.operands.push_back(std::move(*item));
        ++k;
        break;
      case 'I':
      case 'F':
        if (item == nullptr || !(item->kind == RibValue::kNumbers || item->isEmptyArray()) ||
            (c == 'I' && !item->allIntegers))
          return missing(c == 'I' ? "an array of integers" : "an array of numbers");
        if (item->kind != RibValue::kNumbers) item->makeNumbers();
        request.operands.push_back(std::move(*item));
        ++k;
        break;
      case 'S':
        if (item == nullptr || !(item->kind == RibValue::kStrings || item->isEmptyArray()))
          return missing("an array of strings");
        item->kind = RibValue::kStrings;
        request.operands.push_back(std::move(*item));
        ++k;
        break;
      case 'B':
        if (item == nullptr || !(item->kind == RibValue::kString ||
                                 (item->kind == RibValue::kNumbers && item->size() == 16)))
          return missing("a basis name or 16 numbers");
        request.operands.push_back(std::move(*item));
        ++k;
        break;
      case 'T':
        if (!matchTags(items, &k, request, error)) return false;
        break;
    }
  }
  if (unpack != nullptr) return fail(error, "too many numbers in an operand array");
  if ((row.flags & kParameters) == 0 && k < items.size()) return fail(error, "too many operands");
  *used = k;
  return true;
}

bool RibParser::matchParameters(std::vector<RibValue> &items, size_t first, RibRequest &request,
                                std::string *error) {
  for (size_t k = first; k < items.size(); k += 2) {
    RibValue &token = items[k];
    unwrapString(token);
    if (token.kind != RibValue::kString)
      return fail(error, "expected a parameter name, not a value");
    if (k + 1 >= items.size())
      return fail(error, "parameter " + quote(token.string) + " has no value");
    RibParameter parameter;
    parameter.token = std::move(token.string);
    parameter.value = std::move(items[k + 1]);
    RibValue &value = parameter.value;
    // A single value may stand without brackets.
    if (value.kind == RibValue::kNumber) {
      const double number = value.number;
      const bool integer = value.integer;
      value.makeNumbers();
      value.push(number, integer);
    } else if (value.kind == RibValue::kString) {
      value.kind = RibValue::kStrings;
      value.strings.assign(1, std::move(value.string));
    }
    request.parameters.push_back(std::move(parameter));
  }
  return true;
}

}  // namespace vellum
