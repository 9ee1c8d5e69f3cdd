// The names RIB gives to the interface's predefined functions and
// matrices: pixel filters, bases, error handlers and procedurals.  The
// writer turns a function into its name, the reader a name into its
// function, through these same tables.
#ifndef VELLUM_COMMON_NAME_TABLES_H
#define VELLUM_COMMON_NAME_TABLES_H

#include "ri.h"

namespace vellum {

// "gaussian", "box", "triangle", "catmull-rom", "sinc"; null for any other
// function.
const char *filterName(RtFilterFunc filter);
RtFilterFunc filterByName(const char *name);  // null for an unknown name

// "bezier", "b-spline", "catmull-rom", "hermite", "power", recognised by
// address; null for any other matrix.
const char *basisName(const RtFloat (*basis)[4]);
RtFloat (*basisByName(const char *name))[4];  // null for an unknown name

// "ignore", "print", "abort"; null for any other function.
const char *errorHandlerName(RtErrorHandler handler);
RtErrorHandler errorHandlerByName(const char *name);  // null for an unknown name

// A kind of procedural primitive and the number of strings its data holds.
struct ProceduralKind {
  RtProcSubdivFunc function;
  const char *name;  // "DelayedReadArchive", "RunProgram", "DynamicLoad"
  int strings;
};
const ProceduralKind *proceduralByFunction(RtProcSubdivFunc function);  // null if unknown
const ProceduralKind *proceduralByName(const char *name);              // null if unknown

// The functions of Procedural2: "DelayedReadArchive2", "DynamicLoad", and
// the bound "SimpleBound"; null for any other function or name.
const char *procedural2Name(RtProc2SubdivFunc function);
RtProc2SubdivFunc procedural2ByName(const char *name);
const char *boundFunctionName(RtProc2BoundFunc function);
RtProc2BoundFunc boundFunctionByName(const char *name);

}  // namespace vellum

#endif
