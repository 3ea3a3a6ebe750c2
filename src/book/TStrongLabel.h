#pragma once

#include <QString>

namespace pagora {

// An outlined label drawn on the book. Until its drawing exists it keeps its
// place, caption and visibility.
class TStrongLabel {
  public:
    int Left = 0;
    int Top = 0;
    QString Caption;
    bool Visible = true;
    void Repaint() {}
};

}  // namespace pagora
