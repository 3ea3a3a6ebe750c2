#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kfa {

// A mistake in how the tool was called; reported with the command's usage.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Splits a command's arguments into positional ones and options. Options
// named in valueOptions take the next argument as their value and may repeat.
class Arguments {
  public:
    Arguments(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
              const std::vector<std::string>& flagOptions);

    const std::vector<std::string>& Positional() const { return positional_; }
    bool Flag(const std::string& name) const;
    std::optional<std::string> Value(const std::string& name) const;
    std::vector<std::string> Values(const std::string& name) const;

  private:
    std::vector<std::string> positional_;
    std::vector<std::pair<std::string, std::string>> values_;
    std::vector<std::string> flags_;
};

// A whole decimal number in [min, max], or a UsageError naming the option.
long long ParseNumber(const std::string& text, const std::string& what, long long min,
                      long long max);

}  // namespace kfa
