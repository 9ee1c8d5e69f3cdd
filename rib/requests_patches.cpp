// Bases, patches, patch meshes, NURBS patches, trim curves and curves.
#include <cstdio>
#include <cstring>
#include <string>

#include "common/name_tables.h"
#include "common/primitive_counts.h"
#include "rib/rib_writer.h"

namespace vellum {

namespace {

bool equals(const char *text, const char *literal) {
  return text != nullptr && std::strcmp(text, literal) == 0;
}

}  // namespace

// Recognised by address only: a copy of the Bezier values is 16 numbers.
void RibWriter::basis(RtBasis matrix) {
  if (const char *name = basisName(matrix)) {
    quotedText(name);
    return;
  }
  writeFloatArray(matrix != nullptr ? matrix[0] : nullptr, 16);
}

RtVoid RibWriter::Basis(RtBasis ubasis, RtInt ustep, RtBasis vbasis, RtInt vstep) {
  text("Basis ");
  basis(ubasis);
  character(' ');
  integerText(ustep);
  character(' ');
  basis(vbasis);
  character(' ');
  integerText(vstep);
  endLine();
  uStep_ = ustep;
  vStep_ = vstep;
}

RtVoid RibWriter::PatchMeshV(RtToken type, RtInt nu, RtToken uwrap, RtInt nv, RtToken vwrap,
                             RtInt n, RtToken tokens[], RtPointer parms[]) {
  const bool bilinear = equals(type, "bilinear");
  const bool knownType = bilinear || equals(type, "bicubic");
  bool stepUsable = true;
  const PrimitiveCounts counts = patchMeshCounts(!bilinear, nu, equals(uwrap, "periodic"), nv,
                                                 equals(vwrap, "periodic"), uStep_, vStep_, &stepUsable);
  if (knownType && refusesTooManyValues("RiPatchMesh", counts, n, tokens, [&] {
        return "nu " + std::to_string(nu) + " and nv " + std::to_string(nv);
      }))
    return;
  text("PatchMesh ");
  quotedText(type);
  character(' ');
  integerText(nu);
  character(' ');
  quotedText(uwrap);
  character(' ');
  integerText(nv);
  character(' ');
  quotedText(vwrap);
  if (!knownType) {
    problem("vellum: unknown patch type %s\n", type != nullptr ? type : "");
    // The line was begun: end it, so the next request starts on its own.
    endLine();
    return;
  }
  if (!stepUsable)
    problem(
                 "libvellum error: PatchMesh needs positive basis steps, not %d and %d; "
                 "no patches are counted\n",
                 uStep_, vStep_);
  primitiveList(counts, n, tokens, parms);
}

RtVoid RibWriter::NuPatchV(RtInt nu, RtInt uorder, RtFloat uknot[], RtFloat umin, RtFloat umax,
                           RtInt nv, RtInt vorder, RtFloat vknot[], RtFloat vmin, RtFloat vmax,
                           RtInt n, RtToken tokens[], RtPointer parms[]) {
  const PrimitiveCounts counts = nuPatchCounts(nu, uorder, nv, vorder);
  if (refusesTooManyValues("RiNuPatch", counts, n, tokens, [&] {
        return "nu " + std::to_string(nu) + " and nv " + std::to_string(nv);
      }))
    return;
  text("NuPatch ");
  integerText(nu);
  character(' ');
  integerText(uorder);
  character(' ');
  writeFloatArray(uknot, static_cast<int64_t>(nu) + uorder);
  character(' ');
  fixedText(umin);
  character(' ');
  fixedText(umax);
  character(' ');
  integerText(nv);
  character(' ');
  integerText(vorder);
  character(' ');
  writeFloatArray(vknot, static_cast<int64_t>(nv) + vorder);
  character(' ');
  fixedText(vmin);
  character(' ');
  fixedText(vmax);
  character(' ');
  primitiveList(counts, n, tokens, parms);
}

RtVoid RibWriter::TrimCurve(RtInt nloops, RtInt ncurves[], RtInt order[], RtFloat knot[],
                            RtFloat min[], RtFloat max[], RtInt n[], RtFloat u[], RtFloat v[],
                            RtFloat w[]) {
  const int64_t curves = sumOf(ncurves, nloops);
  const int64_t points = sumOf(n, curves);
  const int64_t knots = sumOf(order, curves) + points;
  text("TrimCurve ");
  writeIntArray(ncurves, nloops);
  writeIntArray(order, curves);
  writeFloatArray(knot, knots);
  character(' ');
  writeFloatArray(min, curves);
  character(' ');
  writeFloatArray(max, curves);
  character(' ');
  writeIntArray(n, curves);
  writeFloatArray(u, points);
  character(' ');
  writeFloatArray(v, points);
  character(' ');
  writeFloatArray(w, points);
  endLine();
}

RtVoid RibWriter::CurvesV(RtToken type, RtInt ncurves, RtInt nvertices[], RtToken wrap, RtInt n,
                          RtToken tokens[], RtPointer parms[]) {
  bool stepUsable = true;
  const PrimitiveCounts counts = curvesCounts(equals(type, "cubic"), equals(wrap, "periodic"),
                                              ncurves, nvertices, vStep_, &stepUsable);
  if (refusesTooManyValues("RiCurves", counts, n, tokens,
                           [&] { return verticesOperands(counts.vertex); }))
    return;
  text("Curves ");
  quotedText(type);
  writeIntArray(nvertices, ncurves);
  character(' ');
  quotedText(wrap);
  character(' ');
  if (!stepUsable)
    problem(
                 "libvellum error: cubic Curves need a positive v step, not %d; "
                 "no segments are counted\n",
                 vStep_);
  primitiveList(counts, n, tokens, parms);
}

}  // namespace vellum
