#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pagora {

// The album profile: the first 172 bytes of "profile.dat". Texts are GBK bytes.
struct AlbumProfile {
    static constexpr int kSize = 172;

    int32_t PageCount = 0;
    int32_t PictureCount = 0;
    std::string MusicName;  // string[32]; empty: the album has no music
    std::string AlbumName;  // string[64]
    std::string Reserved;   // string[32], kept so that a rewrite loses nothing
    std::string Password;   // string[32]; empty: no password
};

// "profile.dat" as a whole: the profile and the further music names after it.
struct ProfileMember {
    AlbumProfile Profile;
    std::vector<std::string> MusicList;

    // The music members in play order, without the return to the first.
    std::vector<std::string> PlayOrder() const;
};

// Throws AlbumError when the member is shorter than the profile. A music count
// larger than the member holds reads the names that are there.
ProfileMember ReadProfile(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> WriteProfile(const ProfileMember& member);

}  // namespace pagora
