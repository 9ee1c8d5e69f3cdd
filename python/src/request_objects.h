// Requests read from RIB as the Python objects that vellum.read and
// vellum.diff hand out: a Request of the method of its name, its arguments
// and its parameter list keyed by declared names, arrays as numpy arrays
// that take over the reader's vectors.
#ifndef VELLUM_PYTHON_REQUEST_OBJECTS_H
#define VELLUM_PYTHON_REQUEST_OBJECTS_H

#include <string>
#include <unordered_map>
#include <vector>

#include "binding.h"
#include "reader/rib_reader.h"

namespace vellum::python {

// One request of a batch, as the reader handed it out, with what the
// reader knew of it then: the declarations of its parameters, its text
// when it reached the target as text.
struct ReadRequest {
  const RequestRow *row = nullptr;  // null for a comment
  RibRequest request;
  std::vector<std::string> declarations;
  std::string verbatim;
  bool asText = false;
};


// The request a reader handed out, with what the reader knew of it, its
// values moved out of the reader.  Needs no interpreter lock.
ReadRequest takeRequest(const RibReader::Pulled &pulled);

// RIB strings are bytes: those that are not UTF-8 keep their bytes as
// surrogates.
py::object text(const std::string &value);

// Makes Request objects (of the class `requestType`) of requests read from
// the input named `file`.
class RequestMaker {
 public:
  RequestMaker(py::object requestType, py::object file) : requestType_(std::move(requestType)), file_(std::move(file)) {}
  py::object make(ReadRequest &read);

 private:
  struct Form;
  const Form &formOf(const RequestRow &row);

  py::object requestType_;
  py::object file_;
  std::unordered_map<const RequestRow *, std::shared_ptr<Form>> forms_;
};

}  // namespace vellum::python

#endif
