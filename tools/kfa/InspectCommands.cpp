#include <unistd.h>

#include <cstdio>
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>

#include "Arguments.h"
#include "Commands.h"
#include "archive/AlbumArchive.h"
#include "archive/AlbumError.h"
#include "archive/AlbumProfile.h"
#include "archive/AlbumSetupInfo.h"
#include "archive/ArchiveTrailer.h"
#include "archive/AtomicFile.h"
#include "archive/Gbk.h"
#include "archive/MemberNames.h"

namespace kfa {
namespace {

const char kBaseHelp[] =
    "  --base N   the container starts at byte N (default: as the trailer of the\n"
    "             file names it, else 0)\n";

std::unique_ptr<pagora::AlbumArchive> OpenAlbum(const std::string& path, const Arguments& args) {
    auto base = args.Value("--base");
    int64_t offset =
        base ? ParseNumber(*base, "--base", 0, INT64_MAX) : pagora::FindArchiveBase(path);
    return pagora::AlbumArchive::OpenAt(path, offset);
}

std::string JsonString(const std::string& utf8) {
    std::ostringstream out;
    out << '"';
    for (unsigned char c : utf8) {
        switch (c) {
            case '"':
                out << "\\\"";
                break;
            case '\\':
                out << "\\\\";
                break;
            case '\n':
                out << "\\n";
                break;
            case '\r':
                out << "\\r";
                break;
            case '\t':
                out << "\\t";
                break;
            default:
                if (c < 0x20)
                    out << "\\u" << std::hex << std::setw(4) << std::setfill('0') << int(c)
                        << std::dec;
                else
                    out << c;
        }
    }
    out << '"';
    return out.str();
}

std::string ColorText(int32_t windowsColor) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", windowsColor & 0xFF,
                  (windowsColor >> 8) & 0xFF, (windowsColor >> 16) & 0xFF);
    return text;
}

int RunList(const std::vector<std::string>& raw) {
    Arguments args(raw, {"--base"}, {});
    if (args.Positional().size() != 1)
        throw UsageError("expects one album");
    auto album = OpenAlbum(args.Positional()[0], args);
    for (const pagora::ArchiveEntry& e : album->DirectoryOrder()) {
        std::cout << pagora::GbkToUtf8(e.Name) << '\t' << e.Number << '\t' << e.StoredLength << '\t'
                  << (pagora::AlbumArchive::IsRawName(e.Name) ? "raw" : "zlib") << '\n';
    }
    return kSuccess;
}

int RunExtract(const std::vector<std::string>& raw) {
    Arguments args(raw, {"--base", "-o"}, {});
    if (args.Positional().size() != 2)
        throw UsageError("expects an album and a member");
    auto album = OpenAlbum(args.Positional()[0], args);
    const std::string& member = args.Positional()[1];
    std::string name;
    try {
        name = pagora::Utf8ToGbk(member);
    } catch (const pagora::AlbumError&) {
        // No member can have a name GBK cannot write.
    }
    if (name.empty() || !album->Contains(name))
        throw MissingMember("no member \"" + member + "\" in " + album->Path());
    if (auto out = args.Value("-o")) {
        pagora::AtomicFile file(*out);
        album->ExtractToStream(name, file.Out());
        file.Commit();
    } else {
        auto content = album->Extract(name);
        std::cout.write(reinterpret_cast<const char*>(content->data()), content->size());
        std::cout.flush();
        if (!std::cout)
            throw std::runtime_error("cannot write to standard output");
    }
    return kSuccess;
}

struct AlbumFacts {
    int64_t Base;
    int32_t Members;
    std::optional<pagora::ProfileMember> Profile;
    std::unique_ptr<pagora::TAlbumSetupInfo1_1> Setup;
    pagora::MemoryStream SetupStream;
};

