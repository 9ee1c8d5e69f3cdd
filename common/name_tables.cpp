#include "common/name_tables.h"

#include <cstring>

namespace vellum {

namespace {

template <typename Function>
struct Named {
  Function function;
  const char *name;
};

const Named<RtFilterFunc> kFilters[] = {
    {RiGaussianFilter, "gaussian"},        {RiBoxFilter, "box"}, {RiTriangleFilter, "triangle"},
    {RiCatmullRomFilter, "catmull-rom"}, {RiSincFilter, "sinc"},
};

const Named<RtFloat (*)[4]> kBases[] = {
    {RiBezierBasis, "bezier"},   {RiBSplineBasis, "b-spline"}, {RiCatmullRomBasis, "catmull-rom"},
    {RiHermiteBasis, "hermite"}, {RiPowerBasis, "power"},
};

const Named<RtErrorHandler> kErrorHandlers[] = {
    {RiErrorIgnore, "ignore"}, {RiErrorPrint, "print"}, {RiErrorAbort, "abort"}};

const ProceduralKind kProcedurals[] = {
    {RiProcDelayedReadArchive, "DelayedReadArchive", 1},
    {RiProcRunProgram, "RunProgram", 2},
    {RiProcDynamicLoad, "DynamicLoad", 2},
};

const Named<RtProc2SubdivFunc> kProcedurals2[] = {
    {RiProc2DelayedReadArchive, "DelayedReadArchive2"}, {RiProc2DynamicLoad, "DynamicLoad"}};

const Named<RtProc2BoundFunc> kBoundFunctions[] = {{RiSimpleBound, "SimpleBound"}};

template <typename Function, size_t N>
const char *nameOf(const Named<Function> (&table)[N], Function function) {
  for (const auto &entry : table)
    if (entry.function == function) return entry.name;
  return nullptr;
}

template <typename Function, size_t N>
Function functionNamed(const Named<Function> (&table)[N], const char *name) {
  if (name != nullptr)
    for (const auto &entry : table)
      if (std::strcmp(entry.name, name) == 0) return entry.function;
  return nullptr;
}

}  // namespace

const char *filterName(RtFilterFunc filter) { return nameOf(kFilters, filter); }
RtFilterFunc filterByName(const char *name) { return functionNamed(kFilters, name); }

const char *basisName(const RtFloat (*basis)[4]) {
  return nameOf(kBases, const_cast<RtFloat(*)[4]>(basis));
}
RtFloat (*basisByName(const char *name))[4] { return functionNamed(kBases, name); }

const char *errorHandlerName(RtErrorHandler handler) { return nameOf(kErrorHandlers, handler); }
RtErrorHandler errorHandlerByName(const char *name) { return functionNamed(kErrorHandlers, name); }

const ProceduralKind *proceduralByFunction(RtProcSubdivFunc function) {
  for (const ProceduralKind &kind : kProcedurals)
    if (kind.function == function) return &kind;
  return nullptr;
}

const ProceduralKind *proceduralByName(const char *name) {
  if (name != nullptr)
    for (const ProceduralKind &kind : kProcedurals)
      if (std::strcmp(kind.name, name) == 0) return &kind;
  return nullptr;
}

const char *procedural2Name(RtProc2SubdivFunc function) { return nameOf(kProcedurals2, function); }
RtProc2SubdivFunc procedural2ByName(const char *name) { return functionNamed(kProcedurals2, name); }
const char *boundFunctionName(RtProc2BoundFunc function) { return nameOf(kBoundFunctions, function); }
RtProc2BoundFunc boundFunctionByName(const char *name) { return functionNamed(kBoundFunctions, name); }

}  // namespace vellum
