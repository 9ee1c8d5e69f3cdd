#include "reader/rib_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "common/param_counts.h"
#include "decl/standard_declarations.h"
#include "reader/archive_search.h"
#include "reader/condition.h"
#include "reader/request_encoding.h"
#include "reader/request_text.h"
#include "reader/rib_parser.h"
#include "reader/variables.h"

namespace vellum {

namespace {

std::string quote(const std::string &text) { return "\"" + text + "\""; }

// A text quoted in a diagnostic, cut short after 60 bytes so that a
// hostile one does not fill a line with kilobytes.
std::string excerpt(const std::string &text) {
  constexpr size_t kShown = 60;
  return text.size() <= kShown ? quote(text) : quote(text.substr(0, kShown) + "...");
}

// The type of a parameter the stream never declared, from its values:
// strings, or numbers, which are floats whether written "1" or "1.5".
// The shading language has no integers, and display drivers and
// renderers read numbers they were not told about as floats.
int typeOf(const RibValue &value) {
  return value.kind == RibValue::kStrings ? kTypeString : kTypeFloat;
}

std::string declarationOf(const RibValue &value, int type) {
  const std::string name =
      type == kTypeString ? "string" : type == kTypeInteger ? "integer" : "float";
  return value.size() == 1 ? name : name + "[" + std::to_string(value.size()) + "]";
}

// Whether every number of an array is a whole number an integer holds
// (-0 is not one: only a float keeps its sign).
bool wholeNumbers(const RibValue &value) {
  if (value.kind != RibValue::kNumbers) return false;
  for (size_t i = 0; i < value.size(); ++i) {
    const double number = value.numberAt(i);
    if (number != std::trunc(number) || number < INT32_MIN || number > INT32_MAX ||
        (number == 0 && std::signbit(number)))
      return false;
  }
  return true;
}

const char *skipBlanks(const char *p) {
  while (*p == ' ') ++p;
  return p;
}

// The name of an undeclared parameter: its token without leading blanks.
const char *bareName(const RibRequest &request, size_t i) {
  return skipBlanks(request.parameters[i].token.c_str());
}

// The position of the handle among a row's operands, or -1.
int handleOperand(const RequestRow &row) {
  const char *h = std::strchr(row.operands, 'H');
  return h != nullptr ? static_cast<int>(h - row.operands) : -1;
}

// The bytes of an archive, charged to the work meter as they are read;
// past its limit the archive reads as ended.
class MeteredSource : public ByteSource {
 public:
  MeteredSource(std::unique_ptr<ByteSource> source, WorkMeter &meter)
      : source_(std::move(source)), meter_(meter) {}
  size_t read(char *buffer, size_t size) override {
    // A byte past what is left spends the meter.
    const uint64_t left = meter_.left(WorkMeter::kArchiveBytes);
    if (size > left) size = static_cast<size_t>(left) + 1;
    const size_t got = source_->read(buffer, size);
    error_ = source_->error();
    if (got > 0 && !meter_.charge(WorkMeter::kArchiveBytes, got)) return 0;
    return got;
  }

