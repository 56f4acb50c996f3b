// The Song face the windows write in, with fallbacks so Chinese shows where SimSun is absent.
#pragma once

#include <QFont>

namespace dialogs {

// "宋体" (SimSun) at pixelSize. Where it is absent, Noto Serif CJK SC, a Song face whose own
// Latin letters and digits are legible ("l" is no "1") and share its line height, so a line
// with Chinese is as tall as one without; AR PL UMing CN last, whose Latin letters are not.
QFont SongFont(int pixelSize);

}  // namespace dialogs
