#pragma once

#include <cstddef>
#include <string>

namespace pagora {

// An album name as an INI section name (registry.ini, Leafhall.ini): every byte
// outside printable ASCII (0x20..0x7E) and each of [ ] = ; % becomes %XX with
// upper-case hex digits. A name that needs none stays as it is; "" stays "".
std::string EscapeSectionName(const std::string& utf8Name);

// Album-derived text made safe as the start of a file name inside the work
// folder: "/", NUL and control characters (C0, DEL, C1) and bytes that are not
// UTF-8 become "_"; of two dots in a row the second becomes "_", so no ".."
// remains; "." alone becomes "_". At most kMaxFileNamePart bytes, cut between
// characters. "" stays "".
constexpr size_t kMaxFileNamePart = 200;
std::string SafeFileNamePart(const std::string& utf8Name);

}  // namespace pagora
