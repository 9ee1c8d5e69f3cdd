#include "reader/rib_reader.h"

#include <algorithm>
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

// The bytes of an archive, charged to the budget of the stream that reads
// it; past the budget it reads as ended.
class BudgetedSource : public ByteSource {
 public:
  BudgetedSource(std::unique_ptr<ByteSource> source, uint64_t budget, uint64_t &used, bool &spent)
      : source_(std::move(source)), budget_(budget), used_(used), spent_(spent) {}
  size_t read(char *buffer, size_t size) override {
    if (used_ >= budget_) {
      spent_ = true;
      return 0;
    }
    if (size > budget_ - used_) size = static_cast<size_t>(budget_ - used_);
    const size_t got = source_->read(buffer, size);
    error_ = source_->error();
    used_ += got;
    return got;
  }

 private:
  std::unique_ptr<ByteSource> source_;
  uint64_t budget_;
  uint64_t &used_;
  bool &spent_;
};

// The name of the block a closing request ends: "AttributeBegin" for
// "AttributeEnd".
std::string openerOf(const std::string &closer) {
  return closer.substr(0, closer.size() - 3) + "Begin";
}

}  // namespace

struct RibReader::Shared {
  std::unordered_set<std::string> warned;  // each warning is shown once
  int errorsInInput = 0;
  bool givenUp = false;  // too many errors: the rest of the input is not read
  std::vector<std::string> openArchives;  // identities, outermost first
  int archiveDepth = 0;
  uint64_t archiveBytes = 0;
  bool budgetSpent = false;
  bool budgetReported = false;
};

std::string Diagnostic::text() const {
  return input + ":" + std::to_string(line) + ": " + (warning ? "warning: " : "") + message;
}

RibReader::RibReader(RenderContext &target, DiagnosticSink sink, Options options)
    : target_(target), sink_(std::move(sink)), options_(options),
      ownShared_(std::make_unique<Shared>()), shared_(ownShared_.get()) {}

RibReader::RibReader(RibReader &parent)
    : target_(parent.target_), sink_(parent.sink_), options_(parent.options_),
      shared_(parent.shared_) {}

RibReader::~RibReader() = default;

