#pragma once

#include "book/TVudadezEroz.h"

namespace pagora {

// The book window that is created: the book with its opening animation, which
// comes with the cover window. Until then it is the book as it is.
class TVudadezErozNew : public TVudadezEroz {
  public:
    using TVudadezEroz::TVudadezEroz;
};

}  // namespace pagora
