#pragma once

#include <string>

namespace pagora {

// The album's helper library is never loaded: an album is untrusted, and its "BaseFunction.dll"
// member is native code for another platform. Loading binds the same three services, built in,
// so that callers keep the load / call / free shape and its fallbacks.
// Any path binds the built-in services; returns true.
bool LoadHelperLibrary(const std::string& path);
void FreeHelperLibrary();

// A shooting time as text; "" when unbound or the value is no date in years 1..9999.
// The Chinese text is GBK bytes, like the album's own texts.
std::string ChineseDateText(double dateTime);
std::string EnglishDateText(double dateTime);
// "major.minor" of a Windows executable's file version; "0.00" when unbound or unreadable.
std::string FileVersionText(const std::string& fileName);

}  // namespace pagora
