#include "Viewer.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "Arguments.h"

namespace kfa {
namespace {

namespace fs = std::filesystem;

constexpr const char* kViewerName = "pagora";

bool IsProgram(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

// In the build folder the viewer lies elsewhere than beside kfa.
std::optional<fs::path> BuildFolderViewer(const fs::path& self) {
#if defined(PAGORA_VIEWER_PATH) && defined(PAGORA_KFA_PATH)
    std::error_code error;
    if (fs::equivalent(self, PAGORA_KFA_PATH, error))
        return fs::path(PAGORA_VIEWER_PATH);
#else
    (void)self;
#endif
    return std::nullopt;
}

}  // namespace

std::string FindViewer(const std::optional<std::string>& given) {
    if (given) {
        if (given->empty())
            throw UsageError("--viewer needs a program");
        return *given;
    }
    std::vector<fs::path> tried;
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (!error) {
        if (auto built = BuildFolderViewer(self))
            tried.push_back(*built);
        tried.push_back(self.parent_path() / kViewerName);
    }
    if (const char* path = std::getenv("PATH")) {
        std::string folders = path;
        for (size_t from = 0; from <= folders.size();) {
            size_t colon = folders.find(':', from);
            if (colon == std::string::npos)
                colon = folders.size();
            // Empty and relative entries name the current folder, no place to pick programs from.
            fs::path folder = folders.substr(from, colon - from);
            if (folder.is_absolute())
                tried.push_back(folder / kViewerName);
            from = colon + 1;
        }
    }
    std::string looked;
    for (const fs::path& candidate : tried) {
        if (IsProgram(candidate))
            return candidate.string();
        looked += (looked.empty() ? "" : ", ") + candidate.string();
    }
    throw UsageError("no viewer found (looked at " + looked + "); give one with --viewer PATH");
}

}  // namespace kfa
