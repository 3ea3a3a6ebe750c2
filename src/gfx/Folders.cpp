#include "gfx/Folders.h"

#include <ftw.h>
#include <limits.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace pagora {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class WorkFolderOwner {
  public:
    ~WorkFolderOwner() { Remove(); }

    std::string Get() {
        std::lock_guard lock(mutex_);
        if (path_.empty())
            path_ = Make();
        return path_;
    }
    void Remove() {
        std::lock_guard lock(mutex_);
        if (!path_.empty())
            RemoveTree(path_);
        path_.clear();
    }

  private:
    static std::string Make() {
        std::string temp = Env("TMPDIR");
        if (temp.empty() || temp[0] != '/')
            temp = "/tmp";
        while (temp.size() > 1 && temp.back() == '/')
            temp.pop_back();
        std::string pattern = (temp == "/" ? "" : temp) + "/pagora-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        // mkdtemp makes the folder 0700 and never reuses an existing name.
        if (!mkdtemp(buffer.data()))
            throw FolderError("Cannot make a work folder in " + temp + ": " + std::strerror(errno));
        char canonical[PATH_MAX];
        if (!realpath(buffer.data(), canonical)) {
            int err = errno;
            rmdir(buffer.data());
            throw FolderError(std::string("Cannot resolve the work folder ") + buffer.data() +
                              ": " + std::strerror(err));
        }
        return canonical;
    }

    std::mutex mutex_;
    std::string path_;
};

WorkFolderOwner& Owner() {
    static WorkFolderOwner owner;  // destroyed at exit, taking the folder with it
    return owner;
}

int RemoveEntry(const char* path, const struct stat*, int type, struct FTW*) {
    if (type == FTW_DP)
        rmdir(path);
    else
        unlink(path);
    return 0;
}

}  // namespace

std::string WindowsFolder() {
    std::string config = Env("XDG_CONFIG_HOME");
    if (!config.empty() && config[0] == '/')
        return config;
    std::string home = Env("HOME");
    if (home.empty()) {
        if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
            home = pw->pw_dir;
    }
    if (home.empty())
        return "";
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    return home + "/.config";
}

std::string WorkFolder() {
    return Owner().Get();
}

void RemoveWorkFolder() {
    Owner().Remove();
}

void RemoveTree(const std::string& path) {
    // Depth first and physical: a link inside is removed, never followed.
    nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS | FTW_MOUNT);
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace pagora
