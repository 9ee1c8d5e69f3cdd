// The extension module vellum._vellum: the Ri class with a method per
// request, the predefined functions, the constants and the reader.  The
// package vellum builds on it (python/vellum/__init__.py).
#include "binding.h"

PYBIND11_MODULE(_vellum, module) {
  namespace py = pybind11;
  using namespace vellum::python;
  // Each docstring starts with the signature the stubs give.
  py::options options;
  options.disable_function_signatures();
  bindFunctions(module);
  RiClass cls(module, "Ri",
              "A RIB stream: one method per request of the interface, named as the request "
              "(ri.Sphere for RiSphere).");
  cls.def(py::init<>());
  bindContextMethods(cls);
  bindGenericMethods(cls);
  bindOwnMethods(cls);
  bindConstants(module, cls);
  bindReading(module);
  bindDiff(module);
  module.def("_stubs", &stubText, "The type stubs of this module.");
  module.def("_copied_arrays", [] { return copiedArrays(); },
             "How many arrays were copied rather than borrowed so far.");
}