void RibReader::read(std::vector<RibInput> inputs) {
  const bool outermost = ownShared_ != nullptr;
  // A stream that reads the file it comes from is a cycle too.
  const std::string identity = outermost && inputs.size() == 1 ? inputs[0].identity : "";
  if (!identity.empty()) shared_->openArchives.push_back(identity);
  RibParser parser(std::move(inputs));
  parser_ = &parser;
  RibRequest request;
  const RequestRow *row = nullptr;
  std::string error;
  for (;;) {
    if (shared_->givenUp) {
      if (!outermost) break;
      parser.skipInput(lastInput_);
      shared_->givenUp = false;
    }
    const RibParser::Result result = parser.next(request, &row, &error);
    // An archive cut short by the budget ends where it was cut, without
    // reports of the request the cut broke.
    if (!outermost && shared_->budgetSpent) break;
    if (outermost && request.input != lastInput_) {
      lastInput_ = request.input;
      shared_->errorsInInput = 0;
    }
    switch (result) {
      case RibParser::Result::kEnd:
        reportOpenBlocks();
        if (!identity.empty()) shared_->openArchives.pop_back();
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
  // An archive given up with its stream.
  parser_ = nullptr;
}

void RibReader::report(bool warning, const RibRequest &request, const std::string &message) {
  if (warning && options_.strict) warning = false;
  if (warning) {
    ++warnings_;
    if (!shared_->warned.insert(message).second) return;  // shown once
  } else {
    ++errors_;
  }
  Diagnostic diagnostic;
  diagnostic.warning = warning;
  diagnostic.input = parser_ != nullptr ? parser_->inputName(request.input) : std::string();
  diagnostic.line = request.line;
  diagnostic.message = message;
  if (sink_) sink_(diagnostic);
  if (!warning && ++shared_->errorsInInput == kMostErrorsPerInput) {
    shared_->givenUp = true;
    diagnostic.message = "too many errors";
    if (sink_) sink_(diagnostic);
  }
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
  checkNesting(row, request, checker);
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
    if (verdict == Verdict::kReplay && row.counts != nullptr && tooManyValues(counts)) {
      checker.fail("too many values (more than " + std::to_string(kMostValues) +
                   " in one storage class)");
      verdict = Verdict::kReject;
    }
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
  applyNesting(row, request);
  if (observer_) observer_(row, request);
  if (row.flags & kNotReplayed) return;
  if (options_.archives != nullptr && verdict == Verdict::kReplay) {
    if (request.name == "ReadArchive") return followArchive(request, request.operands[0].string);
    if (request.name == "Procedural" && request.operands[0].string == "DelayedReadArchive") {
      // The archive sees the procedural's attributes and changes none.
      target_.AttributeBegin();
      followArchive(request, request.operands[1].strings[0]);
      target_.AttributeEnd();
      return;
    }
  }
  if (verdict == Verdict::kPassThrough) passThrough(request);
  else replay(row, request);
}

void RibReader::checkNesting(const RequestRow &row, const RibRequest &request,
                             RequestChecker &checker) {
  if (row.flags & kOpensBlock) {
    // Frames and worlds do not nest in themselves, nor frames in worlds.
    const bool frame = request.name == "FrameBegin", world = request.name == "WorldBegin";
    if (!frame && !world) return;
    for (auto open = state_.blocks.rbegin(); open != state_.blocks.rend(); ++open) {
      const std::string name = open->opener;
      if (name == "WorldBegin" || (frame && name == "FrameBegin")) {
        checker.fail("inside the " + name + " of line " + std::to_string(open->line));
        return;
      }
    }
  } else if (row.flags & kClosesBlock) {
    const std::string opener = openerOf(request.name);
    if (state_.blocks.empty())
      checker.fail("no " + opener + " is open");
    else if (state_.blocks.back().opener != opener)
      checker.fail("the " + std::string(state_.blocks.back().opener) + " of line " +
                   std::to_string(state_.blocks.back().line) + " is still open");
  }
}

void RibReader::applyNesting(const RequestRow &row, const RibRequest &request) {
  if (row.flags & kOpensBlock) state_.blocks.push_back({row.name, request.input, request.line});
  else if ((row.flags & kClosesBlock) && !state_.blocks.empty()) state_.blocks.pop_back();
}

void RibReader::reportOpenBlocks() {
  std::vector<StreamState::OpenBlock> &blocks = state_.blocks;
  if (blocks.empty()) return;
  const StreamState::OpenBlock &innermost = blocks.back();
  RibRequest at;
  at.input = innermost.input;
  at.line = innermost.line;
  std::string message = std::string(innermost.opener) + ": not ended by the end of the stream";
  if (blocks.size() > 1)
    message += ", nor are the " + std::to_string(blocks.size() - 1) + " blocks around it";
  report(true, at, message);
  blocks.clear();
}

void RibReader::followArchive(const RibRequest &request, const std::string &name) {
  Shared &shared = *shared_;
  if (shared.budgetSpent) return;  // said once
  auto fail = [&](const std::string &why) { report(false, request, request.name + ": " + why); };
  if (shared.archiveDepth >= kMostArchiveDepth)
    return fail("archives nested more than " + std::to_string(kMostArchiveDepth) + " deep: " +
                quote(name) + " is not read");
  std::string identity, error;
  std::unique_ptr<ByteSource> source = options_.archives->open(name, &identity, &error);
  if (source == nullptr) return fail(quote(name) + ": " + error);
  for (const std::string &open : shared.openArchives)
    if (open == identity)
      return fail(quote(name) + " is already being read: reading it again would never end");
  shared.archiveBytes = std::min(options_.archiveBudget, shared.archiveBytes + kArchiveOpenCost);
  std::vector<RibInput> inputs;
  inputs.push_back({name,
                    std::make_unique<BudgetedSource>(std::move(source), options_.archiveBudget,
                                                     shared.archiveBytes, shared.budgetSpent),
                    identity});
  shared.openArchives.push_back(identity);
  ++shared.archiveDepth;
  RibReader archive(*this);
  archive.read(std::move(inputs));
  --shared.archiveDepth;
  shared.openArchives.pop_back();
  errors_ += archive.errors_;
  warnings_ += archive.warnings_;
  if (shared.budgetSpent && !shared.budgetReported) {
    shared.budgetReported = true;
    fail("the archives read more than " + std::to_string(options_.archiveBudget) +
         " bytes: no more archives are followed");
  }
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
    if (expected > kMostValues)
      checker.fail("parameter " + token + " has too many values");
    else if (actual != expected)
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

std::string RibReader::parameterDeclaration(const RibRequest &request, size_t i) {
  const RibParameter &parameter = request.parameters[i];
  for (const auto &[index, declaration] : undeclared_) {
    if (index != i) continue;
    const ParsedDeclaration parsed = parseDeclaration(declaration.c_str());
    return formatDeclaration(parsed.storageClass, parsed.type, parsed.arrayLength) + " " +
           skipBlanks(parameter.token.c_str());
  }
  const DeclarationDictionary::Entry *entry = state_.declarations.lookup(parameter.token.c_str());
  if (entry == nullptr) return parameter.token;
  const ParsedDeclaration &parsed = entry->declaration;
  return formatDeclaration(parsed.storageClass, parsed.type, parsed.arrayLength) + " " + entry->name;
}

}  // namespace vellum
