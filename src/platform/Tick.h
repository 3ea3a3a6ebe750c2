#pragma once

#include <cstdint>

namespace pagora {

// Milliseconds of a steady clock; wraps like the system tick count.
uint32_t GetTickCount();
void Sleep(int milliseconds);

}  // namespace pagora
