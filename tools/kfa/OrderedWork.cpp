#include "OrderedWork.h"

#include <sched.h>

#include <algorithm>

namespace kfa {

int AvailableCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(CPU_COUNT(&set), 1);
    return static_cast<int>(std::max(std::thread::hardware_concurrency(), 1u));
}

}  // namespace kfa
