// CopyOnWrite: a value that the levels of a stack share until one of them
// changes it, so that a deep stack of blocks costs a pointer a level and
// memory grows with what the blocks change, not with their depth.
#ifndef VELLUM_PREVIEW_CONTEXT_COPY_ON_WRITE_H
#define VELLUM_PREVIEW_CONTEXT_COPY_ON_WRITE_H

#include <memory>

namespace vellum::preview {

template <typename T>
class CopyOnWrite {
 public:
  CopyOnWrite() : value_(std::make_shared<T>()) {}
  const T &operator*() const { return *value_; }
  const T *operator->() const { return value_.get(); }
  // The value to change: copied first if another level shares it.
  T &edit() {
    if (value_.use_count() > 1) value_ = std::make_shared<T>(*value_);
    return *value_;
  }

 private:
  std::shared_ptr<T> value_;
};

}  // namespace vellum::preview

#endif
