#pragma once

#include <cstdint>
#include <string>

namespace pagora {

class IniFile;
class TAlbumSetupInfo1_1;

// What the book takes from the album's setup record and the settings file.
struct BookSettings {
    int32_t TurnTime = 0;          // milliseconds
    int64_t TimerInterval = 1000;  // milliseconds between slide-show turns
    bool ShowInfo = false;
    uint32_t BackColor = 0;  // 0x00BBGGRR
    std::string BackMusic;
    std::string BackPic;
    bool BackMusicOn = true;
    bool BackRangOn = true;
};

// The longest turn and stay the options allow; a record asking for more is
// held to them.
constexpr int32_t kMaxTurnTime = 10000;
constexpr int32_t kMaxStayTime = 3600000;

void ApplySetupRecord(BookSettings& settings, const TAlbumSetupInfo1_1& record);
// Reads the album's section; a value that is not a number keeps the album's.
void ApplySettingsFile(BookSettings& settings, const IniFile& file, const std::string& section);

// A whole decimal integer (blanks around it allowed), or false.
bool ParseInteger(const std::string& text, int64_t& value);

}  // namespace pagora
