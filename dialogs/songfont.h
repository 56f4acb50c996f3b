// The Song face the windows write in, with fallbacks so Chinese shows where SimSun is absent.
#pragma once

#include <QFont>

namespace dialogs {

// "宋体" (SimSun) at pixelSize, falling back to the free AR PL UMing CN face.
QFont SongFont(int pixelSize);

}  // namespace dialogs
