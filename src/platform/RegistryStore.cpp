#include "platform/RegistryStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

#include "archive/AlbumError.h"
#include "archive/AtomicFile.h"
#include "gfx/Folders.h"
#include "platform/SectionName.h"

namespace pagora {
namespace {

bool NeedsEscape(uint8_t b, bool atEnd) {
    return b == '%' || b < 0x20 || b == 0x7F || (atEnd && (b == ' ' || b == '"' || b == '\''));
}

std::string EncodeValue(const std::string& value) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        uint8_t b = static_cast<uint8_t>(value[i]);
        if (NeedsEscape(b, i == 0 || i + 1 == value.size())) {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        } else {
            out += value[i];
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// A "%" without two hex digits after it stands for itself.
std::string DecodeValue(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        int high = 0, low = 0;
        if (text[i] == '%' && i + 2 < text.size() && (high = HexDigit(text[i + 1])) >= 0 &&
            (low = HexDigit(text[i + 2])) >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool ValidKey(const std::string& key) {
    if (key.empty() || key.front() == ';' || key.front() == '[' || key.front() == ' ' ||
        key.back() == ' ')
        return false;
    for (char c : key) {
        uint8_t b = static_cast<uint8_t>(c);
        if (b < 0x20 || b == 0x7F || c == '=')
            return false;
    }
    return true;
}

IniFile::Entry* FindEntry(std::vector<IniFile::Entry>& entries, const std::string& key) {
    for (IniFile::Entry& e : entries)
        if (EqualsIgnoringCase(e.Key, key))
            return &e;
    return nullptr;
}

// A value as read (trimmed, unquoted) written so that it reads back the same.
std::string ValueLine(const IniFile::Entry& e) {
    const std::string& v = e.Value;
    bool quoted = v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front();
    return e.Key + "=" + (quoted ? "\"" + v + "\"" : v) + "\n";
}

std::string Folder(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Failure(const std::string& path, const std::string& what) {
    return path + ": " + what + ": " + std::strerror(errno);
}

// Makes the folder and its missing parents with mode 0700.
void MakeFolders(const std::string& folder) {
    for (size_t at = 1; at <= folder.size(); ++at) {
        if (at < folder.size() && folder[at] != '/')
            continue;
        std::string part = folder.substr(0, at);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            throw RegistryError(Failure(part, "cannot make the folder"));
    }
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        throw RegistryError(folder + ": not a folder");
}

class FolderLock {
  public:
    explicit FolderLock(const std::string& folder)
        : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (fd_ < 0)
            throw RegistryError(Failure(folder, "cannot open the folder"));
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(fd_);
                throw RegistryError(Failure(folder, "cannot lock the folder"));
            }
        }
    }
    ~FolderLock() { ::close(fd_); }  // closing releases the lock
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    int Fd() const { return fd_; }

  private:
    int fd_;
};

// Private mode and data on the disk before the rename makes the file visible.
void SyncTemporary(const std::string& tempPath) {
    int fd = ::open(tempPath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    bool ok = fd >= 0 && ::fchmod(fd, 0600) == 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    if (!ok)
        throw RegistryError(Failure(tempPath, "cannot write"));
}

}  // namespace

std::string DefaultRegistryPath() {
    std::string folder = WindowsFolder();
    return folder.empty() ? std::string() : folder + "/Bindwell/registry.ini";
}

RegistryStore::RegistryStore(std::string albumName, std::string filePath)
    : section_(EscapeSectionName(albumName)), path_(std::move(filePath)) {
    if (path_.empty())
        return;
    IniFile file(path_);
    for (const IniFile::Section& s : file.Sections()) {
        if (EqualsIgnoringCase(s.Name, section_)) {
            values_ = s.Entries;
            break;
        }
    }
}

std::optional<std::string> RegistryStore::Read(const std::string& key) const {
    for (const IniFile::Entry& e : values_)
        if (EqualsIgnoringCase(e.Key, key))
            return DecodeValue(e.Value);
    return std::nullopt;
}

void RegistryStore::Write(const std::string& key, const std::string& value) {
    if (!ValidKey(key))
        throw std::invalid_argument("not a settings value name: \"" + key + "\"");
    std::string text = EncodeValue(value);
    for (std::vector<IniFile::Entry>* entries : {&values_, &written_}) {
        if (IniFile::Entry* e = FindEntry(*entries, key))
            e->Value = text;
        else
            entries->push_back({key, text});
    }
}

void RegistryStore::Save() {
    if (path_.empty())
        throw RegistryError("no configuration folder to keep the settings in");
    std::string folder = Folder(path_);
    MakeFolders(folder);
    FolderLock lock(folder);

    IniFile current(path_);
    if (current.Unreadable())
        throw RegistryError(path_ + ": cannot be read, so it is not overwritten");
    std::vector<IniFile::Section> sections = current.Sections();
    IniFile::Section* mine = nullptr;
    for (IniFile::Section& s : sections)
        if (!mine && EqualsIgnoringCase(s.Name, section_))
            mine = &s;
    if (!mine) {
        sections.push_back({section_, {}});
        mine = &sections.back();
    }
    for (const IniFile::Entry& w : written_) {
        if (IniFile::Entry* e = FindEntry(mine->Entries, w.Key))
            e->Value = w.Value;
        else
            mine->Entries.push_back(w);
    }

    std::string text =
        "; Pagora settings: one section per album, the registry key\n"
        "; HKEY_CURRENT_USER\\SOFTWARE\\Bindwell\\<album name> of the original program.\n";
    for (const IniFile::Section& s : sections) {
        text += "\n[" + s.Name + "]\n";
        for (const IniFile::Entry& e : s.Entries)
            text += ValueLine(e);
    }

    try {
        AtomicFile file(path_);
        file.Out().Write(text.data(), text.size());
        SyncTemporary(file.TempPath());
        file.Commit();
    } catch (const AlbumError& e) {
        throw RegistryError(e.what());
    }
    ::fsync(lock.Fd());  // the rename itself

    values_ = mine->Entries;
    written_.clear();
}

}  // namespace pagora
