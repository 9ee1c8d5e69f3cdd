// Camera and option requests.  Numbers in a request's own text are ASCII in
// both modes; only parameter lists follow the binary flag.
#include <cstring>

#include "common/name_tables.h"
#include "ri/current_context.h"
#include "rib/rib_writer.h"

namespace vellum {

void RibWriter::numbers(std::initializer_list<RtFloat> values) {
  for (RtFloat value : values) {
    character(' ');
    number(value);
  }
}

RtVoid RibWriter::Format(RtInt xres, RtInt yres, RtFloat aspect) {
  text("Format ");
  integer(xres);
  character(' ');
  integer(yres);
  numbers({aspect});
  endLine();
}

RtVoid RibWriter::FrameAspectRatio(RtFloat aspect) {
  text("FrameAspectRatio");
  numbers({aspect});
  endLine();
}

RtVoid RibWriter::ScreenWindow(RtFloat left, RtFloat right, RtFloat bottom, RtFloat top) {
  text("ScreenWindow");
  numbers({left, right, bottom, top});
  endLine();
}

RtVoid RibWriter::CropWindow(RtFloat xmin, RtFloat xmax, RtFloat ymin, RtFloat ymax) {
  text("CropWindow");
  numbers({xmin, xmax, ymin, ymax});
  endLine();
}

RtVoid RibWriter::ProjectionV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("Projection");
  writeParamList(name, 0, n, tokens, parms);
}

RtVoid RibWriter::Clipping(RtFloat hither, RtFloat yon) {
  text("Clipping");
  numbers({hither, yon});
  endLine();
}

RtVoid RibWriter::DepthOfField(RtFloat fstop, RtFloat focallength, RtFloat focaldistance) {
  text("DepthOfField");
  numbers({fstop, focallength, focaldistance});
  endLine();
}

RtVoid RibWriter::Shutter(RtFloat min, RtFloat max) {
  text("Shutter");
  numbers({min, max});
  endLine();
}

RtVoid RibWriter::PixelVariance(RtFloat variation) {
  text("PixelVariance");
  numbers({variation});
  endLine();
}

RtVoid RibWriter::PixelSamples(RtFloat xsamples, RtFloat ysamples) {
  text("PixelSamples");
  numbers({xsamples, ysamples});
  endLine();
}

RtVoid RibWriter::PixelFilter(RtFilterFunc filterfunc, RtFloat xwidth, RtFloat ywidth) {
  text("PixelFilter ");
  filter("PixelFilter", filterfunc);
  numbers({xwidth, ywidth});
  endLine();
}

RtVoid RibWriter::Exposure(RtFloat gain, RtFloat gamma) {
  text("Exposure");
  numbers({gain, gamma});
  endLine();
}

RtVoid RibWriter::Quantize(RtToken type, RtInt one, RtInt min, RtInt max, RtFloat ampl) {
  text("Quantize ");
  quoted(type);
  for (RtInt value : {one, min, max}) {
    character(' ');
    integer(value);
  }
  numbers({ampl});
  endLine();
}

RtVoid RibWriter::DisplayV(char *name, RtToken type, RtToken mode, RtInt n, RtToken tokens[],
                           RtPointer parms[]) {
  text("Display ");
  quoted(name);
  character(' ');
  quoted(type);
  character(' ');
  quoted(mode);
  writeParams(nullptr, n, tokens, parms);
}

RtVoid RibWriter::HiderV(RtToken type, RtInt n, RtToken tokens[], RtPointer parms[]) {
  text("Hider");
  writeParamList(type, 0, n, tokens, parms);
}

// RIB carries no ColorSamples request: colours are always three floats.
RtVoid RibWriter::ColorSamples(RtInt, RtFloat[], RtFloat[]) {}

RtVoid RibWriter::RelativeDetail(RtFloat relativedetail) {
  text("RelativeDetail");
  numbers({relativedetail});
  endLine();
}

// The "rib" option changes this context's own format and writes nothing;
// later float values follow the new flag.
RtVoid RibWriter::OptionV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  if (isRibOption(name)) {
    for (RtInt i = 0; i < n && tokens != nullptr && tokens[i] != nullptr; ++i)
      if (std::strcmp(tokens[i], "binary") == 0 && parms != nullptr && parms[i] != nullptr)
        binary_ = *static_cast<RtInt *>(parms[i]);
    return;
  }
  text("Option");
  writeParamList(name, 0, n, tokens, parms);
}

}  // namespace vellum
