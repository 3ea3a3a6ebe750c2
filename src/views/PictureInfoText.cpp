#include "views/PictureInfoText.h"

#include "archive/HelperLibrary.h"
#include "archive/NameFold.h"
#include "platform/GbkText.h"

namespace pagora {

std::vector<InfoLine> PictureInfoLines(const std::vector<HotSpotRecord>& records,
                                       const std::string& pictureName, bool english) {
    const std::string wanted = FoldName(pictureName);
    for (const HotSpotRecord& record : records) {
        if (FoldName(record.PictureName) != wanted)
            continue;
        std::vector<InfoLine> lines;
        int top = kInfoTop;
        const QString title = Printable(FromGbk(record.Title));
        const QString ending = title.right(3).toLower();
        if (ending != QLatin1String("jpg") && ending != QLatin1String("bmp")) {
            lines.push_back({top, title});
            top += kInfoLineStep;
        }
        const std::string date = english ? EnglishDateText(record.ShootTime)
                                         : FromGbk(ChineseDateText(record.ShootTime)).toStdString();
        lines.push_back({top, Printable(QString::fromStdString(date)) + QStringLiteral("   ")});
        top += kInfoLineStep;
        if (!record.Description.empty())
            lines.push_back({top, Printable(FromGbk(record.Description))});
        return lines;
    }
    return {};
}

}  // namespace pagora
