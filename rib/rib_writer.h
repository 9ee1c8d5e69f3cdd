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
#include <memory>
#include <string>

#include "ri/render_context.h"
#include "common/primitive_counts.h"
#include "rib/rib_stream.h"

namespace vellum {

class RibWriter : public RenderContext {
 public:
  // `name` selects the destination (see RibStream); the settings are
  // (token, value) pairs: "format" (a string, "binary" or not), "binary"
  // (an RtInt), "compression" and "gzip" (accepted, no effect).  The
  // varargs form ends them with RI_NULL.
  RibWriter(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]);
  RibWriter(RtToken name, ...);
  // Writes into `sink` instead (memory, say); `name` names it in reports.
  RibWriter(std::unique_ptr<OutputSink> sink, const char *name, RtInt n, RtToken tokens[],
            RtPointer parms[]);
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
  const char *outputName() const { return outputName_; }

 private:
  // Applies the creation settings, writes the header and loads the
  // standard declarations.
  void start(RtInt n, RtToken tokens[], RtPointer parms[]);
  // Text pieces of a request, appended to the stream's buffer.
  void text(const char *literal) { out_.append(literal); }
  void character(char c) { out_.push_back(c); }
  // A float as "%g" text (or as the precision asks); a non-finite one as
  // RI_INFINITY, -RI_INFINITY or 0.
  void number(RtFloat value);
  template <typename Formatter>
  void floatsAsText(const RtFloat *values, int64_t count, Formatter format);
  // A float as "%f" text at the default precision, else as number() writes
  // it (six decimals would round away the digits asked for); non-finite
  // ones replaced as for number().
  void fixedNumber(RtFloat value);
  void integer(long value);
  // A string between double quotes, escaped so that it cannot end early;
  // null is the empty string.
  void quoted(const char *string);
  // Each value as a blank and "%g" text.
  void numbers(std::initializer_list<RtFloat> values);
  // Ends a request: lets the stream hand on its buffer when it is large.
  void done() { stream_.requestDone(); }
  void endLine() {
    character('\n');
    done();
  }
  // A primitive's list with counts clamped to 0..INT32_MAX.
  void primitiveList(const PrimitiveCounts &counts, RtInt n, RtToken tokens[],
                     RtPointer parms[]);
  static RtInt clampCount(int64_t count);
  // A quadric: keyword, "%g" operands, then the list with counts 4, 4, 1.
  void quadric(const char *keyword, std::initializer_list<RtFloat> operands, RtInt n,
               RtToken tokens[], RtPointer parms[]);
  // " \"filter\" swidth twidth" and the line end of a texture request.
  void filterAndWidths(const char *keyword, RtFilterFunc filterfunc, RtFloat swidth,
                       RtFloat twidth);
  // The quoted name of a predefined filter function.  Any other function
  // (the client's own, or null) has no name a renderer could know: it is
  // written as "" and reported once per context, naming the request.
  void filter(const char *keyword, RtFilterFunc filterfunc);
  // A basis by name when it is one of the predefined ones, else 16 floats.
  void basis(RtBasis matrix);
  void writeValues(int type, const void *values, int64_t count);
  void writeParams(const PrimitiveCounts *counts, RtInt n, RtToken tokens[], RtPointer parms[]);
  void reportNonFinite();
  // `value`, or its stand-in when it is not finite (reported once).
  RtFloat finite(RtFloat value);
  // Keyword, a blank, `count` floats through writeFloatArray, line end.
  void floatArrayRequest(const char *keyword, const RtFloat *values, int64_t count);
  // A shader or light: keyword, then the list with its name and number.
  void shaderRequest(const char *keyword, RtToken name, RtInt number, RtInt n, RtToken tokens[],
                     RtPointer parms[]);
  RtLightHandle lightRequest(const char *keyword, RtToken name, RtInt n, RtToken tokens[],
                             RtPointer parms[]);

  RibStream stream_;
  OutputBuffer &out_;
  const char *outputName_ = nullptr;
  RtInt uStep_ = 3;
  RtInt vStep_ = 3;
  RtInt binary_ = 0;
  RtInt precision_ = 6;
  RtInt nextLightHandle_ = 1;
  RtInt nextObjectHandle_ = 1;
  bool nonFiniteReported_ = false;
  bool unnamedFilterReported_ = false;
};

}  // namespace vellum

#endif
