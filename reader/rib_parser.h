// RibParser: reads a RIB stream request by request and checks each one: its
// keyword, the shapes of its operands, and every parameter's value count
// against the declarations in force and the primitive's counts, by the same
// rules the writer uses.  A bad request is reported with file:line and
// skipped; reading carries on at the next request.
//
// Memory stays bounded by the largest single request: the stream is read in
// pieces, and only the current request is held.
#ifndef VELLUM_READER_RIB_PARSER_H
#define VELLUM_READER_RIB_PARSER_H

#include <deque>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "reader/rib_lexer.h"
#include "reader/rib_request.h"
#include "reader/request_shapes.h"

namespace vellum {

// The vertex count of a polygon or a point cloud, which RIB leaves to its
// "P" values (or "Pw", "Pz"); -1 when it has none.
int64_t positionVertexCount(const RibRequest &request);

class RibParser {
 public:
  // Receives each diagnostic as "file:line: message" (no line end).
  using DiagnosticSink = std::function<void(const std::string &)>;

  // Loads the standard declarations (they are process-wide), so a stream
  // may use the standard parameter names without declaring them.
  RibParser(ByteSource &source, std::string fileName, DiagnosticSink sink);

  // The next valid request or comment; false at the end of the stream.
  // Declare requests enter their declarations as they are read, and Basis
  // requests set the steps that later patch meshes and curves are counted
  // with.
  bool next(RibRequest &request);

  int errorCount() const { return errors_; }
  const RequestShape *shapeOf(const RibRequest &request) const;

 private:
  void report(int line, const std::string &message);
  void advance();
  bool readItem(RibValue &value, int *line);
  bool readArray(RibValue &value);
  void skipRequest();
  bool matchOperands(const RequestShape &shape, std::vector<RibValue> &items, size_t *used,
                     RibRequest &request);
  bool matchParameters(std::vector<RibValue> &items, size_t first, RibRequest &request);
  bool checkRequest(const RequestShape &shape, RibRequest &request);
  bool checkParameters(const RequestShape &shape, const RibRequest &request);

  RibLexer lexer_;
  std::string fileName_;
  DiagnosticSink sink_;
  Token token_;                    // the current token, not yet used
  std::deque<RibRequest> comments_;  // comments met inside the last request
  std::vector<RibValue> items_;
  int errors_ = 0;
  int uStep_ = 3;
  int vStep_ = 3;
  std::unordered_set<RtInt> lights_;   // light numbers defined so far
  std::unordered_set<RtInt> objects_;  // object numbers defined so far
};

}  // namespace vellum

#endif
