// The one rule that tells a text file's encoding, and saving back in it.
#include "textio/gbk.h"
#include "textio/textfile.h"

#include <gtest/gtest.h>

namespace {

using textio::Encoding;

struct Row {
  const char* name;
  const char* hex;
  Encoding encoding;
  bool mark;
  const char16_t* text;  // nullptr: what the code page 936 decoder makes of the bytes
  bool sameBytesBack;  // encoding the text in the found format gives the bytes again
};
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class TextFileRule : public testing::TestWithParam<Row> {};

TEST_P(TextFileRule, FindsTheEncodingAndGivesTheBytesBack) {
  const Row& row = GetParam();
  const QByteArray bytes = QByteArray::fromHex(row.hex);
  const textio::DecodedText decoded = textio::DecodeFile(bytes);
  EXPECT_EQ(decoded.format, (textio::TextFormat{row.encoding, row.mark}));
  EXPECT_EQ(decoded.text, row.text ? QString::fromUtf16(row.text) : textio::DecodeGbk(bytes));
  if (row.sameBytesBack) {
    EXPECT_EQ(textio::EncodeFile(decoded.text, decoded.format).toHex(), bytes.toHex());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TextFileRule,
    testing::Values(
        Row{"Empty", "", Encoding::kGbk, false, u"", true},
        Row{"AsciiIsGbk", "340d0a33", Encoding::kGbk, false, u"4\r\n3", true},
        Row{"GbkChinese", "d6d00d0a", Encoding::kGbk, false, u"中\r\n", true},
        Row{"Gb18030FourByte", "9439fc36", Encoding::kGbk, false, u"😀", true},
        Row{"Utf8WithoutMark", "e4b8ad0d0a", Encoding::kUtf8, false, u"中\r\n", true},
        Row{"Utf8FourByte", "f09f9880", Encoding::kUtf8, false, u"😀", true},
        Row{"Utf8WithMark", "efbbbfe4b8ad", Encoding::kUtf8, true, u"中", true},
        Row{"Utf8MarkAlone", "efbbbf", Encoding::kUtf8, true, u"", true},
        Row{"MarkLaterIsAUtf8Character", "41efbbbf0d0a", Encoding::kUtf8, false, u"A\uFEFF\r\n", true},
        Row{"Utf16LeWithMark", "fffe2d4e0d000a00", Encoding::kUtf16Le, true, u"中\r\n", true},
        Row{"Utf16BeWithMark", "feff4e2d000d000a", Encoding::kUtf16Be, true, u"中\r\n", true},
        Row{"Utf16LoneSurrogateKept", "fffe00d84100", Encoding::kUtf16Le, true, u"\xD800" "A", true},
        Row{"Utf16OddLastByte", "fffe410042", Encoding::kUtf16Le, true, u"A\uFFFD", false},
        // Not UTF-8 after all: each is read as code page 936.
        Row{"OverlongUtf8IsGbk", "c0af", Encoding::kGbk, false, nullptr, true},
        Row{"EncodedSurrogateIsGbk", "eda080", Encoding::kGbk, false, nullptr, true},
        Row{"PastLastPlaneIsGbk", "f4908080", Encoding::kGbk, false, nullptr, true},
        Row{"CutUtf8AtEndIsGbk", "41e4b8", Encoding::kGbk, false, nullptr, true},
        Row{"Utf8ThenGbkIsGbk", "e4b8add6d041", Encoding::kGbk, false, nullptr, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
