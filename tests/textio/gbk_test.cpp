#include "textio/gbk.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QStringEncoder>

namespace {

QByteArray Hex(const char* hex) { return QByteArray::fromHex(hex); }

QString FromUcs4(char32_t cp) { return QString::fromUcs4(&cp, 1); }

TEST(Gbk, EveryDoubleByteCodeSurvivesDecodeThenEncode) {
  QByteArray file = "ASCII line\r\n";
  int codes = 0;
  QSet<char16_t> seen;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const QByteArray code = QByteArray().append(static_cast<char>(lead)).append(static_cast<char>(trail));
      const QString text = textio::DecodeGbk(code);
      ASSERT_EQ(text.size(), 1) << code.toHex().constData();
      ASSERT_NE(text[0].unicode(), 0xFFFD) << code.toHex().constData();
      ASSERT_FALSE(seen.contains(text[0].unicode())) << "two codes give one character";
      seen.insert(text[0].unicode());
      file += code;
      if (++codes % 64 == 0) file += "\r\n";
    }
  }
  file += "\x80 end";  // the euro sign is a single byte
  EXPECT_EQ(textio::EncodeText(textio::DecodeGbk(file)), file);
}

struct KnownCode {
  const char* name;
  char32_t character;
  const char* hex;
};
void PrintTo(const KnownCode& row, std::ostream* out) { *out << row.name; }

class GbkKnownCodes : public testing::TestWithParam<KnownCode> {};

TEST_P(GbkKnownCodes, EncodesToTheCodeAndBack) {
  const QString text = FromUcs4(GetParam().character);
  EXPECT_EQ(textio::EncodeText(text).toHex(), QByteArray(GetParam().hex));
  EXPECT_EQ(textio::DecodeGbk(Hex(GetParam().hex)), text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GbkKnownCodes,
    testing::Values(KnownCode{"Hanzi", U'中', "d6d0"},
                    KnownCode{"IdeographicSpace", U'\u3000', "a1a1"},
                    KnownCode{"EuroIsOneByte", U'€', "80"},
                    KnownCode{"FullwidthDigit", U'１', "a3b1"},
                    KnownCode{"EmojiTakesFourBytes", U'😀', "9439fc36"},
                    KnownCode{"LastPlaneTakesFourBytes", 0x10FFFF, "e3329a35"},
                    KnownCode{"HangulTakesFourBytes", U'가', "8237cf35"},
                    KnownCode{"ReplacementCharacter", 0xFFFD, "8431a437"},
                    // The radical that code page 936 keeps as private use at FE50 gets the
                    // private-use character's four-byte code; the private-use one keeps FE50.
                    KnownCode{"RadicalTakesFourBytes", U'\u2E81', "8336c934"},
                    KnownCode{"PrivateUseKeepsGbkCode", 0xE815, "fe50"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Gbk, EveryCharacterSurvivesEncodeThenDecodeWithoutQuestionMarks) {
  QString all;
  for (char32_t cp = 1; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp < 0xE000) continue;
    if (cp != U'?') all += QChar(static_cast<char16_t>(cp));
  }
  for (char32_t cp = 0x10000; cp <= 0x10FFFF; cp += 0x3FF) all += FromUcs4(cp);
  const QByteArray bytes = textio::EncodeText(all);
  EXPECT_FALSE(bytes.contains('?'));
  EXPECT_EQ(textio::DecodeGbk(bytes), all);
}

TEST(Gbk, CharactersOutsideGbkMatchTheSystemGb18030Encoder) {
  // Characters the system's GB18030 converter puts in its four-byte area.
  int checked = 0;
  for (char16_t ch : {u'À', u'ä', u'Ж', u'ש', u'ก', u'가', u'ｱ', u'☃'}) {
    QStringEncoder reference("GB18030");
    const QByteArray expected = reference.encode(QString(QChar(ch)));
    if (expected.size() != 4) continue;
    EXPECT_EQ(textio::EncodeText(QString(QChar(ch))), expected) << int(ch);
    ++checked;
  }
  EXPECT_GE(checked, 4);
}

struct Malformed {
  const char* name;
  const char* hex;
  const char16_t* expected;
};
void PrintTo(const Malformed& row, std::ostream* out) { *out << row.name; }

class GbkMalformed : public testing::TestWithParam<Malformed> {};

TEST_P(GbkMalformed, DecodesWithoutSwallowingTheNextCharacter) {
  EXPECT_EQ(textio::DecodeGbk(Hex(GetParam().hex)), QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GbkMalformed,
    testing::Values(Malformed{"LeadAtEnd", "4181", u"A\uFFFD"},
                    Malformed{"LeadBeforeLineFeed", "810a42", u"\uFFFD\nB"},
                    Malformed{"LeadBeforeDelete", "817f", u"\uFFFD\x7f"},
                    Malformed{"ByteFF", "ff41", u"\uFFFDA"},
                    Malformed{"TruncatedFourByte", "8130", u"\uFFFD0"},
                    Malformed{"FourByteBrokenThirdByte", "81304130", u"\uFFFD0A0"},
                    Malformed{"FourBytePastLastPlane", "e3329a36", u"\uFFFD"},
                    Malformed{"FourByteInTheGap", "8431a530", u"\uFFFD"}),
    [](const auto& info) { return std::string(info.param.name); });

struct SplitRow {
  const char* name;
  const char16_t* text;
  QStringList lines;
};
void PrintTo(const SplitRow& row, std::ostream* out) { *out << row.name; }

class SplitLines : public testing::TestWithParam<SplitRow> {};

TEST_P(SplitLines, Splits) {
  EXPECT_EQ(textio::SplitLines(QString::fromUtf16(GetParam().text)), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SplitLines,
    testing::Values(SplitRow{"Empty", u"", {""}},
                    SplitRow{"CrLf", u"a\r\nb", {"a", "b"}},
                    SplitRow{"LoneCr", u"a\rb", {"a", "b"}},
                    SplitRow{"LoneLf", u"a\nb", {"a", "b"}},
                    SplitRow{"TrailingBreak", u"a\n", {"a", ""}},
                    SplitRow{"LfCrIsTwoBreaks", u"a\n\rb", {"a", "", "b"}},
                    SplitRow{"CrCrLf", u"a\r\r\nb", {"a", "", "b"}},
                    SplitRow{"OnlyBreaks", u"\r\n\r\n", {"", "", ""}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
