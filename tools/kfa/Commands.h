#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kfa {

enum ExitStatus { kSuccess = 0, kMissingMember = 1, kUnreadable = 2 };

// A member named on the command line is not in the album.
class MissingMember : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Command {
    std::string Name;
    std::string Summary;
    std::string Usage;  // the full help text of the command
    std::function<int(const std::vector<std::string>&)> Run;
};

Command ListCommand();
Command ExtractCommand();
Command InfoCommand();
Command PackCommand();
Command MakeCommand();
Command BundleCommand();
Command ViewCommand();

}  // namespace kfa
