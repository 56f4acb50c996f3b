#include "dialogs/songfont.h"

#include <QStringList>

namespace dialogs {

QFont SongFont(int pixelSize) {
  QFont font;
  font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                    QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN")});
  font.setPixelSize(pixelSize);
  font.setWeight(QFont::Normal);
  font.setStyle(QFont::StyleNormal);
  return font;
}

}  // namespace dialogs
