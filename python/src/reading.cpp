// Reading RIB into Python: the RIB reader checks every request as qview
// does, and each request that passes becomes the arguments of the Ri
// method of its name, its parameter list a dict keyed by declared names.
#include <cstring>

#include "binding.h"
#include "decl/declaration.h"
#include "reader/byte_source.h"
#include "reader/rib_reader.h"
#include "ri/null_context.h"

namespace vellum::python {

namespace {

// RIB strings are bytes: those that are not UTF-8 keep their bytes as
// surrogates.
py::object text(const std::string &value) {
  PyObject *decoded = PyUnicode_DecodeUTF8(value.data(), static_cast<Py_ssize_t>(value.size()), "surrogateescape");
  if (decoded == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(decoded);
}

py::array_t<float> floatArray(const RibValue &value) {
  py::array_t<float> array(static_cast<py::ssize_t>(value.size()));
  float *out = array.mutable_data();
  if (value.size() == 0) return array;  // no data to copy from
  if (!value.allIntegers || value.floatsValid)
    std::memcpy(out, value.floats.data(), value.size() * sizeof(float));
  else
    for (size_t i = 0; i < value.size(); ++i) out[i] = static_cast<float>(value.ints[i]);
  return array;
}

py::array_t<RtInt> intArray(const RibValue &value) {
  py::array_t<RtInt> array(static_cast<py::ssize_t>(value.size()));
  RtInt *out = array.mutable_data();
  if (value.size() == 0) return array;
  if (value.allIntegers)
    std::memcpy(out, value.ints.data(), value.size() * sizeof(RtInt));
  else
    for (size_t i = 0; i < value.size(); ++i) out[i] = static_cast<RtInt>(value.floats[i]);
  return array;
}

py::list stringList(const RibValue &value) {
  py::list list(value.strings.size());
  for (size_t i = 0; i < value.strings.size(); ++i) list[i] = text(value.strings[i]);
  return list;
}

py::object operand(const RibValue &value, char letter) {
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

// The operands as the arguments of the method of the request's name, and
// the handle a request defines (None when it defines none).
std::pair<py::tuple, py::object> methodArguments(const RequestRow &row, const RibRequest &request) {
  std::string letters;
  for (const char *c = row.operands; *c != '\0'; ++c) letters += *c == 'T' ? std::string("SIIF") : std::string(1, *c);
  std::vector<py::object> args;
  for (size_t i = 0; i < request.operands.size() && i < letters.size(); ++i)
    args.push_back(operand(request.operands[i], letters[i]));
  py::object handle = py::none();
  const std::string &name = request.name;
  auto floats = [&](size_t first, size_t count) {
    py::array_t<float> array(static_cast<py::ssize_t>(count));
    for (size_t i = 0; i < count; ++i) array.mutable_data()[i] = static_cast<float>(request.operands[first + i].number);
    return array;
  };
  if (name == "Color" || name == "Opacity") {
    args = {floats(0, 3)};
  } else if (name == "Bound" || name == "Detail") {
    args = {floats(0, 6)};
  } else if (name == "ConcatTransform" || name == "Transform") {
    args = {floats(0, 16).attr("reshape")(4, 4)};
  } else if (name == "Hyperboloid") {
    args = {floats(0, 3), floats(3, 3), args[6]};
  } else if (name == "NuPatch") {
    args = {args[1], args[2], args[3], args[4], args[6], args[7], args[8], args[9]};
  } else if (name == "LightSource" || name == "AreaLightSource") {
    handle = args[1];
    args.resize(1);
  } else if (name == "Light") {
    handle = args[1];
  } else if (name == "ObjectBegin") {
    handle = args[0];
    args.clear();
  } else if (name == "Procedural") {
    args = {args[1], args[2], args[0]};
  }
  py::tuple tuple(args.size());
  for (size_t i = 0; i < args.size(); ++i) tuple[i] = args[i];
  return {tuple, handle};
}

// The parameter list keyed by declarations, and the tokens as read.
std::pair<py::dict, py::dict> parameters(RibReader &reader, const RibRequest &request) {
  py::dict params, tokens;
  for (size_t i = 0; i < request.parameters.size(); ++i) {
    const std::string key = reader.parameterDeclaration(request, i);
    const RibValue &value = request.parameters[i].value;
    const int type = parseDeclaration(key.c_str()).type;
    py::object values = type == kTypeString    ? py::object(stringList(value))
                        : type == kTypeInteger ? py::object(intArray(value))
                                               : py::object(floatArray(value));
    py::object name = text(key);
    params[name] = values;
    tokens[name] = text(request.parameters[i].token);
  }
  return {params, tokens};
}

// The target of the reading: it keeps the comments, which reach it
// without the observer, and the text of requests handed on verbatim.
class Capture : public NullContext {
 public:
  explicit Capture(py::list &events) : events_(events) {}
  RtVoid ArchiveRecordV(RtToken type, char *format, va_list args) override {
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string record(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(record.data(), record.size() + 1, format, args);
    if (std::strcmp(type, RI_VERBATIM) == 0) {
      // The request the observer saw last, handed on as read.
      py::list last = events_[py::len(events_) - 1].cast<py::list>();
      last[7] = text(record);
      return;
    }
    events_.append(py::list(py::make_tuple("request", "ArchiveRecord", py::make_tuple(type, text(record)),
                                           py::dict(), py::none(), py::none(), py::none(), py::none(),
                                           py::dict())));
  }

 private:
  py::list &events_;
};

// Reads a whole stream: a list of events, each ["request", name, args,
// params, file, line, handle, verbatim, tokens as read] or ("error" | "warning", message,
// file, line, text).
py::list read(py::object data, const std::string &name, bool isPath, bool strictWarnings) {
  py::list events;
  std::vector<RibInput> inputs;
  std::string bytes;
  if (isPath) {
    std::string error;
    const std::string path = data.cast<std::string>();
    std::unique_ptr<ByteSource> source = openByteSource(path, &error);
    if (source == nullptr) {
      PyErr_SetObject(PyExc_OSError, py::make_tuple(py::none(), path + ": " + error).ptr());
      throw py::error_already_set();
    }
    inputs.emplace_back(name, std::move(source));
  } else {
    bytes = data.cast<std::string>();
    inputs.emplace_back(name, std::make_unique<MemorySource>(bytes));
  }
  Capture capture(events);
  RibReader::Options options;
  options.strict = strictWarnings;
  RibReader reader(
      capture,
      [&](const Diagnostic &diagnostic) {
        events.append(py::make_tuple(diagnostic.warning ? "warning" : "error", text(diagnostic.message),
                                     text(diagnostic.input), diagnostic.line, text(diagnostic.text())));
      },
      options);
  reader.setObserver([&](const RequestRow &row, const RibRequest &request) {
    auto [args, handle] = methodArguments(row, request);
    auto [params, tokens] = parameters(reader, request);
    events.append(py::list(py::make_tuple("request", request.name, args, params, text(name), request.line,
                                          handle, py::none(), tokens)));
  });
  reader.read(std::move(inputs));
  return events;
}

}  // namespace

void bindReading(py::module_ &module) {
  module.def("_read", &read, py::arg("data"), py::arg("name"), py::arg("is_path"), py::arg("strict_warnings"),
             "The events of reading a RIB stream (used by vellum.read).");
}

}  // namespace vellum::python
