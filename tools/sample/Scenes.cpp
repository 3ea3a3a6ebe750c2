#include "Scenes.h"

#include <QPainter>

#include "PhotoEffects.h"

namespace pagora::sample {

const std::vector<Scene>& Scenes() {
    static const std::vector<Scene> scenes = {
        {"01-misty-lake.jpg", 1600, 1200, "西湖晨雾 Morning mist",
         "清晨的湖面笼着薄雾，远山一层淡过一层。 Dawn mist over the lake, the hills fading "
         "layer by layer.",
         "2025-03-16 06:42", DrawMistyLake, 11},
        {"02-alpine-lake.jpg", 1600, 1200, "雪山湖泊 Alpine lake",
         "雪峰倒映在平静的湖水中，松林环绕湖岸。 Snow peaks mirrored in a still lake ringed by "
         "pines.",
         "2025-07-08 10:15", DrawAlpineLake, 12},
        {"03-sea-sunset.jpg", 1600, 1200, "海边日落 Seaside sunset",
         "夕阳沉入海面，金色的光铺满了海浪。 The sun sinks into the sea and gilds the waves.",
         "2025-08-22 19:03", DrawSeaSunset, 13},
        {"04-city-night.jpg", 1600, 1200, "城市夜景 City lights",
         "江边的高楼亮起万家灯火。 Towers by the river light up for the night.", "2025-10-01 20:30",
         DrawCityNight, 14},
        {"05-fruit-bowl.jpg", 1600, 1200, "果盘静物 Fruit bowl",
         "午后窗光下的一盘水果。 A bowl of fruit in the afternoon light from a window.",
         "2025-11-09 15:20", DrawFruitBowl, 15},
        {"06-sunflowers.jpg", 1200, 1600, "向日葵 Sunflowers",
         "夏日田边，向日葵迎着阳光。 Sunflowers by a summer field turn to the sun.",
         "2025-06-28 09:40", DrawSunflowers, 16},
        {"07-snow-cabin.jpg", 1600, 1200, "雪中小屋 Snow cabin",
         "大雪过后，林间小屋的窗里透出暖光。 After the snowfall, warm light glows in a cabin "
         "among the pines.",
         "2026-01-18 17:05", DrawSnowCabin, 17},
        {"08-lotus-pond.jpg", 1200, 1600, "荷塘 Lotus pond",
         "荷叶田田，粉色的荷花静静开放。 Pink lotus flowers open quietly among the leaves.",
         "2025-07-21 07:30", DrawLotusPond, 18},
        {"09-golden-fields.jpg", 1600, 1200, "金色田野 Golden fields",
         "秋收时节，麦田在风中起伏。 Harvest time: wheat fields roll under a wide sky.",
         "2025-09-27 16:45", DrawGoldenFields, 19},
        {"10-bamboo-grove.jpg", 1200, 1600, "竹林 Bamboo grove",
         "晨光穿过竹林的薄雾。 Morning light through the mist of a bamboo grove.",
         "2026-04-05 08:10", DrawBambooGrove, 20},
        {"11-starry-night.jpg", 1600, 1200, "星空 Starry night",
         "草原上的夜空，银河横跨天际。 The night sky over the grassland, the Milky Way "
         "overhead.",
         "2026-05-02 23:50", DrawStarryNight, 21},
        {"12-tulip-vase.jpg", 1600, 1200, "郁金香 Tulips",
         "窗边瓷瓶里的一束郁金香。 A bunch of tulips in a porcelain vase by the window.",
         "2026-03-08 11:00", DrawTulipVase, 22},
    };
    return scenes;
}

QImage DrawScene(const Scene& scene) {
    QImage photo(scene.Width, scene.Height, QImage::Format_RGB32);
    photo.fill(Qt::black);
    scene.Draw(photo);
    FinishPhoto(photo, scene.Seed);
    return photo;
}

}  // namespace pagora::sample
