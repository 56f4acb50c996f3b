// bagsolve from the outside: each row is one run with its arguments and standard input, and
// the exact bytes expected on standard output and standard error.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include "tests/cli/bagsolverun.h"

namespace {

const QByteArray kEcho =
    "待放入背包的物体的数量=4\nItems Count for Wait to bag=4\n背包的格数=3\nBag Items Count=3\n"
    "背包的最大重量=8\nMax bag Weight=8\nItem[1],Weight=1,value=22\nItem[2],Weight=3,value=4\n"
    "Item[3],Weight=5,value=6\nItem[4],Weight=7,value=8\n";
const QByteArray kStars = "*****************************\n";
const QByteArray kEquals = "================================\n";
const QByteArray kSolve = kEcho + kStars +
    "背包重量Weight=8\n背包重量Value=26\n"
    "背包中物体Item 1序号 Id =1\n背包中物体1序号重量ItemWeight=1\n背包中物体1序号价值ItemValue=22\n"
    "背包中物体Item 2序号 Id =2\n背包中物体2序号重量ItemWeight=3\n背包中物体2序号价值ItemValue=4\n" +
    kEquals + "背包中物体总重量Total Weights =4\n背包中物体总价值Total Value =26\n";
const QByteArray kMax = kEcho + kStars +
    "背包重量Weight=8\n背包重量Value=30\n"
    "背包中物体Item 1序号 Id =1\n背包中物体1序号重量ItemWeight=1\n背包中物体1序号价值ItemValue=22\n"
    "背包中物体Item 2序号 Id =4\n背包中物体2序号重量ItemWeight=7\n背包中物体2序号价值ItemValue=8\n" +
    kEquals + "背包中物体总重量Total Weights =8\n背包中物体总价值Total Value =30\n";
// The best packing of the sample is the pick of the second search, proven.
const QByteArray kBest = kMax + "最优价值上界Upper Bound =30\n已证明为最优解Proven Optimal\n";
const QByteArray kCompareHeader = "方法Variant\t价值Value\t重量Weight\t物体数Items\t占最优比例Share\n";
// The searches sum in 32 bits: their pair of items 1 and 2 "fits" with the weight wrapped to
// -2147483647 and is worth more than the best packing that truly fits.
const QByteArray kWrappingPair = "2\r\n2\r\n2147483647\r\n2147483647,10\r\n2,9\r\n";
const QByteArray kWrappingPairEcho =
    "待放入背包的物体的数量=2\nItems Count for Wait to bag=2\n背包的格数=2\nBag Items Count=2\n"
    "背包的最大重量=2147483647\nMax bag Weight=2147483647\n"
    "Item[1],Weight=2147483647,value=10\nItem[2],Weight=2,value=9\n";
// A negative weight limit: no set of items fits, not even the empty one.
const QByteArray kNoFit = "2\r\n2\r\n-1\r\n1,5\r\n2,6\r\n";
const QByteArray kNoFitEcho =
    "待放入背包的物体的数量=2\nItems Count for Wait to bag=2\n背包的格数=2\nBag Items Count=2\n"
    "背包的最大重量=-1\nMax bag Weight=-1\nItem[1],Weight=1,value=5\nItem[2],Weight=2,value=6\n";
// Three values of 2^31 - 1: the best packing's totals are exact, past 32 bits.
const QByteArray kThreeLargest =
    "3\r\n3\r\n10\r\n1,2147483647\r\n1,2147483647\r\n1,2147483647\r\n";
QByteArray ThreeLargestReport() {
  QByteArray report =
      "待放入背包的物体的数量=3\nItems Count for Wait to bag=3\n背包的格数=3\nBag Items Count=3\n"
      "背包的最大重量=10\nMax bag Weight=10\n";
  for (int i = 1; i <= 3; ++i) {
    report += "Item[" + QByteArray::number(i) + "],Weight=1,value=2147483647\n";
  }
  report += kStars + "背包重量Weight=10\n背包重量Value=6442450941\n";
  for (int i = 1; i <= 3; ++i) {
    const QByteArray n = QByteArray::number(i);
    report += "背包中物体Item " + n + "序号 Id =" + n + "\n背包中物体" + n + "序号重量ItemWeight=1\n"
              "背包中物体" + n + "序号价值ItemValue=2147483647\n";
  }
  return report + kEquals +
         "背包中物体总重量Total Weights =3\n背包中物体总价值Total Value =6442450941\n"
         "最优价值上界Upper Bound =6442450941\n已证明为最优解Proven Optimal\n";
}
const QByteArray kSampleCrLf = "4\r\n3\r\n8\r\n1,22\r\n3,4\r\n5,6\r\n7,8\r\n";

struct CliRow {
  const char* name;
  QStringList args;
  QByteArray input;
  int exitCode;
  QByteArray out;
  QByteArray err;
};

void PrintTo(const CliRow& row, std::ostream* out) { *out << row.name; }

class BagsolveRun : public testing::TestWithParam<CliRow> {};

TEST_P(BagsolveRun, WritesExactBytes) {
  const CliRow& row = GetParam();
  const ProcessResult run = Bagsolve(row.args, row.input);
  EXPECT_EQ(run.exitCode, row.exitCode);
  EXPECT_EQ(run.out.toStdString(), row.out.toStdString());
  EXPECT_EQ(run.err.toStdString(), row.err.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Rows, BagsolveRun, testing::ValuesIn(std::vector<CliRow>{
  {"SampleFileDefaultsToSolve", {SAMPLE_PATH}, {}, 0, kSolve, {}},
  {"StandardInput", {}, kSampleCrLf, 0, kSolve, {}},
  {"DashIsStandardInput", {"-"}, kSampleCrLf, 0, kSolve, {}},
  {"VariantMax", {"--variant", "max", SAMPLE_PATH}, {}, 0, kMax, {}},
  {"VariantMax1WithEquals", {"--variant=max1"}, kSampleCrLf, 0, kMax, {}},
  {"VariantSolveNamed", {"--variant", "solve", "--encoding", "utf-8"}, kSampleCrLf, 0, kSolve, {}},
  {"LoneCrAndLoneLf", {}, "4\r3\n8\r\n1,22\n3,4\r5,6\n7,8", 0, kSolve, {}},
  {"BadLine1KeepsEarlierLines", {}, "4\r\n3 \r\n8\r\n", 1,
   "待放入背包的物体的数量=4\nItems Count for Wait to bag=4\n",
   "'3 ' is not a valid integer value.\n"},
  {"EmptyInput", {}, {}, 1, {}, "'' is not a valid integer value.\n"},
  {"GbkInputQuotedInUtf8", {}, "4\r\n\xcf\xee\r\n", 1,
   "待放入背包的物体的数量=4\nItems Count for Wait to bag=4\n",
   "'项' is not a valid integer value.\n"},
  // Input files in the encodings editors save: read by the boxes' own rule.
  {"Utf8InputWithoutMark", {}, "4\r\n\xe9\xa1\xb9\r\n", 1,
   "待放入背包的物体的数量=4\nItems Count for Wait to bag=4\n",
   "'项' is not a valid integer value.\n"},
  {"Utf16LeInputWithMark", {}, QByteArray("\xff\xfe" "4\0\r\0\n\0\x79\x98", 10), 1,
   "待放入背包的物体的数量=4\nItems Count for Wait to bag=4\n",
   "'项' is not a valid integer value.\n"},
  {"GbkInputQuotedInGbk", {"--encoding", "gbk"}, "\xcf\xee", 1, {},
   "'\xcf\xee' is not a valid integer value.\n"},
  {"ControlCharactersEscaped", {}, "\x1b]0;owned\x07\x1b[2J\r\n", 1, {},
   "'\\x1B]0;owned\\x07\\x1B[2J' is not a valid integer value.\n"},
  {"NulInsideLineQuotedWhole", {}, QByteArray("2\0" "1", 3), 1, {},
   "'2\\x001' is not a valid integer value.\n"},
  {"LongLineQuotedShort", {}, QByteArray(1000000, 'a'), 1, {},
   "'" + QByteArray(200, 'a') + "…' is not a valid integer value.\n"},
  {"TooManyItems", {"--variant", "max"}, "10000\r\n1\r\n1\r\n", 1, {},
   "物体的数量不能超过9999 Items Count must not exceed 9999.\n"},
  {"MissingFile", {"/nonexistent/problem.txt"}, {}, 1, {},
   "Cannot open file /nonexistent/problem.txt.\n"},
  {"FolderIsNoFile", {"/"}, {}, 1, {}, "Cannot open file /.\n"},
  {"VariantBest", {"--variant", "best", SAMPLE_PATH}, {}, 0, kBest, {}},
  {"BestTimeLimitNone", {"--variant=best", "--time-limit", "0"}, kSampleCrLf, 0, kBest, {}},
  {"BestTimeLimitDecimal", {"--time-limit=2.5", "--variant", "best"}, kSampleCrLf, 0, kBest, {}},
  {"BestTotalsPast32Bits", {"--variant", "best"}, kThreeLargest, 0, ThreeLargestReport(), {}},
  {"BestNoFeasiblePick", {"--variant", "best"}, kNoFit, 0,
   kNoFitEcho + kStars + "背包重量Weight=-1\n背包重量Value=0\n" + kEquals +
       "背包中物体总重量Total Weights =0\n背包中物体总价值Total Value =0\n"
       "没有符合限制的装法No Feasible Pick\n", {}},
  {"CompareSample", {"--compare", SAMPLE_PATH}, {}, 0,
   kEcho + kCompareHeader + "solve\t26\t4\t2\t86.7%\nmax\t30\t8\t2\t100.0%\n"
       "max1\t30\t8\t2\t100.0%\nbest\t30\t8\t2\t100.0%\n", {}},
  {"CompareShareAbove100", {"--compare"}, kWrappingPair, 0,
   kWrappingPairEcho + kCompareHeader + "solve\t19\t-2147483647\t2\t190.0%\n"
       "max\t19\t-2147483647\t2\t190.0%\nmax1\t19\t-2147483647\t2\t190.0%\n"
       "best\t10\t2147483647\t1\t100.0%\n", {}},
  {"CompareNoFeasiblePick", {"--compare"}, kNoFit, 0,
   kNoFitEcho + kCompareHeader + "solve\t0\t0\t0\t-\nmax\t0\t0\t0\t-\nmax1\t0\t0\t0\t-\n"
       "best\t0\t0\t0\t-\n", {}},
  {"CompareBadLineKeepsEarlierLines", {"--compare"}, "4\r\n3 \r\n", 1,
   "待放入背包的物体的数量=4\nItems Count for Wait to bag=4\n",
   "'3 ' is not a valid integer value.\n"},
  // JSON or nothing: a failure writes no half-made JSON.
  {"JsonBadLinePrintsNoJson", {"--json", "--variant", "best"}, "4\r\n3 \r\n", 1, {},
   "'3 ' is not a valid integer value.\n"},
  {"CompareJsonTooManyItems", {"--compare", "--json"}, "10000\r\n1\r\n1\r\n", 1, {},
   "物体的数量不能超过9999 Items Count must not exceed 9999.\n"},
  {"JsonMissingFile", {"--json", "/nonexistent/problem.txt"}, {}, 1, {},
   "Cannot open file /nonexistent/problem.txt.\n"},
  {"JsonSearch", {"--json", "--variant", "max", SAMPLE_PATH}, {}, 0,
   "{\"variant\":\"max\",\"item_count\":4,\"slot_count\":3,\"max_weight\":8,\"items\":[1,4],"
   "\"total_weight\":8,\"total_value\":30}\n", {}},
  {"Version", {"--version"}, {}, 0, "bagsolve 2023.3\n", {}},
}), [](const testing::TestParamInfo<CliRow>& info) { return std::string(info.param.name); });

TEST(BagsolveGbk, ResultLinesInGbk) {
  const ProcessResult run = Bagsolve({"--encoding", "gbk", SAMPLE_PATH}, {});
  EXPECT_EQ(run.exitCode, 0);
  const QList<QByteArray> lines = run.out.split('\n');
  ASSERT_EQ(lines.size(), 23);  // 22 lines, each ended by a line feed
  EXPECT_EQ(lines[0].toStdString(),
            "\xb4\xfd\xb7\xc5\xc8\xeb\xb1\xb3\xb0\xfc\xb5\xc4\xce\xef\xcc\xe5\xb5\xc4\xca\xfd"
            "\xc1\xbf=4");
  EXPECT_EQ(lines[1].toStdString(), "Items Count for Wait to bag=4");
  EXPECT_EQ(lines[21].toStdString(),
            "\xb1\xb3\xb0\xfc\xd6\xd0\xce\xef\xcc\xe5\xd7\xdc\xbc\xdb\xd6\xb5Total Value =26");
  EXPECT_TRUE(lines[22].isEmpty());
  EXPECT_FALSE(run.out.contains('\r'));
}

struct UsageRow {
  const char* name;
  QStringList args;
};

void PrintTo(const UsageRow& row, std::ostream* out) { *out << row.name; }

class BagsolveUsage : public testing::TestWithParam<UsageRow> {};

TEST_P(BagsolveUsage, ExplainsOnStandardErrorAndSolvesNothing) {
  const ProcessResult run = Bagsolve(GetParam().args, kSampleCrLf);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.out.isEmpty());
  EXPECT_TRUE(run.err.startsWith("bagsolve: ")) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains("Usage: bagsolve")) << run.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, BagsolveUsage, testing::ValuesIn(std::vector<UsageRow>{
  {"UnknownOption", {"--fast"}},
  {"UnknownVariant", {"--variant", "fastest"}},
  {"CompareWithVariant", {"--compare", "--variant", "best"}},
  {"VariantWithCompare", {"--variant=solve", "--compare"}},
  {"TimeLimitWithoutValue", {"--time-limit"}},
  {"TimeLimitNegative", {"--time-limit", "-1"}},
  {"TimeLimitWord", {"--time-limit=ten"}},
  {"TimeLimitExponent", {"--time-limit", "1e3"}},
  {"TimeLimitInfinite", {"--time-limit", "inf"}},
  {"TimeLimitTrailingText", {"--time-limit", "5s"}},
  {"VariantWithoutValue", {"--variant"}},
  {"UnknownEncoding", {"--encoding=latin1"}},
  {"TwoFiles", {SAMPLE_PATH, SAMPLE_PATH}},
}), [](const testing::TestParamInfo<UsageRow>& info) { return std::string(info.param.name); });

