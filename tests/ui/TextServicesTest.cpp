#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include "archive/AlbumError.h"
#include "platform/Fonts.h"
#include "platform/GbkText.h"

namespace pagora {
namespace {

TEST(Fonts, FormFamiliesMapToInstalledFaces) {
    InstallFontSubstitutions();
    for (const char* family :
         {"AR PL UMing CN", "WenQuanYi Zen Hei", "Liberation Sans", "Liberation Mono"})
        EXPECT_TRUE(QFontDatabase::hasFamily(QString::fromUtf8(family))) << family;

    EXPECT_EQ(QFont::substitute(QStringLiteral("宋体")).toLower(), "ar pl uming cn");
    EXPECT_EQ(QFont::substitute(QStringLiteral("simsun")).toLower(), "ar pl uming cn");
    EXPECT_EQ(QFont::substitute(QStringLiteral("MS Sans Serif")).toLower(), "liberation sans");
    EXPECT_EQ(QFont::substitute(QStringLiteral("Courier New")).toLower(), "liberation mono");
    EXPECT_EQ(QFont::substitutes(QStringLiteral("MS Sans Serif")).size(), 2);

    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("宋体"), 9)).family(), "AR PL UMing CN");
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("MS Sans Serif"), 9)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Courier New"), 9)).family(), "Liberation Mono");
}

TEST(Fonts, InstallingTwiceChangesNothing) {
    InstallFontSubstitutions();
    QStringList before = QFont::substitutes(QStringLiteral("宋体"));
    InstallFontSubstitutions();
    EXPECT_EQ(QFont::substitutes(QStringLiteral("宋体")), before);
    EXPECT_EQ(before.size(), 2);
}

TEST(GbkText, DecodesAlbumText) {
    EXPECT_EQ(FromGbk("\xC9\xBD\xCB\xAE\xD6\xAE\xBC\xE4 Album"), QStringLiteral("山水之间 Album"));
    EXPECT_EQ(FromGbk(""), QString());
    // Bytes GBK cannot decode still show.
    EXPECT_EQ(FromGbk("a\xFF"
                      "b"),
              QStringLiteral("a\uFFFDb"));
    EXPECT_EQ(FromGbk("a\xC9"), QStringLiteral("a\uFFFD"));
}

TEST(GbkText, EncodesForTheAlbum) {
    EXPECT_EQ(ToGbk(QStringLiteral("山水之间 Album")), "\xC9\xBD\xCB\xAE\xD6\xAE\xBC\xE4 Album");
    EXPECT_EQ(FromGbk(ToGbk(QStringLiteral("相册 1234"))), QStringLiteral("相册 1234"));
    EXPECT_EQ(ToGbk(QString()), "");
    EXPECT_THROW(ToGbk(QStringLiteral("smile \U0001F600")), AlbumError);
}

}  // namespace
}  // namespace pagora
