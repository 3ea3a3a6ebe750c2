#pragma once

#include <stdexcept>

namespace pagora {

// A picture that cannot be loaded, decoded, made or fitted. The message names
// the file or member and what was wrong with it.
class PictureError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace pagora
