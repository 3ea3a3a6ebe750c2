#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

// A settings file read like a Windows private profile file (Leafhall.ini, and
// the registry stand-in's file): "[section]" lines, "key=value" lines, lines
// starting with ";" are comments. Section and key names compare with ASCII
// letters folded; a section name is the text between "[" and the line's last
// "]", as it stands. Keys and values are trimmed of blanks, and a value in
// matching quotes ("..." or '...') loses them. Lines end at LF, CR or CR LF,
// and may be of any length. Of repeated sections or keys the first counts.
//
// Reading never fails: a missing, unreadable or non-regular file, or one over
// kMaxSize, reads as empty; lines that are neither section nor key are skipped.
class IniFile {
  public:
    static constexpr size_t kMaxSize = size_t(1) << 20;

    struct Entry {
        std::string Key;
        std::string Value;
    };
    struct Section {
        std::string Name;
        std::vector<Entry> Entries;
    };

    IniFile() = default;
    explicit IniFile(const std::string& path);
    // The same reading of text already in memory.
    static IniFile FromText(std::string_view text);

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;

    // Every section in file order, with its entries in file order.
    const std::vector<Section>& Sections() const { return sections_; }
    // A file exists at the path but was not read (no permission, not a regular
    // file, over kMaxSize). A missing file is not unreadable.
    bool Unreadable() const { return unreadable_; }

  private:
    void Parse(std::string_view text);

    std::vector<Section> sections_;
    bool unreadable_ = false;
};

// ASCII letters folded, every other byte as it is.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// A switch of either settings store (BackMusicOn, BackRangOn): on only when
// it reads "true", letter case folded.
inline bool SwitchIsOn(std::string_view value) {
    return EqualsIgnoringCase(value, "true");
}

}  // namespace pagora
