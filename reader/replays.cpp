// The reader's own replays: the requests whose operands are not handed to
// their operation one by one (arrays with their sizes, colours, matrices,
// handles the stream gives, declarations the stream keeps).
#include "reader/replays.h"

#include "common/name_tables.h"
#include "reader/count_rules.h"
#include "reader/operands.h"

namespace vellum::replays {

namespace {

RtFloat (*basisOf(Replay &r, size_t i))[4] {
  const RibValue &basis = r.op(i);
  if (basis.kind == RibValue::kString) return basisByName(basis.string.c_str());
  return reinterpret_cast<RtFloat(*)[4]>(r.floats(i));
}

void defineLight(Replay &r, RtLightHandle handle) {
  const std::string key = handleKey(r.op(1));
  r.state.lights[key] = handle;
  r.state.rejectedLights.erase(key);
}

void defineObject(Replay &r, RtObjectHandle handle) {
  const std::string key = handleKey(r.op(0));
  r.state.objects[key] = handle;
  r.state.rejectedObjects.erase(key);
}

// The matrix of sixteen numbers that ConcatTransform and Transform take.
struct Matrix {
  RtMatrix m;
  explicit Matrix(Replay &r) {
    for (int i = 0; i < 16; ++i) m[i / 4][i % 4] = r.f(static_cast<size_t>(i));
  }
};

}  // namespace

// Declarations enter the stream's own dictionary, and the target's.
void Declare(Replay &r) {
  r.state.declarations.declare(r.s(0), r.s(1));
  r.target.Declare(r.s(0), r.s(1));
}

void ColorSamples(Replay &r) {
  r.target.ColorSamples(r.size(0) / 3, r.floats(0), r.floats(1));
}

void Color(Replay &r) {
  RtColor color = {r.f(0), r.f(1), r.f(2)};
  r.target.Color(color);
}

void Opacity(Replay &r) {
  RtColor color = {r.f(0), r.f(1), r.f(2)};
  r.target.Opacity(color);
}

void Bound(Replay &r) {
  RtBound bound = {r.f(0), r.f(1), r.f(2), r.f(3), r.f(4), r.f(5)};
  r.target.Bound(bound);
}

void Detail(Replay &r) {
  RtBound bound = {r.f(0), r.f(1), r.f(2), r.f(3), r.f(4), r.f(5)};
  r.target.Detail(bound);
}

void ConcatTransform(Replay &r) {
  r.target.ConcatTransform(Matrix(r).m);
}

void Transform(Replay &r) {
  r.target.Transform(Matrix(r).m);
}

void MotionBegin(Replay &r) {
  r.target.MotionBeginV(r.size(0), r.floats(0));
}

void LightSource(Replay &r) {
  defineLight(r, r.target.LightSourceV(r.s(0), r.n, r.tokens, r.parms));
}

void AreaLightSource(Replay &r) {
  defineLight(r, r.target.AreaLightSourceV(r.s(0), r.n, r.tokens, r.parms));
}

void Illuminate(Replay &r) {
  r.target.Illuminate(r.state.lights[handleKey(r.op(0))], static_cast<RtBoolean>(r.i(1)));
}

void Hyperboloid(Replay &r) {
  RtPoint p1 = {r.f(0), r.f(1), r.f(2)}, p2 = {r.f(3), r.f(4), r.f(5)};
  r.target.HyperboloidV(p1, p2, r.f(6), r.n, r.tokens, r.parms);
}

void Polygon(Replay &r) {
  PrimitiveCounts counts;
  RequestChecker checker(r.state);
  counts::Positions(checker, r.request, &counts);
  r.target.PolygonV(static_cast<RtInt>(counts.vertex), r.n, r.tokens, r.parms);
}

void GeneralPolygon(Replay &r) {
  r.target.GeneralPolygonV(r.size(0), r.ints(0), r.n, r.tokens, r.parms);
}

void PointsPolygons(Replay &r) {
  r.target.PointsPolygonsV(r.size(0), r.ints(0), r.ints(1), r.n, r.tokens, r.parms);
}

void PointsGeneralPolygons(Replay &r) {
  r.target.PointsGeneralPolygonsV(r.size(0), r.ints(0), r.ints(1), r.ints(2), r.n, r.tokens,
                                  r.parms);
}

void Basis(Replay &r) {
  r.state.uStep = r.i(1);
  r.state.vStep = r.i(3);
  r.target.Basis(basisOf(r, 0), r.i(1), basisOf(r, 2), r.i(3));
}

void TrimCurve(Replay &r) {
  r.target.TrimCurve(r.size(0), r.ints(0), r.ints(1), r.floats(2), r.floats(3), r.floats(4),
                     r.ints(5), r.floats(6), r.floats(7), r.floats(8));
}

void NuPatch(Replay &r) {
  r.target.NuPatchV(r.i(0), r.i(1), r.floats(2), r.f(3), r.f(4), r.i(5), r.i(6), r.floats(7),
                    r.f(8), r.f(9), r.n, r.tokens, r.parms);
}

void Curves(Replay &r) {
  r.target.CurvesV(r.s(0), r.size(1), r.ints(1), r.s(2), r.n, r.tokens, r.parms);
}

void Points(Replay &r) {
  PrimitiveCounts counts;
  RequestChecker checker(r.state);
  counts::Positions(checker, r.request, &counts);
  r.target.PointsV(static_cast<RtInt>(counts.vertex), r.n, r.tokens, r.parms);
}

void SubdivisionMesh(Replay &r) {
  r.target.SubdivisionMeshV(r.s(0), r.size(1), r.ints(1), r.ints(2), r.size(3), r.strings(3),
                            r.ints(4), r.ints(5), r.floats(6), r.n, r.tokens, r.parms);
}

void Blobby(Replay &r) {
  r.target.BlobbyV(r.i(0), r.size(1), r.ints(1), r.size(2), r.floats(2), r.size(3),
                   r.strings(3), r.n, r.tokens, r.parms);
}

void Procedural(Replay &r) {
  r.target.Procedural(r.strings(1), r.floats(2), proceduralByName(r.s(0))->function, nullptr);
}

void ObjectBegin(Replay &r) {
  defineObject(r, r.target.ObjectBegin());
}

void ObjectInstance(Replay &r) {
  r.target.ObjectInstance(r.state.objects[handleKey(r.op(0))]);
}

// A light of a plug-in is known by its handle string, as LightSource's
// string handles are.
void Light(Replay &r) { defineLight(r, r.target.LightV(r.s(0), r.s(1), r.n, r.tokens, r.parms)); }

void HierarchicalSubdivisionMesh(Replay &r) {
  r.target.HierarchicalSubdivisionMeshV(r.s(0), r.size(1), r.ints(1), r.ints(2), r.size(3),
                                        r.strings(3), r.ints(4), r.ints(5), r.floats(6), r.strings(7),
                                        r.n, r.tokens, r.parms);
}

void MakeBrickMap(Replay &r) {
  r.target.MakeBrickMapV(r.size(0), r.strings(0), r.s(1), r.n, r.tokens, r.parms);
}

void Volume(Replay &r) {
  RtBound bound;
  for (size_t i = 0; i < 6; ++i) bound[i] = r.op(1).toFloats()[i];
  r.target.VolumeV(r.s(0), bound, r.ints(2), r.n, r.tokens, r.parms);
}

}  // namespace vellum::replays
