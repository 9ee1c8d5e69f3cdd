// What the files of the Python extension share: the Ri object, the
// conversion of Python values to the C arguments of a request, and the
// registry from which the type stubs are written.
#ifndef VELLUM_PYTHON_BINDING_H
#define VELLUM_PYTHON_BINDING_H

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/primitive_counts.h"
#include "ri.h"
#include "ri/requests.h"
#include "rib/own_environment.h"
#include "rib/rib_writer.h"
#include "rib/writer_settings.h"


namespace vellum::python {

namespace py = pybind11;

// The requests of the list, by name.
#define VELLUM_PY_CALL_NAME(Name, ...) Name,
enum class Call { VELLUM_REQUESTS(VELLUM_PY_CALL_NAME) };

// The requests bound by hand (own_methods.cpp): those whose C parameters
// include arrays, whose counts come from arrays, or that do more than
// forward to the context.  Every other request with an operation is bound
// generically from its row; the build fails for one that cannot be.
#define VELLUM_PY_OWN(X)                                                                           \
  X(ColorSamples) X(Option) X(Color) X(Opacity) X(Bound) X(Detail) X(ConcatTransform) X(Transform) \
  X(TransformPoints) X(MotionBegin) X(Hyperboloid) X(Polygon) X(GeneralPolygon) X(PointsPolygons)  \
  X(PointsGeneralPolygons) X(Basis) X(PatchMesh) X(TrimCurve) X(NuPatch) X(Curves) X(Points)      \
  X(SubdivisionMesh) X(Blobby) X(Procedural) X(ArchiveRecord) X(ErrorHandler) X(ArchiveBegin)     \
  X(HierarchicalSubdivisionMesh) X(MakeBrickMap) X(Volume)

// How a Ri object treats the library's diagnostics during its calls.
enum class DiagnosticMode { kIgnore, kWarn, kRaise };

// The Python object Ri: at most one context of its own (a RibWriter), made
// by Begin and ended by End, with everything the C interface keeps for the
// process as its own: declarations, the "rib" option, the reports of its
// calls.  Several Ri objects write side by side, in one thread or several:
// a call releases the interpreter lock while its writer writes.  One Ri is
// used by one thread at a time; a second thread that tries is refused.
struct PyRi {
  PyRi();
  ~PyRi();
  OwnEnvironment environment;
  std::unique_ptr<RibWriter> writer;
  WriterSettings ribOption;  // this Ri's "rib" option, for its next Begin
  DiagnosticMode mode = DiagnosticMode::kWarn;
  std::vector<std::string> reports;  // the library's, during the call under way
  std::atomic<bool> busy{false};
  // The context of a call named `request`; RuntimeError without one.
  RibWriter &context(const char *request);
};

// Marks a Ri busy for the length of a call, and collects the library's
// reports made meanwhile; deliver() hands them to Python: warnings, a
// RibError, or nothing, as the mode says.  RuntimeError when another
// thread is using the Ri.
class DiagnosticScope {
 public:
  explicit DiagnosticScope(PyRi &self);
  ~DiagnosticScope();
  DiagnosticScope(const DiagnosticScope &) = delete;
  DiagnosticScope &operator=(const DiagnosticScope &) = delete;
  // Raises what the mode asks for (py::error_already_set).
  void deliver();

