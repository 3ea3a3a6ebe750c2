#include "platform/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

// Not libinih: Debian's build of it (r55) has fixed buffers that cut section
// names at 49 bytes and lines at 199, and escaped album names (9 bytes for
// each Chinese character) and file paths are longer. Its indented-line
// continuation, "#" comments, ":" separator and inline ";" comments differ
// from Windows profile files as well. This reader follows the Windows rules.

namespace pagora {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Reads the whole file into text; false (text empty) when it is absent, not a
// regular file, unreadable or too large, with exists telling absence apart. O_NONBLOCK keeps a FIFO
// planted at the path from blocking the open.
bool ReadWholeFile(const std::string& path, std::string& text, bool& exists) {
    exists = false;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        exists = errno != ENOENT && errno != ENOTDIR;
        return false;
    }
    exists = true;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
              static_cast<uint64_t>(st.st_size) <= IniFile::kMaxSize;
    if (ok) {
        // Read one byte beyond the limit so that a file growing meanwhile is
        // still refused.
        text.resize(IniFile::kMaxSize + 1);
        size_t done = 0;
        while (done < text.size()) {
            ssize_t n = ::read(fd, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                ok = n == 0;
                break;
            }
            done += static_cast<size_t>(n);
        }
        text.resize(done);
        ok = ok && done <= IniFile::kMaxSize;
    }
    ::close(fd);
    if (!ok)
        text.clear();
    return ok;
}

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

IniFile::IniFile(const std::string& path) {
    std::string text;
    bool exists = false;
    if (ReadWholeFile(path, text, exists))
        Parse(text);
    else
        unreadable_ = exists;
}

IniFile IniFile::FromText(std::string_view text) {
    IniFile file;
    file.Parse(text);
    return file;
}

void IniFile::Parse(std::string_view text) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    bool inSection = false;
    while (!text.empty()) {
        size_t end = text.find_first_of("\r\n");
        std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            size_t close = line.rfind(']');
            if (close != std::string_view::npos) {
                sections_.push_back({std::string(line.substr(1, close - 1)), {}});
                inSection = true;
            }
            continue;
        }
        size_t equals = line.find('=');
        if (!inSection || equals == std::string_view::npos)
            continue;
        sections_.back().Entries.push_back({std::string(Trim(line.substr(0, equals))),
                                            std::string(Unquote(Trim(line.substr(equals + 1))))});
    }
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
    for (const Section& s : sections_) {
        if (!EqualsIgnoringCase(s.Name, section))
            continue;
        for (const Entry& e : s.Entries)
            if (EqualsIgnoringCase(e.Key, key))
                return e.Value;
        // Only the first section of a name is searched, as Windows does.
        return defaultValue;
    }
    return defaultValue;
}

}  // namespace pagora
