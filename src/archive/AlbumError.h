#pragma once

#include <stdexcept>
#include <string>

namespace pagora {

// Everything that goes wrong while reading or writing album data. The message
// names the file and, where one is involved, the member.
class AlbumError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace pagora
