#pragma once

#include <QColor>
#include <functional>

namespace pagora {

class Canvas;

// A line from (x1, y1) to (x2, y2), end point excluded; the canvas pen's colour
// and width are as they were afterwards.
void DrawLine(Canvas& canvas, const QColor& color, int penWidth, int x1, int y1, int x2, int y2);

// Four lines: bottom, top, left, right edge, each in its own colour.
void DrawFrame(Canvas& canvas, int left, int top, int right, int bottom, int penWidth,
               const QColor& leftColor, const QColor& topColor, const QColor& rightColor,
               const QColor& bottomColor);

// Paints width x height black in 16 interleaved steps of horizontal lines,
// waiting 20 ms after each; the wait is replaceable so tests need not sleep.
void BlindsToBlack(Canvas& canvas, int width, int height,
                   const std::function<void(int ms)>& wait = {});

}  // namespace pagora
