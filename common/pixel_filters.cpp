// The interface's standard pixel filters.  PixelFilter and the
// texture-making requests recognise them by address.
#include <cmath>

#include "ri.h"

extern "C" {

RtFloat RiGaussianFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth) {
  const double u = x / (xwidth * 0.5f);
  const double v = y / (ywidth * 0.5f);
  return static_cast<RtFloat>(std::exp(-2.0 * (u * u + v * v)));
}

// Inside strictly: a sample on the edge has no weight.
RtFloat RiBoxFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth) {
  return (std::fabs(x) < xwidth * 0.5f && std::fabs(y) < ywidth * 0.5f) ? 1.0f : 0.0f;
}

RtFloat RiTriangleFilter(RtFloat x, RtFloat y, RtFloat xwidth, RtFloat ywidth) {
  const double hx = 1.0 - std::fabs(x) / (xwidth * 0.5f);
  const RtFloat hy = static_cast<RtFloat>(1.0 - std::fabs(y) / (ywidth * 0.5f));
  const double weight = hx < hy ? hx : hy;
  return weight < 0.0 ? 0.0f : static_cast<RtFloat>(weight);
}

// Radial; the widths are not used.
RtFloat RiCatmullRomFilter(RtFloat x, RtFloat y, RtFloat, RtFloat) {
  const double s = static_cast<double>(x) * x + static_cast<double>(y) * y;
  if (s > 4.0) return 0.0f;
  const double r = std::sqrt(s);
  if (r < 1.0) return static_cast<RtFloat>(3.0 * r * s - 5.0 * s + 2.0);
  return static_cast<RtFloat>(-r * s + 5.0 * s - 8.0 * r + 4.0);
}

// Radial; the widths are not used.
RtFloat RiSincFilter(RtFloat x, RtFloat y, RtFloat, RtFloat) {
  const RtFloat r =
      static_cast<RtFloat>(std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y));
  if (r > 2.0f) return 0.0f;
  if (r < 0.0001f) return 1.0f;
  const double t = r * 3.1415927;
  return static_cast<RtFloat>(std::sin(t) / t);
}

}  // extern "C"
