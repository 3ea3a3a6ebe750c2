#include "platform/GbkText.h"

#include "archive/Gbk.h"

namespace pagora {

QString FromGbk(const std::string& gbk) {
    return QString::fromStdString(GbkToUtf8(gbk));
}

std::string ToGbk(const QString& text) {
    return Utf8ToGbk(text.toStdString());
}

}  // namespace pagora
