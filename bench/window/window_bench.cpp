// Time from a solve button's click to the report drawn in the result box, 9999 items.
#include "app/frmmain.h"
#include "settings/exepath.h"

#include <QApplication>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextEdit>

#include <benchmark/benchmark.h>

namespace {

TFrmMain* window = nullptr;

// 9999 items of weights 1..100; a bag of 9998 slots and weight limit 250000, so the first
// button's pick holds thousands of items and its report runs to tens of thousands of lines.
QString LargestProblem() {
  QString text = QStringLiteral("9999\n9998\n250000\n");
  for (int i = 1; i <= 9999; ++i) {
    text += QString::number(i * 37 % 100 + 1) + QLatin1Char(',') +
            QString::number(i * 53 % 1000 + 1) + QLatin1Char('\n');
  }
  return text;
}

void ClickToReport(benchmark::State& state, QPushButton* TFrmMain::*button) {
  window->MemoSrc->setPlainText(LargestProblem());
  for (auto _ : state) {
    (window->*button)->click();
    // The report counts as standing once it has been laid out and painted.
    QApplication::processEvents();
    QPixmap shot = window->grab();
    benchmark::DoNotOptimize(shot);
  }
  state.counters["result_lines"] = window->MemoResult->document()->blockCount();
}

void BM_BitBtn1(benchmark::State& state) { ClickToReport(state, &TFrmMain::BitBtn1); }
void BM_BtnSolveMax(benchmark::State& state) { ClickToReport(state, &TFrmMain::BtnSolveMax); }
void BM_BtnCalcMaxWith1Data(benchmark::State& state) {
  ClickToReport(state, &TFrmMain::BtnCalcMaxWith1Data);
}

}  // namespace

BENCHMARK(BM_BtnSolveMax)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BtnCalcMaxWith1Data)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BitBtn1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  // The settings file goes to a temporary folder, not beside the benchmark.
  QTemporaryDir folder;
  settings::SetExecutablePath(folder.filePath(QStringLiteral("Trevana2023")).toStdString());
  TFrmMain mainWindow;
  mainWindow.show();
  window = &mainWindow;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
