#include "reader/request_digest.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

namespace vellum {

namespace {

// 64-bit FNV-1a over bytes, then a final mix so that nearby inputs spread.
uint64_t hashBytes(const void *data, size_t size, uint64_t hash = 1469598103934665603ull) {
  const unsigned char *bytes = static_cast<const unsigned char *>(data);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}

uint64_t mix(uint64_t x) {
  x ^= x >> 30;
  x *= 0xbf58476d1ce4e5b9ull;
  x ^= x >> 27;
  x *= 0x94d049bb133111ebull;
  return x ^ (x >> 31);
}

// Appends a string to the shape with its length in front, so that no two
// sequences of strings run together alike.
void appendString(std::string &shape, const std::string &text) {
  shape += std::to_string(text.size());
  shape += ':';
  shape += text;
}

void appendValue(RequestDigest &digest, const RibValue &value) {
  std::string &shape = digest.shape;
  switch (value.kind) {
    case RibValue::kNumber:
      shape += 'n';
      digest.numbers.push_back(static_cast<float>(value.number));
      return;
    case RibValue::kString:
      shape += 's';
      appendString(shape, value.string);
      return;
    case RibValue::kNumbers:
      shape += 'N' + std::to_string(value.size()) + ';';
      for (size_t i = 0; i < value.size(); ++i) digest.numbers.push_back(static_cast<float>(value.numberAt(i)));
      return;
    case RibValue::kStrings:
      shape += 'S' + std::to_string(value.size()) + ';';
      for (const std::string &text : value.strings) appendString(shape, text);
      return;
  }
}

void finish(RequestDigest &digest) {
  digest.shapeKey = mix(hashBytes(digest.shape.data(), digest.shape.size()));
  uint64_t key = digest.shapeKey;
  for (float number : digest.numbers) {
    const float value = number == 0 ? 0.0f : number;  // -0 as 0
    key = hashBytes(&value, sizeof value, key);
  }
  digest.key = mix(key);
}

}  // namespace

RequestDigest digestOf(const RibRequest &request, const std::function<std::string(size_t)> &declarationOf) {
  RequestDigest digest;
  appendString(digest.shape, request.name);
  for (const RibValue &operand : request.operands) appendValue(digest, operand);
  // Parameters in the order of their keys; a name given twice keeps the
  // order of its occurrences.
  std::vector<std::string> keys(request.parameters.size());
  for (size_t i = 0; i < keys.size(); ++i) keys[i] = declarationOf(i);
  std::vector<size_t> order(keys.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t x, size_t y) { return keys[x] < keys[y]; });
  for (size_t i : order) {
    digest.shape += 'p';
    appendString(digest.shape, keys[i]);
    appendValue(digest, request.parameters[i].value);
  }
  finish(digest);
  return digest;
}

RequestDigest digestOfComment(const RibRequest &comment) {
  RequestDigest digest;
  digest.shape = comment.structure ? "##" : "#";
  appendString(digest.shape, comment.comment);
  finish(digest);
  return digest;
}

bool sameRequest(const RequestDigest &a, const RequestDigest &b, const NumberTolerance &tolerance) {
  if (a.shape != b.shape || a.numbers.size() != b.numbers.size()) return false;
  for (size_t i = 0; i < a.numbers.size(); ++i) {
    const double x = a.numbers[i], y = b.numbers[i];
    if (x == y) continue;
    const double difference = std::fabs(x - y);
    if (difference <= tolerance.absolute) continue;
    if (difference <= tolerance.relative * std::max(std::fabs(x), std::fabs(y))) continue;
    return false;
  }
  return true;
}

}  // namespace vellum
