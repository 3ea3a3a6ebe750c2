#pragma once

#include <optional>
#include <string>

namespace kfa {

// The viewer program: the one given, else the one beside kfa (for a kfa
// still in its build folder, the one that build made), else pagora on PATH.
// Throws UsageError listing the places looked at when there is none.
std::string FindViewer(const std::optional<std::string>& given);

}  // namespace kfa
