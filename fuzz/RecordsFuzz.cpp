// Reads the input as each of the album's records.
#include <cstdint>
#include <vector>

#include "archive/AlbumError.h"
#include "archive/AlbumProfile.h"
#include "archive/AlbumSetupInfo.h"
#include "archive/Gbk.h"
#include "archive/HelperLibrary.h"
#include "archive/HotSpotRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool bound = pagora::LoadHelperLibrary("BaseFunction.dll");
    (void)bound;
    std::vector<uint8_t> bytes(data, data + size);
    try {
        pagora::ProfileMember profile = pagora::ReadProfile(bytes);
        pagora::GbkToUtf8(profile.Profile.AlbumName);
    } catch (const pagora::AlbumError&) {
    }
    pagora::MemoryStream stream(bytes);
    pagora::TAlbumSetupInfo1_1 setup(&stream);
    setup.Load();
    for (const pagora::HotSpotRecord& spot : pagora::ReadHotSpots(bytes)) {
        pagora::GbkToUtf8(spot.Title);
        pagora::GbkToUtf8(spot.Description);
        pagora::ChineseDateText(spot.ShootTime);
        pagora::EnglishDateText(spot.ShootTime);
    }
    return 0;
}
