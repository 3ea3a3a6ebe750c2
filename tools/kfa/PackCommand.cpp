#include <map>

#include "Arguments.h"
#include "Commands.h"
#include "Files.h"
#include "archive/AlbumError.h"
#include "archive/AlbumWriter.h"
#include "archive/AtomicFile.h"
#include "archive/Gbk.h"
#include "archive/NameFold.h"

namespace kfa {
namespace {

int RunPack(const std::vector<std::string>& raw) {
    Arguments args(raw, {"-o", "--number"}, {});
    auto out = args.Value("-o");
    if (!out)
        throw UsageError("needs -o OUT");
    if (args.Positional().empty())
        throw UsageError("needs at least one file");

    std::map<std::string, int64_t> numbers;  // by folded GBK name
    for (const std::string& assignment : args.Values("--number")) {
        size_t eq = assignment.rfind('=');
        if (eq == std::string::npos || eq == 0)
            throw UsageError("--number takes MEMBER=N");
        numbers[pagora::FoldName(pagora::Utf8ToGbk(assignment.substr(0, eq)))] =
            ParseNumber(assignment.substr(eq + 1), "--number " + assignment.substr(0, eq),
                        INT64_MIN, INT64_MAX);
    }

    pagora::AtomicFile file(*out);
    pagora::AlbumWriter writer(file.Out(), 0);
    for (const std::string& path : args.Positional()) {
        std::string name = pagora::Utf8ToGbk(BaseName(path));
        auto number = numbers.find(pagora::FoldName(name));
        writer.Add(name, ReadWholeFile(path), number == numbers.end() ? 0 : number->second);
        if (number != numbers.end())
            numbers.erase(number);
    }
    if (!numbers.empty())
        throw UsageError("--number names \"" + pagora::GbkToUtf8(numbers.begin()->first) +
                         "\", which is not among the files");
    writer.Finish();
    file.Commit();
    return kSuccess;
}

}  // namespace

Command PackCommand() {
    return {"pack", "write an album container of the given files",
            "Usage: kfa pack -o OUT FILE... [--number MEMBER=N]...\n\n"
            "Writes a stand-alone album container holding each FILE as a member named by\n"
            "its file name (1 to 39 bytes in GBK). Members ending in jpg or mp3 are stored\n"
            "as they are, all others compressed.\n\n"
            "  -o OUT              the album to write (replaced only when complete)\n"
            "  --number MEMBER=N   the member's number (default 0)\n",
            RunPack};
}

}  // namespace kfa
