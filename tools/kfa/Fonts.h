#pragma once

#include <QFont>

namespace kfa {

enum class FontFace { Serif, Sans };

// A font for album texts that has both Latin and Chinese glyphs.
QFont AlbumFont(FontFace face, int pixelSize, bool bold = false, bool italic = false);

}  // namespace kfa
