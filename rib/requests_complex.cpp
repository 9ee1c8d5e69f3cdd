// Subdivision meshes, blobbies and procedurals.
#include <cstdio>
#include <string>

#include "common/name_tables.h"
#include "common/primitive_counts.h"
#include "rib/rib_writer.h"

namespace vellum {

RtVoid RibWriter::SubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[],
                                   RtInt vertices[], RtInt ntags, RtToken tags[], RtInt nargs[],
                                   RtInt intargs[], RtFloat floatargs[], RtInt n,
                                   RtToken tokens[], RtPointer parms[]) {
  const PrimitiveCounts counts = subdivisionMeshCounts(nfaces, nvertices, vertices);
  if (refusesTooManyValues("RiSubdivisionMesh", counts, n, tokens, [&] { return meshOperands(counts); }))
    return;
  text("SubdivisionMesh ");
  quotedText(scheme);
  character(' ');
  writeIntArray(nvertices, nfaces);
  character(' ');
  writeIntArray(vertices, sumOf(nvertices, nfaces));
  character(' ');
  // With tags, all four arrays are written, empty ones too: a reader takes
  // the tag arrays as a group of four and cannot tell which one is missing.
  if (ntags > 0) {
    writeStringArray(tags, ntags);
    writeIntArray(nargs, 2 * static_cast<int64_t>(ntags));
    // nargs holds an (integer count, float count) pair per tag.
    writeIntArray(intargs, sumOfEvery2nd(nargs, ntags, 0));
    writeFloatArray(floatargs, sumOfEvery2nd(nargs, ntags, 1));
  }
  primitiveList(counts, n, tokens, parms);
}

RtVoid RibWriter::BlobbyV(RtInt nleaf, RtInt ncode, RtInt code[], RtInt nflt, RtFloat flt[],
                          RtInt nstr, RtToken str[], RtInt n, RtToken tokens[],
                          RtPointer parms[]) {
  const PrimitiveCounts leafCounts = blobbyPrimitiveCounts(nleaf);
  if (refusesTooManyValues("RiBlobby", leafCounts, n, tokens,
                           [&] { return std::to_string(nleaf) + " leaves"; }))
    return;
  const BlobbyCounts counts = blobbyCounts(code, ncode);
  if (nleaf != counts.leaves)
    problem("\nlibvellum error: RiBlobby nleaf [%d] !=  leaf count [%lld]", nleaf,
                 static_cast<long long>(counts.leaves));
  if (nflt != counts.floats)
    problem("\nlibvellum error: RiBlobby nflt [%d] != float count [%lld]", nflt,
                 static_cast<long long>(counts.floats));
  if (nstr != counts.strings)
    problem("\nlibvellum error: RiBlobby nstr [%d] != string count [%lld]", nstr,
                 static_cast<long long>(counts.strings));
  // Written with the caller's own numbers whatever the code array says.
  text("Blobby ");
  integerText(nleaf);
  character(' ');
  writeIntArray(code, ncode);
  character(' ');
  writeFloatArray(flt, nflt);
  character(' ');
  writeStringArray(str, nstr);
  if (n > 0) {
    character('\n');
    primitiveList(leafCounts, n, tokens, parms);
  }
  endLine();
}

// The data of a procedural is an array of strings; a null array or null
// strings in it are written as empty strings.
RtVoid RibWriter::Procedural(RtPointer data, RtBound bound, RtProcSubdivFunc subdivfunc,
                             RtProcFreeFunc) {
  const RtString *strings = static_cast<const RtString *>(data);
  auto argument = [&](int i) -> const char * { return strings != nullptr ? strings[i] : nullptr; };
  const ProceduralKind *kind = proceduralByFunction(subdivfunc);
  if (kind == nullptr) {
    problem("libvellum error: procedural type\n");
    return;
  }
  text("Procedural ");
  quotedText(kind->name);
  text(" [");
  for (int i = 0; i < kind->strings; ++i) {
    if (i > 0) character(' ');
    quotedText(argument(i));
  }
  text("] ");
  writeFloatArray(bound, 6);
  endLine();
}

// As SubdivisionMesh, with a third count per tag and its string arguments.
RtVoid RibWriter::HierarchicalSubdivisionMeshV(RtToken scheme, RtInt nfaces, RtInt nvertices[],
                                               RtInt vertices[], RtInt ntags, RtToken tags[],
                                               RtInt nargs[], RtInt intargs[], RtFloat floatargs[],
                                               RtToken stringargs[], RtInt n, RtToken tokens[],
                                               RtPointer parms[]) {
  const PrimitiveCounts meshCounts = subdivisionMeshCounts(nfaces, nvertices, vertices);
  if (refusesTooManyValues("RiHierarchicalSubdivisionMesh", meshCounts, n, tokens,
                           [&] { return meshOperands(meshCounts); }))
    return;
  text("HierarchicalSubdivisionMesh ");
  quotedText(scheme);
  character(' ');
  writeIntArray(nvertices, nfaces);
  character(' ');
  writeIntArray(vertices, sumOf(nvertices, nfaces));
  character(' ');
  writeStringArray(tags, ntags);
  character(' ');
  writeIntArray(nargs, 3 * int64_t{ntags > 0 ? ntags : 0});
  int64_t counts[3] = {0, 0, 0};
  for (RtInt t = 0; nargs != nullptr && t < ntags; ++t)
    for (int k = 0; k < 3; ++k) counts[k] += nargs[3 * t + k];
  character(' ');
  writeIntArray(intargs, counts[0]);
  character(' ');
  writeFloatArray(floatargs, counts[1]);
  character(' ');
  writeStringArray(stringargs, counts[2]);
  primitiveList(meshCounts, n, tokens, parms);
}

RtVoid RibWriter::VolumeV(RtToken type, RtBound bound, RtInt *dimensions, RtInt n, RtToken tokens[],
                          RtPointer parms[]) {
  const PrimitiveCounts counts = volumeCounts(dimensions);
  if (refusesTooManyValues("RiVolume", counts, n, tokens, [&] {
        return "dimensions " + std::to_string(dimensions[0]) + " " + std::to_string(dimensions[1]) + " " +
               std::to_string(dimensions[2]);
      }))
    return;
  text("Volume ");
  quotedText(type);
  character(' ');
  writeFloatArray(bound, 6);
  // "[2 2 2]": without the blank that writeIntArray puts after each value
  // (every other integer array keeps it: stored files hold those bytes).
  text(" [");
  for (int i = 0; dimensions != nullptr && i < 3; ++i) {
    if (i > 0) character(' ');
    integerText(dimensions[i]);
  }
  character(']');
  primitiveList(counts, n, tokens, parms);
}

}  // namespace vellum
