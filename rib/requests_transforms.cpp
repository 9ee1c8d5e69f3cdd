// Transformation, coordinate-system and motion requests.
#include "rib/rib_writer.h"

namespace vellum {

// Matrices are written as they lie in memory, row by row.
RtVoid RibWriter::ConcatTransform(RtMatrix transform) {
  floatArrayRequest("ConcatTransform", transform != nullptr ? transform[0] : nullptr, 16);
}

RtVoid RibWriter::Transform(RtMatrix transform) {
  floatArrayRequest("Transform", transform != nullptr ? transform[0] : nullptr, 16);
}

// Loose operands: in ASCII each is followed by a blank, so the line ends
// with one; in binary each is a float token with no blanks.
RtVoid RibWriter::Translate(RtFloat dx, RtFloat dy, RtFloat dz) {
  text("Translate ");
  for (RtFloat value : {dx, dy, dz}) writeFloat(value);
  endLine();
}

RtVoid RibWriter::Rotate(RtFloat angle, RtFloat dx, RtFloat dy, RtFloat dz) {
  text("Rotate ");
  for (RtFloat value : {angle, dx, dy, dz}) writeFloat(value);
  endLine();
}

// Three blanks set the angle and the two directions apart.
RtVoid RibWriter::Skew(RtFloat angle, RtFloat dx1, RtFloat dy1, RtFloat dz1, RtFloat dx2,
                       RtFloat dy2, RtFloat dz2) {
  text("Skew");
  numbersText({angle});
  text("  ");
  numbersText({dx1, dy1, dz1});
  text("  ");
  numbersText({dx2, dy2, dz2});
  endLine();
}

// A writer keeps no transformation state, so it cannot transform points:
// null is the interface's failure result for this call.
RtPoint *RibWriter::TransformPoints(RtToken, RtToken, RtInt, RtPoint[]) { return nullptr; }

RtVoid RibWriter::MotionBeginV(RtInt n, RtFloat times[]) {
  floatArrayRequest("MotionBegin", times, n);
}

}  // namespace vellum
