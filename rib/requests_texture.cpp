// Texture-making requests.  Text in both modes; their parameter lists are
// accepted and not written.
#include "rib/rib_writer.h"

namespace vellum {

void RibWriter::filterAndWidths(const char *keyword, RtFilterFunc filterfunc, RtFloat swidth,
                                RtFloat twidth) {
  character(' ');
  filterText(keyword, filterfunc);
  numbersText({swidth, twidth});
  endLine();
}

RtVoid RibWriter::MakeTextureV(char *picturename, char *texturename, RtToken swrap,
                               RtToken twrap, RtFilterFunc filterfunc, RtFloat swidth,
                               RtFloat twidth, RtInt, RtToken[], RtPointer[]) {
  text("MakeTexture");
  for (const char *name : {picturename, texturename, swrap, twrap}) {
    character(' ');
    quotedText(name);
  }
  filterAndWidths("MakeTexture", filterfunc, swidth, twidth);
}

RtVoid RibWriter::MakeLatLongEnvironmentV(char *picturename, char *texturename,
                                          RtFilterFunc filterfunc, RtFloat swidth,
                                          RtFloat twidth, RtInt, RtToken[], RtPointer[]) {
  text("MakeLatLongEnvironment");
  for (const char *name : {picturename, texturename}) {
    character(' ');
    quotedText(name);
  }
  filterAndWidths("MakeLatLongEnvironment", filterfunc, swidth, twidth);
}

RtVoid RibWriter::MakeCubeFaceEnvironmentV(char *px, char *nx, char *py, char *ny, char *pz,
                                           char *nz, char *texturename, RtFloat fov,
                                           RtFilterFunc filterfunc, RtFloat swidth,
                                           RtFloat twidth, RtInt, RtToken[], RtPointer[]) {
  text("MakeCubeFaceEnvironment");
  for (const char *name : {px, nx, py, ny, pz, nz, texturename}) {
    character(' ');
    quotedText(name);
  }
  numbersText({fov});
  filterAndWidths("MakeCubeFaceEnvironment", filterfunc, swidth, twidth);
}

RtVoid RibWriter::MakeShadowV(char *picturename, char *texturename, RtInt, RtToken[],
                              RtPointer[]) {
  text("MakeShadow ");
  quotedText(picturename);
  character(' ');
  quotedText(texturename);
  endLine();
}

RtVoid RibWriter::MakeBrickMapV(RtInt nptc, RtString *ptcnames, RtString bkmname, RtInt n,
                                RtToken tokens[], RtPointer parms[]) {
  text("MakeBrickMap ");
  writeStringArray(ptcnames, nptc);
  character(' ');
  quotedText(bkmname);
  writeParams(nullptr, n, tokens, parms);
}

}  // namespace vellum
