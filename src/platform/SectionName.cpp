#include "platform/SectionName.h"

#include <cstdint>
#include <string_view>

namespace pagora {
namespace {

// The length of the well-formed UTF-8 character at the start of text
// (shortest form, no surrogates, at most U+10FFFF), or 0.
size_t Utf8CharLength(std::string_view text) {
    auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    auto follows = [&](size_t i) { return i < text.size() && (byte(i) & 0xC0) == 0x80; };
    uint8_t b = byte(0);
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return follows(1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        if (!follows(1) || !follows(2))
            return 0;
        if ((b == 0xE0 && byte(1) < 0xA0) || (b == 0xED && byte(1) >= 0xA0))
            return 0;
        return 3;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (!follows(1) || !follows(2) || !follows(3))
            return 0;
        if ((b == 0xF0 && byte(1) < 0x90) || (b == 0xF4 && byte(1) >= 0x90))
            return 0;
        return 4;
    }
    return 0;
}

}  // namespace

std::string EscapeSectionName(const std::string& utf8Name) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(utf8Name.size());
    for (char c : utf8Name) {
        uint8_t b = static_cast<uint8_t>(c);
        bool plain =
            b >= 0x20 && b <= 0x7E && c != '[' && c != ']' && c != '=' && c != ';' && c != '%';
        if (plain) {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
    }
    return out;
}

std::string SafeFileNamePart(const std::string& utf8Name) {
    std::string out;
    std::string_view rest = utf8Name;
    while (!rest.empty()) {
        size_t length = Utf8CharLength(rest);
        std::string_view piece = rest.substr(0, length == 0 ? 1 : length);
        rest.remove_prefix(piece.size());
        uint8_t b = static_cast<uint8_t>(piece[0]);
        bool control = b < 0x20 || b == 0x7F ||
                       (length == 2 && b == 0xC2 && static_cast<uint8_t>(piece[1]) < 0xA0);  // C1
        if (length == 0 || control || b == '/' || (b == '.' && !out.empty() && out.back() == '.'))
            piece = "_";
        if (out.size() + piece.size() > kMaxFileNamePart)
            break;
        out += piece;
    }
    if (out == ".")
        out = "_";
    return out;
}

}  // namespace pagora
