// RibReader: reads a RIB stream and drives a RenderContext with it.
//
// Every request is checked before the target sees it: its operands, the
// handles it refers to, and every parameter's values against the
// declarations in force in the stream and the primitive's count rules, by
// the rules the writer uses.  A bad request is reported with file:line and
// left out; reading carries on with the next one.  What the target receives
// can therefore be written without reading past any array.
//
// Legitimate RIB that the library cannot express exactly is kept: requests
// it has no operation for, and names and handles it has no function for,
// reach the target as verbatim text (a warning says so); a parameter that
// the stream never declared, on a request whose renderer types it itself,
// is declared to the target quietly just before the request, as strings
// or floats as its values show.  A name given twice in one list keeps
// both pairs (a warning says so).  Warnings are errors in strict mode.
//
// One reader is one stream: what it declares, its basis steps, its handles
// and its blocks are its own.  Blocks must end in the order they began (a
// wrong end is an error and left out); blocks still open at the end of the
// stream draw one warning.
//
// The reader drives its target with a whole stream (read()), or hands the
// stream out one request at a time (start() and next()), each after it
// reached the target, for a caller that handles requests itself (the
// Python package).  Either way it holds one request of each stream and
// archive being read, the streams' state and the stack of archives open:
// archive files and inline archives are frames of that stack, read a
// request at a time by step(), so that memory does not grow with the
// length of a stream.
//
// Hostile streams cost work and memory in proportion to the bytes read:
// every loop an input drives is charged to its work meter (see Options),
// and after kMostErrorsPerInput errors an input is given up ("too many
// errors").
#ifndef VELLUM_READER_RIB_READER_H
#define VELLUM_READER_RIB_READER_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/primitive_counts.h"
#include "common/work_meter.h"
#include "reader/archive_files.h"
#include "reader/byte_source.h"
#include "reader/request_table.h"
#include "reader/rib_request.h"
#include "reader/stream_state.h"
#include "ri/render_context.h"

namespace vellum {

class RibParser;

struct Diagnostic {
  bool warning = false;
  std::string input;  // the name of the input
  int line = 0;
  std::string message;
  // "input:line: message", with "warning: " before a warning's message.
  std::string text() const;
};

class RibReader {
 public:
  using DiagnosticSink = std::function<void(const Diagnostic &)>;
  // Sees every request of the stream itself (not of the archives it reads)
  // that passed its checks, comments excepted, as it reaches the target:
  // a primitive with the counts of its values (null for a request
  // without them).
  using Observer = std::function<void(const RequestRow &, const RibRequest &, const PrimitiveCounts *)>;
  // Sees each archive file that was read, once its reading ended (at its
  // end, or cut short): its path as found, how deep it was read (1 for one
  // the stream reads) and the bytes read of it (after decompression).  An
  // archive file that is not RIB, and so is not read, is not seen.
  using ArchiveObserver = std::function<void(const std::string &path, int depth, uint64_t bytes)>;

  // The bounds of a hostile stream beyond its work meter (see Options):
  // what opening an archive and looking for one in vain count as bytes
  // read, 16 archives deep, 100 errors an input, 4 MiB the longest string
  // that substituting variables may make.
  static constexpr uint64_t kArchiveOpenCost = 4096;
  static constexpr uint64_t kArchiveMissCost = 256;
  static constexpr int kMostArchiveDepth = 16;
  static constexpr int kMostErrorsPerInput = 100;
  static constexpr uint64_t kMostSubstitutedString = uint64_t{4} << 20;
  // The most work (bytes of text built, steps of glob matches) one IfBegin
  // or ElseIf expression may do: 4 MiB.
  static constexpr uint64_t kMostExpressionWork = uint64_t{4} << 20;

