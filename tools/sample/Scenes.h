#pragma once

#include <QImage>
#include <vector>

namespace pagora::sample {

// One photo of the sample album: its file, size, texts and the drawing that makes it.
struct Scene {
    const char* File;
    int Width;
    int Height;
    const char* Title;        // Chinese, then English; GBK at most 32 bytes
    const char* Description;  // GBK at most 255 bytes
    const char* Time;         // "YYYY-MM-DD HH:MM"
    void (*Draw)(QImage& photo);
    unsigned Seed;
};

// In album order.
const std::vector<Scene>& Scenes();

// The photo, drawn and finished; the same every time.
QImage DrawScene(const Scene& scene);

// The drawings, one per scene.
void DrawMistyLake(QImage& photo);
void DrawAlpineLake(QImage& photo);
void DrawSeaSunset(QImage& photo);
void DrawCityNight(QImage& photo);
void DrawFruitBowl(QImage& photo);
void DrawSunflowers(QImage& photo);
void DrawSnowCabin(QImage& photo);
void DrawLotusPond(QImage& photo);
void DrawGoldenFields(QImage& photo);
void DrawBambooGrove(QImage& photo);
void DrawStarryNight(QImage& photo);
void DrawTulipVase(QImage& photo);

}  // namespace pagora::sample
