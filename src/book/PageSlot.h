#pragma once

#include <QImage>

#include "archive/Stream.h"

namespace pagora {

// One of the four page slots of the cache: a page picture and its hot spots.
// A null picture is a page without one: the paper shows.
struct PageSlot {
    QImage Picture;
    MemoryStream Info;
};

// Which slot a loaded page goes to: backward jobs fill 0 and 1, forward jobs
// 2 and 3; the right page of the pair takes the higher one.
inline int SlotIndex(uint8_t direction, uint8_t half) {
    return direction * 2 + half;
}

}  // namespace pagora
