#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kfa {

// A photo to put into an album, with the texts given for it (UTF-8; empty
// means "use the default").
struct PhotoEntry {
    std::string Path;
    std::string Title;
    std::string Description;
    std::optional<double> ShootTime;
    bool Folder = false;  // a folder whose pictures stand here
};

// A list file: UTF-8, one photo a line, fields separated by tabs: path, then
// optional title, description and time ("YYYY-MM-DD HH:MM[:SS]"). Paths are
// relative to the list's folder; blank lines and lines starting with # are
// skipped. Throws std::runtime_error naming the file and line of a mistake.
std::vector<PhotoEntry> ReadPhotoList(const std::string& listPath);

// The description beside a photo: PHOTO.txt (e.g. beach.jpg.txt) with its
// lines joined by spaces, or nothing when there is no such file.
std::optional<std::string> ReadSidecar(const std::string& photoPath);

}  // namespace kfa
