#pragma once

#include <cstdint>

namespace pagora {

// A guard byte that is 1 for a scope, however the scope is left.
class ScopedFlag {
  public:
    explicit ScopedFlag(uint8_t& flag) : flag_(flag) { flag_ = 1; }
    ~ScopedFlag() { flag_ = 0; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

  private:
    uint8_t& flag_;
};

}  // namespace pagora
