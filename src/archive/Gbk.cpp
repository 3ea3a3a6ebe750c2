#include "archive/Gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "archive/AlbumError.h"

namespace pagora {
namespace {

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw AlbumError(std::string("no text conversion from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; returns false at the first byte it cannot,
    // leaving in/left pointing at it.
    bool Convert(const char*& in, size_t& left, std::string& out) {
        std::vector<char> buffer(4 * left + 16);
        char* src = const_cast<char*>(in);
        char* dst = buffer.data();
        size_t room = buffer.size();
        size_t rc = iconv(cd_, &src, &left, &dst, &room);
        out.append(buffer.data(), dst - buffer.data());
        in = src;
        return rc != static_cast<size_t>(-1);
    }

  private:
    iconv_t cd_;
};

}  // namespace

std::string GbkToUtf8(const std::string& gbk) {
    Converter converter("UTF-8", "GBK");
    std::string out;
    const char* in = gbk.data();
    size_t left = gbk.size();
    while (left > 0 && !converter.Convert(in, left, out)) {
        out += "\xEF\xBF\xBD";
        // An invalid byte, or a lead byte cut off at the end: skip one byte.
        ++in;
        --left;
    }
    return out;
}

std::string Utf8ToGbk(const std::string& utf8) {
    Converter converter("GBK", "UTF-8");
    std::string out;
    const char* in = utf8.data();
    size_t left = utf8.size();
    if (!converter.Convert(in, left, out))
        throw AlbumError("text cannot be written in GBK: \"" + utf8 + "\"");
    return out;
}

std::string TruncateGbk(const std::string& gbk, size_t maxBytes) {
    size_t end = 0;
    while (end < gbk.size()) {
        size_t step = static_cast<unsigned char>(gbk[end]) >= 0x81 ? 2 : 1;
        if (end + step > maxBytes)
            break;
        end += step;
    }
    return gbk.substr(0, std::min(end, gbk.size()));
}

}  // namespace pagora
