#include "platform/GbkText.h"

#include "archive/Gbk.h"

namespace pagora {

QString FromGbk(const std::string& gbk) {
    return QString::fromStdString(GbkToUtf8(gbk));
}

std::string ToGbk(const QString& text) {
    return Utf8ToGbk(text.toStdString());
}

QString Printable(QString text) {
    for (QChar& c : text) {
        const auto category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line ||
            category == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    }
    return text;
}

}  // namespace pagora