TEST(BagsolveHelp, UsageOnStandardOutput) {
  const ProcessResult run = Bagsolve({"--help"}, {});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.out.startsWith("Usage: bagsolve"));
  EXPECT_TRUE(run.err.isEmpty());
}

// Output that cannot be written makes the run fail, whatever it was asked to print.
TEST(BagsolveOutput, FullDeviceIsAFailure) {
  for (const QStringList& args : {QStringList{SAMPLE_PATH}, QStringList{"--version"}}) {
    QProcess process;
    process.setStandardOutputFile("/dev/full");
    process.start(QStringLiteral(BAGSOLVE_PATH), args);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitCode(), 1) << args.join(' ').toStdString();
    EXPECT_EQ(process.readAllStandardError().toStdString(), "Cannot write to standard output.\n");
  }
}

// Input that cannot be read, or that never ends, gives a message and status 1, never an abort;
// reading stops at the window's limit, so not even an endless device fills the memory.
struct ShellRow {
  const char* name;
  const char* redirect;  // applied to bagsolve by the shell
  QStringList args;
  QByteArray err;
};

void PrintTo(const ShellRow& row, std::ostream* out) { *out << row.name; }

class BagsolveInput : public testing::TestWithParam<ShellRow> {};

TEST_P(BagsolveInput, FailsWithItsMessage) {
  const ShellRow& row = GetParam();
  QProcess process;
  process.start("/bin/sh", QStringList{"-c", QStringLiteral("exec \"$0\" \"$@\" ") + row.redirect,
                                       BAGSOLVE_PATH} + row.args);
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 1);
  EXPECT_TRUE(process.readAllStandardOutput().isEmpty());
  EXPECT_EQ(process.readAllStandardError().toStdString(), row.err.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Rows, BagsolveInput, testing::ValuesIn(std::vector<ShellRow>{
  {"FolderOnStandardInput", "< /", {}, "Cannot read standard input.\n"},
  {"ClosedStandardInput", "<&-", {}, "Cannot read standard input.\n"},
  {"ReadErrorInFile", "", {"/proc/self/mem"}, "Cannot open file /proc/self/mem.\n"},
  {"EndlessStandardInput", "< /dev/zero", {}, "Input is larger than 16 MiB.\n"},
  {"EndlessFile", "", {"/dev/zero"}, "Input is larger than 16 MiB.\n"},
}), [](const testing::TestParamInfo<ShellRow>& info) { return std::string(info.param.name); });

