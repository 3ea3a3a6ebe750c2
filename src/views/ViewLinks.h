#pragma once

#include <functional>

class QWidget;

namespace pagora {

// What the picture viewer and the thumbnail browser need of the book and the
// shell, handed over by the book when it makes them, so that the views link
// to neither. A link left empty does nothing (reads as false).
struct ViewLinks {
    // Back to the book: its slide show as it was when it was left, the book
    // in front, the view mode and the toolbar set for it.
    std::function<void()> ShowBook;
    // The floating toolbar's shape: its picture tools, its view buttons.
    std::function<void(bool leftTab, bool rightTab)> SetToolbarShape;
    // Whether the toolbar's magnifier button is down.
    std::function<bool()> MagnifierDown;
    // Told whenever the viewer's auto-play starts or stops.
    std::function<void(bool playing)> PlayingChanged;
    // Whether the information text is drawn over a picture.
    std::function<bool()> ShowInfo;
    // The options dialog, shown modally over the owner.
    std::function<void(QWidget* owner)> ShowOptions;
};

}  // namespace pagora