 private:
  PyRi &self_;
};

// Runs `call` (the writer's part of a request) without the interpreter
// lock, so that other threads run meanwhile.
template <typename F>
auto withoutGil(F &&call) {
  py::gil_scoped_release release;
  return call();
}

// Where a value goes, for messages: the request and the argument.
struct Where {
  const char *request;
  const char *argument;
};
[[noreturn]] void typeError(const Where &where, const std::string &expected, py::handle given);
[[noreturn]] void valueError(const std::string &message);
// "a float64 array of shape (2, 3)", "a list of 3 items", "str", ...
std::string describe(py::handle value);

// An array of C values taken from a Python value: the array's own memory
// when it is a C-contiguous array of the very type (no copy), otherwise a
// copy made once.
template <typename T>
struct CArray {
  const T *data = nullptr;
  int64_t size = 0;
  py::object owner;       // the array borrowed, or the one made
  std::vector<T> values;  // a copy of numbers not in an array
};
using FloatArray = CArray<RtFloat>;
using IntArray = CArray<RtInt>;
struct StringArray {
  std::vector<char *> pointers;
  std::vector<py::object> owners;
  int64_t size() const { return static_cast<int64_t>(pointers.size()); }
  char **data() { return pointers.empty() ? nullptr : pointers.data(); }
};
FloatArray toFloats(py::handle value, const Where &where);
IntArray toInts(py::handle value, const Where &where);
StringArray toStrings(py::handle value, const Where &where);
// Exactly `count` floats (a colour, a bound, a matrix of any shape).
FloatArray toFloats(py::handle value, const Where &where, int64_t count);
// How many arrays were copied rather than borrowed, for the tests.
int64_t &copiedArrays();

// Scalars.
RtFloat toFloat(py::handle value, const Where &where);
RtInt toInt(py::handle value, const Where &where);
RtBoolean toBoolean(py::handle value, const Where &where);
// A str, or None for a null string; the pointer lives as long as `value`.
char *toString(py::handle value, const Where &where);

// The predefined functions, as Python objects: filters, bases, error
// handlers and procedurals.  The methods take them or their RIB names.
struct Function {
  enum Kind { kFilter, kBasis, kErrorHandler, kProcedural, kProcedural2, kBound };
  Kind kind;
  const char *name;     // the Python name: "GaussianFilter"
  const char *ribName;  // the name RIB gives it: "gaussian"
  void *pointer;        // the function, or the basis matrix
};
// The Python names of the module's Function objects.
std::vector<std::string> functionNames();
RtFilterFunc toFilter(py::handle value, const Where &where);
RtErrorHandler toErrorHandler(py::handle value, const Where &where);
RtProc2SubdivFunc toProcedural2(py::handle value, const Where &where);
RtProc2BoundFunc toBoundFunction(py::handle value, const Where &where);
RtProcSubdivFunc toProcedural(py::handle value, const Where &where);
// A predefined basis (object or name), or 16 numbers copied into `own`.
RtFloat (*toBasis(py::handle value, const Where &where, RtBasis &own))[4];

// The handle of a light or an object, as LightSource, Light and
// ObjectBegin return it.
struct Handle {
  void *pointer;
  std::string kind;  // "light", "object"
};
void *toHandle(py::handle value, const Where &where);
py::object handleObject(void *pointer, const char *kind);

// A parameter list from a dict: each key a declared name or an inline
// declaration, each value converted to its declared type.  Counts are
// checked in check(), once the primitive's counts are known.
class ParamList {
 public:
  // The parameters of `params` as `environment` declares them (a Ri's
  // own declarations).
  ParamList(WriterEnvironment &environment, const char *request, py::handle params);
  // Checks every value count against the declaration and, on a primitive,
  // `counts` (null where storage classes play no part); ValueError for
  // counts past what one request can hold (tooManyValues) too.
  void check(const PrimitiveCounts *counts);
  // The vertices that the "P", "Pw" or "Pz" values make, for polygons and
  // points; ValueError without them.
  int64_t positions();

  RtInt n() const { return static_cast<RtInt>(tokens_.size()); }
  RtToken *tokens() { return tokens_.empty() ? nullptr : tokens_.data(); }
  RtPointer *parms() { return parms_.empty() ? nullptr : parms_.data(); }

 private:
  struct Entry {
    const char *key;
    std::string name;         // the bare name
    std::string declaration;  // "vertex point"
    int storageClass, type, arrayLength;
    bool position;  // "P", "Pw" or "Pz"
    int64_t given;
    FloatArray floats;
    IntArray ints;
    StringArray strings;
  };
  const char *request_;
  std::deque<Entry> entries_;
  std::vector<RtToken> tokens_;
  std::vector<RtPointer> parms_;
};

// What the type stubs say of each method of Ri, in the order of binding.
struct MethodStub {
  std::string name;
  std::string parameters;  // after self: "radius: float, ..."
  std::string result;      // "None"
  std::string doc;
};
std::vector<MethodStub> &methodStubs();
// The constants, by name and Python type, for the stubs.
std::vector<std::pair<std::string, std::string>> &constantStubs();
// Registers a method's stub and returns its docstring (signature first).
const char *stubDoc(MethodStub stub);

using RiClass = py::class_<PyRi>;
void bindGenericMethods(RiClass &cls);  // generic_methods.cpp
void bindOwnMethods(RiClass &cls);  // own_methods.cpp
void bindContextMethods(RiClass &cls);  // ri_object.cpp
void bindFunctions(py::module_ &module);  // functions.cpp
void bindConstants(py::module_ &module, RiClass &cls);  // constants.cpp
void bindReading(py::module_ &module);  // reading.cpp
void bindDiff(py::module_ &module);  // diffing.cpp
std::string stubText();  // stubs.cpp

}  // namespace vellum::python

#endif
