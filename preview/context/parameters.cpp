#include "preview/context/parameters.h"

#include <cstring>

namespace vellum::preview {

Parameters::Parameters(DeclarationDictionary &dictionary, RtInt n, const RtToken tokens[],
                       const RtPointer parms[], const PrimitiveCounts *counts) {
  if (tokens == nullptr || parms == nullptr) return;
  for (RtInt i = 0; i < n; ++i) {
    if (tokens[i] == nullptr) continue;
    const DeclarationDictionary::Entry *entry = dictionary.lookup(tokens[i]);
    if (entry == nullptr || unusableDeclarationReason(entry->shape()) != nullptr || parms[i] == nullptr) {
      undeclared_.push_back(tokens[i]);
      continue;
    }
    Parameter p;
    p.name = entry->name;
    p.type = entry->declaration.type;
    p.storageClass = entry->declaration.storageClass;
    ValueShape shape = entry->shape();
    if (counts != nullptr && isPositionName(p.name.c_str())) shape.storageClass = kClassVertex;
    p.count = parameterValueCount(shape, counts);
    if (shape.arrayLength != 1) p.type = kTypeNone;  // arrays are no use here
    p.values = parms[i];
    list_.push_back(std::move(p));
  }
}

const Parameter *Parameters::find(const char *name) const {
  for (const Parameter &p : list_)
    if (p.name == name) return &p;
  return nullptr;
}

const Parameter *Parameters::findFloats(const char *name, int type) const {
  const Parameter *p = find(name);
  if (p == nullptr || p->type != type || p->count <= 0) return nullptr;
  return p;
}

float Parameters::floatOr(const char *name, float fallback) const {
  const Parameter *p = findFloats(name, kTypeFloat);
  return p != nullptr ? p->floats()[0] : fallback;
}

Vec3 Parameters::tripleOr(const char *name, int type, Vec3 fallback) const {
  const Parameter *p = findFloats(name, type);
  return p != nullptr ? Vec3{p->floats()[0], p->floats()[1], p->floats()[2]} : fallback;
}

const float *Parameters::positions(std::vector<float> &scratch) const {
  for (int type : {kTypePoint, kTypeVector, kTypeNormal})
    if (const Parameter *p = findFloats("P", type)) return p->floats();
  const Parameter *pw = findFloats("Pw", kTypeHPoint);
  if (pw == nullptr) return nullptr;
  const int64_t vertices = pw->count / 4;
  scratch.resize(size_t(vertices) * 3);
  const float *in = pw->floats();
  for (int64_t i = 0; i < vertices; ++i) {
    const float w = in[4 * i + 3];
    for (int k = 0; k < 3; ++k) scratch[size_t(3 * i + k)] = in[4 * i + k] / w;
  }
  return scratch.data();
}

}  // namespace vellum::preview
