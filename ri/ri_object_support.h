// What the methods of vellum::Ri (written by cpp_interface_generator) and
// the object itself share: the object's writer with its own environment,
// and the conversions the methods make on their way to it.
#ifndef VELLUM_RI_RI_OBJECT_SUPPORT_H
#define VELLUM_RI_RI_OBJECT_SUPPORT_H

#include <initializer_list>
#include <memory>
#include <vector>

#include "ri.hpp"
#include "rib/own_environment.h"
#include "rib/rib_writer.h"

namespace vellum {

struct Ri::Impl {
  explicit Impl(const char *name) : environment(name != nullptr ? name : "standard output") {}
  OwnEnvironment environment;
  std::unique_ptr<RibWriter> writer;  // null once ended
  bool lostBytes = false;             // what failed() says once ended
};

// A const argument handed to the writer, whose operations only read it.
template <typename T>
T *unconst(const T *p) {
  return const_cast<T *>(p);
}
inline char **unconst(const char *const *p) { return const_cast<char **>(p); }

// A list of Params as the list operations take it.
struct ParamArrays {
  explicit ParamArrays(std::initializer_list<Param> params) {
    tokens.reserve(params.size());
    parms.reserve(params.size());
    for (const Param &param : params) {
      tokens.push_back(param.name);
      parms.push_back(param.value);
    }
    n = static_cast<RtInt>(tokens.size());
  }
  RtInt n = 0;
  std::vector<RtToken> tokens;
  std::vector<RtPointer> parms;
};

}  // namespace vellum

#endif
