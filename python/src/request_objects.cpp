#include "request_objects.h"

#include <cstring>
#include <memory>

#include "decl/declaration.h"
#include "reader/request_text.h"

namespace vellum::python {

namespace {

// Arrays up to this many bytes are copied into a new numpy array, which
// costs less than an array that owns a vector; longer ones take over
// the vector.
constexpr size_t kCopiedArrayBytes = 256;

}  // namespace

py::object text(const std::string &value) {
  PyObject *decoded = PyUnicode_DecodeUTF8(value.data(), static_cast<Py_ssize_t>(value.size()), "surrogateescape");
  if (decoded == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(decoded);
}

namespace {

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

}  // namespace

struct RequestMaker::Form : RowForm {};

namespace {

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

}  // namespace

ReadRequest takeRequest(const RibReader::Pulled &pulled) {
  ReadRequest read;
  read.row = pulled.row;
  read.asText = pulled.asText;
  RibRequest &request = *pulled.request;
  if (pulled.row != nullptr) {
    read.declarations.reserve(request.parameters.size());
    for (size_t i = 0; i < request.parameters.size(); ++i) read.declarations.push_back(pulled.declaration(i));
    if (pulled.asText) read.verbatim = requestText(request);
  }
  read.request = std::move(request);
  return read;
}

const RequestMaker::Form &RequestMaker::formOf(const RequestRow &row) {
  auto found = forms_.find(&row);
  if (found != forms_.end()) return *found->second;
  auto form = std::make_shared<Form>();
  form->name = py::str(row.name);
  for (const char *c = row.operands; *c != '\0'; ++c) form->letters += *c == 'T' ? std::string("SIIF") : std::string(1, *c);
  form->shape = shapeOf(row.name);
  return *forms_.emplace(&row, std::move(form)).first->second;
}

py::object RequestMaker::make(ReadRequest &read) {
  RibRequest &request = read.request;
  if (read.row == nullptr) {
    // A comment reached the target as an ArchiveRecord; writers put one
    // blank after the hash.
    const char *comment = request.comment.c_str();
    if (!request.structure && *comment == ' ') ++comment;
    return requestType_(py::str("ArchiveRecord"), py::make_tuple(request.structure ? RI_STRUCTURE : RI_COMMENT, text(comment)),
                        py::dict(), file_, py::int_(request.line), py::none(), py::none(), py::dict());
  }
  const Form &form = formOf(*read.row);
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
  return requestType_(form.name, args, params, file_, py::int_(request.line), handle,
                      read.asText ? text(read.verbatim) : py::none(), tokens);
}

}  // namespace vellum::python
