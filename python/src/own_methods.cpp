// The methods of Ri bound by hand: requests with arrays, whose sizes C
// passes separately and Python takes from the arrays, checked so that the
// library never reads past one; and the few that do more than forward.
#include <algorithm>
#include <cstring>

#include "binding.h"
#include "common/name_tables.h"
#include "rib/rib_writer.h"

namespace vellum::python {

namespace {

// Runs a call of the library, without the interpreter lock, with its
// diagnostics collected for Python.  The call touches no Python object:
// everything it takes was converted before.
template <typename F>
auto write(PyRi &self, F &&call) {
  DiagnosticScope scope(self);
  if constexpr (std::is_void_v<decltype(call())>) {
    withoutGil(call);
    scope.deliver();
  } else {
    auto result = withoutGil(call);
    scope.deliver();
    return result;
  }
}

template <typename F, typename... Extra>
void method(RiClass &cls, const char *name, const char *parameters, const char *result, const char *doc,
            F &&f, const Extra &...extra) {
  cls.def(name, std::forward<F>(f), extra..., stubDoc({name, parameters, result, doc}));
}

int64_t sumOf(const IntArray &values) { return vellum::sumOf(values.data, values.size); }

void nonNegative(const IntArray &values, const Where &where) {
  // The least value in one pass without branches, which the compiler
  // vectorises: a mesh's millions of indices cost next to nothing.
  RtInt least = 0;
  for (int64_t i = 0; i < values.size; ++i) least = std::min(least, values.data[i]);
  if (least < 0)
    valueError(std::string(where.request) + ": " + where.argument + " has a negative value: " +
               std::to_string(least));
}

void expectSize(const Where &where, int64_t expected, int64_t actual, const char *because) {
  if (expected != actual)
    valueError(std::string(where.request) + ": " + where.argument + " needs " + std::to_string(expected) +
               " values (" + because + "), not " + std::to_string(actual));
}

void oneOf(const char *value, std::initializer_list<const char *> choices, const Where &where) {
  std::string list;
  for (const char *choice : choices) {
    if (value != nullptr && std::strcmp(value, choice) == 0) return;
    list += std::string(list.empty() ? "" : " or ") + "\"" + choice + "\"";
  }
  valueError(std::string(where.request) + ": " + where.argument + " must be " + list + ", not \"" +
             (value != nullptr ? value : "None") + "\"");
}

RtInt size32(int64_t size, const Where &where) {
  if (size > INT32_MAX) valueError(std::string(where.request) + ": " + where.argument + " is too long");
  return static_cast<RtInt>(size);
}

// A mesh's faces: counts not negative, as many indices as they add up to,
// no negative index.
void checkFaces(const char *request, const IntArray &nverts, const IntArray &verts) {
  nonNegative(nverts, {request, "nvertices"});
  expectSize({request, "vertices"}, sumOf(nverts), verts.size, "the sum of nvertices");
  nonNegative(verts, {request, "vertices"});
}

// The tags of a subdivision mesh: `per` argument counts a tag (2, or 3
// with strings), each kind of argument as many as the counts add up to.
void checkTags(const char *request, int64_t tags, const IntArray &nargs, int per, const FloatArray &floatargs,
               const IntArray &intargs, const StringArray *stringargs) {
  expectSize({request, "nargs"}, per * tags, nargs.size, "per tag");
  nonNegative(nargs, {request, "nargs"});
  int64_t sums[3] = {0, 0, 0};
  for (int64_t i = 0; i < nargs.size; ++i) sums[i % per] += nargs.data[i];
  expectSize({request, "intargs"}, sums[0], intargs.size, "the tags' integer counts");
  expectSize({request, "floatargs"}, sums[1], floatargs.size, "the tags' float counts");
  if (stringargs != nullptr) expectSize({request, "stringargs"}, sums[2], stringargs->size(), "the tags' string counts");
}

RtFloat *floats(const FloatArray &array) { return const_cast<RtFloat *>(array.data); }
RtInt *ints(const IntArray &array) { return const_cast<RtInt *>(array.data); }

constexpr const char *kParams = "params: Params | None = None";

void bindTransforms(RiClass &cls) {
  for (const char *name : {"Color", "Opacity"}) {
    const bool color = name[0] == 'C';
    method(
        cls, name, color ? "Cs: ArrayLike" : "Os: ArrayLike", "None",
        color ? "Writes Color r g b: the colour of what follows." : "Writes Opacity r g b.",
        [name, color](PyRi &self, py::handle value) {
          RibWriter &context = self.context(name);
          const FloatArray rgb = toFloats(value, {name, color ? "Cs" : "Os"}, 3);
          write(self, [&] { color ? context.Color(floats(rgb)) : context.Opacity(floats(rgb)); });
        },
        py::arg(color ? "Cs" : "Os"));
  }
  for (const char *name : {"Bound", "Detail"}) {
    method(
        cls, name, "bound: ArrayLike", "None", "Writes the request with a bound of six numbers.",
        [name](PyRi &self, py::handle value) {
          RibWriter &context = self.context(name);
          const FloatArray bound = toFloats(value, {name, "bound"}, 6);
          write(self, [&] { name[0] == 'B' ? context.Bound(floats(bound)) : context.Detail(floats(bound)); });
        },
        py::arg("bound"));
  }
  for (const char *name : {"ConcatTransform", "Transform"}) {
    method(
        cls, name, "transform: ArrayLike", "None",
        "Writes the request with a matrix of 16 numbers (4x4, row by row as they lie in memory).",
        [name](PyRi &self, py::handle value) {
          RibWriter &context = self.context(name);
          const FloatArray m = toFloats(value, {name, "transform"}, 16);
          auto matrix = reinterpret_cast<RtFloat(*)[4]>(floats(m));
          write(self, [&] { name[0] == 'C' ? context.ConcatTransform(matrix) : context.Transform(matrix); });
        },
        py::arg("transform"));
  }
  method(
      cls, "TransformPoints", "fromspace: str, tospace: str, points: ArrayLike", "None",
      "Writes nothing and returns None: the library keeps no transformations to apply.",
      [](PyRi &self, py::handle from, py::handle to, py::handle points) {
        RibWriter &context = self.context("TransformPoints");
        char *fromspace = toString(from, {"TransformPoints", "fromspace"});
        char *tospace = toString(to, {"TransformPoints", "tospace"});
        const FloatArray values = toFloats(points, {"TransformPoints", "points"});
        if (values.size % 3 != 0) valueError("TransformPoints: points needs a multiple of 3 numbers");
        write(self, [&] {
          context.TransformPoints(fromspace, tospace, size32(values.size / 3, {"TransformPoints", "points"}),
                                  reinterpret_cast<RtPoint *>(floats(values)));
        });
      },
      py::arg("fromspace"), py::arg("tospace"), py::arg("points"));
  method(
      cls, "MotionBegin", "times: ArrayLike", "None", "Writes MotionBegin [times].",
      [](PyRi &self, py::handle value) {
        RibWriter &context = self.context("MotionBegin");
        const FloatArray times = toFloats(value, {"MotionBegin", "times"});
        write(self, [&] { context.MotionBeginV(size32(times.size, {"MotionBegin", "times"}), floats(times)); });
      },
      py::arg("times"));
  method(
      cls, "Basis", "ubasis: Function | str | ArrayLike, ustep: int, vbasis: Function | str | ArrayLike, vstep: int",
      "None",
      "Writes Basis: each basis a predefined one (vellum.BezierBasis or \"bezier\", ...) or 16 numbers; "
      "the steps count the values of later PatchMesh and Curves requests.",
      [](PyRi &self, py::handle u, py::handle ustep, py::handle v, py::handle vstep) {
        RibWriter &context = self.context("Basis");
        RtBasis ownU, ownV;
        auto ubasis = toBasis(u, {"Basis", "ubasis"}, ownU);
        const RtInt us = toInt(ustep, {"Basis", "ustep"});
        auto vbasis = toBasis(v, {"Basis", "vbasis"}, ownV);
        const RtInt vs = toInt(vstep, {"Basis", "vstep"});
        write(self, [&] { context.Basis(ubasis, us, vbasis, vs); });
      },
      py::arg("ubasis"), py::arg("ustep"), py::arg("vbasis"), py::arg("vstep"));
}

void bindPolygons(RiClass &cls) {
  method(
      cls, "Polygon", kParams, "None",
      "Writes Polygon with its parameter list; the number of vertices comes from \"P\" (or \"Pw\", \"Pz\").",
      [](PyRi &self, py::handle params) {
        RibWriter &context = self.context("Polygon");
        ParamList list(self.environment, "Polygon", params);
        const int64_t n = list.positions();
        const PrimitiveCounts counts = polygonCounts(n);
        list.check(&counts);
        write(self, [&] { context.PolygonV(size32(n, {"Polygon", "\"P\""}), list.n(), list.tokens(), list.parms()); });
      },
      py::arg("params") = py::none());
  method(
      cls, "Points", kParams, "None", "Writes Points; the number of points comes from \"P\".",
      [](PyRi &self, py::handle params) {
        RibWriter &context = self.context("Points");
        ParamList list(self.environment, "Points", params);
        const int64_t n = list.positions();
        const PrimitiveCounts counts = polygonCounts(n);
        list.check(&counts);
        write(self, [&] { context.PointsV(size32(n, {"Points", "\"P\""}), list.n(), list.tokens(), list.parms()); });
      },
      py::arg("params") = py::none());
  method(
      cls, "GeneralPolygon", std::string("nvertices: ArrayLike, ").append(kParams).c_str(), "None",
      "Writes GeneralPolygon: one loop per entry of nvertices, the outline first.",
      [](PyRi &self, py::handle nv, py::handle params) {
        RibWriter &context = self.context("GeneralPolygon");
        const IntArray nverts = toInts(nv, {"GeneralPolygon", "nvertices"});
        nonNegative(nverts, {"GeneralPolygon", "nvertices"});
        const RtInt nloops = size32(nverts.size, {"GeneralPolygon", "nvertices"});
        ParamList list(self.environment, "GeneralPolygon", params);
        const PrimitiveCounts counts = generalPolygonCounts(nloops, nverts.data);
        list.check(&counts);
        write(self, [&] { context.GeneralPolygonV(nloops, ints(nverts), list.n(), list.tokens(), list.parms()); });
      },
      py::arg("nvertices"), py::arg("params") = py::none());
  method(
      cls, "PointsPolygons", std::string("nvertices: ArrayLike, vertices: ArrayLike, ").append(kParams).c_str(),
      "None",
      "Writes PointsPolygons: a polygon per entry of nvertices, over the shared vertices that vertices "
      "indexes.",
      [](PyRi &self, py::handle nv, py::handle v, py::handle params) {
        RibWriter &context = self.context("PointsPolygons");
        const IntArray nverts = toInts(nv, {"PointsPolygons", "nvertices"});
        const IntArray verts = toInts(v, {"PointsPolygons", "vertices"});
        ParamList list(self.environment, "PointsPolygons", params);
        // The passes over the indices run with the writing, without the
        // interpreter lock.
        write(self, [&] {
          checkFaces("PointsPolygons", nverts, verts);
          const RtInt npolys = size32(nverts.size, {"PointsPolygons", "nvertices"});
          const PrimitiveCounts counts = pointsPolygonsCounts(npolys, nverts.data, verts.data);
          list.check(&counts);
          context.PointsPolygonsV(npolys, ints(nverts), ints(verts), list.n(), list.tokens(), list.parms());
        });
      },
      py::arg("nvertices"), py::arg("vertices"), py::arg("params") = py::none());
  method(
      cls, "PointsGeneralPolygons",
      std::string("nloops: ArrayLike, nvertices: ArrayLike, vertices: ArrayLike, ").append(kParams).c_str(), "None",
      "Writes PointsGeneralPolygons: polygons with holes over shared vertices.",
      [](PyRi &self, py::handle nl, py::handle nv, py::handle v, py::handle params) {
        const char *name = "PointsGeneralPolygons";
        RibWriter &context = self.context(name);
        const IntArray nloops = toInts(nl, {name, "nloops"});
        const IntArray nverts = toInts(nv, {name, "nvertices"});
        const IntArray verts = toInts(v, {name, "vertices"});
        ParamList list(self.environment, name, params);
        write(self, [&] {
          nonNegative(nloops, {name, "nloops"});
          expectSize({name, "nvertices"}, sumOf(nloops), nverts.size, "the sum of nloops");
          checkFaces(name, nverts, verts);
          const RtInt npolys = size32(nloops.size, {name, "nloops"});
          const PrimitiveCounts counts = pointsGeneralPolygonsCounts(npolys, nloops.data, nverts.data, verts.data);
          list.check(&counts);
          context.PointsGeneralPolygonsV(npolys, ints(nloops), ints(nverts), ints(verts), list.n(), list.tokens(),
                                         list.parms());
        });
      },
      py::arg("nloops"), py::arg("nvertices"), py::arg("vertices"), py::arg("params") = py::none());
}

void bindSurfaces(RiClass &cls) {
  method(
      cls, "Hyperboloid",
      std::string("point1: ArrayLike, point2: ArrayLike, thetamax: float, ").append(kParams).c_str(), "None",
      "Writes Hyperboloid: the line from point1 to point2 swept about z.",
      [](PyRi &self, py::handle p1, py::handle p2, py::handle theta, py::handle params) {
        RibWriter &context = self.context("Hyperboloid");
        const FloatArray point1 = toFloats(p1, {"Hyperboloid", "point1"}, 3);
        const FloatArray point2 = toFloats(p2, {"Hyperboloid", "point2"}, 3);
        const RtFloat thetamax = toFloat(theta, {"Hyperboloid", "thetamax"});
        ParamList list(self.environment, "Hyperboloid", params);
        const PrimitiveCounts counts = quadricCounts();
        list.check(&counts);
        write(self, [&] {
          context.HyperboloidV(floats(point1), floats(point2), thetamax, list.n(), list.tokens(), list.parms());
        });
      },
      py::arg("point1"), py::arg("point2"), py::arg("thetamax"), py::arg("params") = py::none());
  method(
      cls, "PatchMesh",
      std::string("type: str, nu: int, uwrap: str, nv: int, vwrap: str, ").append(kParams).c_str(), "None",
      "Writes PatchMesh of nu by nv points; the values of its parameters are counted with the steps of "
      "the last Basis.",
      [](PyRi &self, py::handle t, py::handle u, py::handle uw, py::handle v, py::handle vw, py::handle params) {
        const char *name = "PatchMesh";
        RibWriter &context = self.context(name);
        char *type = toString(t, {name, "type"});
        const RtInt nu = toInt(u, {name, "nu"});
        char *uwrap = toString(uw, {name, "uwrap"});
        const RtInt nv = toInt(v, {name, "nv"});
        char *vwrap = toString(vw, {name, "vwrap"});
        oneOf(type, {"bilinear", "bicubic"}, {name, "type"});
        oneOf(uwrap, {"periodic", "nonperiodic"}, {name, "uwrap"});
        oneOf(vwrap, {"periodic", "nonperiodic"}, {name, "vwrap"});
        ParamList list(self.environment, name, params);
        bool stepUsable = true;
        const PrimitiveCounts counts =
            patchMeshCounts(std::strcmp(type, "bicubic") == 0, nu, std::strcmp(uwrap, "periodic") == 0, nv,
                            std::strcmp(vwrap, "periodic") == 0, context.uStep(), context.vStep(), &stepUsable);
        list.check(&counts);
        write(self, [&] { context.PatchMeshV(type, nu, uwrap, nv, vwrap, list.n(), list.tokens(), list.parms()); });
      },
      py::arg("type"), py::arg("nu"), py::arg("uwrap"), py::arg("nv"), py::arg("vwrap"),
      py::arg("params") = py::none());
  method(
      cls, "NuPatch",
      std::string("uorder: int, uknot: ArrayLike, umin: float, umax: float, vorder: int, vknot: ArrayLike, "
                  "vmin: float, vmax: float, ")
          .append(kParams)
          .c_str(),
      "None",
      "Writes NuPatch; the numbers of control points, nu and nv, are the knot counts less the orders.",
      [](PyRi &self, py::handle uo, py::handle uk, py::handle u0, py::handle u1, py::handle vo, py::handle vk,
         py::handle v0, py::handle v1, py::handle params) {
        const char *name = "NuPatch";
        RibWriter &context = self.context(name);
        const RtInt uorder = toInt(uo, {name, "uorder"});
        const FloatArray uknot = toFloats(uk, {name, "uknot"});
        const RtFloat umin = toFloat(u0, {name, "umin"}), umax = toFloat(u1, {name, "umax"});
        const RtInt vorder = toInt(vo, {name, "vorder"});
        const FloatArray vknot = toFloats(vk, {name, "vknot"});
        const RtFloat vmin = toFloat(v0, {name, "vmin"}), vmax = toFloat(v1, {name, "vmax"});
        if (uorder < 1 || vorder < 1) valueError("NuPatch: the orders must be at least 1");
        const int64_t nu = uknot.size - uorder, nv = vknot.size - vorder;
        if (nu < uorder || nv < vorder)
          valueError("NuPatch: each knot vector needs at least twice its order of knots (as many control points "
                     "as the order)");
        ParamList list(self.environment, name, params);
        const PrimitiveCounts counts = nuPatchCounts(static_cast<RtInt>(nu), uorder, static_cast<RtInt>(nv), vorder);
        list.check(&counts);
        write(self, [&] {
          context.NuPatchV(size32(nu, {name, "uknot"}), uorder, floats(uknot), umin, umax, size32(nv, {name, "vknot"}),
                           vorder, floats(vknot), vmin, vmax, list.n(), list.tokens(), list.parms());
        });
      },
      py::arg("uorder"), py::arg("uknot"), py::arg("umin"), py::arg("umax"), py::arg("vorder"), py::arg("vknot"),
      py::arg("vmin"), py::arg("vmax"), py::arg("params") = py::none());
  method(
      cls, "TrimCurve",
      "ncurves: ArrayLike, order: ArrayLike, knot: ArrayLike, min: ArrayLike, max: ArrayLike, n: ArrayLike, "
      "u: ArrayLike, v: ArrayLike, w: ArrayLike",
      "None", "Writes TrimCurve: one loop per entry of ncurves.",
      [](PyRi &self, py::handle nc, py::handle o, py::handle k, py::handle mn, py::handle mx, py::handle nn,
         py::handle uu, py::handle vv, py::handle ww) {
        const char *name = "TrimCurve";
        RibWriter &context = self.context(name);
        const IntArray ncurves = toInts(nc, {name, "ncurves"}), order = toInts(o, {name, "order"});
        const FloatArray knot = toFloats(k, {name, "knot"}), min = toFloats(mn, {name, "min"}),
                         max = toFloats(mx, {name, "max"});
        const IntArray n = toInts(nn, {name, "n"});
        const FloatArray u = toFloats(uu, {name, "u"}), v = toFloats(vv, {name, "v"}), w = toFloats(ww, {name, "w"});
        nonNegative(ncurves, {name, "ncurves"});
        nonNegative(order, {name, "order"});
        nonNegative(n, {name, "n"});
        const int64_t curves = sumOf(ncurves);
        expectSize({name, "order"}, curves, order.size, "one per curve");
        expectSize({name, "min"}, curves, min.size, "one per curve");
        expectSize({name, "max"}, curves, max.size, "one per curve");
        expectSize({name, "n"}, curves, n.size, "one per curve");
        const int64_t points = sumOf(n);
        expectSize({name, "knot"}, sumOf(order) + points, knot.size, "the orders and points of the curves");
        expectSize({name, "u"}, points, u.size, "one per point");
        expectSize({name, "v"}, points, v.size, "one per point");
        expectSize({name, "w"}, points, w.size, "one per point");
        write(self, [&] {
          context.TrimCurve(size32(ncurves.size, {name, "ncurves"}), ints(ncurves), ints(order), floats(knot),
                            floats(min), floats(max), ints(n), floats(u), floats(v), floats(w));
        });
      },
      py::arg("ncurves"), py::arg("order"), py::arg("knot"), py::arg("min"), py::arg("max"), py::arg("n"),
      py::arg("u"), py::arg("v"), py::arg("w"));
  method(
      cls, "Curves", std::string("type: str, nvertices: ArrayLike, wrap: str, ").append(kParams).c_str(), "None",
      "Writes Curves: one curve per entry of nvertices, counted with the v step of the last Basis.",
      [](PyRi &self, py::handle t, py::handle nv, py::handle w, py::handle params) {
        const char *name = "Curves";
        RibWriter &context = self.context(name);
        char *type = toString(t, {name, "type"});
        const IntArray nverts = toInts(nv, {name, "nvertices"});
        char *wrap = toString(w, {name, "wrap"});
        oneOf(type, {"linear", "cubic"}, {name, "type"});
        oneOf(wrap, {"periodic", "nonperiodic"}, {name, "wrap"});
        nonNegative(nverts, {name, "nvertices"});
        const RtInt ncurves = size32(nverts.size, {name, "nvertices"});
        ParamList list(self.environment, name, params);
        bool stepUsable = true;
        const PrimitiveCounts counts = curvesCounts(std::strcmp(type, "cubic") == 0, std::strcmp(wrap, "periodic") == 0,
                                                    ncurves, nverts.data, context.vStep(), &stepUsable);
        list.check(&counts);
        write(self, [&] { context.CurvesV(type, ncurves, ints(nverts), wrap, list.n(), list.tokens(), list.parms()); });
      },
      py::arg("type"), py::arg("nvertices"), py::arg("wrap"), py::arg("params") = py::none());
}

void bindMeshes(RiClass &cls) {
  method(
      cls, "SubdivisionMesh",
      std::string("scheme: str, nvertices: ArrayLike, vertices: ArrayLike, tags: Sequence[str] = (), "
                  "nargs: ArrayLike = (), intargs: ArrayLike = (), floatargs: ArrayLike = (), ")
          .append(kParams)
          .c_str(),
      "None", "Writes SubdivisionMesh: faces as PointsPolygons, tags with two argument counts each.",
      [](PyRi &self, py::handle s, py::handle nv, py::handle v, py::handle t, py::handle na, py::handle ia,
         py::handle fa, py::handle params) {
        const char *name = "SubdivisionMesh";
        RibWriter &context = self.context(name);
        char *scheme = toString(s, {name, "scheme"});
        const IntArray nverts = toInts(nv, {name, "nvertices"}), verts = toInts(v, {name, "vertices"});
        StringArray tags = toStrings(t, {name, "tags"});
        const IntArray nargs = toInts(na, {name, "nargs"}), intargs = toInts(ia, {name, "intargs"});
        const FloatArray floatargs = toFloats(fa, {name, "floatargs"});
        ParamList list(self.environment, name, params);
        write(self, [&] {
          checkFaces(name, nverts, verts);
          checkTags(name, tags.size(), nargs, 2, floatargs, intargs, nullptr);
          const RtInt nfaces = size32(nverts.size, {name, "nvertices"});
          const PrimitiveCounts counts = subdivisionMeshCounts(nfaces, nverts.data, verts.data);
          list.check(&counts);
          context.SubdivisionMeshV(scheme, nfaces, ints(nverts), ints(verts), static_cast<RtInt>(tags.size()),
                                   tags.data(), ints(nargs), ints(intargs), floats(floatargs), list.n(),
                                   list.tokens(), list.parms());
        });
      },
      py::arg("scheme"), py::arg("nvertices"), py::arg("vertices"), py::arg("tags") = py::tuple(),
      py::arg("nargs") = py::tuple(), py::arg("intargs") = py::tuple(), py::arg("floatargs") = py::tuple(),
      py::arg("params") = py::none());
  method(
      cls, "HierarchicalSubdivisionMesh",
      std::string("scheme: str, nvertices: ArrayLike, vertices: ArrayLike, tags: Sequence[str] = (), "
                  "nargs: ArrayLike = (), intargs: ArrayLike = (), floatargs: ArrayLike = (), "
                  "stringargs: Sequence[str] = (), ")
          .append(kParams)
          .c_str(),
      "None",
      "Writes HierarchicalSubdivisionMesh: as SubdivisionMesh, with three argument counts per tag "
      "(integers, floats, strings).",
      [](PyRi &self, py::handle s, py::handle nv, py::handle v, py::handle t, py::handle na, py::handle ia,
         py::handle fa, py::handle sa, py::handle params) {
        const char *name = "HierarchicalSubdivisionMesh";
        RibWriter &context = self.context(name);
        char *scheme = toString(s, {name, "scheme"});
        const IntArray nverts = toInts(nv, {name, "nvertices"}), verts = toInts(v, {name, "vertices"});
        StringArray tags = toStrings(t, {name, "tags"});
        const IntArray nargs = toInts(na, {name, "nargs"}), intargs = toInts(ia, {name, "intargs"});
        const FloatArray floatargs = toFloats(fa, {name, "floatargs"});
        StringArray stringargs = toStrings(sa, {name, "stringargs"});
        ParamList list(self.environment, name, params);
        write(self, [&] {
          checkFaces(name, nverts, verts);
          checkTags(name, tags.size(), nargs, 3, floatargs, intargs, &stringargs);
          const RtInt nfaces = size32(nverts.size, {name, "nvertices"});
          const PrimitiveCounts counts = subdivisionMeshCounts(nfaces, nverts.data, verts.data);
          list.check(&counts);
          context.HierarchicalSubdivisionMeshV(scheme, nfaces, ints(nverts), ints(verts),
                                               static_cast<RtInt>(tags.size()), tags.data(), ints(nargs),
                                               ints(intargs), floats(floatargs), stringargs.data(), list.n(),
                                               list.tokens(), list.parms());
        });
      },
      py::arg("scheme"), py::arg("nvertices"), py::arg("vertices"), py::arg("tags") = py::tuple(),
      py::arg("nargs") = py::tuple(), py::arg("intargs") = py::tuple(), py::arg("floatargs") = py::tuple(),
      py::arg("stringargs") = py::tuple(), py::arg("params") = py::none());
  method(
      cls, "Blobby",
      std::string("nleaf: int, code: ArrayLike, flt: ArrayLike, str: Sequence[str], ").append(kParams).c_str(),
      "None", "Writes Blobby: nleaf leaves made by the code array from its floats and strings.",
      [](PyRi &self, py::handle leaves, py::handle c, py::handle f, py::handle s, py::handle params) {
        const char *name = "Blobby";
        RibWriter &context = self.context(name);
        const RtInt nleaf = toInt(leaves, {name, "nleaf"});
        const IntArray code = toInts(c, {name, "code"});
        const FloatArray flt = toFloats(f, {name, "flt"});
        StringArray str = toStrings(s, {name, "str"});
        if (nleaf < 0) valueError("Blobby: nleaf is negative");
        ParamList list(self.environment, name, params);
        const PrimitiveCounts counts = blobbyPrimitiveCounts(nleaf);
        list.check(&counts);
        write(self, [&] {
          context.BlobbyV(nleaf, size32(code.size, {name, "code"}), ints(code), size32(flt.size, {name, "flt"}),
                          floats(flt), static_cast<RtInt>(str.size()), str.data(), list.n(), list.tokens(),
                          list.parms());
        });
      },
      py::arg("nleaf"), py::arg("code"), py::arg("flt"), py::arg("str"), py::arg("params") = py::none());
  method(
      cls, "Volume", std::string("type: str, bound: ArrayLike, dimensions: ArrayLike, ").append(kParams).c_str(),
      "None",
      "Writes Volume over the bound, sampled at the three dimensions; ValueError when their product is "
      "more than 2147483647 (a vertex parameter could not hold its values in one request).",
      [](PyRi &self, py::handle t, py::handle b, py::handle d, py::handle params) {
        const char *name = "Volume";
        RibWriter &context = self.context(name);
        char *type = toString(t, {name, "type"});
        const FloatArray bound = toFloats(b, {name, "bound"}, 6);
        const IntArray dimensions = toInts(d, {name, "dimensions"});
        expectSize({name, "dimensions"}, 3, dimensions.size, "x, y and z");
        nonNegative(dimensions, {name, "dimensions"});
        ParamList list(self.environment, name, params);
        const PrimitiveCounts counts = volumeCounts(dimensions.data);
        list.check(&counts);
        write(self, [&] {
          context.VolumeV(type, floats(bound), ints(dimensions), list.n(), list.tokens(), list.parms());
        });
      },
      py::arg("type"), py::arg("bound"), py::arg("dimensions"), py::arg("params") = py::none());
  method(
      cls, "Procedural", "data: Sequence[str], bound: ArrayLike, subdivfunc: Function | str", "None",
      "Writes Procedural: subdivfunc is vellum.ProcDelayedReadArchive (one string of data), "
      "ProcRunProgram or ProcDynamicLoad (two), or their names.",
      [](PyRi &self, py::handle d, py::handle b, py::handle f) {
        const char *name = "Procedural";
        RibWriter &context = self.context(name);
        StringArray data = toStrings(d, {name, "data"});
        const FloatArray bound = toFloats(b, {name, "bound"}, 6);
        const RtProcSubdivFunc function = toProcedural(f, {name, "subdivfunc"});
        const ProceduralKind *kind = proceduralByFunction(function);
        expectSize({name, "data"}, kind->strings, data.size(), kind->name);
        write(self, [&] { context.Procedural(data.data(), floats(bound), function, nullptr); });
      },
      py::arg("data"), py::arg("bound"), py::arg("subdivfunc"));
}

void bindOthers(RiClass &cls) {
  method(
      cls, "ColorSamples", "nRGB: ArrayLike, RGBn: ArrayLike", "None",
      "Writes nothing: colours in the library's RIB are always three floats.  Both matrices have 3 "
      "numbers per sample.",
      [](PyRi &self, py::handle a, py::handle b) {
        RibWriter &context = self.context("ColorSamples");
        const FloatArray nRGB = toFloats(a, {"ColorSamples", "nRGB"}), RGBn = toFloats(b, {"ColorSamples", "RGBn"});
        if (nRGB.size % 3 != 0) valueError("ColorSamples: nRGB needs 3 numbers per sample");
        expectSize({"ColorSamples", "RGBn"}, nRGB.size, RGBn.size, "as many as nRGB");
        write(self, [&] { context.ColorSamples(static_cast<RtInt>(nRGB.size / 3), floats(nRGB), floats(RGBn)); });
      },
      py::arg("nRGB"), py::arg("RGBn"));
  method(
      cls, "Option", std::string("name: str, ").append(kParams).c_str(), "None",
      "Writes Option name params.  The option \"rib\" writes nothing and works without a context: "
      "\"format\" (\"binary\" or \"ascii\"), \"binary\" (bool), \"precision\" (0 to 9) and "
      "\"compression\" (\"gzip\" or \"none\") for the contexts this Ri begins after it.",
      [](PyRi &self, py::handle n, py::handle params) {
        char *name = toString(n, {"Option", "name"});
        if (!isRibOption(name)) {
          RibWriter &context = self.context("Option");
          ParamList list(self.environment, "Option", params);
          list.check(nullptr);
          write(self, [&] { context.OptionV(name, list.n(), list.tokens(), list.parms()); });
          return;
        }
        if (params.is_none()) return;
        if (!PyDict_Check(params.ptr())) throw py::type_error("Option: params needs a dict, not " + describe(params));
        std::vector<RtToken> tokens;
        std::vector<RtPointer> values;
        std::deque<RtInt> numbers;
        std::deque<RtString> strings;
        for (auto item : py::reinterpret_borrow<py::dict>(params)) {
          const std::string key = py::str(item.first);
          const std::string argument = "\"" + key + "\"";
          const Where where{"Option", argument.c_str()};
          if (key == "format" || key == "compression") {
            RtString value = toString(item.second, where);
            if (value == nullptr) typeError(where, "a str", item.second);
            if (key == "compression") oneOf(value, {"gzip", "none"}, where);
            strings.push_back(value);
            values.push_back(&strings.back());
          } else if (key == "binary" || key == "precision") {
            numbers.push_back(key == "binary" ? toBoolean(item.second, where) : toInt(item.second, where));
            if (key == "precision" && (numbers.back() < 0 || numbers.back() > 9))
              valueError("Option: the \"rib\" option's precision must be 0 to 9, not " +
                         std::to_string(numbers.back()));
            values.push_back(&numbers.back());
          } else {
            valueError("Option: the \"rib\" option has no \"" + key +
                       "\"; it takes \"format\", \"binary\", \"precision\" and \"compression\"");
          }
          tokens.push_back(const_cast<char *>(key == "format" ? "format"
                                              : key == "compression" ? "compression"
                                              : key == "binary"      ? "binary"
                                                                     : "precision"));
        }
        // This Ri's own: the streams it begins from now on.
        applyFormatPairs(self.ribOption, static_cast<RtInt>(tokens.size()), tokens.data(), values.data());
      },
      py::arg("name"), py::arg("params") = py::none());
  method(
      cls, "ArchiveRecord", "type: str, text: str", "None",
      "Writes text as a comment (\"comment\": \"# text\"), a structure comment (\"structure\": "
      "\"##text\") or as it is (\"verbatim\").",
      [](PyRi &self, py::handle t, py::handle x) {
        RibWriter &context = self.context("ArchiveRecord");
        char *type = toString(t, {"ArchiveRecord", "type"});
        oneOf(type, {"comment", "structure", "verbatim"}, {"ArchiveRecord", "type"});
        char *text = toString(x, {"ArchiveRecord", "text"});
        if (text == nullptr) typeError({"ArchiveRecord", "text"}, "a str", x);
        write(self, [&] { context.ArchiveRecord(type, const_cast<char *>("%s"), text); });
      },
      py::arg("type"), py::arg("text"));
  method(
      cls, "ErrorHandler", "handler: Function | str", "None",
      "Writes ErrorHandler for the renderer and sets what this Ri does with the library's diagnostics: "
      "vellum.ErrorIgnore drops them, vellum.ErrorPrint (the default) makes them warnings "
      "(vellum.RibWarning), vellum.ErrorAbort raises vellum.RibError.",
      [](PyRi &self, py::handle h) {
        RibWriter &context = self.context("ErrorHandler");
        const RtErrorHandler handler = toErrorHandler(h, {"ErrorHandler", "handler"});
        write(self, [&] { context.ErrorHandler(handler); });
        self.mode = handler == &RiErrorIgnore  ? DiagnosticMode::kIgnore
                    : handler == &RiErrorAbort ? DiagnosticMode::kRaise
                                               : DiagnosticMode::kWarn;
      },
      py::arg("handler"));
  method(
      cls, "ArchiveBegin", std::string("name: str, ").append(kParams).c_str(), "str",
      "Writes ArchiveBegin and returns the archive's name, which ReadArchive takes.",
      [](PyRi &self, py::handle n, py::handle params) {
        RibWriter &context = self.context("ArchiveBegin");
        char *name = toString(n, {"ArchiveBegin", "name"});
        ParamList list(self.environment, "ArchiveBegin", params);
        list.check(nullptr);
        void *handle = write(self, [&] { return context.ArchiveBeginV(name, list.n(), list.tokens(), list.parms()); });
        return py::str(static_cast<const char *>(handle));
      },
      py::arg("name"), py::arg("params") = py::none());
  method(
      cls, "MakeBrickMap", std::string("ptcnames: Sequence[str], bkmname: str, ").append(kParams).c_str(), "None",
      "Writes MakeBrickMap: a brick map from point clouds.",
      [](PyRi &self, py::handle p, py::handle b, py::handle params) {
        RibWriter &context = self.context("MakeBrickMap");
        StringArray ptcnames = toStrings(p, {"MakeBrickMap", "ptcnames"});
        char *bkmname = toString(b, {"MakeBrickMap", "bkmname"});
        ParamList list(self.environment, "MakeBrickMap", params);
        list.check(nullptr);
        write(self, [&] {
          context.MakeBrickMapV(static_cast<RtInt>(ptcnames.size()), ptcnames.data(), bkmname, list.n(), list.tokens(),
                                list.parms());
        });
      },
      py::arg("ptcnames"), py::arg("bkmname"), py::arg("params") = py::none());
}

}  // namespace

void bindOwnMethods(RiClass &cls) {
  bindTransforms(cls);
  bindPolygons(cls);
  bindSurfaces(cls);
  bindMeshes(cls);
  bindOthers(cls);
}

}  // namespace vellum::python
