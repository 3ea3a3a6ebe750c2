#include "archive/AlbumProfile.h"

#include "archive/AlbumError.h"
#include "archive/LittleEndian.h"

namespace pagora {
namespace {

constexpr size_t kMusicCountOffset = AlbumProfile::kSize;
constexpr size_t kMusicNamesOffset = kMusicCountOffset + 4;
constexpr size_t kMusicNameSize = 33;

}  // namespace

std::vector<std::string> ProfileMember::PlayOrder() const {
    std::vector<std::string> order;
    if (Profile.MusicName.empty())
        return order;
    order.push_back(Profile.MusicName);
    order.insert(order.end(), MusicList.begin(), MusicList.end());
    return order;
}

ProfileMember ReadProfile(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < AlbumProfile::kSize)
        throw AlbumError("profile.dat: damaged (" + std::to_string(bytes.size()) + " of " +
                         std::to_string(AlbumProfile::kSize) + " bytes)");
    const uint8_t* p = bytes.data();
    ProfileMember member;
    AlbumProfile& profile = member.Profile;
    profile.PageCount = LoadI32(p);
    profile.PictureCount = LoadI32(p + 4);
    profile.MusicName = LoadShortString(p + 8, 32);
    profile.AlbumName = LoadShortString(p + 41, 64);
    profile.Reserved = LoadShortString(p + 106, 32);
    profile.Password = LoadShortString(p + 139, 32);

    if (bytes.size() < kMusicNamesOffset)
        return member;
    int64_t further = int64_t{LoadI32(p + kMusicCountOffset)} - 1;
    int64_t present = static_cast<int64_t>((bytes.size() - kMusicNamesOffset) / kMusicNameSize);
    for (int64_t i = 0; i < further && i < present; ++i)
        member.MusicList.push_back(LoadShortString(p + kMusicNamesOffset + i * kMusicNameSize, 32));
    return member;
}

std::vector<uint8_t> WriteProfile(const ProfileMember& member) {
    const AlbumProfile& profile = member.Profile;
    std::vector<uint8_t> bytes(kMusicNamesOffset + member.MusicList.size() * kMusicNameSize, 0);
    uint8_t* p = bytes.data();
    StoreI32(p, profile.PageCount);
    StoreI32(p + 4, profile.PictureCount);
    StoreShortString(p + 8, 32, profile.MusicName);
    StoreShortString(p + 41, 64, profile.AlbumName);
    StoreShortString(p + 106, 32, profile.Reserved);
    StoreShortString(p + 139, 32, profile.Password);
    StoreI32(p + kMusicCountOffset, static_cast<int32_t>(member.MusicList.size() + 1));
    for (size_t i = 0; i < member.MusicList.size(); ++i)
        StoreShortString(p + kMusicNamesOffset + i * kMusicNameSize, 32, member.MusicList[i]);
    return bytes;
}

}  // namespace pagora