void PrintText(const AlbumFacts& f) {
    std::cout << "base: " << f.Base << "\nmembers: " << f.Members << "\n";
    if (f.Profile) {
        const pagora::AlbumProfile& p = f.Profile->Profile;
        std::cout << "pages: " << p.PageCount << "\npictures: " << p.PictureCount
                  << "\nname: " << pagora::GbkToUtf8(p.AlbumName) << "\nmusic:";
        for (const std::string& m : f.Profile->PlayOrder())
            std::cout << ' ' << pagora::GbkToUtf8(m);
        std::cout << "\npassword: " << (p.Password.empty() ? "no" : "yes") << "\n";
    } else {
        std::cout << "profile: none\n";
    }
    if (f.Setup) {
        const auto& s = *f.Setup;
        std::cout << "setup: version " << int(s.StoredVersion()) << ", turn time " << s.TurnTime
                  << " ms, stay time " << s.StayTime << " ms, show info "
                  << (s.ShowInfo ? "yes" : "no") << ", back colour " << ColorText(s.BackColor)
                  << "\n";
    } else {
        std::cout << "setup: none\n";
    }
}

void PrintJson(const AlbumFacts& f) {
    std::cout << "{\"base\": " << f.Base << ", \"members\": " << f.Members << ", \"profile\": ";
    if (f.Profile) {
        const pagora::AlbumProfile& p = f.Profile->Profile;
        std::cout << "{\"pageCount\": " << p.PageCount << ", \"pictureCount\": " << p.PictureCount
                  << ", \"albumName\": " << JsonString(pagora::GbkToUtf8(p.AlbumName))
                  << ", \"music\": [";
        const char* separator = "";
        for (const std::string& m : f.Profile->PlayOrder()) {
            std::cout << separator << JsonString(pagora::GbkToUtf8(m));
            separator = ", ";
        }
        std::cout << "], \"hasPassword\": " << (p.Password.empty() ? "false" : "true") << "}";
    } else {
        std::cout << "null";
    }
    std::cout << ", \"setup\": ";
    if (f.Setup) {
        const auto& s = *f.Setup;
        std::cout << "{\"version\": " << int(s.StoredVersion()) << ", \"turnTime\": " << s.TurnTime
                  << ", \"stayTime\": " << s.StayTime
                  << ", \"showInfo\": " << (s.ShowInfo ? "true" : "false")
                  << ", \"backColor\": " << JsonString(ColorText(s.BackColor)) << "}";
    } else {
        std::cout << "null";
    }
    std::cout << "}\n";
}

int RunInfo(const std::vector<std::string>& raw) {
    Arguments args(raw, {"--base"}, {"--json"});
    if (args.Positional().size() != 1)
        throw UsageError("expects one album");
    auto album = OpenAlbum(args.Positional()[0], args);
    AlbumFacts facts{album->Base(), album->MemberCount(), std::nullopt, nullptr, {}};
    if (auto bytes = album->Extract(pagora::kProfileMember))
        facts.Profile = pagora::ReadProfile(*bytes);
    if (album->ExtractToStream(pagora::kSetupMember, facts.SetupStream)) {
        facts.Setup = std::make_unique<pagora::TAlbumSetupInfo1_1>(&facts.SetupStream);
        facts.Setup->Load();
    }
    if (args.Flag("--json"))
        PrintJson(facts);
    else
        PrintText(facts);
    return kSuccess;
}

}  // namespace

Command ListCommand() {
    return {"list", "one line per member: name, number, stored length, raw|zlib",
            std::string("Usage: kfa list ALBUM [--base N]\n\n"
                        "Prints one line per member in directory order:\n"
                        "NAME<TAB>NUMBER<TAB>STORED_LENGTH<TAB>raw|zlib (names in UTF-8).\n\n") +
                kBaseHelp,
            RunList};
}

Command ExtractCommand() {
    return {"extract", "a member's content to a file or standard output",
            std::string("Usage: kfa extract ALBUM MEMBER [-o FILE] [--base N]\n\n"
                        "Writes the member's content to FILE, or to standard output.\n"
                        "MEMBER is looked up without regard to letter case.\n\n"
                        "  -o FILE    write to FILE (created only when the member exists)\n") +
                kBaseHelp,
            RunExtract};
}

Command InfoCommand() {
    return {"info", "the container, the album profile and the setup record",
            std::string("Usage: kfa info ALBUM [--json] [--base N]\n\n"
                        "Prints the container's base offset and member count, the profile\n"
                        "(pages, pictures, name, music in play order, whether a password is\n"
                        "set) and the setup record.\n\n"
                        "  --json     print one JSON object\n") +
                kBaseHelp,
            RunInfo};
}

}  // namespace kfa
