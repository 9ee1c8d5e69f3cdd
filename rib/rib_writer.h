// RibWriter: the rendering context that writes every request as RIB.
//
// Each request is one line of ASCII RIB (a blobby with a parameter list
// takes three); in binary mode the float values that pass through the
// float encoders become binary RIB tokens and everything else stays text.
// The operations live in one file per request group.
#ifndef VELLUM_RIB_RIB_WRITER_H
#define VELLUM_RIB_RIB_WRITER_H

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <tuple>
#include <unordered_set>
#include <memory>
#include <string>

#include "ri/render_context.h"
#include "common/name_tables.h"
#include "common/number_format.h"
#include "common/primitive_counts.h"
#include "rib/rib_stream.h"
#include "rib/writer_environment.h"
#include "rib/writer_settings.h"

namespace vellum {

class RibWriter : public RenderContext {
 public:
  // Writes to `sink`, which `name` names in reports (null: standard
  // output, whose bytes are handed on request by request to keep their
  // order with the client's own), as `settings` say, with the
  // declarations, errors and diagnostics of `environment`, which outlives
  // the writer.
  RibWriter(std::unique_ptr<OutputSink> sink, const char *name, const WriterSettings &settings,
            WriterEnvironment &environment);
  // The C interface's writer: `name` selects the destination (see
  // openDestination; one that cannot be opened ends the process with
  // status 1), the settings are (token, value) pairs as applyFormatPairs
  // takes them ("gzip" is accepted, no effect), and the environment is the
  // process-wide one.  The varargs form ends the pairs with RI_NULL.
  RibWriter(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
  RibWriter(RtToken name, ...);
  ~RibWriter() override;  // close()

  // Ends the stream with its empty last line and closes the destination
  // (standard output is flushed); once only.
  void close();
  // Whether any of the stream's bytes could not be written: the failure
  // was reported on standard error, and what could not be written is lost.
  bool failed() const { return stream_.failed(); }

  // Every request operation; the groups live in their own files
  // (requests_*.cpp).  The varargs forms are the base class's.
  VELLUM_OVERRIDE_ALL_OPERATIONS
  // Declares in the writer's own environment, writing nothing.
  RtToken declareQuietly(char *name, char *declaration) override;

  // Value encoders.  Counts are element counts; a negative count or a null
  // array writes no values.
  void writeFloat(RtFloat value);
  void writeFloatArray(const RtFloat *values, int64_t count);
  void writeIntArray(const RtInt *values, int64_t count);
  void writeStringArray(const RtToken *strings, int64_t count);

  // A request's name and parameter list: writes the rest of its line and
  // ends it, starting with a blank and the quoted name, then, for a number
  // above 0, a blank and the number.
  void writeParamList(const char *name, RtInt number, RtInt n, RtToken tokens[],
                      RtPointer parms[]);

  RtInt binaryFlag() const { return binary_; }
  // Significant digits of floats written as text: 1 to 9, or 0 for the
  // shortest text that reads back as the same float.
  RtInt precision() const { return precision_; }
  RtInt uStep() const { return uStep_; }
  RtInt vStep() const { return vStep_; }

 private:
  // Applies the settings, writes the header and loads the standard
  // declarations.
  void start(const WriterSettings &settings);
  // One of the writer's own diagnostics, formatted as printf formats.
  void problem(const char *format, ...) __attribute__((format(printf, 2, 3)));

  // Text of a request, appended to the stream's buffer (text_output.cpp).
  void text(const char *literal) { out_.append(literal); }
  void character(char c) { out_.push_back(c); }
  // A float as text in the format the precision chose ("%g" by default); a
  // non-finite one as RI_INFINITY, -RI_INFINITY or 0.
  void numberText(RtFloat value);
  // Each value as a blank and numberText.
  void numbersText(std::initializer_list<RtFloat> values);
  // A float as "%f" text at the default precision, else as numberText()
  // writes it (six decimals would round away the digits asked for).
  void fixedText(RtFloat value);
  void integerText(long value);
  // A string between double quotes, escaped so that it cannot end early;
  // null is the empty string.
  void quotedText(const char *string);
  // The quoted name of a predefined filter function.  Any other function
  // (the client's own, or null) has no name a renderer could know: it is
  // written as "" and reported once per context, naming the request.
  void filterText(const char *keyword, RtFilterFunc filterfunc);
  // The quoted name of a predefined function, or "" reported once a
  // context for each kind ("filter function", ...) in `reported`.
  void functionText(const char *keyword, const char *kind, const char *name, bool &reported);
  // Ends a request: lets the stream hand on its buffer when it is large.
  void done() { stream_.requestDone(); }
  void endLine() {
    character('\n');
    done();
  }

  // The text of a request whose row says TEXT: the keyword, each operand
  // after a blank by its type, and the line end, or for a list form the
  // parameter list (by the primitive's counts when it has them).
  template <typename... Operands>
  void textRequest(const char *keyword, const std::tuple<Operands...> &operands) {
    text(keyword);
    std::apply([&](const auto &...each) { (operandText(keyword, each), ...); }, operands);
    endLine();
  }
  template <typename... Operands>
  void listRequest(const char *keyword, const std::optional<PrimitiveCounts> &counts, RtInt n,
                   RtToken tokens[], RtPointer parms[], const std::tuple<Operands...> &operands) {
    text(keyword);
    std::apply([&](const auto &...each) { (operandText(keyword, each), ...); }, operands);
    if (counts) primitiveList(*counts, n, tokens, parms);
    else writeParams(nullptr, n, tokens, parms);
  }
  void operandText(const char *, RtFloat value) {
    character(' ');
    numberText(value);
  }
  void operandText(const char *, RtInt value) {
    character(' ');
    integerText(value);
  }
  void operandText(const char *, RtBoolean value) {
    character(' ');
    integerText(value);
  }
  void operandText(const char *, const char *string) {
    character(' ');
    quotedText(string);
  }
  void operandText(const char *keyword, RtFilterFunc filterfunc) {
    character(' ');
    filterText(keyword, filterfunc);
  }
  void operandText(const char *keyword, RtProc2SubdivFunc function) {
    character(' ');
    functionText(keyword, "procedural function", procedural2Name(function), unnamedProceduralReported_);
  }
  void operandText(const char *keyword, RtProc2BoundFunc function) {
    character(' ');
    functionText(keyword, "bound function", boundFunctionName(function), unnamedBoundReported_);
  }
  void operandText(const char *, RtArchiveCallback) {}  // nothing of it is written

  // Floats as text, each but the last followed by a blank.
  void floatsAsText(const RtFloat *values, int64_t count);
  // A primitive's list with counts clamped to 0..INT32_MAX.
  void primitiveList(const PrimitiveCounts &counts, RtInt n, RtToken tokens[],
                     RtPointer parms[]);
  // Whether a primitive would hold more values than one request can: a
  // storage class past kMostValues (tooManyValues, the reader's rule) or a
  // parameter with more values than that.  The reader refuses such a
  // request, so the writer does not write it: an RIE_RANGE error through
  // RiErrorPrint names the request ("RiVolume") and the operands that gave
  // the counts (`operands()`, "dimensions 2 2 2"), and nothing of the
  // request is written.  Called before any of its text by every primitive
  // whose counts follow from its operands: sums and products of them past
  // the limit themselves, one RtInt (Polygon, Points, Blobby) times a
  // parameter's values per element.  The generic primitives' few fixed
  // counts cannot get there, whatever their parameters.
  template <typename Operands>
  bool refusesTooManyValues(const char *request, const PrimitiveCounts &counts, RtInt n,
                            RtToken tokens[], const Operands &operands) {
    const std::string excess = valuesPastLimit(counts, n, tokens);
    if (excess.empty()) return false;
    reportTooManyValues(request, operands(), excess);
    return true;
  }
  // What would be past kMostValues ("too many values (more than ... in one
  // storage class)", "parameter \"Cs\" too many values (...)"), or empty.
  std::string valuesPastLimit(const PrimitiveCounts &counts, RtInt n, RtToken tokens[]);
  void reportTooManyValues(const char *request, const std::string &operands, const std::string &excess);
  // The declaration of a token that can be written; false after telling
  // the client why the token is left out.
  bool writableDeclaration(const char *token, ParameterDeclaration *declaration);
  // The operands of polygons and curves by their count of vertices
  // ("nvertices adding up to 9"), and of meshes, whose vertex count is the
  // largest index plus one ("... and vertex indices up to 7").
  static std::string verticesOperands(int64_t vertices);
  static std::string meshOperands(const PrimitiveCounts &counts);
  static RtInt clampCount(int64_t count);
  // " \"filter\" swidth twidth" and the line end of a texture request.
  void filterAndWidths(const char *keyword, RtFilterFunc filterfunc, RtFloat swidth,
                       RtFloat twidth);
  // A basis by name when it is one of the predefined ones, else 16 floats.
  void basis(RtBasis matrix);
  void writeValues(int type, const void *values, int64_t count);
  void writeParams(const PrimitiveCounts *counts, RtInt n, RtToken tokens[], RtPointer parms[]);
  void reportNonFinite();
  // `value`, or its stand-in when it is not finite (reported once).
  RtFloat finite(RtFloat value);
  // Keyword, a blank, `count` floats through writeFloatArray, line end.
  void floatArrayRequest(const char *keyword, const RtFloat *values, int64_t count);
  RtLightHandle lightRequest(const char *keyword, RtToken name, RtInt n, RtToken tokens[],
                             RtPointer parms[]);
  // The name this stream goes by in reports.
  const char *destination() const { return outputName_ != nullptr ? outputName_ : "standard output"; }

  WriterEnvironment &environment_;
  RibStream stream_;
  OutputBuffer &out_;
  const char *outputName_ = nullptr;
  RtInt uStep_ = 3;
  RtInt vStep_ = 3;
  RtInt binary_ = 0;
  RtInt precision_ = kDefaultPrecision;
  // How numberText formats, chosen once from the precision.
  char *(*formatNumber_)(float value, int digits, char *out) = nullptr;
  RtInt nextLightHandle_ = 1;
  RtInt nextObjectHandle_ = 1;
  bool nonFiniteReported_ = false;
  bool unnamedFilterReported_ = false;
  bool unnamedProceduralReported_ = false;
  bool unnamedBoundReported_ = false;
  // The handles RiLight returned: their names, interned, which Illuminate
  // writes as strings where it writes LightSource's numbers.
  std::unordered_set<RtLightHandle> namedLights_;
};

}  // namespace vellum

#endif