 private:
  std::unique_ptr<ByteSource> source_;
  WorkMeter &meter_;
};

// The name of the block a closing request ends: "AttributeBegin" for
// "AttributeEnd".
std::string openerOf(const std::string &closer) {
  return closer.substr(0, closer.size() - 3) + "Begin";
}

}  // namespace

// The accepted requests of an inline archive, encoded (request_encoding.h),
// with line ends between them as between the requests it was recorded
// from, so that what replaying it reports names where it was defined.
struct RibReader::InlineArchive {
  std::string bytes;
  std::string input;  // the name of the input it was defined in
  int firstLine = 0;  // of its ArchiveBegin
  int lastLine = 0;   // of the last request recorded
};

struct RibReader::Shared {
  std::unordered_set<std::string> warned;  // each warning is shown once
  int errorsInInput = 0;
  bool givenUp = false;  // too many errors: the rest of the input is not read
  std::vector<std::string> openArchives;  // identities, outermost first
  int archiveDepth = 0;
  WorkMeter ownMeter;
  WorkMeter *meter = &ownMeter;
  bool meterReported = false;
  std::unordered_set<std::string> unsetVariables;  // each said once
  // By name; shared, so that a redefinition while one is read leaves the
  // one read whole.
  std::unordered_map<std::string, std::shared_ptr<const InlineArchive>> inlineArchives;
  // The stack of what is being read: the stream, then each archive it
  // reads, innermost last.
  std::vector<std::unique_ptr<Frame>> frames;
  // Pull mode: what next() hands out, once a step has made it.
  bool pulling = false;
  bool pending = false;
  Pulled pulled;
  RibRequest made;  // a request the reader made, while handed out
  ArchiveObserver archiveObserver;
};

// One stream, archive file or inline archive being read.
struct RibReader::Frame {
  // kClosing reads nothing: it ends a DelayedReadArchive whose archive
  // was not read, one step after its AttributeBegin.
  enum Kind { kStream, kArchiveFile, kInlineArchive, kClosing };
  Kind kind = kStream;
  RibReader *reader = nullptr;         // whose stream it reads
  std::unique_ptr<RibReader> archive;  // an archive file's own reader
  // An inline archive's bytes, which its parser reads (declared before the
  // parser, which goes first).
  std::shared_ptr<const InlineArchive> inlineArchive;
  std::unique_ptr<RibParser> parser;
  RibRequest request;  // the one read last
  std::string error;
  // The stream: the identity of its file (a cycle when an archive reads
  // it), where the input being read began, and whether it was given up.
  std::string identity;
  uint64_t inputStart = 0;
  bool inputCut = false;
  // A frame that began another stops when the meter is spent once that
  // one ended, as after any request.
  bool stopCheckPending = false;
  // An archive: the request that reads it (its name, input and line), and
  // the path of a file.  An inline archive: where its lines start, and the
  // parser and silence of its reader to take back at its end.
  RibRequest readBy;
  std::string path;
  int lineOffset = 0;
  const RibParser *outerParser = nullptr;
  bool outerSilent = false;
  bool delayed = false;  // a DelayedReadArchive's: an AttributeEnd after it
};

const std::string &RibReader::Pulled::input() const { return stream->parser_->inputName(request->input); }

std::string Diagnostic::text() const {
  return input + ":" + std::to_string(line) + ": " + (warning ? "warning: " : "") + message;
}

RibReader::RibReader(RenderContext &target, DiagnosticSink sink, Options options)
    : target_(target), sink_(std::move(sink)), options_(options),
      ownShared_(std::make_unique<Shared>()), shared_(ownShared_.get()) {
  if (options_.meter != nullptr) shared_->meter = options_.meter;
}

RibReader::RibReader(RibReader &parent, bool archiveFile)
    : target_(parent.target_), sink_(parent.sink_), options_(parent.options_),
      shared_(parent.shared_) {
  checksRibStart_ = archiveFile;
  state_.reading.inherit(parent.state_.reading);
}

RibReader::~RibReader() = default;

void RibReader::setArchiveObserver(ArchiveObserver observer) { shared_->archiveObserver = std::move(observer); }

void RibReader::read(std::vector<RibInput> inputs) {
  start(std::move(inputs));
  while (step()) {
  }
}

void RibReader::start(std::vector<RibInput> inputs) {
  auto frame = std::make_unique<Frame>();
  frame->reader = this;
  // A stream that reads the file it comes from is a cycle too.
  if (inputs.size() == 1) frame->identity = inputs[0].identity;
  if (!frame->identity.empty()) shared_->openArchives.push_back(frame->identity);
  frame->parser = std::make_unique<RibParser>(std::move(inputs));
  parser_ = frame->parser.get();
  shared_->frames.push_back(std::move(frame));
}

bool RibReader::next(Pulled &pulled) {
  Shared &shared = *shared_;
  shared.pulling = true;
  shared.pending = false;
  while (!shared.pending && step()) {
  }
  if (!shared.pending) return false;
  pulled = shared.pulled;
  return true;
}

bool RibReader::step() {
  std::vector<std::unique_ptr<Frame>> &frames = shared_->frames;
  if (frames.empty()) return false;
  Frame &frame = *frames.back();
  const bool going = frame.kind == Frame::kClosing        ? false
                     : frame.kind == Frame::kInlineArchive ? frame.reader->replayOne(frame)
                                                           : frame.reader->readOne(frame);
  if (!going) endFrame();
  return true;
}

bool RibReader::readOne(Frame &frame) {
  const bool outermost = frame.kind == Frame::kStream;
  RibParser &parser = *frame.parser;
  WorkMeter &meter = *shared_->meter;
  if (shared_->givenUp) {
    // An archive is given up with its stream.
    if (!outermost) return false;
    parser.skipInput(lastInput_);
    shared_->givenUp = false;
    frame.inputCut = true;
  }
  RibRequest &request = frame.request;
  const RequestRow *row = nullptr;
  const RibParser::Result result = parser.next(request, &row, &frame.error);
  if (outermost) {
    if (request.input != lastInput_) {
      lastInput_ = request.input;
      shared_->errorsInInput = 0;
      meter.reset();
      shared_->meterReported = false;
      frame.inputCut = false;
      frame.inputStart = parser.offset();
    }
    meter.setInputBytes(parser.offset() - frame.inputStart);
  }
  // An archive cut short by the meter ends where it was cut, without
  // reports of the request the cut broke: the stream that reads it says
  // why.
  if (!outermost && meter.spent()) return false;
  const size_t depth = shared_->frames.size();
  switch (result) {
    case RibParser::Result::kEnd:
      // Blocks left open by an input cut short say nothing more.
      if (!frame.inputCut) reportOpenBlocks();
      if (!frame.identity.empty()) shared_->openArchives.pop_back();
      return false;
    case RibParser::Result::kComment:
      comment(request);
      break;
    case RibParser::Result::kMalformed:
      // An archive file that does not begin as RIB is not read at all:
      // what it holds is nobody's business (it may be any file the user
      // can read), so none of it is shown.
      if (checksRibStart_ && !sawRequest_ && row == nullptr) {
        notRib_ = true;
        return false;
      }
      if (meter.charge(WorkMeter::kRequests, 1)) malformed(row, request, frame.error);
      break;
    case RibParser::Result::kRequest:
      if (meter.charge(WorkMeter::kRequests, 1)) this->request(*row, request);
      break;
  }
  if (shared_->frames.size() > depth) frame.stopCheckPending = true;  // once the archive is read
  else stopWhenSpent(request);
  return true;
}

bool RibReader::replayOne(Frame &frame) {
  Shared &shared = *shared_;
  WorkMeter &meter = *shared.meter;
  const RequestRow *row = nullptr;
  const RibParser::Result result = frame.parser->next(frame.request, &row, &frame.error);
  if (result == RibParser::Result::kEnd || meter.spent() || shared.givenUp) return false;
  if (result != RibParser::Result::kRequest) return true;  // never recorded
  if (!meter.charge(WorkMeter::kRequests, 1)) return false;
  frame.request.line += frame.lineOffset;
  request(*row, frame.request);
  return true;
}

void RibReader::endFrame() {
  Shared &shared = *shared_;
  std::unique_ptr<Frame> done = std::move(shared.frames.back());
  shared.frames.pop_back();
  RibReader &reader = *done->reader;
  if (done->kind == Frame::kStream || done->kind == Frame::kArchiveFile) {
    // An inline archive still being recorded is dropped with its stream.
    reader.dropRecording();
    reader.parser_ = nullptr;
  }
  if (done->kind == Frame::kStream) return;
  RibReader &parent = *shared.frames.back()->reader;
  if (done->kind == Frame::kArchiveFile && !reader.notRib_ && shared.archiveObserver)
    shared.archiveObserver(done->path, shared.archiveDepth, done->parser->offset());
  if (done->kind != Frame::kClosing) {
    --shared.archiveDepth;
    shared.openArchives.pop_back();
  }
  if (done->kind == Frame::kArchiveFile) {
    parent.errors_ += reader.errors_;
    parent.warnings_ += reader.warnings_;
    if (reader.notRib_)
      parent.report(false, done->readBy, done->readBy.name + ": " + quote(done->path) + " is not RIB: it is left out");
  } else if (done->kind == Frame::kInlineArchive) {
    reader.silent_ = done->outerSilent;
    reader.parser_ = done->outerParser;
  }
  if (done->delayed) parent.madeRequest("AttributeEnd", done->readBy);
  Frame &reading = *shared.frames.back();
  if (reading.stopCheckPending) {
    reading.stopCheckPending = false;
    parent.stopWhenSpent(reading.request);
  }
}

void RibReader::handOut(const RequestRow *row, RibRequest &request, bool asText, bool made) {
  Shared &shared = *shared_;
  if (!shared.pulling) return;
  shared.pending = true;
  shared.pulled.row = row;
  shared.pulled.request = &request;
  shared.pulled.asText = asText;
  shared.pulled.made = made;
  shared.pulled.stream = this;
}

void RibReader::madeRequest(const char *name, const RibRequest &at) {
  if (std::strcmp(name, "AttributeBegin") == 0) target_.AttributeBegin();
  else target_.AttributeEnd();
  if (!shared_->pulling) return;
  RibRequest &made = shared_->made;
  made = RibRequest();
  made.name = name;
  made.input = at.input;
  made.line = at.line;
  undeclared_.clear();
  handOut(findRequest(name), made, false, true);
}

void RibReader::dropRecording() {
  if (recording_ == nullptr) return;
  shared_->meter->refund(WorkMeter::kRecordedBytes, recording_->bytes.size());
  recording_ = nullptr;
}

bool RibReader::stopWhenSpent(const RibRequest &at) {
  const WorkMeter &meter = *shared_->meter;
  if (!meter.spent()) return false;
  if (!shared_->meterReported) {
    shared_->meterReported = true;
    report(false, at, "work limit: " + meter.spentMessage() + "; the rest of the input is not read");
  }
  shared_->givenUp = true;
  return true;
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
void RibReader::comment(RibRequest &request) {
  if (state_.skippedObjectDepth > 0) return;
  if (request.structure) {
    if (!sawRequest_ && request.comment.rfind("RenderMan RIB", 0) == 0) return;
    target_.ArchiveRecord(RI_STRUCTURE, const_cast<char *>("%s"), request.comment.c_str());
    return handOut(nullptr, request, false);
  }
  // Writers put one blank after the hash.
  const char *text = request.comment.c_str();
  target_.ArchiveRecord(RI_COMMENT, const_cast<char *>("%s"), *text == ' ' ? text + 1 : text);
  handOut(nullptr, request, false);
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
  if (options_.substituteVariables && state_.reading.substitutesVariables()) {
    substituteVariables(request, checker);
    // The input ends here; half a substitution is not acted on.
    if (shared_->meter->spent()) return;
  }
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
  // A request of an inline archive being read was reported on where the
  // archive was defined.
  if (!silent_) {
    for (const std::string &error : checker.errors) report(false, request, request.name + ": " + error);
    for (const std::string &warning : checker.warnings)
      report(true, request, request.name + ": " + warning);
  }
  if (options_.strict && !checker.warnings.empty()) verdict = Verdict::kReject;
  if (verdict == Verdict::kReject) {
    rejected(row, request);
    return;
  }
  applyNesting(row, request);
  if (observer_ && !silent_)
    observer_(row, request, row.counts != nullptr && verdict == Verdict::kReplay ? &counts : nullptr);
  if (recordInline(request)) return;
  if (options_.actOnConditions &&
      (request.name == "IfBegin" || request.name == "ElseIf" || request.name == "Else" ||
       request.name == "IfEnd"))
    return takeCondition(request);
  if (!acting()) return;
  if (request.name == "Option") takeOption(request);
  if (row.flags & kNotReplayed) return handOut(&row, request, false);
  if (options_.archives != nullptr && verdict == Verdict::kReplay) {
    if (request.name == "ArchiveBegin") {
      recording_ = std::make_shared<InlineArchive>();
      recording_->input = parser_ != nullptr ? parser_->inputName(request.input) : std::string();
      recording_->firstLine = recording_->lastLine = request.line;
      recordingName_ = request.operands[0].string;
      recordingDepth_ = 1;
      return;
    }
    if (request.name == "ReadArchive") {
      followArchive(request, request.operands[0].string, false);
      return;
    }
    const std::string delayed = delayedArchive(request);
    if (!delayed.empty()) {
      // The archive sees the procedural's attributes and changes none:
      // the AttributeEnd comes once it is read.
      madeRequest("AttributeBegin", request);
      if (!followArchive(request, delayed, true)) {
        auto closing = std::make_unique<Frame>();
        closing->kind = Frame::kClosing;
        closing->reader = this;
        closing->readBy.name = request.name;
        closing->readBy.input = request.input;
        closing->readBy.line = request.line;
        closing->delayed = true;
        shared_->frames.push_back(std::move(closing));
      }
      return;
    }
  }
  if (verdict == Verdict::kPassThrough) passThrough(request);
  else replay(row, request);
  handOut(&row, request, verdict == Verdict::kPassThrough);
}

bool RibReader::recordInline(const RibRequest &request) {
  if (recording_ == nullptr) return false;
  if (request.name == "ArchiveBegin") {
    ++recordingDepth_;
  } else if (request.name == "ArchiveEnd" && --recordingDepth_ == 0) {
    // The ArchiveEnd that ends it is not a part of it.  The declarations
    // it made were in force for checking it only: reading it makes them.
    while (!recordingUndo_.empty()) {
      state_.declarations.restore(std::move(recordingUndo_.back()));
      recordingUndo_.pop_back();
    }
    // The one it replaces (while nobody reads it) is memory given back.
    std::shared_ptr<const InlineArchive> &slot = shared_->inlineArchives[recordingName_];
    if (slot != nullptr) shared_->meter->refund(WorkMeter::kRecordedBytes, slot->bytes.size());
    slot = std::move(recording_);
    recording_ = nullptr;
    return true;
  }
  std::string &bytes = recording_->bytes;
  const size_t before = bytes.size();
  if (request.line > recording_->lastLine) {
    bytes.append(static_cast<size_t>(request.line - recording_->lastLine), '\n');
    recording_->lastLine = request.line;
  } else {
    bytes.push_back(' ');
  }
  appendEncodedRequest(request, bytes);
  if (!shared_->meter->charge(WorkMeter::kRecordedBytes, bytes.size() - before)) {
    // The input ends here: what was recorded is of no more use.
    bytes.clear();
    bytes.shrink_to_fit();
    return true;
  }
  if (request.name == "Declare") {
    char *name = const_cast<char *>(request.operands[0].string.c_str());
    recordingUndo_.push_back(state_.declarations.save(name));
    state_.declarations.declare(name, request.operands[1].string.c_str());
  }
  return true;
}

std::string RibReader::delayedArchive(const RibRequest &request) {
  if (request.name == "Procedural" && request.operands[0].string == "DelayedReadArchive")
    return request.operands[1].strings[0];
  if (request.name != "Procedural2" || request.operands[0].string != "DelayedReadArchive2") return "";
  for (const RibParameter &parameter : request.parameters) {
    const DeclarationDictionary::Entry *entry = state_.declarations.lookup(parameter.token.c_str());
    if (entry != nullptr && entry->name == "filename" && parameter.value.kind == RibValue::kStrings &&
        parameter.value.strings.size() == 1)
      return parameter.value.strings[0];
  }
  if (!silent_)
    report(true, request, request.name + ": DelayedReadArchive2 without a \"string filename\": nothing is read");
  return "";
}

bool RibReader::acting() const {
  return state_.conditions.empty() || state_.conditions.back().acts;
}

void RibReader::takeCondition(const RibRequest &request) {
  std::vector<StreamState::Condition> &conditions = state_.conditions;
  const auto truth = [&] {
    const std::string &expression = request.operands[0].string;
    WorkMeter &meter = *shared_->meter;
    const uint64_t left = meter.left(WorkMeter::kText);
    const ConditionResult result = evaluateCondition(
        expression, [&](const std::string &name) { return state_.reading.userValue(name); },
        std::min(kMostExpressionWork, left));
    // What it did counts towards the input's meter; an expression stopped
    // by the meter rather than by its own bound ends the input.
    if (result.status == ConditionResult::kTooLarge && left < kMostExpressionWork) {
      meter.charge(WorkMeter::kText, left + 1);
      return false;
    }
    meter.charge(WorkMeter::kText, result.work);
    switch (result.status) {
      case ConditionResult::kTrue: return true;
      case ConditionResult::kFalse: return false;
      case ConditionResult::kTooLarge:
        report(false, request, request.name + ": " + excerpt(expression) + " expression too large");
        return false;
      case ConditionResult::kCannotEvaluate: break;
    }
    report(true, request, request.name + ": " + excerpt(expression) + " cannot be evaluated: taken as true");
    return true;
  };
  if (request.name == "IfBegin") {
    const bool outer = acting();
    const bool taken = outer && truth();
    conditions.push_back({outer, taken, taken});
    return;
  }
  if (conditions.empty()) return;  // its error was reported
  StreamState::Condition &innermost = conditions.back();
  if (request.name == "IfEnd") {
    conditions.pop_back();
  } else if (request.name == "Else") {
    innermost.acts = innermost.outerActs && !innermost.taken;
    innermost.taken = true;
  } else if (innermost.taken || !innermost.outerActs) {  // ElseIf
    innermost.acts = false;
  } else {
    innermost.acts = innermost.taken = truth();
  }
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
  if (request.name == "FrameBegin") state_.reading.frameBegin();
  else if (request.name == "FrameEnd") state_.reading.frameEnd();
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

bool RibReader::followArchive(const RibRequest &request, const std::string &name, bool delayed) {
  Shared &shared = *shared_;
  WorkMeter &meter = *shared.meter;
  auto fail = [&](const std::string &why) {
    report(false, request, request.name + ": " + why);
    return false;
  };
  if (shared.archiveDepth >= kMostArchiveDepth)
    return fail("archives nested more than " + std::to_string(kMostArchiveDepth) + " deep: " +
                quote(name) + " is not read");
  bool pushed = false;
  if (followInlineArchive(request, name, delayed, &pushed)) return pushed;
  // Each place looked in that has nothing counts too, so that looking
  // for many archives along a long path is bounded as reading them is.
  const ArchivePath &searchPath = state_.reading.archivePath();
  auto exists = [&](const std::string &candidate) {
    if (meter.spent()) return false;
    if (options_.archives->exists(candidate)) return true;
    meter.charge(WorkMeter::kArchiveBytes, kArchiveMissCost);
    return false;
  };
  const std::optional<std::string> path = resolveArchive(name, searchPath, exists);
  if (meter.spent()) return false;  // the stream says why
  // An archive that is not there may be made elsewhere, later: the
  // stream itself is valid.
  if (!path) {
    ++state_.missingArchives;
    state_.lastMissingArchive = name;
    std::string message =
        request.name + ": " + quote(name) + " cannot be opened because it does not exist";
    if (!name.empty() && name[0] != '/' && !state_.reading.isDefaultArchivePath())
      message += " in the archive search path " + quote(archivePathText(searchPath));
    report(true, request, message);
    return false;
  }
  if (!meter.charge(WorkMeter::kArchiveBytes, kArchiveOpenCost)) return false;
  std::string identity, error;
  std::unique_ptr<ByteSource> source = options_.archives->open(*path, &identity, &error);
  if (source == nullptr) return fail(quote(*path) + ": " + error);
  for (const std::string &open : shared.openArchives)
    if (open == identity)
      return fail(quote(*path) + " is already being read: reading it again would never end");
  std::vector<RibInput> inputs;
  inputs.push_back({*path, std::make_unique<MeteredSource>(std::move(source), meter), identity});
  shared.openArchives.push_back(identity);
  ++shared.archiveDepth;
  auto frame = std::make_unique<Frame>();
  frame->kind = Frame::kArchiveFile;
  frame->archive.reset(new RibReader(*this, true));
  frame->reader = frame->archive.get();
  frame->parser = std::make_unique<RibParser>(std::move(inputs));
  frame->reader->parser_ = frame->parser.get();
  frame->readBy.name = request.name;
  frame->readBy.input = request.input;
  frame->readBy.line = request.line;
  frame->path = *path;
  frame->delayed = delayed;
  shared.frames.push_back(std::move(frame));
  return true;
}

bool RibReader::followInlineArchive(const RibRequest &request, const std::string &name, bool delayed,
                                    bool *pushed) {
  Shared &shared = *shared_;
  WorkMeter &meter = *shared.meter;
  auto found = shared.inlineArchives.find(name);
  if (found == shared.inlineArchives.end()) return false;
  const std::shared_ptr<const InlineArchive> archive = found->second;
  const std::string identity = "inline archive " + name;
  for (const std::string &open : shared.openArchives)
    if (open == identity) {
      report(false, request,
             request.name + ": the inline archive " + quote(name) +
                 " is already being read: reading it again would never end");
      return true;
    }
  // Read again and again, it costs what a file of its size costs.
  if (!meter.charge(WorkMeter::kArchiveBytes, kArchiveOpenCost)) return true;
  std::vector<RibInput> inputs;
  inputs.push_back(
      {archive->input, std::make_unique<MeteredSource>(std::make_unique<MemorySource>(archive->bytes), meter)});
  auto frame = std::make_unique<Frame>();
  frame->kind = Frame::kInlineArchive;
  frame->reader = this;
  frame->inlineArchive = archive;
  frame->parser = std::make_unique<RibParser>(std::move(inputs));
  shared.openArchives.push_back(identity);
  ++shared.archiveDepth;
  // Its requests were checked, and reported on, where it was defined;
  // what replaying them reports (a nested archive) names that place.
  frame->outerParser = parser_;
  parser_ = frame->parser.get();
  frame->outerSilent = silent_;
  silent_ = true;
  frame->lineOffset = archive->firstLine - 1;
  frame->readBy.name = request.name;
  frame->readBy.input = request.input;
  frame->readBy.line = request.line;
  frame->delayed = delayed;
  shared.frames.push_back(std::move(frame));
  *pushed = true;
  return true;
}

// The reading options of the stream: a new archive path counts as archive
// bytes read, so that building paths from paths is bounded too.
void RibReader::takeOption(const RibRequest &request) {
  WorkMeter &meter = *shared_->meter;
  const bool paths = options_.archives != nullptr && !meter.spent();
  const bool variables = options_.substituteVariables || options_.actOnConditions;
  if (!paths && !variables) return;
  const uint64_t pathBytes = state_.reading.apply(state_.declarations, request, paths, variables);
  meter.charge(WorkMeter::kArchiveBytes, pathBytes);
}

void RibReader::substituteVariables(RibRequest &request, RequestChecker &checker) {
  Shared &shared = *shared_;
  WorkMeter &meter = *shared.meter;
  const VariableValue value = [&](const std::string &name, bool userOnly) -> const char * {
    if (const std::string *user = state_.reading.userValue(name)) return user->c_str();
    return userOnly ? nullptr : std::getenv(name.c_str());
  };
  auto unset = [&](const std::string &reference) {
    if (options_.strict || shared.unsetVariables.insert(reference).second)
      checker.warn("variable " + quote(reference) + " is not set; it is left as written");
  };
  bool tooLong = false;
  std::string result;
  auto substitute = [&](std::string &text) {
    if (tooLong || meter.spent() || text.find('$') == std::string::npos) return;
    switch (vellum::substituteVariables(text, value, unset, kMostSubstitutedString, &result)) {
      case Substitution::kNone:
        return;
      case Substitution::kTooLong:
        // What it built before it stopped was work all the same.
        meter.charge(WorkMeter::kText, result.size());
        tooLong = true;
        return;
      case Substitution::kMade:
        // What it built is charged; past the meter's limit the input ends.
        if (meter.charge(WorkMeter::kText, result.size())) text.swap(result);
        return;
    }
  };
  for (RibValue &operand : request.operands) {
    if (operand.kind == RibValue::kString) substitute(operand.string);
    if (operand.kind == RibValue::kStrings)
      for (std::string &text : operand.strings) substitute(text);
  }
  for (RibParameter &parameter : request.parameters)
    if (parameter.value.kind == RibValue::kStrings)
      for (std::string &text : parameter.value.strings) substitute(text);
  if (tooLong)
    checker.fail("variables make a string longer than " + std::to_string(kMostSubstitutedString) +
                 " bytes");
}

void RibReader::checkParameters(const RequestRow &row, const PrimitiveCounts *counts,
                                RibRequest &request, RequestChecker &checker) {
  // The bare names so far, and where in undeclared_ the first undeclared
  // occurrence of a name is.
  std::unordered_set<std::string> names;
  std::unordered_map<std::string, size_t> firstUndeclared;
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
      const std::string name = skipBlanks(parameter.token.c_str());
      const int type = typeOf(value);
      Undeclared undeclared{i, type, declarationOf(value, type), ""};
      // The target holds one declaration of a name at a time: the first
      // occurrence of the name gives it, and a later one with other types
      // is handed on with its own declaration inline.
      const auto [first, isFirst] = firstUndeclared.emplace(name, undeclared_.size());
      if (!isFirst && undeclared_[first->second].declaration != undeclared.declaration) {
        undeclared.inlineToken = undeclared.declaration + " " + name;
        checker.warn("parameter " + token +
                     " is given twice, with other types; both are kept as read, this one as " +
                     quote(undeclared.inlineToken));
      } else {
        checker.warn("parameter " + token + " is not declared; it is kept as read, as " +
                     undeclared.declaration);
        if (!names.insert(name).second)
          checker.warn("parameter " + token + " is given twice; both are kept as read");
      }
      names.insert(name);
      undeclared_.push_back(std::move(undeclared));
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
    else if (!names.insert(entry->name).second)
      checker.warn("parameter " + token + " is given twice; both are kept as read");
  }
  if (options_.integersAsWritten) keepIntegerText(request);
}

// A name whose every undeclared occurrence holds whole numbers is declared
// to the target as integers: a writer then writes their digits, where a
// float could come out otherwise ("1e+05" for 100000), and what it writes
// ("[0 ]" for ".00") reads back as integers again, so that writing what it
// wrote gives the same bytes.  Names handed on with their declaration
// inline stay floats.
void RibReader::keepIntegerText(RibRequest &request) {
  std::unordered_map<std::string, bool> integers;
  for (const Undeclared &undeclared : undeclared_)
    if (undeclared.type == kTypeFloat && undeclared.inlineToken.empty()) {
      const auto name = integers.emplace(bareName(request, undeclared.index), true).first;
      name->second &= wholeNumbers(request.parameters[undeclared.index].value);
    }
  for (Undeclared &undeclared : undeclared_) {
    if (undeclared.type != kTypeFloat || !undeclared.inlineToken.empty() ||
        !integers[bareName(request, undeclared.index)])
      continue;
    RibValue &value = request.parameters[undeclared.index].value;
    if (!value.allIntegers) {
      value.ints.assign(value.floats.begin(), value.floats.end());
      value.allIntegers = true;
    }
    undeclared.type = kTypeInteger;
    undeclared.declaration = declarationOf(value, kTypeInteger);
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
    if (nextUndeclared < undeclared_.size() && undeclared_[nextUndeclared].index == i) {
      const Undeclared &undeclared = undeclared_[nextUndeclared++];
      type = undeclared.type;
      if (!undeclared.inlineToken.empty()) {
        tokens_[i] = const_cast<char *>(undeclared.inlineToken.c_str());
      } else {
        // Declared to the target just before the request, without a
        // Declare line in a writer's output; the name is declared without
        // leading blanks, which a lookup skips.
        target_.declareQuietly(const_cast<char *>(skipBlanks(parameter.token.c_str())),
                               const_cast<char *>(undeclared.declaration.c_str()));
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
  for (const Undeclared &undeclared : undeclared_) {
    if (undeclared.index != i) continue;
    if (!undeclared.inlineToken.empty()) return undeclared.inlineToken;
    const ParsedDeclaration parsed = parseDeclaration(undeclared.declaration.c_str());
    return formatDeclaration(parsed.storageClass, parsed.type, parsed.arrayLength) + " " +
           skipBlanks(parameter.token.c_str());
  }
  const DeclarationDictionary::Entry *entry = state_.declarations.lookup(parameter.token.c_str());
  if (entry == nullptr) return parameter.token;
  const ParsedDeclaration &parsed = entry->declaration;
  return formatDeclaration(parsed.storageClass, parsed.type, parsed.arrayLength) + " " + entry->name;
}

}  // namespace vellum
