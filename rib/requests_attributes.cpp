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
  numbersText({s1, t1, s2, t2, s3, t3, s4, t4});
  text(" ]\n");
  done();
}

RtVoid RibWriter::Bound(RtBound bound) {
  floatArrayRequest("Bound", bound, 6);
}

RtVoid RibWriter::Detail(RtBound bound) {
  floatArrayRequest("Detail", bound, 6);
}

}  // namespace vellum
