#include "reader/rib_reader.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "common/param_counts.h"
#include "decl/standard_declarations.h"
#include "reader/request_text.h"
#include "reader/rib_parser.h"

namespace vellum {

namespace {

std::string quote(const std::string &text) { return "\"" + text + "\""; }

// Whether every value of an array of numbers is a whole number that an
// RtInt holds.  -0 is not: only a float keeps its sign.
bool allWhole(const RibValue &value) {
  if (value.size() == 0) return false;
  for (size_t i = 0; i < value.size(); ++i) {
    const double number = value.numberAt(i);
    if (number != std::trunc(number) || number < INT32_MIN || number > INT32_MAX ||
        (number == 0 && std::signbit(number)))
      return false;
  }
  return true;
}

// The type that the values of an undeclared parameter show.  Whole numbers
// are integers whether they were written "1" or "1.0" (or as a binary
// float), since a writer writes both alike: so the type does not change
// when the output is read again.
int typeOf(const RibValue &value) {
  if (value.kind == RibValue::kStrings) return kTypeString;
  return allWhole(value) ? kTypeInteger : kTypeFloat;
}

std::string declarationOf(const RibValue &value) {
  const int type = typeOf(value);
  const std::string name = type == kTypeString ? "string" : type == kTypeInteger ? "integer" : "float";
  return value.size() == 1 ? name : name + "[" + std::to_string(value.size()) + "]";
}

const char *skipBlanks(const char *p) {
  while (*p == ' ') ++p;
  return p;
}

// The position of the handle among a row's operands, or -1.
int handleOperand(const RequestRow &row) {
  const char *h = std::strchr(row.operands, 'H');
  return h != nullptr ? static_cast<int>(h - row.operands) : -1;
}

}  // namespace

std::string Diagnostic::text() const {
  return input + ":" + std::to_string(line) + ": " + (warning ? "warning: " : "") + message;
}

RibReader::RibReader(RenderContext &target, DiagnosticSink sink, Options options)
    : target_(target), sink_(std::move(sink)), options_(options) {}

void RibReader::read(std::vector<RibInput> inputs) {
  RibParser parser(std::move(inputs));
  parser_ = &parser;
  RibRequest request;
  const RequestRow *row = nullptr;
  std::string error;
  for (;;) {
    switch (parser.next(request, &row, &error)) {
      case RibParser::Result::kEnd:
        parser_ = nullptr;
        return;
      case RibParser::Result::kComment:
        comment(request);
        break;
      case RibParser::Result::kMalformed:
        malformed(row, request, error);
        break;
      case RibParser::Result::kRequest:
        this->request(*row, request);
        break;
    }
  }
}

void RibReader::report(bool warning, const RibRequest &request, const std::string &message) {
  if (warning && options_.strict) warning = false;
  if (warning) {
    ++warnings_;
    if (!warned_.insert(message).second) return;  // shown once
  } else {
    ++errors_;
  }
  if (!sink_) return;
  Diagnostic diagnostic;
  diagnostic.warning = warning;
  diagnostic.input = parser_ != nullptr ? parser_->inputName(request.input) : std::string();
  diagnostic.line = request.line;
  diagnostic.message = message;
  sink_(diagnostic);
}

// The stream's own header is not handed on: the target writes its own.
void RibReader::comment(const RibRequest &request) {
  if (state_.skippedObjectDepth > 0) return;
  if (request.structure) {
    if (!sawRequest_ && request.comment.rfind("RenderMan RIB", 0) == 0) return;
    target_.ArchiveRecord(RI_STRUCTURE, const_cast<char *>("%s"), request.comment.c_str());
    return;
  }
  // Writers put one blank after the hash.
  const char *text = request.comment.c_str();
  target_.ArchiveRecord(RI_COMMENT, const_cast<char *>("%s"), *text == ' ' ? text + 1 : text);
}

void RibReader::malformed(const RequestRow *row, const RibRequest &request,
                          const std::string &error) {
  sawRequest_ = true;
  if (state_.skippedObjectDepth > 0) {
    if (request.name == "ObjectBegin") ++state_.skippedObjectDepth;
    if (request.name == "ObjectEnd") --state_.skippedObjectDepth;
    return;
  }
  const bool named = row != nullptr;
  report(false, request, named ? request.name + ": " + error : error);
  if (named) rejected(*row, request);
}

void RibReader::rejected(const RequestRow &row, const RibRequest &request) {
  const int handle = handleOperand(row);
  const bool object = request.name == "ObjectBegin";
  const bool light = request.name == "LightSource" || request.name == "AreaLightSource";
  if ((object || light) && handle >= 0 && static_cast<size_t>(handle) < request.operands.size()) {
    const RibValue &value = request.operands[static_cast<size_t>(handle)];
    std::string key;
    if (value.kind == RibValue::kString) key = quote(value.string);
    else if (value.kind == RibValue::kNumber && value.integer)
      key = std::to_string(static_cast<RtInt>(value.number));
    if (!key.empty() && object) {
      state_.objects.erase(key);
      state_.rejectedObjects.insert(key);
    } else if (!key.empty()) {
      state_.lights.erase(key);
      state_.rejectedLights.insert(key);
    }
  }
  if (object) {
    state_.skippedObjectDepth = 1;
    report(false, request, "ObjectBegin: the object's definition is left out up to its ObjectEnd");
  }
}

void RibReader::request(const RequestRow &row, RibRequest &request) {
  sawRequest_ = true;
  if (state_.skippedObjectDepth > 0) {
    if (request.name == "ObjectBegin") ++state_.skippedObjectDepth;
    if (request.name == "ObjectEnd") --state_.skippedObjectDepth;
    return;
  }
  RequestChecker checker(state_);
  Verdict verdict = Verdict::kReplay;
  if (row.flags & kNoEntryPoint) {
    checker.warn(request.name + " is not a request of this library; it is passed on as read");
    verdict = Verdict::kPassThrough;
  }
  if (row.check != nullptr) {
    const Verdict checked = row.check(checker, request);
    if (checked != Verdict::kReplay) verdict = checked;
  }
  PrimitiveCounts counts;
  undeclared_.clear();
  if (verdict == Verdict::kReplay) {
    if (row.counts != nullptr && !row.counts(checker, request, &counts)) verdict = Verdict::kReject;
    if (verdict == Verdict::kReplay && (row.flags & kParameters))
      checkParameters(row, row.counts != nullptr ? &counts : nullptr, request, checker);
  }
  if (!checker.errors.empty()) verdict = Verdict::kReject;
  for (const std::string &error : checker.errors) report(false, request, request.name + ": " + error);
  for (const std::string &warning : checker.warnings)
    report(true, request, request.name + ": " + warning);
  if (options_.strict && !checker.warnings.empty()) verdict = Verdict::kReject;
  if (verdict == Verdict::kReject) {
    rejected(row, request);
    return;
  }
  if (observer_) observer_(row, request);
  if (row.flags & kNotReplayed) return;
  if (verdict == Verdict::kPassThrough) passThrough(request);
  else replay(row, request);
}

void RibReader::checkParameters(const RequestRow &row, const PrimitiveCounts *counts,
                                RibRequest &request, RequestChecker &checker) {
  for (size_t i = 0; i < request.parameters.size(); ++i) {
    const RibParameter &parameter = request.parameters[i];
    const std::string token = quote(parameter.token);
    const RibValue &value = parameter.value;
    const DeclarationDictionary::Entry *entry = state_.declarations.lookup(parameter.token.c_str());
    if (entry == nullptr) {
      if (!(row.flags & kLooseParameters)) {
        checker.fail("undeclared parameter " + token);
        continue;
      }
      // A declaration cannot hold more values than this.
      if (value.size() > 32767) {
        checker.fail("parameter " + token + " is not declared and has too many values to keep");
        continue;
      }
      const std::string declaration = declarationOf(value);
      // The target holds one declaration of a name at a time.
      bool clash = false;
      for (const auto &[other, otherDeclaration] : undeclared_)
        clash |= std::strcmp(skipBlanks(request.parameters[other].token.c_str()),
                             skipBlanks(parameter.token.c_str())) == 0 &&
                 otherDeclaration != declaration;
      if (clash) {
        checker.fail("parameter " + token + " is not declared and is given twice with other types");
        continue;
      }
      checker.warn("parameter " + token + " is not declared; it is kept as read, as " +
                   declaration);
      undeclared_.emplace_back(i, declaration);
      continue;
    }
    ValueShape shape = entry->shape();
    if (const char *reason = unusableDeclarationReason(shape)) {
      checker.fail("parameter " + token + " " + reason);
      continue;
    }
    if (shape.type == kTypeString) {
      if (value.kind != RibValue::kStrings && !value.isEmptyArray()) {
        checker.fail("parameter " + token + " needs strings");
        continue;
      }
    } else if (value.kind != RibValue::kNumbers && !value.isEmptyArray()) {
      checker.fail("parameter " + token + " needs numbers");
      continue;
    } else if (shape.type == kTypeInteger && !value.allIntegers) {
      checker.fail("parameter " + token + " needs integers");
      continue;
    }
    if (counts != nullptr && isPositionName(entry->name.c_str())) shape.storageClass = kClassVertex;
    const int64_t expected = parameterValueCount(shape, counts);
    const int64_t actual = static_cast<int64_t>(value.size());
    if (actual != expected)
      checker.fail("parameter " + token + " has " + std::to_string(actual) + " values where " +
                   std::to_string(expected) + " are expected");
  }
}

void RibReader::replay(const RequestRow &row, RibRequest &request) {
  const size_t n = request.parameters.size();
  tokens_.resize(n);
  parms_.resize(n);
  strings_.clear();
  size_t nextUndeclared = 0;
  for (size_t i = 0; i < n; ++i) {
    RibParameter &parameter = request.parameters[i];
    RibValue &value = parameter.value;
    tokens_[i] = const_cast<char *>(parameter.token.c_str());
    int type;
    if (nextUndeclared < undeclared_.size() && undeclared_[nextUndeclared].first == i) {
      // Declared to the target just before the request, without a Declare
      // line in a writer's output; the name is declared without leading
      // blanks, which a lookup skips.
      const std::string &declaration = undeclared_[nextUndeclared++].second;
      const QuietDeclarations quiet;
      target_.Declare(const_cast<char *>(skipBlanks(parameter.token.c_str())),
                      const_cast<char *>(declaration.c_str()));
      type = typeOf(value);
      if (type == kTypeInteger && !value.allIntegers) {
        value.ints.assign(value.floats.begin(), value.floats.end());
        value.allIntegers = true;
      }
    } else {
      type = state_.declarations.lookup(parameter.token.c_str())->declaration.type;
    }
    if (type == kTypeString) {
      strings_.emplace_back();
      for (const std::string &text : value.strings) strings_.back().push_back(const_cast<char *>(text.c_str()));
      parms_[i] = strings_.back().data();
    } else if (type == kTypeInteger) {
      parms_[i] = value.ints.data();
    } else {
      parms_[i] = const_cast<float *>(value.toFloats().data());
    }
  }
  Replay replay{target_, state_, request, static_cast<RtInt>(n), tokens_.data(), parms_.data(), strings_};
  row.replay(replay);
}

void RibReader::passThrough(const RibRequest &request) {
  const std::string text = requestText(request);
  target_.ArchiveRecord(RI_VERBATIM, const_cast<char *>("%s"), text.c_str());
}

}  // namespace vellum
