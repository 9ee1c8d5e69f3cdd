// The interface's predefined bases, row by row.  Basis recognises them by
// address, so a caller's own copy of the same values is written as numbers.
#include "ri.h"

extern "C" {

RtBasis RiBezierBasis = {{-1, 3, -3, 1}, {3, -6, 3, 0}, {-3, 3, 0, 0}, {1, 0, 0, 0}};

RtBasis RiBSplineBasis = {{-1.0f / 6, 3.0f / 6, -3.0f / 6, 1.0f / 6},
                          {3.0f / 6, -6.0f / 6, 3.0f / 6, 0},
                          {-3.0f / 6, 0, 3.0f / 6, 0},
                          {1.0f / 6, 4.0f / 6, 1.0f / 6, 0}};

RtBasis RiCatmullRomBasis = {{-0.5f, 1.5f, -1.5f, 0.5f},
                             {1, -2.5f, 2, -0.5f},
                             {-0.5f, 0, 0.5f, 0},
                             {0, 1, 0, 0}};

RtBasis RiHermiteBasis = {{2, 1, -2, 1}, {-3, -2, 3, -1}, {0, 1, 0, 0}, {1, 0, 0, 0}};

RtBasis RiPowerBasis = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

// Procedural primitives are expanded by the renderer, never by the client:
// these only name the kind of procedural to Procedural.
RtVoid RiProcDelayedReadArchive(RtPointer, RtFloat) {}
RtVoid RiProcRunProgram(RtPointer, RtFloat) {}
RtVoid RiProcDynamicLoad(RtPointer, RtFloat) {}
RtVoid RiProc2DelayedReadArchive(RtContextHandle, RtFloat, RtInt, RtToken[], RtPointer[]) {}
RtVoid RiProc2DynamicLoad(RtContextHandle, RtFloat, RtInt, RtToken[], RtPointer[]) {}
RtVoid RiSimpleBound(RtInt, RtToken[], RtPointer[], RtBound) {}

}  // extern "C"
