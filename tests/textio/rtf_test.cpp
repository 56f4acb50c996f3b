#include "textio/rtf.h"
#include "textio/rtfcharsets.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>

#include <cstdlib>
#include <string>

namespace {

using textio::TextRun;

QString PlainText(const std::vector<TextRun>& runs) {
  QString text;
  for (const TextRun& run : runs) text += run.text;
  return text;
}

struct ReadRow {
  const char* name;
  std::string rtf;  // bytes as they stand in the file
  const char16_t* text;
};
void PrintTo(const ReadRow& row, std::ostream* out) { *out << row.name; }

class RtfReading : public testing::TestWithParam<ReadRow> {};

TEST_P(RtfReading, GivesTheText) {
  const auto& row = GetParam();
  const auto runs = textio::ReadRtf(QByteArray::fromStdString(row.rtf));
  ASSERT_TRUE(runs.has_value());
  EXPECT_EQ(PlainText(*runs), QString::fromUtf16(row.text));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RtfReading,
    testing::Values(
        ReadRow{"Plain", R"({\rtf1 hello})", u"hello"},
        ReadRow{"LastParEndsTheLastLine", R"({\rtf1 a\par b\par})", u"a\u2029b"},
        ReadRow{"TextAfterLastPar", R"({\rtf1 a\par b})", u"a\u2029b"},
        ReadRow{"EmptyLastLine", R"({\rtf1 a\par\par})", u"a\u2029"},
        ReadRow{"NoText", R"({\rtf1\ansi})", u""},
        ReadRow{"LineBreaksInsideParagraph", R"({\rtf1 a\line b})", u"a\u2028b"},
        ReadRow{"Tab", R"({\rtf1 a\tab b})", u"a\tb"},
        ReadRow{"FileLineEndsAreNoText", "{\\rtf1 a\r\nb\n}", u"ab"},
        ReadRow{"BackslashNewlineIsPar", "{\\rtf1 a\\\nb}", u"a\u2029b"},
        ReadRow{"HexInCodePage936", R"({\rtf1\ansi\ansicpg936 \'d6\'d0\'CE\'C4})", u"中文"},
        ReadRow{"CodePage936WithoutDeclaration", R"({\rtf1 \'d6\'d0})", u"中"},
        ReadRow{"RawGbkBytes", "{\\rtf1 \xd6\xd0}", u"中"},
        ReadRow{"HexInCodePage1252", R"({\rtf1\ansi\ansicpg1252 caf\'e9})", u"café"},
        ReadRow{"UnknownCodePageFallsBackTo936", R"({\rtf1\ansicpg99999 \'d6\'d0})", u"中"},
        ReadRow{"EscapedSpecials", R"({\rtf1 \\\{\}})", u"\\{}"},
        ReadRow{"HexSpecials", R"({\rtf1 \'5c\'7b\'7d})", u"\\{}"},
        ReadRow{"UnicodeSkipsOneFallback", R"({\rtf1 \u20013?x})", u"中x"},
        ReadRow{"UnicodeSkipsTwoFallbacks", R"({\rtf1\uc2 \u20013\'d6\'d0x})", u"中x"},
        ReadRow{"UnicodeWithoutFallback", R"({\rtf1\uc0 \u20013 x})", u"中x"},
        ReadRow{"FallbackCountsControlWords", R"({\rtf1\uc1 \u20013\tab x})", u"中x"},
        ReadRow{"FallbackEndsAtGroup", R"({\rtf1\uc3 \u20013{x}y})", u"中xy"},
        ReadRow{"NegativeUnicodeSurrogates", R"({\rtf1 \u-10179?\u-8704?})", u"😀"},
        ReadRow{"UcIsScopedToGroup", R"({\rtf1{\uc0 \u20013}\u25991?})", u"中文"},
        ReadRow{"FontTableSkipped", R"({\rtf1{\fonttbl{\f0\fnil Song;}}x})", u"x"},
        ReadRow{"ColourTableSkipped", R"({\rtf1{\colortbl;\red0\green0\blue0;}x})", u"x"},
        ReadRow{"StyleSheetSkipped", R"({\rtf1{\stylesheet{\s0 Normal;}}x})", u"x"},
        ReadRow{"InfoSkipped", R"({\rtf1{\info{\title T}{\author A}}x})", u"x"},
        ReadRow{"PictureSkipped", R"({\rtf1{\pict\pngblip 89504e47}x})", u"x"},
        ReadRow{"StarDestinationSkipped", R"({\rtf1{\*\unknown {nested} text}x})", u"x"},
        ReadRow{"FieldShowsItsResult",
                R"({\rtf1{\field{\*\fldinst HYPERLINK "u"}{\fldrslt link}}})", u"link"},
        ReadRow{"BinaryDataSkipped", R"({\rtf1 a\bin2 }{b})", u"ab"},
        ReadRow{"BinaryLongerThanFile", R"({\rtf1 a\bin99999 bcd})", u"a"},
        ReadRow{"UnknownWordIgnored", R"({\rtf1 \foo12 x\bar-3 y})", u"xy"},
        ReadRow{"DelimiterSpaceEaten", R"({\rtf1 \b  two})", u" two"},
        ReadRow{"SymbolWords", R"({\rtf1 \emdash\endash\bullet\lquote\rquote\~})",
                u"\u2014\u2013\u2022\u2018\u2019\u00a0"},
        ReadRow{"TextAfterDocumentIgnored", R"({\rtf1 a}b)", u"a"},
        ReadRow{"UnclosedDocumentLoads", R"({\rtf1 a\par b)", u"a\u2029b"},
        ReadRow{"UnclosedGroupsLoad", R"({\rtf1 a{\b b{\i c)", u"abc"},
        ReadRow{"TruncatedHexEscape", R"({\rtf1 a\')", u"a"},
        ReadRow{"HalfHexEscape", R"({\rtf1 a\'4)", u"a\u0004"},
        ReadRow{"BadHexEscapeKeepsText", R"({\rtf1 a\'zz})", u"azz"},
        ReadRow{"TrailingBackslash", R"({\rtf1 a\)", u"a"},
        ReadRow{"HugeNumbers", R"({\rtf1\fs99999999999999999999 a\u99999999999999 bc})", u"ac"},
        ReadRow{"UnicodeOutOfRangeIsNoText", R"({\rtf1 a\u65536?\u-32769?b})", u"ab"},
        ReadRow{"UnicodeZeroIsNoText", R"({\rtf1 a\u0?b})", u"ab"},
        // Each font's character set decides its bytes, as word processors write them.
        ReadRow{"ChineseFontInWesternDocument",
                R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1\fnil\fcharset134 SimSun;}}\f1\'d0\'c2\'b9\'a6\'c4\'dc\f0  ok})",
                u"新功能 ok"},
        ReadRow{"WesternFontInChineseDocument",
                R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0\fnil\fcharset134 \'cb\'ce\'cc\'e5;}{\f1\fswiss\fcharset0 Arial;}}\f1 Gr\'fcezi caf\'e9\f0 \'d6\'d0})",
                u"Grüezi café中"},
        ReadRow{"JapaneseRussianCzechThaiGreekFonts",
                R"({\rtf1\ansi{\fonttbl{\f1\fcharset128 MS Mincho;}{\f2\fcharset204 Arial;}{\f3\fcharset238 Arial CE;}{\f4\fcharset222 Tahoma;}{\f5\fcharset161 Arial Greek;}}\f1\'93\'fa\'96\'7b\f2\'d0\'f3\'f1\f3\'e8\f4\'a1\f5\'e1\'e2})",
                u"日本Русčกαβ"},
        ReadRow{"CodePageOutranksCharset",
                R"({\rtf1\ansicpg1252{\fonttbl{\f0\fcharset0\cpg936 X;}}\f0\'d6\'d0})", u"中"},
        ReadRow{"DefaultFontsCharset",
                R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fcharset134 SimSun;}}\'d6\'d0})", u"中"},
        ReadRow{"DoubleByteFontAfterDbch",
                R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset0 Times;}{\f1\fcharset134 SimSun;}}\loch\f0\hich\af0\dbch\af1 \'d6\'d0\loch  \'e9})",
                u"中 é"},
        ReadRow{"SymbolBulletAndGreek",
                R"({\rtf1{\fonttbl{\f3\froman\fcharset2 Symbol;}}{\f3\'b7}{\f3 abgW}{\f3\u-3913 ?})",
                u"•αβγΩ•"},
        ReadRow{"WingdingsMarks",
                R"({\rtf1{\fonttbl{\f2\fnil\fcharset2 Wingdings;}}\f2\'a7\'fc\'d8})", u"▪✓➢"},
        // Text in destinations: shown, or left out only to the end of its own group.
        ReadRow{"FieldResultMarkedOptional",
                R"({\rtf1{\field{\*\fldinst HYPERLINK "u"}{\*\fldrslt link}} after})", u"link after"},
        ReadRow{"StarInsideAGroupMeansNothing", R"({\rtf1 a\*\foo b{\b c \* d}e})", u"abc  de"},
        ReadRow{"UnknownOptionalDestinationToItsGroupEnd",
                R"({\rtf1{\*\unknown x{y}z}after{\b b}})", u"afterb"},
        ReadRow{"ParagraphNumberTextShown", R"({\rtf1{\pntext\f0 1.\tab}item})", u"1.\titem"},
        ReadRow{"ParagraphNumberDefinitionHidden", R"({\rtf1{\*\pn\pnlvlbody{\pntxta .}}x})", u"x"},
        ReadRow{"ListTextShown", R"({\rtf1{\listtext\pard\plain \u8226\'95\tab}one})", u"•\tone"},
        ReadRow{"UprTakesItsUnicodeTwin", R"({\rtf1{\upr{\'d6\'d0}{\*\ud{\u20013?}}}x})", u"中x"},
        ReadRow{"GbkStandInsAfterUnicode", R"({\rtf1\uc2 \u20013\'d6\'d0\uc1 \u8364\'80x})", u"中€x"},
        ReadRow{"ByteOrderMarkMakesTextUtf8", "\xEF\xBB\xBF{\\rtf1\\ansicpg936 \xE4\xB8\xAD}",
                u"中"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RtfReading, RefusesWhatIsNotRtf) {
  for (const char* bytes : {"", "hello", " {\\rtf1 x}", "{\\rt", "{\\RTF1 x}"}) {
    EXPECT_FALSE(textio::ReadRtf(bytes).has_value()) << bytes;
    EXPECT_FALSE(textio::LooksLikeRtf(bytes)) << bytes;
  }
  EXPECT_TRUE(textio::LooksLikeRtf("{\\rtf1"));
  EXPECT_TRUE(textio::LooksLikeRtf("\xEF\xBB\xBF{\\rtf1"));
}

