#pragma once

#include "platform/Form.h"

namespace pagora {

// The floating toolbar. Until it is built it only records what start-up and
// the views ask of it, and shows nothing.
class TfrmToolbar : public Form {
  public:
    TfrmToolbar() : Form(nullptr) {}

    void ShowToolbar() { shown_ = true; }
    void SetToolbarShape(bool leftTab, bool rightTab) {
        leftTab_ = leftTab;
        rightTab_ = rightTab;
    }

    bool Shown() const { return shown_; }
    bool LeftTab() const { return leftTab_; }
    bool RightTab() const { return rightTab_; }

  private:
    bool shown_ = false;
    bool leftTab_ = false;
    bool rightTab_ = false;
};

}  // namespace pagora
