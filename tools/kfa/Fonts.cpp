#include "Fonts.h"

#include <QStringList>
#include <algorithm>

namespace kfa {

QFont AlbumFont(FontFace face, int pixelSize, bool bold, bool italic) {
    QFont font;
    // The first family that has a glyph draws it: Latin faces first, then the
    // Chinese ones the project installs.
    if (face == FontFace::Serif)
        font.setFamilies({"Liberation Serif", "AR PL UMing CN", "WenQuanYi Zen Hei"});
    else
        font.setFamilies({"Liberation Sans", "WenQuanYi Zen Hei", "AR PL UMing CN"});
    font.setPixelSize(std::max(pixelSize, 1));
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace kfa
