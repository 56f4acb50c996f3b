// How a message quotes a line: control characters escaped, long lines cut, the rest as it is.
#include <gtest/gtest.h>

#include <string>

#include "base/quote.h"

namespace {

using namespace std::string_literals;

struct QuoteRow {
  const char* name;
  std::string line;
  std::string quoted;
};

void PrintTo(const QuoteRow& row, std::ostream* out) { *out << row.name; }

class LineQuote : public testing::TestWithParam<QuoteRow> {};

TEST_P(LineQuote, ShowsTheLineSafely) {
  EXPECT_EQ(bagfunc::QuotedLine(GetParam().line), GetParam().quoted);
}

std::string Repeated(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

INSTANTIATE_TEST_SUITE_P(Rows, LineQuote, testing::ValuesIn(std::vector<QuoteRow>{
  {"Empty", "", ""},
  {"PlainStaysAsItIs", "4 ", "4 "},
  {"TabStays", "\t8", "\t8"},
  {"ChineseStays", "项目", "项目"},
  {"FourByteCharacterStays", "😀", "😀"},
  {"TerminalTitleSequence", "\x1b]0;owned\x07", "\\x1B]0;owned\\x07"},
  {"NulDoesNotEndTheQuote", "2\0"s "1", "2\\x001"},
  {"LineBreaks", "4\r\n", "4\\x0D\\x0A"},
  {"Delete", "\x7f", "\\x7F"},
  {"C1ControlIntroducer", "\xc2\x9b" "2J", "\\x9B2J"},
  {"LastC1ControlAndFirstPrintable", "\xc2\x9f\xc2\xa0", "\\x9F\xc2\xa0"},
  {"StrayByte", "\xff" "4", "\\xFF4"},
  {"StrayContinuationByte", "\x80", "\\x80"},
  {"OverlongNul", "\xc0\x80", "\\xC0\\x80"},
  {"CutSequence", "\xe9\xa1", "\\xE9\\xA1"},
  {"Surrogate", "\xed\xa0\x80", "\\xED\\xA0\\x80"},
  {"AboveUnicode", "\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
  {"ExactlyTheLimit", std::string(200, 'a'), std::string(200, 'a')},
  {"OneOverTheLimit", std::string(201, 'a'), std::string(200, 'a') + "…"},
  {"CharactersNotBytes", Repeated("项", 200) + "x", Repeated("项", 200) + "…"},
  {"EscapedCountAsOneCharacter", std::string(300, '\0'), Repeated("\\x00", 200) + "…"},
  {"StrayBytesCountAsOneCharacter", std::string(201, '\xfe'), Repeated("\\xFE", 200) + "…"},
}), [](const testing::TestParamInfo<QuoteRow>& info) { return std::string(info.param.name); });

}  // namespace
