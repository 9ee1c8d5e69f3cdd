// Python values as the C arguments of requests: scalars, arrays (numpy
// arrays borrowed when they already are what C takes) and parameter lists
// checked against their declarations before anything is written.
#include <cmath>
#include <cstring>

#include "binding.h"
#include "common/param_counts.h"
#include "decl/declaration.h"

namespace vellum::python {

namespace {

constexpr int kContiguous = py::detail::npy_api::NPY_ARRAY_C_CONTIGUOUS_;
constexpr int kAligned = py::detail::npy_api::NPY_ARRAY_ALIGNED_;

bool isArray(py::handle value) { return py::isinstance<py::array>(value); }

bool isNumber(py::handle value) {
  return PyFloat_Check(value.ptr()) || PyLong_Check(value.ptr()) ||
         (!PyUnicode_Check(value.ptr()) && !PySequence_Check(value.ptr()) &&
          (PyIndex_Check(value.ptr()) || PyNumber_Check(value.ptr())));
}

// Borrows `array` when it holds T in C order, aligned and in this
// machine's byte order.
template <typename T>
bool borrow(const py::array &array, CArray<T> &out) {
  if (!array.dtype().is(py::dtype::of<T>())) return false;
  if ((array.flags() & (kContiguous | kAligned)) != (kContiguous | kAligned)) return false;
  out.owner = array;
  out.data = static_cast<const T *>(array.data());
  out.size = static_cast<int64_t>(array.size());
  return true;
}

template <typename T>
void fromVector(CArray<T> &out) {
  out.data = out.values.data();
  out.size = static_cast<int64_t>(out.values.size());
}

// A number of a flat list or tuple, or false when an item is none.
bool floatItem(PyObject *item, std::vector<float> &values) {
  if (PyFloat_Check(item)) {
    values.push_back(static_cast<float>(PyFloat_AS_DOUBLE(item)));
    return true;
  }
  if (PyLong_Check(item) && !PyBool_Check(item)) {
    const double number = PyLong_AsDouble(item);
    if (number == -1.0 && PyErr_Occurred()) throw py::error_already_set();
    values.push_back(static_cast<float>(number));
    return true;
  }
  return false;
}

[[noreturn]] void outOfRange(const Where &where) {
  valueError(std::string(where.request) + ": " + where.argument +
             " has an integer outside the range of a 32-bit integer");
}

bool intItem(PyObject *item, std::vector<RtInt> &values, const Where &where) {
  if (!PyLong_Check(item) && !(PyIndex_Check(item) && !PyFloat_Check(item))) return false;
  int overflow = 0;
  const long long number = PyLong_AsLongLongAndOverflow(item, &overflow);
  if (number == -1 && PyErr_Occurred()) {
    PyErr_Clear();
    return false;
  }
  if (overflow != 0 || number < INT32_MIN || number > INT32_MAX) outOfRange(where);
  values.push_back(static_cast<RtInt>(number));
  return true;
}

}  // namespace

int64_t &copiedArrays() {
  static int64_t copies = 0;
  return copies;
}

std::string describe(py::handle value) {
  if (isArray(value)) {
    const py::array array = py::reinterpret_borrow<py::array>(value);
    std::string shape = "(";
    for (py::ssize_t i = 0; i < array.ndim(); ++i)
      shape += (i > 0 ? ", " : "") + std::to_string(array.shape(i));
    shape += array.ndim() == 1 ? ",)" : ")";
    return "a " + std::string(py::str(array.dtype())) + " array of shape " + shape;
  }
  if (PyList_Check(value.ptr()) || PyTuple_Check(value.ptr()))
    return "a " + std::string(Py_TYPE(value.ptr())->tp_name) + " of " +
           std::to_string(PySequence_Size(value.ptr())) + " items";
  return Py_TYPE(value.ptr())->tp_name;
}

void typeError(const Where &where, const std::string &expected, py::handle given) {
  throw py::type_error(std::string(where.request) + ": " + where.argument + " needs " + expected +
                       ", not " + describe(given));
}

void valueError(const std::string &message) { throw py::value_error(message); }

RtFloat toFloat(py::handle value, const Where &where) {
  if (PyFloat_Check(value.ptr())) return static_cast<RtFloat>(PyFloat_AS_DOUBLE(value.ptr()));
  if (!isNumber(value) || PyBool_Check(value.ptr())) typeError(where, "a number", value);
  const double number = PyFloat_AsDouble(value.ptr());
  if (number == -1.0 && PyErr_Occurred()) {
    PyErr_Clear();
    typeError(where, "a number", value);
  }
  return static_cast<RtFloat>(number);
}

RtInt toInt(py::handle value, const Where &where) {
  std::vector<RtInt> one;
  if (PyBool_Check(value.ptr()) || !intItem(value.ptr(), one, where))
    typeError(where, "an integer", value);
  return one[0];
}

RtBoolean toBoolean(py::handle value, const Where &where) {
  if (PyBool_Check(value.ptr())) return value.ptr() == Py_True ? 1 : 0;
  const RtInt number = toInt(value, where);
  if (number < -32768 || number > 32767)
    valueError(std::string(where.request) + ": " + where.argument +
               " is out of range for a boolean: " + std::to_string(number));
  return static_cast<RtBoolean>(number);
}

char *toString(py::handle value, const Where &where) {
  if (value.is_none()) return nullptr;
  if (!PyUnicode_Check(value.ptr())) typeError(where, "a str", value);
  const char *text = PyUnicode_AsUTF8(value.ptr());
  if (text == nullptr) throw py::error_already_set();
  return const_cast<char *>(text);
}

FloatArray toFloats(py::handle value, const Where &where) {
  FloatArray out;
  if (isArray(value)) {
    const py::array array = py::reinterpret_borrow<py::array>(value);
    if (borrow(array, out)) return out;
    const char kind = array.dtype().kind();
    if (kind != 'f' && kind != 'i' && kind != 'u' && kind != 'b') typeError(where, "numbers", value);
    py::array_t<float, py::array::c_style | py::array::forcecast> copy(array);
    ++copiedArrays();
    out.owner = copy;
    out.data = copy.data();
    out.size = static_cast<int64_t>(copy.size());
    return out;
  }
  if (PyFloat_Check(value.ptr()) || (PyLong_Check(value.ptr()) && !PyBool_Check(value.ptr()))) {
    floatItem(value.ptr(), out.values);
    fromVector(out);
    return out;
  }
  if (PyList_Check(value.ptr()) || PyTuple_Check(value.ptr())) {
    PyObject *sequence = value.ptr();
    const Py_ssize_t size = PySequence_Fast_GET_SIZE(sequence);
    PyObject **items = PySequence_Fast_ITEMS(sequence);
    out.values.reserve(static_cast<size_t>(size));
    bool flat = true;
    for (Py_ssize_t i = 0; i < size && flat; ++i) flat = floatItem(items[i], out.values);
    if (flat) {
      fromVector(out);
      return out;
    }
    out.values.clear();
  }
  // Nested sequences (a list of points) and other array-likes, through numpy.
  if (!PyUnicode_Check(value.ptr()) && !PyBytes_Check(value.ptr()) && !value.is_none() &&
      !PyDict_Check(value.ptr())) {
    py::object array;
    try {
      array = py::module_::import("numpy").attr("asarray")(value);
    } catch (const py::error_already_set &) {
      typeError(where, "numbers", value);
    }
    const char kind = py::reinterpret_borrow<py::array>(array).dtype().kind();
    if (kind == 'f' || kind == 'i' || kind == 'u') {
      FloatArray converted = toFloats(array, where);
      if (converted.owner.is(array)) ++copiedArrays();
      return converted;
    }
  }
  typeError(where, "numbers", value);
}

FloatArray toFloats(py::handle value, const Where &where, int64_t count) {
  FloatArray out = toFloats(value, where);
  if (out.size != count)
    valueError(std::string(where.request) + ": " + where.argument + " needs " + std::to_string(count) +
               " numbers, not " + std::to_string(out.size) + " (" + describe(value) + ")");
  return out;
}

IntArray toInts(py::handle value, const Where &where) {
  IntArray out;
  if (isArray(value)) {
    const py::array array = py::reinterpret_borrow<py::array>(value);
    if (borrow(array, out)) return out;
    const char kind = array.dtype().kind();
    if (kind != 'i' && kind != 'u' && kind != 'b') typeError(where, "integers", value);
    // Wider integers are checked as they are narrowed.
    py::array_t<int64_t, py::array::c_style | py::array::forcecast> wide(array);
    ++copiedArrays();
    out.values.reserve(static_cast<size_t>(wide.size()));
    for (py::ssize_t i = 0; i < wide.size(); ++i) {
      const int64_t number = wide.data()[i];
      if (number < INT32_MIN || number > INT32_MAX) outOfRange(where);
      out.values.push_back(static_cast<RtInt>(number));
    }
    fromVector(out);
    return out;
  }
  if (PyLong_Check(value.ptr()) && !PyBool_Check(value.ptr())) {
    intItem(value.ptr(), out.values, where);
    fromVector(out);
    return out;
  }
  if (PyList_Check(value.ptr()) || PyTuple_Check(value.ptr())) {
    PyObject *sequence = value.ptr();
    const Py_ssize_t size = PySequence_Fast_GET_SIZE(sequence);
    PyObject **items = PySequence_Fast_ITEMS(sequence);
    out.values.reserve(static_cast<size_t>(size));
    bool flat = true;
    for (Py_ssize_t i = 0; i < size && flat; ++i)
      flat = !PyBool_Check(items[i]) && intItem(items[i], out.values, where);
    if (flat) {
      fromVector(out);
      return out;
    }
    out.values.clear();
  }
  // Nested sequences, ranges and other array-likes, through numpy.
  if (!PyUnicode_Check(value.ptr()) && !PyBytes_Check(value.ptr()) && !value.is_none() &&
      !PyDict_Check(value.ptr()) && !PyFloat_Check(value.ptr())) {
    py::object array;
    try {
      array = py::module_::import("numpy").attr("asarray")(value);
    } catch (const py::error_already_set &) {
      typeError(where, "integers", value);
    }
    const char kind = py::reinterpret_borrow<py::array>(array).dtype().kind();
    if (kind == 'i' || kind == 'u') {
      IntArray converted = toInts(array, where);
      if (converted.owner.is(array)) ++copiedArrays();
      return converted;
    }
  }
  typeError(where, "integers", value);
}

StringArray toStrings(py::handle value, const Where &where) {
  StringArray out;
  auto add = [&](py::handle item) {
    if (!PyUnicode_Check(item.ptr())) typeError(where, "strings", value);
    const char *text = PyUnicode_AsUTF8(item.ptr());
    if (text == nullptr) throw py::error_already_set();
    out.pointers.push_back(const_cast<char *>(text));
  };
  if (PyUnicode_Check(value.ptr())) {
    add(value);
    return out;
  }
  py::object items;
  if (isArray(value) && py::reinterpret_borrow<py::array>(value).dtype().kind() == 'U')
    items = value.attr("ravel")().attr("tolist")();
  else if (PyList_Check(value.ptr()) || PyTuple_Check(value.ptr()))
    items = py::reinterpret_borrow<py::object>(value);
  else
    typeError(where, "strings", value);
  out.owners.push_back(items);
  for (py::handle item : items) add(item);
  return out;
}

// ------------------------------------------------------------ parameter lists

ParamList::ParamList(WriterEnvironment &environment, const char *request, py::handle params) : request_(request) {
  if (params.is_none()) return;
  if (!PyDict_Check(params.ptr()))
    throw py::type_error(std::string(request) + ": params needs a dict of parameter values, not " +
                         describe(params));
  PyObject *key = nullptr, *value = nullptr;
  Py_ssize_t at = 0;
  while (PyDict_Next(params.ptr(), &at, &key, &value)) {
    if (!PyUnicode_Check(key))
      throw py::type_error(std::string(request) + ": a parameter name needs a str, not " +
                           describe(key));
    Entry &entry = entries_.emplace_back();
    entry.key = PyUnicode_AsUTF8(key);
    if (entry.key == nullptr) throw py::error_already_set();
    const std::string quoted = "parameter \"" + std::string(entry.key) + "\"";
    ParameterDeclaration declaration;
    if (!environment.lookup(entry.key, &declaration))
      valueError(std::string(request) + ": " + quoted +
                 " is not declared: declare it first (Declare) or give its type in the name, "
                 "as in \"uniform float " + entry.key + "\"");
    if (const char *reason = unusableDeclarationReason(declaration.shape))
      valueError(std::string(request) + ": " + quoted + " " + reason);
    const ValueShape &shape = declaration.shape;
    entry.name = declaration.name;
    entry.declaration = formatDeclaration(shape.storageClass, shape.type, shape.arrayLength);
    entry.storageClass = shape.storageClass;
    entry.type = shape.type;
    entry.arrayLength = shape.arrayLength;
    entry.position = isPositionName(declaration.name);
    const std::string argument = quoted + " (" + entry.declaration + ")";
    const Where where{request, argument.c_str()};
    RtPointer values;
    if (entry.type == kTypeString) {
      entry.strings = toStrings(value, where);
      entry.given = entry.strings.size();
      values = entry.strings.data();
    } else if (entry.type == kTypeInteger) {
      entry.ints = toInts(value, where);
      entry.given = entry.ints.size;
      values = const_cast<RtInt *>(entry.ints.data);
    } else {
      entry.floats = toFloats(value, where);
      entry.given = entry.floats.size;
      values = const_cast<RtFloat *>(entry.floats.data);
    }
    tokens_.push_back(const_cast<char *>(entry.key));
    parms_.push_back(values);
  }
}

void ParamList::check(const PrimitiveCounts *counts) {
  // The reader's rule, which the writer applies too: such a request could
  // not be read back.
  if (counts != nullptr && tooManyValues(*counts))
    valueError(std::string(request_) + ": its arguments give too many values (more than " +
               std::to_string(kMostValues) + " in one storage class)");
  for (const Entry &entry : entries_) {
    ValueShape shape{entry.storageClass, entry.type, entry.arrayLength};
    if (counts != nullptr && entry.position) shape.storageClass = kClassVertex;
    const int64_t expected = parameterValueCount(shape, counts);
    if (expected > kMostValues)
      valueError(std::string(request_) + ": parameter \"" + entry.key + "\" would have too many values");
    if (entry.given != expected)
      valueError(std::string(request_) + ": parameter \"" + entry.key + "\" (" + entry.declaration +
                 ") needs " + std::to_string(expected) + " values, not " + std::to_string(entry.given));
  }
}

int64_t ParamList::positions() {
  for (const char *position : {"P", "Pw", "Pz"}) {
    for (const Entry &entry : entries_) {
      if (entry.name != position) continue;
      const int64_t perVertex = int64_t{valuesPerElement(entry.type)} * entry.arrayLength;
      if (perVertex <= 0 || entry.type == kTypeString) continue;
      if (entry.given % perVertex != 0)
        valueError(std::string(request_) + ": parameter \"" + entry.key + "\" (" + entry.declaration +
                   ") has " + std::to_string(entry.given) + " values, not a multiple of " +
                   std::to_string(perVertex));
      return entry.given / perVertex;
    }
  }
  valueError(std::string(request_) + ": needs \"P\" values (or \"Pw\" or \"Pz\")");
}

}  // namespace vellum::python
