// The settings-file editor on file contents: what a read finds, and that a write changes
// nothing but the one value.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>

#include "settings/profile.h"

namespace {

// The editor on bytes in memory, served in pieces of a few bytes so that line breaks (a CR LF
// above all) fall across the reader's refills.
class PiecesSource : public settings::BytesSource {
 public:
  using BytesSource::BytesSource;
  std::size_t Read(std::span<char> buffer) override {
    return BytesSource::Read(buffer.first(std::min<std::size_t>(buffer.size(), 3)));
  }
};

std::string Read(const std::string& content) {
  PiecesSource source(content);
  return settings::ReadProfileString(source, "Setting", "bChinese");
}

std::string Write(const std::string& content, std::string_view value) {
  PiecesSource source(content);
  std::string written;
  settings::WriteProfileString(
      source, [&](std::string_view bytes) { written += bytes; }, "Setting", "bChinese", value);
  return written;
}

struct ReadRow {
  const char* name;
  std::string content;
  std::string value;
};

void PrintTo(const ReadRow& row, std::ostream* out) { *out << row.name; }

class ProfileRead : public testing::TestWithParam<ReadRow> {};

TEST_P(ProfileRead, FindsTheValue) {
  EXPECT_EQ(Read(GetParam().content), GetParam().value);
}

const ReadRow kReadRows[] = {
    {"EmptyFile", "", ""},
    {"Plain", "[Setting]\r\nbChinese=0\r\n", "0"},
    {"NamesInAnyCase", "[sEtTiNg]\nBCHINESE=x1\n", "x1"},
    {"BlanksAroundNamesAndValue", " \t[ Setting\t] \n \tbChinese \t=\t 0 1 \t\n", "0 1"},
    {"DoubleQuotesRemoved", "[Setting]\nbChinese=\"0\"\n", "0"},
    {"SingleQuotesRemoved", "[Setting]\nbChinese='0'\n", "0"},
    {"BlanksInsideQuotesKept", "[Setting]\nbChinese=\" 0 \"\n", " 0 "},
    {"MismatchedQuotesKept", "[Setting]\nbChinese=\"0'\n", "\"0'"},
    {"LoneQuoteKept", "[Setting]\nbChinese=\"\n", "\""},
    {"OnlyOuterQuotesRemoved", "[Setting]\nbChinese=\"'0'\"\n", "'0'"},
    {"EmptyValue", "[Setting]\nbChinese=\n", ""},
    {"SecondEqualsBelongsToValue", "[Setting]\nbChinese==0\n", "=0"},
    {"CommentedKeySkipped", "[Setting]\n;bChinese=0\n  ; bChinese=1\nbChinese=2\n", "2"},
    {"CommentedSectionSkipped", ";[Setting]\nbChinese=0\n", ""},
    {"FirstOfDuplicateKeysWins", "[Setting]\nbChinese=0\nbChinese=1\n", "0"},
    {"FirstOfDuplicateSectionsIsTheOne", "[Setting]\nother=1\n[Setting]\nbChinese=0\n", ""},
    {"KeyInAnotherSectionOnly", "[Other]\nbChinese=0\n[Setting]\nfoo=1\n", ""},
    {"KeyBeforeAnySection", "bChinese=0\n[Setting]\n", ""},
    {"SectionEndsAtNextSection", "[Setting]\n[Other]\nbChinese=0\n", ""},
    {"TextAfterSectionBracket", "[Setting] ; mine\nbChinese=0\n", "0"},
    {"UnclosedBracketIsNoSection", "[Setting]\n[Other\nbChinese=0\n", "0"},
    {"GarbageLinesSkipped", "[Setting]\n\xC9\xE8\xD6\xC3\nnonsense\nbChinese=0\n", "0"},
    {"KeyWithoutEqualsIsNoKey", "[Setting]\nbChinese\nbChinese=0\n", "0"},
    {"NoLineBreakAtEnd", "[Setting]\nbChinese=0", "0"},
    {"CarriageReturnsOnly", "[Other]\rbChinese=1\r[Setting]\rbChinese=0\r", "0"},
    {"ByteOrderMarkIgnored", "\xEF\xBB\xBF[Setting]\r\nbChinese=0\r\n", "0"},
    {"InlineCommentIsPartOfValue", "[Setting]\nbChinese=0 ; English\n", "0 ; English"},
    {"LongValueCut", "[Setting]\nbChinese=" + std::string(2047, '0') + "1\n",
     std::string(2047, '0')},
    {"ValueOfExactlyMaximumLengthKept", "[Setting]\nbChinese=" + std::string(2047, '7') + "\n",
     std::string(2047, '7')},
};

INSTANTIATE_TEST_SUITE_P(Rows, ProfileRead, testing::ValuesIn(kReadRows),
                         [](const auto& info) { return std::string(info.param.name); });

struct WriteRow {
  const char* name;
  std::string before;
  const char* value;
  std::string after;
};

void PrintTo(const WriteRow& row, std::ostream* out) { *out << row.name; }

class ProfileWrite : public testing::TestWithParam<WriteRow> {};

TEST_P(ProfileWrite, ChangesOnlyTheValue) {
  const auto& row = GetParam();
  const std::string written = Write(row.before, row.value);
  EXPECT_EQ(written, row.after);
  // Whatever the write did, a read must find what was written.
  EXPECT_EQ(Read(written), row.value);
}

const std::string kOtherLines =
    "; settings of the bag calculator\n"
    "[Window]\n"
    "bChinese=0\n"
    "Left = 10\n"
    "\n"
    "[Setting]\n"
    "Font=\xCB\xCE\xCC\xE5\n"  // GBK bytes stay bytes
    "  bChinese = 0  \n"
    "garbage line\n"
    "; end\n";

const WriteRow kWriteRows[] = {
    {"FromNothing", "", "1", "[Setting]\r\nbChinese=1\r\n"},
    {"FromNothingEnglish", "", "0", "[Setting]\r\nbChinese=0\r\n"},
    {"OtherLinesKeptWithLineFeeds", kOtherLines, "1",
     "; settings of the bag calculator\n[Window]\nbChinese=0\nLeft = 10\n\n[Setting]\n"
     "Font=\xCB\xCE\xCC\xE5\n  bChinese = 1  \ngarbage line\n; end\n"},
    {"SameValueGivesSameBytes", "[Setting]\r\nbChinese=1\r\n", "1",
     "[Setting]\r\nbChinese=1\r\n"},
    {"SpellingOfNamesKept", "[SETTING]\r\nBCHINESE=1\r\n", "0", "[SETTING]\r\nBCHINESE=0\r\n"},
    {"QuotedValueReplacedWhole", "[Setting]\nbChinese=\"0\"\n", "1", "[Setting]\nbChinese=1\n"},
    {"EmptyValueFilled", "[Setting]\nbChinese=\nx=1\n", "1", "[Setting]\nbChinese=1\nx=1\n"},
    {"BlankValueFilledRightAfterEquals", "[Setting]\nbChinese=  \n", "0",
     "[Setting]\nbChinese=0  \n"},
    {"OnlyFirstDuplicateKeyChanged", "[Setting]\nbChinese=1\nbChinese=1\n", "0",
     "[Setting]\nbChinese=0\nbChinese=1\n"},
    {"OnlyFirstDuplicateSectionChanged", "[Setting]\nx=1\n[Setting]\nbChinese=1\n", "0",
     "[Setting]\nx=1\nbChinese=0\n[Setting]\nbChinese=1\n"},
    {"KeyAddedAfterLastKeyOfSection", "[Setting]\nfoo=1\n\n; the window\n[Window]\nx=1\n", "1",
     "[Setting]\nfoo=1\nbChinese=1\n\n; the window\n[Window]\nx=1\n"},
    {"KeyAddedToEmptySection", "[Setting]\r\n[Window]\r\n", "0",
     "[Setting]\r\nbChinese=0\r\n[Window]\r\n"},
    {"KeyAddedBelowCommentedKey", "[Setting]\n;bChinese=0\n", "1",
     "[Setting]\nbChinese=1\n;bChinese=0\n"},
    {"KeyAddedAfterLastLineWithoutBreak", "[Setting]\nfoo=1", "1",
     "[Setting]\nfoo=1\nbChinese=1\n"},
    {"KeyAddedAfterSectionLineWithoutBreak", "[Setting]", "1", "[Setting]\r\nbChinese=1\r\n"},
    {"SectionAppendedWithFilesLineFeeds", "[Window]\nbChinese=0\n", "1",
     "[Window]\nbChinese=0\n[Setting]\nbChinese=1\n"},
    {"SectionAppendedAfterMissingFinalBreak", "[Window]\r\nx=1", "0",
     "[Window]\r\nx=1\r\n[Setting]\r\nbChinese=0\r\n"},
    {"SectionAppendedWithCarriageReturns", "[Window]\rx=1\r", "1",
     "[Window]\rx=1\r[Setting]\rbChinese=1\r"},
    {"SectionAppendedAfterCommentOnlyFile", "; nothing yet", "1",
     "; nothing yet\r\n[Setting]\r\nbChinese=1\r\n"},
    {"KeyBeforeAnySectionLeftAlone", "bChinese=0\n", "1", "bChinese=0\n[Setting]\nbChinese=1\n"},
    {"ByteOrderMarkKept", "\xEF\xBB\xBF[Setting]\r\nbChinese=0\r\n", "1",
     "\xEF\xBB\xBF[Setting]\r\nbChinese=1\r\n"},
    {"MixedBreaksUntouched", "[Setting]\r\nx=1\nbChinese=0\r\n", "1",
     "[Setting]\r\nx=1\nbChinese=1\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Rows, ProfileWrite, testing::ValuesIn(kWriteRows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
