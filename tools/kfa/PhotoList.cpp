#include "PhotoList.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "Photo.h"

namespace kfa {
namespace {

// Nothing a record holds comes near this; a larger file is a mistake.
constexpr std::uintmax_t kMaxTextFileSize = 16 << 20;

std::string ReadTextFile(const std::string& path) {
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > kMaxTextFileSize)
        throw std::runtime_error(path + ": larger than a text file for an album may be");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error(path + ": cannot open");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        throw std::runtime_error(path + ": cannot read");
    std::string content = text.str();
    if (content.rfind("\xEF\xBB\xBF", 0) == 0)
        content.erase(0, 3);
    return content;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    while (true) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

}  // namespace

std::vector<PhotoEntry> ReadPhotoList(const std::string& listPath) {
    std::string text = ReadTextFile(listPath);
    std::filesystem::path folder = std::filesystem::path(listPath).parent_path();
    std::vector<PhotoEntry> entries;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (Trim(line).empty() || line[0] == '#')
            continue;
        std::string where = listPath + ":" + std::to_string(number) + ": ";
        std::vector<std::string> fields = SplitTabs(line);
        if (fields.size() > 4)
            throw std::runtime_error(where + "more than four tab-separated fields");
        PhotoEntry entry;
        std::string path = Trim(fields[0]);
        if (path.empty())
            throw std::runtime_error(where + "no photo path");
        std::filesystem::path photo(path);
        entry.Path = photo.is_absolute() || folder.empty() ? path : (folder / photo).string();
        if (fields.size() > 1)
            entry.Title = Trim(fields[1]);
        if (fields.size() > 2)
            entry.Description = Trim(fields[2]);
        if (fields.size() > 3 && !Trim(fields[3]).empty()) {
            entry.ShootTime = ParseDateTime(Trim(fields[3]));
            if (!entry.ShootTime)
                throw std::runtime_error(where + "\"" + fields[3] +
                                         "\" is not a time of the form YYYY-MM-DD HH:MM[:SS]");
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<std::string> ReadSidecar(const std::string& photoPath) {
    std::string path = photoPath + ".txt";
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::string joined;
    std::istringstream lines(ReadTextFile(path));
    std::string line;
    while (std::getline(lines, line)) {
        std::string piece = Trim(line);
        if (piece.empty())
            continue;
        if (!joined.empty())
            joined += ' ';
        joined += piece;
    }
    return joined;
}

}  // namespace kfa
