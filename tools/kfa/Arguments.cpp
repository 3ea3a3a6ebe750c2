#include "Arguments.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace kfa {

Arguments::Arguments(const std::vector<std::string>& args,
                     const std::vector<std::string>& valueOptions,
                     const std::vector<std::string>& flagOptions) {
    auto known = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    bool onlyPositional = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyPositional || arg.size() < 2 || arg[0] != '-') {
            positional_.push_back(arg);
        } else if (arg == "--") {
            onlyPositional = true;
        } else if (known(valueOptions, arg)) {
            if (i + 1 >= args.size())
                throw UsageError(arg + " needs a value");
            values_.emplace_back(arg, args[++i]);
        } else if (known(flagOptions, arg)) {
            flags_.push_back(arg);
        } else {
            throw UsageError("unknown option " + arg);
        }
    }
}

bool Arguments::Flag(const std::string& name) const {
    return std::find(flags_.begin(), flags_.end(), name) != flags_.end();
}

std::optional<std::string> Arguments::Value(const std::string& name) const {
    std::optional<std::string> found;
    for (const auto& [key, value] : values_)
        if (key == name)
            found = value;
    return found;
}

std::vector<std::string> Arguments::Values(const std::string& name) const {
    std::vector<std::string> found;
    for (const auto& [key, value] : values_)
        if (key == name)
            found.push_back(value);
    return found;
}

long long ParseNumber(const std::string& text, const std::string& what, long long min,
                      long long max) {
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE || value < min || value > max)
        throw UsageError(what + " must be a whole number from " + std::to_string(min) + " to " +
                         std::to_string(max) + ", not \"" + text + "\"");
    return value;
}

}  // namespace kfa
