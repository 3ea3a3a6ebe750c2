#pragma once

#include <functional>
#include <string>
#include <vector>

#include "PhotoList.h"

namespace kfa {

// The pictures in a folder, by extension (letter case ignored) among the
// types this run decodes; with recursive, those of its subfolders too. Hidden
// files and folders are passed over, and so are links to folders. Ordered by
// shooting time (EXIF, else the file's time), then by the path below the folder.
std::vector<std::string> PicturesInFolder(const std::string& folder, bool recursive);

// The entries with every folder among them replaced by its pictures. A folder
// without pictures is noted, or an error when nothing else is left.
std::vector<PhotoEntry> ExpandFolders(const std::vector<PhotoEntry>& entries, bool recursive,
                                      const std::function<void(const std::string&)>& note);

}  // namespace kfa
