#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/IniFile.h"

namespace pagora {

// The settings store cannot be written; the message names the file.
class RegistryError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// WindowsFolder() + "/Bindwell/registry.ini"; empty when there is no
// configuration folder.
std::string DefaultRegistryPath();

// The stand-in for the registry key HKEY_CURRENT_USER\SOFTWARE\Bindwell\ +
// album name: the album's section (EscapeSectionName of the name) in an INI
// file shared by all albums. Value names compare with ASCII letters folded, as
// registry value names do. Values are any bytes: in the file "%", control
// characters (CR and LF among them) and a blank or quote at either end are
// written as %XX, so every value reads back as written and keeps to one line.
//
// The file is read when the store is made. Write keeps a value in the store;
// Save puts the values written so far into the file. For use on one thread.
class RegistryStore {
  public:
    explicit RegistryStore(std::string albumName, std::string filePath = DefaultRegistryPath());

    std::optional<std::string> Read(const std::string& key) const;
    // Throws std::invalid_argument for a key that cannot be a value name in
    // the file: empty, with control characters or "=", starting with ";" or
    // "[", or with blanks at either end.
    void Write(const std::string& key, const std::string& value);
    // Reads the file afresh and rewrites it with the written values in the
    // album's section, keeping every other section and key: under an
    // exclusive lock on the folder, through a new temporary file (0600,
    // synced) renamed over the old one. Makes missing folders with mode 0700.
    // Throws RegistryError when it cannot, and when a file is there that
    // cannot be read (it is not overwritten).
    void Save();

    const std::string& FilePath() const { return path_; }
    const std::string& SectionName() const { return section_; }

  private:
    std::string section_;
    std::string path_;
    // As they stand in the file (encoded).
    std::vector<IniFile::Entry> values_;
    std::vector<IniFile::Entry> written_;
};

}  // namespace pagora
