// The pictures are pixel art in the classic 16-colour palette, one character a pixel, so they
// stay crisp at their native size and need no image files.
#include "dialogs/pictures.h"

#include <QBitmap>
#include <QImage>

#include <array>
#include <string_view>

namespace dialogs {
namespace {

struct PaletteEntry {
  char code;
  QRgb rgb;
};

// The 16 colours every picture is limited to, with the letter that stands for each in the art.
constexpr std::array<PaletteEntry, 16> kPalette{{
    {'k', 0xFF000000},  // black
    {'m', 0xFF800000},  // maroon
    {'g', 0xFF008000},  // green
    {'o', 0xFF808000},  // olive
    {'n', 0xFF000080},  // navy
    {'p', 0xFF800080},  // purple
    {'t', 0xFF008080},  // teal
    {'s', 0xFFC0C0C0},  // silver
    {'d', 0xFF808080},  // grey
    {'r', 0xFFFF0000},  // red
    {'l', 0xFF00FF00},  // lime
    {'y', 0xFFFFFF00},  // yellow
    {'b', 0xFF0000FF},  // blue
    {'.', 0xFFFF00FF},  // fuchsia: the background of the button pictures
    {'a', 0xFF00FFFF},  // aqua
    {'w', 0xFFFFFFFF},  // white
}};

int PaletteIndex(char code) {
  for (int i = 0; i < static_cast<int>(kPalette.size()); ++i) {
    if (kPalette[static_cast<std::size_t>(i)].code == code) return i;
  }
  return 13;  // an unknown letter falls back to the background rather than a stray colour
}

template <std::size_t Rows>
QImage ImageFromArt(const std::array<std::string_view, Rows>& art) {
  const int height = static_cast<int>(Rows);
  const int width = static_cast<int>(art[0].size());
  QImage image(width, height, QImage::Format_Indexed8);
  QList<QRgb> colours;
  for (const PaletteEntry& entry : kPalette) colours.append(entry.rgb);
  image.setColorTable(colours);
  for (int y = 0; y < height; ++y) {
    const std::string_view row = art[static_cast<std::size_t>(y)];
    for (int x = 0; x < width; ++x) {
      const char code = x < static_cast<int>(row.size()) ? row[static_cast<std::size_t>(x)] : '.';
      image.setPixel(x, y, static_cast<uint>(PaletteIndex(code)));
    }
  }
  return image;
}

// Every pixel of the bottom-left pixel's colour becomes transparent, wherever it lies.
QIcon GlyphFromArt(const std::array<std::string_view, 16>& art) {
  const QImage image = ImageFromArt(art);
  QPixmap pixmap = QPixmap::fromImage(image);
  const QRgb background = image.pixel(0, image.height() - 1);
  pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(background, Qt::MaskInColor)));
  return QIcon(pixmap);
}

constexpr std::array<std::string_view, 16> kNewArt{{
    "................",
    "..kkkkkkkk......",
    "..kwwwwwwkk.....",
    "..kwwwwwwksk....",
    "..kwwwwwwkwsk...",
    "..kwwwwwwkkkkk..",
    "..kwwwwwwwsssk..",
    "..kwwwwwwwwwsk..",
    "..kwwwwwwwwwsk..",
    "..kwwwwwwwwwsk..",
    "..kwwwwwwwwwsk..",
    "..kwwwwwwwwwsk..",
    "..kwwwwwwwwwsk..",
    "..kwwwwwwwwwsk..",
    "..kkkkkkkkkkkk..",
    "................",
}};

constexpr std::array<std::string_view, 16> kOpenArt{{
    "................",
    "..........kkk...",
    ".........k...k.k",
    "..............kk",
    ".kkk.........kkk",
    "kyyykkkkkk......",
    "kyoooooooyk.....",
    "kyoooooooyk.....",
    "kyoooookkkkkkkkk",
    "kyoookyyyyyyyyyk",
    "kyookyyyyyyyyyk.",
    "kyokyyyyyyyyyk..",
    "kykyyyyyyyyyk...",
    "kkyyyyyyyyyk....",
    "kkkkkkkkkkk.....",
    "................",
}};

