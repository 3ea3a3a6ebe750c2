#pragma once

#include <QImage>
#include <QPoint>
#include <vector>

namespace pagora {

// The columns of a turning page in one frame of the curl: column k of the
// frame, counted from FirstColumn, shows column Source[k] of the page, lifted
// so that the page's top row lands Lift[k] rows above the curl's band edge.
struct CurlColumns {
    int FirstColumn = 0;
    std::vector<int> Source;
    std::vector<int> Lift;
};

// The width of the page in a lift frame at t of a phase lasting phaseTime ms:
// it narrows linearly from pageWidth to 0.
int LiftWidth(int pageWidth, int phaseTime, int elapsed);
// The width in a fall frame: round(sin(1.67 t / T) * pageWidth). The angle
// passes a right angle, so the page overshoots its width and settles back.
int FallWidth(int pageWidth, int phaseTime, int elapsed);

// A page turning forward rises on the right from its free edge and lands on
// the left; one turning back is the mirror image. For a lift frame c is the
// page's new width, w the frame's; for a fall frame l the width just landed.
// Source columns one past the page read its last column.
CurlColumns ForwardLiftColumns(int pageWidth, int c);
CurlColumns ForwardFallColumns(int pageWidth, int l);
CurlColumns BackLiftColumns(int pageWidth, int w, int c);
CurlColumns BackFallColumns(int pageWidth, int b);

// Composes one frame of frameWidth columns and the curl's height straight into
// target with its top-left at origin: the base picture shifted right by baseX
// (negative values take its right part), then the page's columns on top with
// their lifts measured from row `lift` of the frame. Everything is clipped to
// the frame, the target, the base and the page. Returns the target rectangle
// written.
QRect ComposeCurlFrame(QImage& target, QPoint origin, int frameWidth, int frameHeight,
                       const QImage& base, int baseX, const QImage& page, int lift,
                       const CurlColumns& columns);

// The edge frame: the base, then the page's last three columns stretched over
// the frame's first three columns and its whole height.
QRect ComposeEdgeFrame(QImage& target, QPoint origin, int frameWidth, int frameHeight,
                       const QImage& base, int baseX, const QImage& page);

}  // namespace pagora
