#include "book/BookSettings.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "archive/AlbumSetupInfo.h"
#include "platform/IniFile.h"

namespace pagora {

bool ParseInteger(const std::string& text, int64_t& value) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    if (begin < end && text[begin] == '+')
        ++begin;
    if (begin == end)
        return false;
    int64_t parsed = 0;
    const auto [rest, error] = std::from_chars(text.data() + begin, text.data() + end, parsed);
    if (error != std::errc() || rest != text.data() + end)
        return false;
    value = parsed;
    return true;
}

void ApplySetupRecord(BookSettings& settings, const TAlbumSetupInfo1_1& record) {
    const int32_t turn = std::clamp(record.TurnTime, 0, kMaxTurnTime);
    const int32_t stay = std::clamp(record.StayTime, 0, kMaxStayTime);
    settings.TurnTime = turn;
    settings.TimerInterval = int64_t{turn} + stay;
    settings.ShowInfo = record.ShowInfo;
    settings.BackColor = static_cast<uint32_t>(record.BackColor) & 0xFFFFFFu;
}

void ApplySettingsFile(BookSettings& settings, const IniFile& file, const std::string& section) {
    int64_t number = 0;
    const std::string turn = file.ReadString(section, "TurnTime", "0");
    if (turn != "0" && ParseInteger(turn, number))
        settings.TurnTime = static_cast<int32_t>(std::clamp<int64_t>(number, 0, kMaxTurnTime));
    const std::string play = file.ReadString(section, "PlayTime", "0");
    if (play != "0" && ParseInteger(play, number))
        settings.TimerInterval = number;
    settings.BackMusic = file.ReadString(section, "BackMusic", "");
    settings.BackPic = file.ReadString(section, "BackPic", "");
    settings.BackMusicOn = SwitchIsOn(file.ReadString(section, "BackMusicOn", "true"));
    settings.BackRangOn = SwitchIsOn(file.ReadString(section, "BackRangOn", "true"));
}

}  // namespace pagora
