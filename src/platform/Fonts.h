#pragma once

namespace pagora {

// Maps the family names the forms ask for to faces installed here (Debian's
// fonts-arphic-uming, fonts-wqy-zenhei, fonts-liberation):
//   宋体, SimSun      -> AR PL UMing CN, then WenQuanYi Zen Hei
//   MS Sans Serif    -> Liberation Sans, then WenQuanYi Zen Hei (for CJK)
//   Courier New      -> Liberation Mono, then WenQuanYi Zen Hei Mono
// Called once at start-up, before the first form; calling again changes
// nothing. Needs the QGuiApplication.
void InstallFontSubstitutions();

}  // namespace pagora
