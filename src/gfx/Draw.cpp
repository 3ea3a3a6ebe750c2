#include "gfx/Draw.h"

#include <chrono>
#include <thread>

#include "gfx/Canvas.h"

namespace pagora {

void DrawLine(Canvas& canvas, const QColor& color, int penWidth, int x1, int y1, int x2, int y2) {
    QColor oldColor = canvas.PenColor;
    int oldWidth = canvas.PenWidth;
    canvas.PenColor = color;
    canvas.PenWidth = penWidth;
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
    canvas.PenColor = oldColor;
    canvas.PenWidth = oldWidth;
}

void DrawFrame(Canvas& canvas, int left, int top, int right, int bottom, int penWidth,
               const QColor& leftColor, const QColor& topColor, const QColor& rightColor,
               const QColor& bottomColor) {
    DrawLine(canvas, bottomColor, penWidth, left, bottom, right, bottom);
    DrawLine(canvas, topColor, penWidth, left, top, right, top);
    DrawLine(canvas, leftColor, penWidth, left, top, left, bottom);
    DrawLine(canvas, rightColor, penWidth, right, top, right, bottom);
}

void BlindsToBlack(Canvas& canvas, int width, int height, const std::function<void(int)>& wait) {
    const int lines = height / 16 + 1;
    for (int step = 0; step < 16; ++step) {
        {
            CanvasBatch batch(canvas);
            for (int i = 0; i < lines; ++i)
                DrawLine(canvas, Qt::black, 1, 0, step + 16 * i, width, step + 16 * i);
        }
        if (wait)
            wait(20);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace pagora
