#include "PhotoFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "Photo.h"
#include "gfx/PictureFile.h"

namespace kfa {
namespace {

namespace fs = std::filesystem;

// The EXIF block sits at a JPEG's start and holds at most 64 KiB.
constexpr std::streamsize kExifReach = 128 << 10;

bool Hidden(const fs::path& path) {
    const std::string name = path.filename().string();
    return !name.empty() && name[0] == '.';
}

bool IsPicture(const fs::path& path) {
    std::string extension = path.extension().string();
    if (extension.size() < 2)
        return false;
    const pagora::PictureType* type = pagora::FindPictureType(extension.substr(1));
    return type && pagora::PictureTypeDecodes(*type);
}

// A file that cannot be read sorts first; reading it later says what is wrong.
double ShootingTime(const std::string& path) {
    std::vector<uint8_t> head(static_cast<size_t>(kExifReach));
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(head.data()), kExifReach);
    head.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    if (head.size() >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) {
        if (auto time = ReadExifFacts(head).ShootTime)
            return *time;
    }
    try {
        return FileTimeValue(path);
    } catch (const std::exception&) {
        return 0;
    }
}

struct Found {
    double Time;
    std::string Below;  // the path below the folder, the tie-breaker
    std::string Path;
};

}  // namespace

std::vector<std::string> PicturesInFolder(const std::string& folder, bool recursive) {
    std::vector<Found> found;
    auto consider = [&](const fs::directory_entry& entry) {
        std::error_code error;
        if (Hidden(entry.path()) || !entry.is_regular_file(error) || !IsPicture(entry.path()))
            return;
        const std::string path = entry.path().string();
        found.push_back(
            {ShootingTime(path), fs::relative(entry.path(), folder, error).string(), path});
    };
    try {
        if (recursive) {
            for (auto it = fs::recursive_directory_iterator(folder); it != fs::end(it); ++it) {
                std::error_code error;
                if (Hidden(it->path()) && it->is_directory(error))
                    it.disable_recursion_pending();
                else
                    consider(*it);
            }
        } else {
            for (const fs::directory_entry& entry : fs::directory_iterator(folder))
                consider(entry);
        }
    } catch (const fs::filesystem_error& error) {
        throw std::runtime_error(folder + ": cannot read the folder: " + error.code().message());
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.Time != b.Time ? a.Time < b.Time : a.Below < b.Below;
    });
    std::vector<std::string> paths;
    for (Found& f : found)
        paths.push_back(std::move(f.Path));
    return paths;
}

std::vector<PhotoEntry> ExpandFolders(const std::vector<PhotoEntry>& entries, bool recursive,
                                      const std::function<void(const std::string&)>& note) {
    std::vector<PhotoEntry> photos;
    std::vector<std::string> empty;
    for (const PhotoEntry& entry : entries) {
        if (!entry.Folder) {
            photos.push_back(entry);
            continue;
        }
        std::vector<std::string> pictures = PicturesInFolder(entry.Path, recursive);
        if (pictures.empty())
            empty.push_back(entry.Path);
        for (std::string& path : pictures)
            photos.push_back({std::move(path), "", "", std::nullopt, false});
    }
    std::string hint = recursive ? "" : " (--recursive takes its subfolders too)";
    if (photos.empty())
        throw std::runtime_error(empty.front() + ": no pictures in it" + hint +
                                 "; no album written");
    for (const std::string& folder : empty)
        note("kfa make: no pictures in " + folder + hint);
    return photos;
}

}  // namespace kfa
