#include "preview/preview_context.h"

#include <cstdio>
#include <cstring>

#include "preview/context/parameters.h"
#include "preview/image/png_file.h"
#include "preview/image/resolve.h"

namespace vellum::preview {

PreviewContext::PreviewContext()
    : warn_([](const std::string &message) { std::fprintf(stderr, "preview: %s\n", message.c_str()); }),
      resources_(1) {}

PreviewContext::~PreviewContext() = default;

void PreviewContext::setWorkMeter(WorkMeter *meter) {
  givenMeter_ = meter;
  splitWork_ = 0;
}

void PreviewContext::setDrawingBudget(uint64_t units) {
  WorkMeter::Limits limits = WorkMeter::kDefaultLimits;
  limits[WorkMeter::kDrawing] = {units, 0};
  ownMeter_ = WorkMeter(limits);
  splitWork_ = 0;
}

// A context that only draws pictures with a destination says nothing about
// a picture it will not draw: a stream that is merely checked draws no
// warnings about drawing.
bool PreviewContext::mayDraw() const {
  if (inWorld_) return drawing_;
  return !drawOnlyWithDestination_ || pictureHasDestination();
}

void PreviewContext::warnOnce(const std::string &kind, const std::string &message) {
  if (!mayDraw() || !warned_.insert(kind).second) return;
  if (warn_) warn_(message);
}

bool PreviewContext::firstInMotion() {
  if (!inMotion_) return true;
  if (motionUsed_) return false;
  motionUsed_ = true;
  return true;
}

RtVoid PreviewContext::MotionBeginV(RtInt, RtFloat[]) {
  inMotion_ = true;
  motionUsed_ = false;
}

RtVoid PreviewContext::MotionEnd() { inMotion_ = false; }

RtVoid PreviewContext::FrameBegin(RtInt frame) {
  frameNumber_ = frame;
  inFrame_ = true;
  frameOptions_.push_back(options_);
  frameDisplays_.push_back(displays_);
  AttributeBegin();
}

RtVoid PreviewContext::FrameEnd() {
  if (inWorld_) WorldEnd();
  AttributeEnd();
  if (!frameOptions_.empty()) {
    options_ = frameOptions_.back();
    frameOptions_.pop_back();
    displays_ = frameDisplays_.back();
    frameDisplays_.pop_back();
  }
  inFrame_ = !frameOptions_.empty();
}

RtVoid PreviewContext::WorldBegin() {
  if (inWorld_) {
    warnOnce("nested world", "WorldBegin inside a world: ignored");
    return;
  }
  std::vector<std::string> notes;
  projection_ = std::make_unique<preview::Projection>(options_, notes);
  for (const std::string &note : notes) warnOnce(note, note);
  drawing_ = !drawOnlyWithDestination_ || pictureHasDestination();
  if (drawing_) {
    // Clearing the picture and resolving it are paid for together, now, so
    // that a picture begun can be finished whatever is spent on it.
    const uint64_t samples = uint64_t(projection_->width()) * uint64_t(projection_->height()) *
                             uint64_t(projection_->samplesX()) * uint64_t(projection_->samplesY());
    drawing_ = charge(WorkMeter::kSamples, 2 * samples);
  }
  if (drawing_)
    buffer_.reset(projection_->width(), projection_->height(), projection_->samplesX(),
                  projection_->samplesY());
  worldToCamera_ = transform();
  defineSpace(coordinateSystems_, "camera", Mat4());
  defineSpace(coordinateSystems_, "world", worldToCamera_);
  worldHasLights_ = false;
  solidGridCleared_ = false;
  worldDepth_ = attributeStack_.size();
  inWorld_ = true;
  AttributeBegin();
}

void PreviewContext::finishOpenWorld() {
  if (!inWorld_) return;
  // What the stream left open inside the world ends with it.
  inMotion_ = false;
  recording_ = 0;
  while (attributeStack_.size() > worldDepth_ + 1) AttributeEnd();
  WorldEnd();
}

RtVoid PreviewContext::WorldEnd() {
  if (!inWorld_) return;
  if (solid_.open()) finishSolid();
  solid_.release();
  AttributeEnd();
  for (uint32_t number : worldLights_) lightsOn_.erase(number);
  worldLights_.clear();
  inWorld_ = false;
  if (drawing_) finishPicture();
  else ++pictures_;
  drawing_ = true;
  projection_.reset();
  buffer_.reset(0, 0, 1, 1);
}

namespace {

bool writesPng(const std::string &name, const std::string &type) {
  const bool pngName = name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0;
  return (type == "file" || type == "png") && pngName;
}

}  // namespace

bool PreviewContext::pictureHasDestination() const {
  if (!output_.empty() && (output_.find("%d") != std::string::npos || pictures_ == 0)) return true;
  for (const DisplayTarget &display : displays_)
    if (writeDisplays_ && writesPng(display.name, display.type)) return true;
  return false;
}

void PreviewContext::finishPicture() {
  picture_ = resolve(buffer_, options_.gain, options_.gamma);
  ++pictures_;
  if (!output_.empty()) {
    const size_t mark = output_.find("%d");
    if (mark != std::string::npos) {
      const int number = inFrame_ ? frameNumber_ : pictures_;
      writePicture(output_.substr(0, mark) + std::to_string(number) + output_.substr(mark + 2));
    } else if (pictures_ == 1) {
      writePicture(output_);
    }
  }
  for (const DisplayTarget &display : displays_)
    if (writeDisplays_ && writesPng(display.name, display.type)) writePicture(display.name);
}

void PreviewContext::writePicture(const std::string &path) {
  const std::string error = writePng(path, picture_);
  if (error.empty()) {
    written_.push_back(path);
    return;
  }
  writeError_ = error;
  if (warn_) warn_(error);
}

RtVoid PreviewContext::Format(RtInt xres, RtInt yres, RtFloat aspect) {
  // Zero or negative sizes leave the size as it was.
  if (xres > 0) options_.xres = xres;
  if (yres > 0) options_.yres = yres;
  if (xres <= 0 || yres <= 0) warnOnce("format", "Format with a size below 1: the size is unchanged");
  options_.pixelAspect = aspect;
}

RtVoid PreviewContext::FrameAspectRatio(RtFloat aspect) { options_.frameAspect = aspect; }

RtVoid PreviewContext::ScreenWindow(RtFloat left, RtFloat right, RtFloat bottom, RtFloat top) {
  options_.screenWindowSet = true;
  options_.screen[0] = left, options_.screen[1] = right;
  options_.screen[2] = bottom, options_.screen[3] = top;
}

RtVoid PreviewContext::CropWindow(RtFloat xmin, RtFloat xmax, RtFloat ymin, RtFloat ymax) {
  options_.crop[0] = xmin, options_.crop[1] = xmax, options_.crop[2] = ymin, options_.crop[3] = ymax;
}

RtVoid PreviewContext::ProjectionV(RtToken name, RtInt n, RtToken tokens[], RtPointer parms[]) {
  const std::string kind = name != nullptr ? name : "";
  if (kind == "perspective") {
    Parameters parameters(declarations_, n, tokens, parms, nullptr);
    options_.perspective = true;
    options_.fov = parameters.floatOr("fov", 90);
  } else {
    if (kind != "orthographic") warnOnce("projection " + kind, "projection \"" + kind + "\" drawn as orthographic");
    options_.perspective = false;
  }
  // The projection's own space becomes camera space.
  setTransform(Mat4());
}

RtVoid PreviewContext::Clipping(RtFloat hither, RtFloat yon) {
  options_.hither = hither;
  options_.yon = yon;
}

RtVoid PreviewContext::PixelSamples(RtFloat xsamples, RtFloat ysamples) {
  options_.xsamples = xsamples;
  options_.ysamples = ysamples;
}

RtVoid PreviewContext::Exposure(RtFloat gain, RtFloat gamma) {
  options_.gain = gain;
  options_.gamma = gamma;
}

RtVoid PreviewContext::DisplayV(char *name, RtToken type, RtToken, RtInt, RtToken[], RtPointer[]) {
  if (name == nullptr) return;
  DisplayTarget display{name[0] == '+' ? name + 1 : name, type != nullptr ? type : ""};
  if (name[0] != '+') displays_.clear();
  displays_.push_back(display);
}

RtToken PreviewContext::Declare(char *name, char *declaration) {
  declarations_.declare(name, declaration);
  return name;
}

void PreviewContext::noteUndeclared(const Parameters &parameters) {
  for (const std::string &name : parameters.undeclared())
    warnOnce("undeclared " + name, "parameter \"" + name + "\" has no usable declaration: ignored");
}

void PreviewContext::warnNoPositions() {
  warnOnce("no positions", "a primitive without \"P\" or \"Pw\" is skipped");
}

const float *PreviewContext::positionsOrSkip(const Parameters &parameters, std::vector<float> &scratch) {
  noteUndeclared(parameters);
  const float *positions = parameters.positions(scratch);
  if (positions == nullptr) warnNoPositions();
  return positions;
}

}  // namespace vellum::preview
