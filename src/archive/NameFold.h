#pragma once

#include <string>
#include <string_view>

namespace pagora {

// Member names compare with ASCII letters folded to lower case; every other
// byte, both bytes of a double-byte character included, stays as it is.
inline std::string FoldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

// Byte-wise unsigned comparison of two folded names; a prefix is the smaller.
inline int CompareFolded(std::string_view a, std::string_view b) {
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace pagora