constexpr std::array<std::string_view, 16> kSaveArt{{
    "................",
    ".kkkkkkkkkkkkkk.",
    ".knkwwwwwwwwknk.",
    ".knkwkkkkkkwknk.",
    ".knkwwwwwwwwknk.",
    ".knkwkkkkkkwknk.",
    ".knkwwwwwwwwknk.",
    ".knnkkkkkkkknnk.",
    ".knnnnnnnnnnnnk.",
    ".knnkkkkkkkknnk.",
    ".knnkssskkssknk.",
    ".knnkssskkssknk.",
    ".knnkssskkssknk.",
    ".knnkssssssskkk.",
    "..kkkkkkkkkkkkk.",
    "................",
}};

constexpr std::array<std::string_view, 16> kPrintArt{{
    "................",
    "....kkkkkkkk....",
    "....kwwwwwwk....",
    "....kwkkkkwk....",
    "....kwwwwwwk....",
    "..kkkwkkkkwkkk..",
    ".kssswwwwwwsssk.",
    "kwwwwwwwwwwwwsdk",
    "kssssssssssslsdk",
    "kssssssssssssdk.",
    "kdddddddddddddk.",
    "kkkkwwwwwwwkkkk.",
    "...kwkkkkwk.....",
    "...kwwwwwwk.....",
    "...kkkkkkkk.....",
    "................",
}};

// Two yellow capitals "TB", shadowed in navy, on a blue square with a dark rim.
constexpr std::array<std::string_view, 32> kIconArt{{
    "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn",
    "nbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbn",
    "nbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbn",
    "nbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbn",
    "nbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbn",
    "nbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbn",
    "nbbyyyyyyyyyyyybbyyyyyyyyybbbbbn",
    "nbbyyyyyyyyyyyynbyyyyyyyyyybbbbn",
    "nbbyyyyyyyyyyyynbyyyyyyyyyyyybbn",
    "nbbyyyyyyyyyyyynbyyyyyyyyyyyynbn",
    "nbbbnnnyyyynnnnnbyyyynnnnnyyynbn",
    "nbbbbbbyyyynbbbbbyyyynbbbbyyynbn",
    "nbbbbbbyyyynbbbbbyyyynbbbbyyynbn",
    "nbbbbbbyyyynbbbbbyyyynbbbbyyynbn",
    "nbbbbbbyyyynbbbbbyyyyyyyyyyyynbn",
    "nbbbbbbyyyynbbbbbyyyyyyyyyyynnbn",
    "nbbbbbbyyyynbbbbbyyyyyyyyyyyybbn",
    "nbbbbbbyyyynbbbbbyyyyyyyyyyyyybn",
    "nbbbbbbyyyynbbbbbyyyynnnnnnyyynn",
    "nbbbbbbyyyynbbbbbyyyynbbbbbyyynn",
    "nbbbbbbyyyynbbbbbyyyynbbbbbyyynn",
    "nbbbbbbyyyynbbbbbyyyynbbbbbyyynn",
    "nbbbbbbyyyynbbbbbyyyyyyyyyyyyynn",
    "nbbbbbbyyyynbbbbbyyyyyyyyyyyyynn",
    "nbbbbbbyyyynbbbbbyyyyyyyyyyyynnn",
    "nbbbbbbyyyynbbbbbyyyyyyyyyynnnbn",
    "nbbbbbbbnnnnbbbbbbnnnnnnnnnnbbbn",
    "nbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbn",
    "nbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbn",
    "nbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbn",
    "nbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbn",
    "nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn",
}};

}  // namespace

QImage ProgramIconImage() { return ImageFromArt(kIconArt); }
QPixmap ProgramIcon() { return QPixmap::fromImage(ProgramIconImage()); }

QIcon NewGlyph() { return GlyphFromArt(kNewArt); }
QIcon OpenGlyph() { return GlyphFromArt(kOpenArt); }
QIcon SaveGlyph() { return GlyphFromArt(kSaveArt); }
QIcon PrintGlyph() { return GlyphFromArt(kPrintArt); }

}  // namespace dialogs
