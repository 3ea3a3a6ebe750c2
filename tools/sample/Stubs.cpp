#include "Scenes.h"
namespace pagora::sample {
void DrawSunflowers(QImage& p) {
    p.fill(Qt::gray);
}
void DrawSnowCabin(QImage& p) {
    p.fill(Qt::gray);
}
void DrawLotusPond(QImage& p) {
    p.fill(Qt::gray);
}
void DrawGoldenFields(QImage& p) {
    p.fill(Qt::gray);
}
void DrawBambooGrove(QImage& p) {
    p.fill(Qt::gray);
}
void DrawStarryNight(QImage& p) {
    p.fill(Qt::gray);
}
}  // namespace pagora::sample
