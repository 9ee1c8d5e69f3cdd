// Texture-making requests.  Text in both modes; their parameter lists are
// accepted and not written.
#include "rib/rib_writer.h"

namespace vellum {

void RibWriter::filterAndWidths(const char *keyword, RtFilterFunc filterfunc, RtFloat swidth,
                                RtFloat twidth) {
  character(' ');
  filter(keyword, filterfunc);
  numbers({swidth, twidth});
  endLine();
}

RtVoid RibWriter::MakeTextureV(char *picturename, char *texturename, RtToken swrap,
                               RtToken twrap, RtFilterFunc filterfunc, RtFloat swidth,
                               RtFloat twidth, RtInt, RtToken[], RtPointer[]) {
  text("MakeTexture");
  for (const char *name : {picturename, texturename, swrap, twrap}) {
    character(' ');
    quoted(name);
  }
  filterAndWidths("MakeTexture", filterfunc, swidth, twidth);
}

RtVoid RibWriter::MakeLatLongEnvironmentV(char *picturename, char *texturename,
                                          RtFilterFunc filterfunc, RtFloat swidth,
                                          RtFloat twidth, RtInt, RtToken[], RtPointer[]) {
  text("MakeLatLongEnvironment");
  for (const char *name : {picturename, texturename}) {
    character(' ');
    quoted(name);
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
    quoted(name);
  }
  numbers({fov});
  filterAndWidths("MakeCubeFaceEnvironment", filterfunc, swidth, twidth);
}

RtVoid RibWriter::MakeShadowV(char *picturename, char *texturename, RtInt, RtToken[],
                              RtPointer[]) {
  text("MakeShadow ");
  quoted(picturename);
  character(' ');
  quoted(texturename);
  endLine();
}

}  // namespace vellum