TEST(RtfReading, NestingAsDeepAsMemoryAllows) {
  const auto nested = [](int depth) {
    QByteArray bytes = "{\\rtf1 ";
    bytes += QByteArray(depth - 1, '{') + "x" + QByteArray(depth - 1, '}') + "}";
    return bytes;
  };
  // A mail client's document nests 2,714 groups; far deeper ones load as well.
  for (const int depth : {2714, 100'000, textio::MaxRtfGroupDepth()}) {
    const auto runs = textio::ReadRtf(nested(depth));
    ASSERT_TRUE(runs.has_value()) << depth;
    EXPECT_EQ(PlainText(*runs), "x");
  }
  EXPECT_FALSE(textio::ReadRtf(nested(textio::MaxRtfGroupDepth() + 1)).has_value());
  // Unclosed all the way down: without running out of stack.
  EXPECT_TRUE(textio::ReadRtf("{\\rtf1 " + QByteArray(100'000, '{') + "y").has_value());
}

TEST(RtfReading, CharacterFormatsFollowGroups) {
  const auto runs = textio::ReadRtf(R"({\rtf1 a\b b\b0\i c{\fs40 d}e\plain f{\b1 g}h})");
  ASSERT_TRUE(runs.has_value());
  const std::vector<TextRun> expected = {
      {"a", false, false, 0}, {"b", true, false, 0},  {"c", false, true, 0},
      {"d", false, true, 40}, {"e", false, true, 0},  {"f", false, false, 0},
      {"g", true, false, 0},  {"h", false, false, 0},
  };
  EXPECT_EQ(*runs, expected);
}

TEST(RtfReading, EastAsianTextTakesTheAssociatedFormats) {
  // As one office suite writes CJK formats; a right-to-left \ab is for another script.
  const auto runs = textio::ReadRtf(
      R"({\rtf1\ansicpg936 {\dbch\ab\dbch \'b4\'d6\'cc\'e5}{\loch\b\loch Bold}{\rtlch\ab\ltrch x}{\afs40 \'d6\'d0y}{\b\ab0 \'d6\'d0z}})");
  ASSERT_TRUE(runs.has_value());
  const std::vector<TextRun> expected = {
      {"粗体Bold", true, false, 0}, {"x", false, false, 0}, {"中", false, false, 40},
      {"y中", false, false, 0},     {"z", true, false, 0},
  };
  EXPECT_EQ(*runs, expected);
}

TEST(RtfReading, DestinationsDoNotLeakFormats) {
  const auto runs = textio::ReadRtf(R"({\rtf1{\*\x \b}a{\fonttbl\i}b})");
  ASSERT_TRUE(runs.has_value());
  EXPECT_EQ(*runs, (std::vector<TextRun>{{"ab", false, false, 0}}));
}

// What the result box writes comes back the same, formats included.
struct RoundTripRow {
  const char* name;
  std::vector<TextRun> runs;
};
void PrintTo(const RoundTripRow& row, std::ostream* out) { *out << row.name; }

class RtfRoundTrip : public testing::TestWithParam<RoundTripRow> {};

TEST_P(RtfRoundTrip, ReadsBackWhatWasWritten) {
  const QByteArray rtf = textio::WriteRtf(GetParam().runs, QStringLiteral("宋体"), 23);
  for (char byte : rtf) ASSERT_GE(static_cast<signed char>(byte), 0) << "RTF is 7-bit";
  const auto runs = textio::ReadRtf(rtf);
  ASSERT_TRUE(runs.has_value());
  // A run written in the default size reads back with that size.
  std::vector<TextRun> expected = GetParam().runs;
  for (TextRun& run : expected)
    if (run.halfPoints == 0) run.halfPoints = 23;
  EXPECT_EQ(*runs, expected) << rtf.constData();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RtfRoundTrip,
    testing::Values(
        RoundTripRow{"Empty", {}},
        RoundTripRow{"OneLine", {{"4", false, false, 0}}},
        RoundTripRow{"ReportLines",
                     {{QStringLiteral("物品总数:\u20294\u2029最优值 Best Value: 26"), false,
                       false, 0}}},
        RoundTripRow{"EmptyLinesAtEnd", {{"a\u2029\u2029", false, false, 0}}},
        RoundTripRow{"OnlyEmptyLines", {{"\u2029", false, false, 0}}},
        RoundTripRow{"LeadingSpacesAfterBreak", {{"a\u2029  b\u2028 c", false, false, 0}}},
        RoundTripRow{"Specials", {{R"(\par {x} \'41 \u65?)", false, false, 0}}},
        RoundTripRow{"TabsAndControls", {{"a\tb\x01" "c", false, false, 0}}},
        RoundTripRow{"OutsideCodePage936",
                     {{QString::fromUtf16(u"한국어 😀 \u2E81 \uE815 €"), false, false, 0}}},
        RoundTripRow{"DigitsAfterFormatChange",
                     {{"1", false, false, 0}, {"2", true, false, 0}, {"3", true, true, 40},
                      {"4", false, false, 0}}},
        RoundTripRow{"FormatChangeAtLineBreak",
                     {{"a", false, false, 0}, {"\u2029b", true, false, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RtfWriting, DeclaresCodePage936AndTheSongFace) {
  const QByteArray rtf = textio::WriteRtf({{"中", false, false, 0}}, QStringLiteral("宋体"), 23);
  EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936")) << rtf.constData();
  EXPECT_TRUE(rtf.contains("\\fcharset134 \\'cb\\'ce\\'cc\\'e5;")) << rtf.constData();
  EXPECT_TRUE(rtf.contains("\\'d6\\'d0\\par")) << rtf.constData();
  EXPECT_TRUE(rtf.contains("\\fs23")) << rtf.constData();
}

TEST(RtfWriting, OneParPerLine) {
  const auto pars = [](const QByteArray& rtf) { return rtf.count("\\par\r\n"); };
  EXPECT_EQ(pars(textio::WriteRtf({{"a\u2029b\u2029c", false, false, 0}}, "F", 23)), 3);
  EXPECT_EQ(pars(textio::WriteRtf({{"a\u2029", false, false, 0}}, "F", 23)), 2);
  EXPECT_EQ(pars(textio::WriteRtf({}, "F", 23)), 0);
}

}  // namespace

namespace {

// Johab, decoded here on top of EUC-KR, against Python's own Johab codec over every two-byte
// code: the same character, or none where Python has none.
TEST(RtfCharsets, JohabAsPythonDecodesIt) {
  QProcess python;
  python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(
      "import sys\n"
      "for lead in range(0x84, 0xFA):\n"
      "  for trail in list(range(0x31, 0x7F)) + list(range(0x81, 0xFF)):\n"
      "    try: ch = bytes([lead, trail]).decode('johab')\n"
      "    except UnicodeDecodeError: ch = ''\n"
      "    print('%02x%02x %s' % (lead, trail, ' '.join('%04x' % ord(c) for c in ch)))\n")});
  if (!python.waitForFinished(60000) || python.exitCode() != 0) {
    if (std::getenv("CI") != nullptr) FAIL() << "python3 is missing";
    GTEST_SKIP() << "python3 is not there";
  }
  textio::rtf::CodePageDecoders decoders;
  int compared = 0;
  for (const QByteArray& line : python.readAllStandardOutput().split('\n')) {
    if (line.size() < 4) continue;
    const QByteArray bytes = QByteArray::fromHex(line.left(4));
    const QList<QByteArray> units = line.mid(5).split(' ');
    QString expected;
    for (const QByteArray& unit : units)
      if (!unit.isEmpty()) expected += QChar(static_cast<char16_t>(unit.toUInt(nullptr, 16)));
    const QString mine = decoders.Decode(1361, bytes);
    if (expected.size() == 1) {
      ++compared;
      EXPECT_EQ(mine, expected) << line.left(4).constData();
    } else {
      EXPECT_EQ(mine, QString(QChar::ReplacementCharacter)) << line.left(4).constData();
    }
  }
  EXPECT_GT(compared, 11172 + 4888);  // every syllable and every Hanja at least
}

// Formats as word processors write them, read into the runs' fields.
TEST(RtfReading, FormatsOfTheToolbar) {
  const auto runs = textio::ReadRtf(
      R"({\rtf1{\colortbl;\red255\green0\blue0;}\pard\qc\ul a\ulc1 b\ulnone c\par)"
      R"(\pard\qr\li720\ri-1\fi-360\cf1 d\cf9 e\cf0\uldb\strike f\plain g{\pard\qj h}\par}))");
  ASSERT_TRUE(runs.has_value());
  using textio::Alignment;
  using textio::Underline;
  const textio::ParagraphFormat centred{Alignment::kCenter, 0, 0, 0};
  const textio::ParagraphFormat right{Alignment::kRight, 720, -1, -360};
  const auto run = [](const char* text, Underline ul, bool strike, std::uint32_t color,
                      textio::ParagraphFormat paragraph) {
    TextRun r;
    r.text = QString::fromUtf8(text);
    r.underline = ul;
    r.strike = strike;
    r.shared = textio::SharedFormatIndex({color, paragraph});
    return r;
  };
  // \ulc is the underline's colour, no underline of its own; an unknown colour is the box's.
  const std::vector<TextRun> expected = {
      run("ab", Underline::kSingle, false, TextRun::kNoColor, centred),
      run("c\u2029", Underline::kNone, false, TextRun::kNoColor, centred),
      run("d", Underline::kNone, false, 0xFF0000, right),
      run("e", Underline::kNone, false, TextRun::kNoColor, right),
      run("f", Underline::kDouble, true, TextRun::kNoColor, right),
      run("gh", Underline::kNone, false, TextRun::kNoColor, right),
  };
  EXPECT_EQ(*runs, expected);

  // Paragraphs of one character format but different layouts stay apart, empty ones included.
  const auto layouts = textio::ReadRtf(R"({\rtf1\qc a\par\pard b\par\qr\par\par\pard\qc c})");
  ASSERT_TRUE(layouts.has_value());
  const textio::ParagraphFormat left{};
  const textio::ParagraphFormat rightOnly{Alignment::kRight, 0, 0, 0};
  EXPECT_EQ(*layouts, (std::vector<TextRun>{run("a\u2029", Underline::kNone, false, TextRun::kNoColor, centred),
                                            run("b\u2029", Underline::kNone, false, TextRun::kNoColor, left),
                                            run("\u2029\u2029", Underline::kNone, false, TextRun::kNoColor, rightOnly),
                                            run("c", Underline::kNone, false, TextRun::kNoColor, centred)}));
}

}  // namespace
