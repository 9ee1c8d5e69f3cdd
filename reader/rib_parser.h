// RibParser: groups the tokens of a RIB stream into requests: a keyword,
// its operands matched against the shape its row in the request table
// gives, and its parameter list.  Comments come out as requests of their
// own; one that stands inside a request comes out after it.
//
// Memory stays bounded by the largest single request: the stream is read
// in pieces, and only the current request is held.
#ifndef VELLUM_READER_RIB_PARSER_H
#define VELLUM_READER_RIB_PARSER_H

#include <deque>
#include <string>
#include <vector>

#include "reader/request_table.h"
#include "reader/rib_lexer.h"
#include "reader/rib_request.h"

namespace vellum {

class RibParser {
 public:
  enum class Result {
    kRequest,    // a request whose operands match its shape
    kComment,    // a comment or structure comment
    kMalformed,  // a request that could not be read; `error` says why.  Its
                 // name and line are set (the name is empty for operands
                 // without a request), and its operands hold what was read,
                 // unmatched.
    kEnd,
  };

  explicit RibParser(std::vector<RibInput> inputs);

  // The next request, comment or malformed request.  `row` is the request's
  // row in the table (null for comments and unknown requests).
  Result next(RibRequest &request, const RequestRow **row, std::string *error);

  const std::string &inputName(int input) const { return lexer_.inputName(input); }
  // Bytes read so far.
  uint64_t offset() const { return lexer_.offset(); }
  // Reads nothing more of input `input`: what is next comes from the inputs
  // after it.
  void skipInput(int input);

 private:
  void advance() {
    consumedEnd_ = lexer_.offset();
    lexer_.next(token_);
  }
  bool readItem(RibValue &value, std::string *error);
  bool readArray(RibValue &value, std::string *error);
  void skipRequest();
  bool matchOperands(const RequestRow &row, std::vector<RibValue> &items, size_t *used,
                     RibRequest &request, std::string *error);
  bool matchTags(std::vector<RibValue> &items, size_t *k, RibRequest &request,
                 std::string *error);
  bool matchParameters(std::vector<RibValue> &items, size_t first, RibRequest &request,
                       std::string *error);
  RibRequest commentOf(Token &token);

  RibLexer lexer_;
  Token token_;  // the current token, not yet used
  uint64_t consumedEnd_ = 0;  // where the last token used ends
  std::deque<RibRequest> comments_;  // comments met inside the last request
  std::vector<RibValue> items_;
};

}  // namespace vellum

#endif
