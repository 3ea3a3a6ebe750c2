#pragma once

#include <stdexcept>
#include <string>

namespace pagora {

// A folder the program cannot make or find.
class FolderError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The user's configuration folder ($XDG_CONFIG_HOME, else ~/.config), where
// the settings file lives; empty when neither can be found.
std::string WindowsFolder();

// This run's private folder for extracted members: made on first use as
// "pagora-XXXXXX" in $TMPDIR (else /tmp), mode 0700, canonical path without a
// trailing slash, and removed with its contents when the program ends. Other
// users and planted links in the shared temp folder cannot reach into it.
// Throws FolderError when it cannot be made.
std::string WorkFolder();

// Removes the work folder now (it is made afresh if asked for again). The
// normal end of the program does this by itself.
void RemoveWorkFolder();

// Removes a folder and everything in it without following links.
void RemoveTree(const std::string& path);

// True when the path names an entry of any kind; a link counts as itself.
bool FileExists(const std::string& path);

}  // namespace pagora
