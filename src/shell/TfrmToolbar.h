#pragma once

#include "platform/Form.h"

namespace pagora {

// A tool button's state as the views read it.
struct ToolButtonState {
    bool Down = false;
};

// The floating toolbar. Until it is built it only records what start-up and
// the views ask of it, and shows nothing; tests press its magnifier button.
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

    ToolButtonState tbtnMagnifier;

  private:
    bool shown_ = false;
    bool leftTab_ = false;
    bool rightTab_ = false;
};

}  // namespace pagora
