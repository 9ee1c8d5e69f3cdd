// Reading RIB into Python: the RIB reader checks every request as qview
// does, and each request that passes becomes a Request: the arguments of
// the Ri method of its name, its parameter list a dict keyed by declared
// names.
//
// The stream is read as it is iterated, a batch of requests at a time:
// the reader runs without the interpreter lock and hands out each request
// once checked (RibReader::next), whose values move into the batch; the
// batch then becomes Python objects, the arrays numpy arrays that take
// over the reader's vectors.  Memory stays that of one batch, whatever the
// stream's length.
#include <cstring>
#include <unordered_map>

#include "binding.h"
#include "decl/declaration.h"
#include "reading_sources.h"
#include "reader/gzip_source.h"
#include "reader/request_text.h"
#include "reader/rib_reader.h"
#include "ri/null_context.h"

namespace vellum::python {

namespace {

// A batch ends after this many requests, or once its values pass this
// many bytes (a single larger request makes a batch of its own).
constexpr size_t kBatchRequests = 256;
constexpr size_t kBatchBytes = size_t{1} << 20;
// Arrays up to this many bytes are copied into a new numpy array, which
// costs less than an array that owns a vector; longer ones take over
// the vector.
constexpr size_t kCopiedArrayBytes = 256;

// RIB strings are bytes: those that are not UTF-8 keep their bytes as
// surrogates.
py::object text(const std::string &value) {
  PyObject *decoded = PyUnicode_DecodeUTF8(value.data(), static_cast<Py_ssize_t>(value.size()), "surrogateescape");
  if (decoded == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(decoded);
}

// A one-dimensional numpy array of `values`: copied when short, otherwise
// made to own the vector itself.
template <typename T>
py::array_t<T> arrayOf(std::vector<T> &&values) {
  const size_t count = values.size();
  if (count * sizeof(T) <= kCopiedArrayBytes) {
    py::array_t<T> array(static_cast<py::ssize_t>(count));
    if (count > 0) std::memcpy(array.mutable_data(), values.data(), count * sizeof(T));
    return array;
  }
  auto *owned = new std::vector<T>(std::move(values));
  py::capsule owner(owned, [](void *pointer) { delete static_cast<std::vector<T> *>(pointer); });
  return py::array_t<T>(static_cast<py::ssize_t>(count), owned->data(), owner);
}

py::array_t<float> floatArray(RibValue &value) {
  if (value.allIntegers && !value.floatsValid) value.toFloats();
  if (value.kind != RibValue::kNumbers) return py::array_t<float>(0);
  return arrayOf(std::move(value.floats));
}

py::array_t<RtInt> intArray(RibValue &value) {
  if (!value.allIntegers) value.ints.assign(value.floats.begin(), value.floats.end());
  if (value.kind != RibValue::kNumbers) return py::array_t<RtInt>(0);
  return arrayOf(std::move(value.ints));
}

py::list stringList(const RibValue &value) {
  py::list list(value.strings.size());
  for (size_t i = 0; i < value.strings.size(); ++i) list[i] = text(value.strings[i]);
  return list;
}

py::object operand(RibValue &value, char letter) {
  switch (letter) {
    case 'i':
    case 'b': return py::int_(static_cast<long>(value.number));
    case 'f': return py::float_(value.number);
    case 'H':
      if (value.kind == RibValue::kNumber) return py::int_(static_cast<long>(value.number));
      return text(value.string);
    case 'I': return intArray(value);
    case 'F': return floatArray(value);
    case 'S': return stringList(value);
    case 'B':
      if (value.kind == RibValue::kString) return text(value.string);
      return floatArray(value).attr("reshape")(4, 4);
    default: return text(value.string);
  }
}

// How the operands of a row become the method's arguments: the letters of
// its operands ('T' a tag list of four), and what is done to them.
enum class Shape { kPlain, kColor, kBound, kMatrix, kHyperboloid, kNuPatch, kLight, kNamedLight, kObject, kProcedural };

struct RowForm {
  py::object name;
  std::string letters;
  Shape shape = Shape::kPlain;
};

Shape shapeOf(const std::string &name) {
  if (name == "Color" || name == "Opacity") return Shape::kColor;
  if (name == "Bound" || name == "Detail") return Shape::kBound;
  if (name == "ConcatTransform" || name == "Transform") return Shape::kMatrix;
  if (name == "Hyperboloid") return Shape::kHyperboloid;
  if (name == "NuPatch") return Shape::kNuPatch;
  if (name == "LightSource" || name == "AreaLightSource") return Shape::kLight;
  if (name == "Light") return Shape::kNamedLight;
  if (name == "ObjectBegin") return Shape::kObject;
  if (name == "Procedural") return Shape::kProcedural;
  return Shape::kPlain;
}

// The operands as the arguments of the method of the request's name, and
// the handle a request defines (None when it defines none).
std::pair<py::tuple, py::object> methodArguments(const RowForm &form, RibRequest &request) {
  std::vector<py::object> args;
  args.reserve(request.operands.size());
  for (size_t i = 0; i < request.operands.size() && i < form.letters.size(); ++i)
    args.push_back(operand(request.operands[i], form.letters[i]));
  py::object handle = py::none();
  auto floats = [&](size_t first, size_t count) {
    py::array_t<float> array(static_cast<py::ssize_t>(count));
    for (size_t i = 0; i < count; ++i) array.mutable_data()[i] = static_cast<float>(request.operands[first + i].number);
    return array;
  };
  switch (form.shape) {
    case Shape::kPlain: break;
    case Shape::kColor: args = {floats(0, 3)}; break;
    case Shape::kBound: args = {floats(0, 6)}; break;
    case Shape::kMatrix: args = {floats(0, 16).attr("reshape")(4, 4)}; break;
    case Shape::kHyperboloid: args = {floats(0, 3), floats(3, 3), args[6]}; break;
    case Shape::kNuPatch: args = {args[1], args[2], args[3], args[4], args[6], args[7], args[8], args[9]}; break;
    case Shape::kLight:
      handle = args[1];
      args.resize(1);
      break;
    case Shape::kNamedLight: handle = args[1]; break;
    case Shape::kObject:
      handle = args[0];
      args.clear();
      break;
    case Shape::kProcedural: args = {args[1], args[2], args[0]}; break;
  }
  py::tuple tuple(args.size());
  for (size_t i = 0; i < args.size(); ++i) tuple[i] = std::move(args[i]);
  return {tuple, handle};
}

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

// One event of a batch: a diagnostic, or a request.
struct Event {
  bool isDiagnostic = false;
  Diagnostic diagnostic;
  ReadRequest read;
};

size_t valueBytes(const RibValue &value) {
  return value.ints.size() * sizeof(RtInt) + value.floats.size() * sizeof(float) + value.string.size() +
         value.strings.size() * 16;
}

size_t requestBytes(const RibRequest &request) {
  size_t bytes = 64;
  for (const RibValue &value : request.operands) bytes += valueBytes(value);
  for (const RibParameter &parameter : request.parameters) bytes += valueBytes(parameter.value);
  return bytes;
}

// The reading of one stream: a reader into a context that does nothing,
// and the Request class the requests are made as.
class Reading {
 public:
  Reading(py::object source, const std::string &name, bool isPath, bool strictWarnings, py::object requestType)
      : name_(text(name)), requestType_(std::move(requestType)) {
    std::vector<RibInput> inputs;
    if (isPath) {
      std::string error;
      const std::string path = source.cast<std::string>();
      std::unique_ptr<ByteSource> opened = openByteSource(path, &error);
      if (opened == nullptr) {
        PyErr_SetObject(PyExc_OSError, py::make_tuple(py::none(), path + ": " + error).ptr());
        throw py::error_already_set();
      }
      inputs.emplace_back(name, std::move(opened));
    } else if (PyBytes_Check(source.ptr())) {
      inputs.emplace_back(name, decompressing(std::make_unique<BytesSource>(source)));
    } else {
      inputs.emplace_back(name, decompressing(std::make_unique<FileObjectSource>(source, fileFailure_)));
    }
    RibReader::Options options;
    options.strict = strictWarnings;
    reader_ = std::make_unique<RibReader>(
        target_,
        [this](const Diagnostic &diagnostic) {
          Event &event = batch_.emplace_back();
          event.isDiagnostic = true;
          event.diagnostic = diagnostic;
        },
        options);
    reader_->start(std::move(inputs));
  }

  // The next events: Request objects, and ("error" | "warning", message,
  // file, line, text) tuples for diagnostics, in the order they were met;
  // empty at the end of the stream.
  py::list nextBatch() {
    if (busy_) throw std::runtime_error("the stream is already being read (by another thread, or by its file's read())");
    batch_.clear();
    {
      struct Busy {
        bool &flag;
        ~Busy() { flag = false; }
      } busy{busy_ = true};
      py::gil_scoped_release unlocked;
      fill();
    }
    if (fileFailure_ != nullptr) {
      // The file's own exception, in place of the read error it made.
      std::unique_ptr<py::error_already_set> failure = std::move(fileFailure_);
      failure->restore();
      throw py::error_already_set();
    }
    py::list events(batch_.size());
    for (size_t i = 0; i < batch_.size(); ++i) events[i] = convert(batch_[i]);
    batch_.clear();
    return events;
  }

 private:
  // Reads on until the batch is full or the stream ends.
  void fill() {
    size_t requests = 0, bytes = 0;
    RibReader::Pulled pulled;
    while (requests < kBatchRequests && bytes < kBatchBytes && !ended_) {
      if (!reader_->next(pulled)) {
        ended_ = true;
        break;
      }
      Event &event = batch_.emplace_back();
      ReadRequest &read = event.read;
      read.row = pulled.row;
      read.asText = pulled.asText;
      RibRequest &request = *pulled.request;
      if (pulled.row != nullptr) {
        read.declarations.reserve(request.parameters.size());
        for (size_t i = 0; i < request.parameters.size(); ++i) read.declarations.push_back(pulled.declaration(i));
        if (pulled.asText) read.verbatim = requestText(request);
      }
      read.request = std::move(request);
      ++requests;
      bytes += requestBytes(read.request);
    }
  }

  const RowForm &formOf(const RequestRow &row) {
    auto found = forms_.find(&row);
    if (found != forms_.end()) return found->second;
    RowForm form;
    form.name = py::str(row.name);
    for (const char *c = row.operands; *c != '\0'; ++c) form.letters += *c == 'T' ? std::string("SIIF") : std::string(1, *c);
    form.shape = shapeOf(row.name);
    return forms_.emplace(&row, std::move(form)).first->second;
  }

  py::object convert(Event &event) {
    if (event.isDiagnostic) {
      const Diagnostic &diagnostic = event.diagnostic;
      return py::make_tuple(diagnostic.warning ? "warning" : "error", text(diagnostic.message),
                            text(diagnostic.input), diagnostic.line, text(diagnostic.text()));
    }
    ReadRequest &read = event.read;
    RibRequest &request = read.request;
    if (read.row == nullptr) {
      // A comment reached the target as an ArchiveRecord; writers put one
      // blank after the hash.
      const char *comment = request.comment.c_str();
      if (!request.structure && *comment == ' ') ++comment;
      return makeRequest(py::str("ArchiveRecord"),
                         py::make_tuple(request.structure ? RI_STRUCTURE : RI_COMMENT, text(comment)), py::dict(),
                         py::none(), py::none(), py::none(), py::none(), py::dict());
    }
    const RowForm &form = formOf(*read.row);
    auto [args, handle] = methodArguments(form, request);
    py::dict params, tokens;
    for (size_t i = 0; i < request.parameters.size(); ++i) {
      const std::string &key = read.declarations[i];
      RibValue &value = request.parameters[i].value;
      const int type = parseDeclaration(key.c_str()).type;
      py::object values = type == kTypeString    ? py::object(stringList(value))
                          : type == kTypeInteger ? py::object(intArray(value))
                                                 : py::object(floatArray(value));
      py::object name = text(key);
      params[name] = values;
      tokens[name] = text(request.parameters[i].token);
    }
    return makeRequest(form.name, args, params, name_, py::int_(request.line), handle,
                       read.asText ? text(read.verbatim) : py::none(), tokens);
  }

  py::object makeRequest(py::object name, py::object args, py::object params, py::object file, py::object line,
                         py::object handle, py::object verbatim, py::object tokens) {
    return requestType_(name, args, params, file, line, handle, verbatim, tokens);
  }

  NullContext target_;
  py::object name_;
  py::object requestType_;
  // What a file object's read() raised; it outlives the reader.
  std::unique_ptr<py::error_already_set> fileFailure_;
  std::unique_ptr<RibReader> reader_;
  std::vector<Event> batch_;
  std::unordered_map<const RequestRow *, RowForm> forms_;
  bool busy_ = false;
  bool ended_ = false;
};

}  // namespace

void bindReading(py::module_ &module) {
  py::class_<Reading>(module, "_Reading", "The reading of a RIB stream (used by vellum.read).")
      .def(py::init<py::object, const std::string &, bool, bool, py::object>(), py::arg("source"),
           py::arg("name"), py::arg("is_path"), py::arg("strict_warnings"), py::arg("request_type"))
      .def("next_batch", &Reading::nextBatch,
           "The next Request objects and diagnostics of the stream; empty at its end.");
}

}  // namespace vellum::python