// The limit itself: 16 MiB is read and solved, one byte more is refused.
TEST(BagsolveInputLimit, SixteenMebibytesAndNoMore) {
  QByteArray input = kSampleCrLf;
  input.append(16 * 1024 * 1024 - input.size(), ' ');  // lines after the items are not read
  ProcessResult run = Bagsolve({}, input);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out.toStdString(), kSolve.toStdString());
  run = Bagsolve({}, input + ' ');
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.out.isEmpty());
  EXPECT_EQ(run.err.toStdString(), "Input is larger than 16 MiB.\n");
}

// The last item line the command can reach is read whatever follows it; lines past it are
// dropped unread (a file of nothing but line breaks would otherwise take a line each).
TEST(BagsolveInputLimit, LastReachableItemLineIsRead) {
  // 上 is U+4E0A: in UTF-16 one of its bytes is a line feed's, which must not count as one.
  QString text = "9999\r\n1\r\n1\r\n";
  for (int i = 1; i < 9999; ++i) text += "2,1上\r\n";
  text += "5,7\r\n" + QString(100000, '\r');
  QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
  for (const QByteArray& input : {text.toUtf8(), QByteArray(utf16.encode(text))}) {
    const ProcessResult run = Bagsolve({"--variant", "max1"}, input);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("\nItem[9998],Weight=2,value=1\nItem[9999],Weight=5,value=7\n"));
    EXPECT_TRUE(run.err.isEmpty());
  }
}

// A file name after "--" is a file even when it looks like an option.
TEST(BagsolveFiles, DoubleDashEndsOptions) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("--variant");
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(kSampleCrLf);
  file.close();
  QProcess process;
  process.setWorkingDirectory(dir.path());
  process.start(QStringLiteral(BAGSOLVE_PATH), {"--", "--variant"});
  ASSERT_TRUE(process.waitForFinished(20000));
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_EQ(process.readAllStandardOutput().toStdString(), kSolve.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
