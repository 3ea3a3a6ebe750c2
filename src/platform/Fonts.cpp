#include "platform/Fonts.h"

#include <QFont>
#include <QString>
#include <QStringList>

namespace pagora {

void InstallFontSubstitutions() {
    static const bool installed = [] {
        // The family names as fc-list reports them.
        const QString song = QStringLiteral("AR PL UMing CN");
        const QString zenHei = QStringLiteral("WenQuanYi Zen Hei");
        QFont::insertSubstitutions(QStringLiteral("宋体"), {song, zenHei});
        QFont::insertSubstitutions(QStringLiteral("SimSun"), {song, zenHei});
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Liberation Sans"), zenHei});
        QFont::insertSubstitutions(
            QStringLiteral("Courier New"),
            {QStringLiteral("Liberation Mono"), QStringLiteral("WenQuanYi Zen Hei Mono")});
        return true;
    }();
    (void)installed;
}

}  // namespace pagora
