#include "shell/TfrmOption.h"

#include "platform/Automation.h"

namespace pagora {

namespace {
int shown = 0;
}

int TfrmOption::ShowModal() {
    ++shown;
    automation::Record("dialog options");
    return 0;
}

int TfrmOption::ShownCount() {
    return shown;
}

}  // namespace pagora