  struct Options {
    bool strict = false;  // warnings are errors, and their requests are left out
    // When set, ReadArchive and the DelayedReadArchive procedurals (of
    // Procedural and of Procedural2) are read from here, each archive a
    // stream of its own, into the same target (the procedural's between
    // AttributeBegin and AttributeEnd), instead of being handed on.  An
    // inline archive (ArchiveBegin ... ArchiveEnd) is then recorded, not
    // handed on, and reading it by its name replays it in the stream that
    // reads it; it is found before any file of that name.  It is kept in
    // a compact form (request_encoding.h) and checked with the
    // declarations it makes itself in force.  Relative names are looked for along the
    // stream's archive search path (ReadingOptions), which an archive
    // inherits from the stream that reads it.  An archive that is not
    // there is a warning (the stream may read files made elsewhere); one
    // that cannot be read, one already being read on the way to it (a
    // cycle) and one nested more than kMostArchiveDepth deep are errors.
    // An archive file whose first request is not RIB (a text file, a
    // picture) is left out with one error, without a word of what it holds.
    ArchiveFiles *archives = nullptr;
    // Every input (each file a tool names, with the archives it reads)
    // charges the work its requests drive to a WorkMeter: the requests read
    // or replayed, the bytes of archives read (each counting at least
    // kArchiveOpenCost, each place looked in for nothing kArchiveMissCost,
    // an inline archive what it holds each time it is read), the bytes kept
    // while an inline archive is recorded and the text that variables and
    // expressions build; a target that draws charges the same meter.  Past
    // any of its limits one error is reported and the rest of the input is
    // not read.  When null, the reader keeps a meter of its own with the
    // default limits; a caller that gives one (to share it with its target)
    // keeps it alive, and it is reset when the stream moves on to its next
    // input.
    WorkMeter *meter = nullptr;
    // Parameters the stream never declared are floats (or strings), as a
    // renderer takes them.  A re-writer sets this to hand on those whose
    // numbers are all whole as integers, so that it writes their digits,
    // not a float's text ("1e+05" for 100000), and so that what it writes
    // reads back as it was read: writing its output again gives the same
    // bytes.
    bool integersAsWritten = false;
    // A reader whose target acts on what it reads (qview) sets this: from
    // Option "ribparse" "string varsubst" ["$"] on, the references to
    // variables in string operands and string parameter values are
    // replaced (see reader/variables.h) before the request is checked.  A
    // variable that is not set is left as written, with one warning.  A
    // string that would grow past kMostSubstitutedString is left as
    // written, with one error; what is substituted is charged to the meter.
    // A re-writer keeps the text as written.
    bool substituteVariables = false;
    // A reader whose target acts on what it reads sets this too: of an
    // IfBegin block only the first branch whose expression is true (over
    // the Option "user" values, see reader/condition.h) reaches the
    // target; every branch is checked.  An expression that cannot be
    // evaluated is taken as true, with one warning; one whose work would
    // pass kMostExpressionWork is false, with one error.  The conditional
    // requests themselves are not handed on.  A re-writer hands on every
    // branch as written.
    bool actOnConditions = false;
  };

  // A request as it reached the target, handed out by next().
  struct Pulled {
    // The request's row; null for a comment (request->isComment), which
    // reached the target as an ArchiveRecord of its text.
    const RequestRow *row = nullptr;
    // Valid until the next call of next(); the caller may take its values
    // (the reader keeps nothing of them).
    RibRequest *request = nullptr;
    // The request reached the target as its text, verbatim (requestText()):
    // the library has no operation for it, or no function for a name it
    // gives.
    bool asText = false;
    // Made by the reader, not read: the AttributeBegin and AttributeEnd
    // around a DelayedReadArchive procedural's archive (when archives are
    // followed).  (The stream's version, which reaches no target, is
    // handed out all the same.)
    bool made = false;
    // The declaration of parameter `i` as the target saw it, as
    // parameterDeclaration() gives it; valid as `request` is.
    std::string declaration(size_t i) const { return stream->parameterDeclaration(*request, i); }
    // The name of the input it was read from: the stream's, an archive
    // file's, or, for an inline archive's, the input that defined it.
    const std::string &input() const;
    RibReader *stream = nullptr;  // the reader of the stream or archive it comes from
  };

  RibReader(RenderContext &target, DiagnosticSink sink, Options options);
  RibReader(RenderContext &target, DiagnosticSink sink) : RibReader(target, std::move(sink), {}) {}
  ~RibReader();
  void setObserver(Observer observer) { observer_ = std::move(observer); }
  void setArchiveObserver(ArchiveObserver observer);

  // Reads the inputs, in order, as one stream.
  void read(std::vector<RibInput> inputs);

  // The same a request at a time: start() takes the inputs; each next()
  // reads on until a request or comment has reached the target and hands
  // it out, and returns false at the end of the stream.  Diagnostics reach
  // the sink as they are found, those of a request before it is handed
  // out.  Requests, diagnostics and the target's calls are those of read().
  void start(std::vector<RibInput> inputs);
  bool next(Pulled &pulled);

  // While an Observer runs, or a pulled request is valid: the declaration
  // of the request's parameter `i`
  // as the target sees it, with the bare name ("varying color Cs"); for a
  // parameter that the stream never declared, the type its values show.
  std::string parameterDeclaration(const RibRequest &request, size_t i);

  int errors() const { return errors_; }
  int warnings() const { return warnings_; }

