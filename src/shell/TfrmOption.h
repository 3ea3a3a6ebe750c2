#pragma once

#include "platform/Form.h"

namespace pagora {

// The options dialog. Until it is built, showing it only counts the showings
// (and records them for automation) and returns as if cancelled.
class TfrmOption : public Form {
  public:
    explicit TfrmOption(QWidget* owner) : Form(owner) {}
    // The modal result: 0, cancelled.
    int ShowModal();
    static int ShownCount();
};

}  // namespace pagora
