// Attribute requests.
#include "rib/rib_writer.h"

namespace vellum {

void RibWriter::floatArrayRequest(const char *keyword, const RtFloat *values, int64_t count) {
  text(keyword);
  character(' ');
  writeFloatArray(values, count);
  endLine();
}

RtVoid RibWriter::Color(RtColor Cs) {
  floatArrayRequest("Color", Cs, 3);
}

RtVoid RibWriter::Opacity(RtColor Os) {
  floatArrayRequest("Opacity", Os, 3);
}

// The brackets belong to the request's own text and stay in binary mode.
RtVoid RibWriter::TextureCoordinates(RtFloat s1, RtFloat t1, RtFloat s2, RtFloat t2, RtFloat s3,
                                     RtFloat t3, RtFloat s4, RtFloat t4) {
  text("TextureCoordinates [");
  numbers({s1, t1, s2, t2, s3, t3, s4, t4});
  text(" ]\n");
  done();
}

RtVoid RibWriter::ShadingRate(RtFloat size) {
  text("ShadingRate");
  numbers({size});
  endLine();
}

RtVoid RibWriter::ShadingInterpolation(RtToken type) {
  text("ShadingInterpolation ");
  quoted(type);
  endLine();
}

RtVoid RibWriter::Matte(RtBoolean onoff) {
  text("Matte ");
  integer(onoff);
  endLine();
}

RtVoid RibWriter::Bound(RtBound bound) {
  floatArrayRequest("Bound", bound, 6);
}

RtVoid RibWriter::Detail(RtBound bound) {
  floatArrayRequest("Detail", bound, 6);
}

RtVoid RibWriter::DetailRange(RtFloat minvisible, RtFloat lowertransition,
                              RtFloat uppertransition, RtFloat maxvisible) {
  text("DetailRange");
  numbers({minvisible, lowertransition, uppertransition, maxvisible});
  endLine();
}

RtVoid RibWriter::GeometricApproximation(RtToken type, RtFloat value) {
  text("GeometricApproximation ");
  quoted(type);
  numbers({value});
  endLine();
}

RtVoid RibWriter::GeometricRepresentation(RtToken type) {
  text("GeometricRepresentation ");
  quoted(type);
  endLine();
}

RtVoid RibWriter::Sides(RtInt sides) {
  text("Sides ");
  integer(sides);
  endLine();
}

RtVoid RibWriter::Orientation(RtToken orientation) {
  text("Orientation ");
  quoted(orientation);
  endLine();
}

RtVoid RibWriter::ReverseOrientation() {
  text("ReverseOrientation\n");
  done();
}

RtVoid RibWriter::AttributeV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("Attribute");
  writeParamList(name, 0, n, tokens, parms);
}

}  // namespace vellum
