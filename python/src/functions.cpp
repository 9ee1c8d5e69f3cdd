// The interface's predefined functions and bases as module-level objects
// (vellum.GaussianFilter, vellum.BezierBasis, vellum.ErrorAbort, ...), and
// the handles of lights and objects.
#include <cstring>

#include "binding.h"
#include "common/name_tables.h"

namespace vellum::python {

namespace {

const Function kFunctions[] = {
    {Function::kFilter, "GaussianFilter", "gaussian", reinterpret_cast<void *>(&RiGaussianFilter)},
    {Function::kFilter, "BoxFilter", "box", reinterpret_cast<void *>(&RiBoxFilter)},
    {Function::kFilter, "TriangleFilter", "triangle", reinterpret_cast<void *>(&RiTriangleFilter)},
    {Function::kFilter, "CatmullRomFilter", "catmull-rom", reinterpret_cast<void *>(&RiCatmullRomFilter)},
    {Function::kFilter, "SincFilter", "sinc", reinterpret_cast<void *>(&RiSincFilter)},
    {Function::kBasis, "BezierBasis", "bezier", RiBezierBasis},
    {Function::kBasis, "BSplineBasis", "b-spline", RiBSplineBasis},
    {Function::kBasis, "CatmullRomBasis", "catmull-rom", RiCatmullRomBasis},
    {Function::kBasis, "HermiteBasis", "hermite", RiHermiteBasis},
    {Function::kBasis, "PowerBasis", "power", RiPowerBasis},
    {Function::kErrorHandler, "ErrorIgnore", "ignore", reinterpret_cast<void *>(&RiErrorIgnore)},
    {Function::kErrorHandler, "ErrorPrint", "print", reinterpret_cast<void *>(&RiErrorPrint)},
    {Function::kErrorHandler, "ErrorAbort", "abort", reinterpret_cast<void *>(&RiErrorAbort)},
    {Function::kProcedural, "ProcDelayedReadArchive", "DelayedReadArchive",
     reinterpret_cast<void *>(&RiProcDelayedReadArchive)},
    {Function::kProcedural, "ProcRunProgram", "RunProgram", reinterpret_cast<void *>(&RiProcRunProgram)},
    {Function::kProcedural, "ProcDynamicLoad", "DynamicLoad", reinterpret_cast<void *>(&RiProcDynamicLoad)},
    {Function::kProcedural2, "Proc2DelayedReadArchive", "DelayedReadArchive2",
     reinterpret_cast<void *>(&RiProc2DelayedReadArchive)},
    {Function::kProcedural2, "Proc2DynamicLoad", "DynamicLoad", reinterpret_cast<void *>(&RiProc2DynamicLoad)},
    {Function::kBound, "SimpleBound", "SimpleBound", reinterpret_cast<void *>(&RiSimpleBound)},
};

const char *const kKindNames[] = {"a filter", "a basis", "an error handler", "a procedural",
                                  "a Procedural2 function", "a bound function"};

// The function of `kind` that `value` is or names.
void *functionOf(py::handle value, Function::Kind kind, const Where &where) {
  const Function *found = nullptr;
  if (py::isinstance<Function>(value)) {
    const Function &function = value.cast<const Function &>();
    if (function.kind == kind) found = &function;
  } else if (PyUnicode_Check(value.ptr())) {
    const std::string name = value.cast<std::string>();
    for (const Function &function : kFunctions)
      if (function.kind == kind && name == function.ribName) found = &function;
    if (found == nullptr) {
      std::string known;
      for (const Function &function : kFunctions)
        if (function.kind == kind) known += std::string(known.empty() ? "" : ", ") + function.ribName;
      valueError(std::string(where.request) + ": " + where.argument + ": \"" + name + "\" is not " +
                 kKindNames[kind] + " of the library (" + known + ")");
    }
  }
  if (found == nullptr)
    typeError(where, std::string(kKindNames[kind]) + " (vellum." + kFunctions[0].name + "-like object or its name)",
              value);
  return found->pointer;
}

}  // namespace

std::vector<std::string> functionNames() {
  std::vector<std::string> names;
  for (const Function &function : kFunctions) names.push_back(function.name);
  return names;
}

RtFilterFunc toFilter(py::handle value, const Where &where) {
  return reinterpret_cast<RtFilterFunc>(functionOf(value, Function::kFilter, where));
}
RtErrorHandler toErrorHandler(py::handle value, const Where &where) {
  return reinterpret_cast<RtErrorHandler>(functionOf(value, Function::kErrorHandler, where));
}
RtProc2SubdivFunc toProcedural2(py::handle value, const Where &where) {
  return reinterpret_cast<RtProc2SubdivFunc>(functionOf(value, Function::kProcedural2, where));
}
RtProc2BoundFunc toBoundFunction(py::handle value, const Where &where) {
  return reinterpret_cast<RtProc2BoundFunc>(functionOf(value, Function::kBound, where));
}
RtProcSubdivFunc toProcedural(py::handle value, const Where &where) {
  return reinterpret_cast<RtProcSubdivFunc>(functionOf(value, Function::kProcedural, where));
}

RtFloat (*toBasis(py::handle value, const Where &where, RtBasis &own))[4] {
  if (py::isinstance<Function>(value) || PyUnicode_Check(value.ptr()))
    return static_cast<RtFloat(*)[4]>(functionOf(value, Function::kBasis, where));
  const FloatArray values = toFloats(value, where, 16);
  std::memcpy(own, values.data, sizeof(RtBasis));
  return own;
}

void *toHandle(py::handle value, const Where &where) {
  if (!py::isinstance<Handle>(value)) typeError(where, "a handle (as LightSource or ObjectBegin return)", value);
  return value.cast<const Handle &>().pointer;
}

py::object handleObject(void *pointer, const char *kind) { return py::cast(Handle{pointer, kind}); }

void bindFunctions(py::module_ &module) {
  py::class_<Function>(module, "Function",
                       "A function or basis of the interface: a pixel filter, a basis, an error "
                       "handler or a procedural.  Methods take it or its RIB name.")
      .def_property_readonly("name", [](const Function &f) { return f.ribName; },
                             "The name RIB gives it (\"gaussian\").")
      .def("__repr__", [](const Function &f) { return std::string("vellum.") + f.name; })
      .def(
          "__call__",
          [](const Function &f, RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth) {
            if (f.kind != Function::kFilter) throw py::type_error(std::string(f.name) + " is not a filter");
            return reinterpret_cast<RtFilterFunc>(f.pointer)(x, y, xwidth, ywidth);
          },
          py::arg("x"), py::arg("y"), py::arg("xwidth"), py::arg("ywidth"),
          "A filter's weight at (x, y) for the given widths.")
      .def_property_readonly(
          "matrix",
          [](const Function &f) -> py::object {
            if (f.kind != Function::kBasis) return py::none();
            py::array_t<float> matrix({4, 4});
            std::memcpy(matrix.mutable_data(), f.pointer, sizeof(RtBasis));
            return std::move(matrix);
          },
          "A basis's 4x4 matrix (None for a function).");
  for (const Function &function : kFunctions) module.attr(function.name) = py::cast(function);

  py::class_<Handle>(module, "Handle", "A light's or an object's handle, which Illuminate and "
                                       "ObjectInstance take.")
      .def_readonly("kind", &Handle::kind)
      .def("__repr__",
           [](const Handle &h) {
             return "<vellum.Handle " + h.kind + " " + std::to_string(reinterpret_cast<uintptr_t>(h.pointer)) +
                    ">";
           })
      .def("__eq__", [](const Handle &a, py::handle b) {
        return py::isinstance<Handle>(b) && b.cast<const Handle &>().pointer == a.pointer;
      })
      .def("__hash__", [](const Handle &h) { return std::hash<void *>()(h.pointer); });
}

}  // namespace vellum::python
