// The boxes' size targets: a 16 MiB file of each shape loaded into the box it is meant for,
// from reading the file until the box shows it and takes the next event. Each case runs in a process of its own, so its
// peak memory is its own; the table shows the peak beyond that of an empty window.
#include "app/boxcommands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextEdit>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr qsizetype kFileBytes = app::kMaxBoxFileBytes;

// Repeats piece up to the box's file limit.
QByteArray Filled(const QByteArray& head, const QByteArray& piece, const QByteArray& tail) {
  QByteArray bytes = head;
  bytes.reserve(kFileBytes);
  while (bytes.size() + piece.size() + tail.size() <= kFileBytes) bytes += piece;
  return bytes + tail;
}

QByteArray GbkLines() {
  // "物品 item" in code page 936, as a problem file's item lines with a note.
  return Filled({}, "1234,5678 \xce\xef\xc6\xb7 item\r\n", {});
}

QByteArray LongLines(int length) {
  QByteArray line(length, 'a');
  return Filled({}, line + "\r\n", {});
}

// A paragraph of ordinary words (five letters and a space) of the given length.
QByteArray Words(int length) {
  QByteArray text;
  while (text.size() + 6 <= length) text += "words ";
  return text + QByteArray(length - text.size(), 'w');
}

struct Case {
  const char* name;
  bool resultBox;
  std::function<QByteArray()> content;
};

const std::vector<Case> kCases = {
    {"input box, GBK text, 16 MiB", false, GbkLines},
    {"input box, lines of 10,000 chars", false, [] { return LongLines(10'000); }},
    {"input box, lines of 100,000 chars", false, [] { return LongLines(100'000); }},
    {"input box, lines of 1,000,000 chars", false, [] { return LongLines(1'000'000); }},
    {"result box, GBK text, 16 MiB", true, GbkLines},
    {"result box, RTF of empty paragraphs", true, [] { return Filled("{\\rtf1 ", "\\par\r\n", "}"); }},
    {"result box, RTF of 100,000-char paragraphs", true,
     [] { return Filled("{\\rtf1 ", QByteArray(100'000, 'p') + "\\par\r\n", "}"); }},
    {"result box, RTF of 100,000-char paragraphs of words", true,
     [] { return Filled("{\\rtf1 ", Words(100'000) + "\\par\r\n", "}"); }},
    {"result box, RTF of format changes", true,
     [] { return Filled("{\\rtf1 ", "\\b a\\b0\\i b\\i0\\fs30 c\\fs20 d\\par\r\n", "}"); }},
    {"result box, RTF of lines of 1,000,000 chars", true,
     [] { return Filled("{\\rtf1 ", QByteArray(1'000'000, 'p') + "\\par\r\n", "}"); }},
};

// Child: loads the file into a shown box and waits for its layout. Prints seconds, or the
// error message.
int RunCase(int argc, char** argv, const Case* c, const QString& path) {
  QApplication app(argc, argv);
  QWidget window;
  // The boxes as the window has them: their size, wrapping at their width, the vertical scroll
  // bar always shown (so that a long text is laid out once, not again when the bar appears).
  auto* input = new QPlainTextEdit(&window);
  input->setGeometry(0, 0, 345, 289);
  input->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* result = new QTextEdit(&window);
  result->setGeometry(360, 0, 417, 289);
  result->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  window.resize(800, 300);
  window.show();
  app.processEvents();
  if (c == nullptr) return 0;  // the empty window, for the baseline
  QElapsedTimer timer;
  timer.start();
  try {
    // Until the box shows the file and takes the next event.
    if (c->resultBox) {
      app::LoadResultBox(path, result);
    } else {
      app::LoadInputBox(path, input);
    }
    app.processEvents();
  } catch (const std::exception& error) {
    std::printf("%-48s refused: %s (%.2f s)", c->name, error.what(), timer.elapsed() / 1000.0);
    std::fflush(stdout);
    return 1;
  }
  std::printf("%-48s %6.2f s", c->name, timer.elapsed() / 1000.0);
  std::fflush(stdout);
  return 0;
}

constexpr unsigned kCaseSeconds = 120;

long PeakKilobytes(const std::function<int()>& child, const char* name = "") {
  std::fflush(stdout);
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(kCaseSeconds);  // a case that takes longer is reported as such
    _exit(child());
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  if (WIFSIGNALED(status)) {
    std::printf("%-48s > %u s (%s)", name, kCaseSeconds,
                WTERMSIG(status) == SIGALRM ? "stopped" : "crashed");
  }
  return usage.ru_maxrss;
}

}  // namespace

// bench_files [TEXT]: only the cases whose name holds TEXT.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  QTemporaryDir dir;
  const long baseline = PeakKilobytes([&] { return RunCase(argc, argv, nullptr, {}); });
  std::printf("Loading files into the boxes (offscreen; peak memory above an empty window of %ld MB)\n",
              baseline / 1024);
  for (const Case& c : kCases) {
    if (!QString::fromUtf8(c.name).contains(only)) continue;
    const QString path = dir.filePath(QStringLiteral("case.txt"));
    {
      QFile file(path);
      if (!file.open(QIODevice::WriteOnly) || file.write(c.content()) < 0) return 1;
    }
    const long peak = PeakKilobytes([&] { return RunCase(argc, argv, &c, path); }, c.name);
    std::printf("   %6ld MB\n", (peak - baseline) / 1024);
  }
  return 0;
}