 private:
  struct Shared;
  struct Frame;
  // A reader of an archive that `parent` follows; `archiveFile` for a file
  // (whose first request must be RIB), not an inline archive.
  RibReader(RibReader &parent, bool archiveFile);
  // One step of the stream: the innermost frame reads (or replays) one
  // request, or ends and is taken off the stack.  False at the end.
  bool step();
  // A step of a stream or archive file frame, and of an inline archive's:
  // false when the frame has ended.
  bool readOne(Frame &frame);
  bool replayOne(Frame &frame);
  // Takes the innermost frame, which ended, off the stack, and does what
  // the request that began it had left to do.
  void endFrame();
  // In pull mode, makes `request` the one next() hands out.
  void handOut(const RequestRow *row, RibRequest &request, bool asText, bool made = false);
  // A request the reader makes itself (AttributeBegin, AttributeEnd), at
  // the place of `at`, to the target and, in pull mode, handed out.
  void madeRequest(const char *name, const RibRequest &at);
  // When the work meter is spent: reports it (once, at `at`), gives up the
  // input and returns true.
  bool stopWhenSpent(const RibRequest &at);
  // The block checks: a begin where it may stand, an end that ends the
  // innermost open block.  Applied once the request is accepted.
  void checkNesting(const RequestRow &row, const RibRequest &request, RequestChecker &checker);
  void applyNesting(const RequestRow &row, const RibRequest &request);
  void reportOpenBlocks();
  // Opens an archive to be read into the target, within the bounds of
  // Options: true when a frame that reads it was put on the stack (the
  // steps after read it).  `delayed` for a DelayedReadArchive procedural's,
  // which ends with an AttributeEnd.
  bool followArchive(const RibRequest &request, const std::string &name, bool delayed);
  // The same for an inline archive: true when `name` is one, and then in
  // `pushed` whether it is read.
  bool followInlineArchive(const RibRequest &request, const std::string &name, bool delayed,
                           bool *pushed);
  // The archive that a DelayedReadArchive procedural or the
  // DelayedReadArchive2 procedural of Procedural2 reads, or "" for another.
  std::string delayedArchive(const RibRequest &request);
  // Conditional RIB: takes IfBegin, ElseIf, Else and IfEnd, and says
  // whether requests reach the target where the stream now stands.
  void takeCondition(const RibRequest &request);
  bool acting() const;
  // An accepted request while an inline archive is being recorded: true
  // when it was recorded (and so is not acted on now).
  bool recordInline(const RibRequest &request);
  // An inline archive still being recorded where its stream ends is
  // dropped, and the memory it kept given back.
  void dropRecording();
  void comment(RibRequest &request);
  void request(const RequestRow &row, RibRequest &request);
  void malformed(const RequestRow *row, const RibRequest &request, const std::string &error);
  // Checks the parameter list; unknown names on loose requests are noted in
  // undeclared_.
  void checkParameters(const RequestRow &row, const PrimitiveCounts *counts, RibRequest &request,
                       RequestChecker &checker);
  void keepIntegerText(RibRequest &request);
  void takeOption(const RibRequest &request);
  void substituteVariables(RibRequest &request, RequestChecker &checker);
  void replay(const RequestRow &row, RibRequest &request);
  void passThrough(const RibRequest &request);
  // A rejected request that defined a light or an object: references to its
  // handle are refused, and the object's definition is skipped.
  void rejected(const RequestRow &row, const RibRequest &request);
  void report(bool warning, const RibRequest &request, const std::string &message);

  RenderContext &target_;
  DiagnosticSink sink_;
  Options options_;
  Observer observer_;
  StreamState state_;
  const RibParser *parser_ = nullptr;  // while reading
  // While an inline archive is being recorded: it, its name, its
  // ArchiveBegin blocks open, and what its Declare requests changed in the
  // declarations, which are in force while it is checked.
  struct InlineArchive;
  std::shared_ptr<InlineArchive> recording_;
  std::string recordingName_;
  int recordingDepth_ = 0;
  std::vector<DeclarationDictionary::Saved> recordingUndo_;
  bool silent_ = false;  // replaying an inline archive: its checks said once already
  int errors_ = 0;
  int warnings_ = 0;
  bool sawRequest_ = false;
  bool checksRibStart_ = false;  // an archive file, not RIB until a request says so
  bool notRib_ = false;          // its first request was not RIB
  // What a stream and the archives it reads share: shown warnings, the
  // error count of the input, the work meter, the archives open.
  std::unique_ptr<Shared> ownShared_;
  Shared *shared_;
  int lastInput_ = 0;
  // Per request: parameters the stream never declared, and the list
  // operations' arrays.
  struct Undeclared {
    size_t index;             // in the parameter list
    int type;                 // as handed to the target
    std::string declaration;  // "float", "string[2]", ...
    std::string inlineToken;  // when set, the token handed on instead of a
                              // declaration to the target
  };
  std::vector<Undeclared> undeclared_;
  std::vector<RtToken> tokens_;
  std::vector<RtPointer> parms_;
  std::vector<std::vector<char *>> strings_;
};

}  // namespace vellum

#endif
