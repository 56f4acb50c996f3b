#include "app/progressdialog.h"

#include "app/errordisplay.h"
#include "dialogs/songfont.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace app {
namespace {

constexpr int kRefreshMs = 100;
constexpr int kBarSteps = 1000;

QLabel* MakeNumber(QWidget* parent, const char* name) {
  auto* label = new QLabel(QStringLiteral("-"), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 16);
  return label;
}

QString Seconds(double seconds) { return QString::number(seconds, 'f', 1); }

}  // namespace

void ProgressMailbox::Post(const bagfunc::ExactProgress& progress) {
  const std::lock_guard lock(mutex_);
  latest_ = {true, progress.feasible, progress.totalValue, progress.upperBound};
}

ProgressMailbox::Numbers ProgressMailbox::Latest() const {
  const std::lock_guard lock(mutex_);
  return latest_;
}

TExactProgressDialog::TExactProgressDialog(QWidget* parent, const ProgressMailbox& mailbox,
                                           std::atomic<bool>& stop, double timeLimitSeconds)
    : QDialog(parent), mailbox_(mailbox), stop_(stop), timeLimitSeconds_(timeLimitSeconds) {
  setObjectName(QStringLiteral("ExactProgressDialog"));
  setWindowTitle(QString::fromUtf8(kApplicationTitle));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(dialogs::SongFont(15));

  heading_ = new QLabel(QStringLiteral("正在求精确最优解 Searching for the best packing…"), this);
  LblElapsed = MakeNumber(this, "LblElapsed");
  LblBestValue = MakeNumber(this, "LblBestValue");
  LblBound = MakeNumber(this, "LblBound");
  auto* numbers = new QFormLayout;
  numbers->addRow(QStringLiteral("已用时间 Elapsed (s):"), LblElapsed);
  numbers->addRow(QStringLiteral("目前最优价值 Best value so far:"), LblBestValue);
  numbers->addRow(QStringLiteral("最优价值上界 Upper bound:"), LblBound);

  timeBar_ = new QProgressBar(this);
  timeBar_->setTextVisible(false);
  // Without a time limit the bar only shows that the search is alive.
  timeBar_->setRange(0, timeLimitSeconds_ > 0 ? kBarSteps : 0);

  auto* note = new QLabel(
      QStringLiteral("停止后保留目前找到的最好装法。\nStopping keeps the best pick found so far."),
      this);
  BtnStop = new QPushButton(QStringLiteral("停止&Stop"), this);
  BtnStop->setObjectName(QStringLiteral("BtnStop"));
  BtnStop->setAutoDefault(true);
  BtnStop->setDefault(true);
  connect(BtnStop, &QPushButton::clicked, this, &TExactProgressDialog::RequestStop);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BtnStop);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading_);
  layout->addLayout(numbers);
  layout->addWidget(timeBar_);
  layout->addWidget(note);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  clock_.start();
  ticker_ = new QTimer(this);
  connect(ticker_, &QTimer::timeout, this, &TExactProgressDialog::Refresh);
  ticker_->start(kRefreshMs);
  Refresh();
}

void TExactProgressDialog::SearchEnded() {
  ended_ = true;
  ticker_->stop();
  accept();
}

void TExactProgressDialog::reject() {
  if (ended_) {
    QDialog::reject();
  } else {
    RequestStop();
  }
}

void TExactProgressDialog::RequestStop() {
  stop_ = true;
  BtnStop->setEnabled(false);
  heading_->setText(QStringLiteral("正在停止… Stopping…"));
}

void TExactProgressDialog::Refresh() {
  const double seconds = static_cast<double>(clock_.elapsed()) / 1000.0;
  QString elapsed = Seconds(seconds);
  if (timeLimitSeconds_ > 0) {
    elapsed += QStringLiteral(" / ") + Seconds(timeLimitSeconds_);
    timeBar_->setValue(static_cast<int>(std::min(1.0, seconds / timeLimitSeconds_) * kBarSteps));
  }
  LblElapsed->setText(elapsed);
  const ProgressMailbox::Numbers latest = mailbox_.Latest();
  if (!latest.known) return;
  LblBestValue->setText(latest.feasible ? QString::number(latest.value) : QStringLiteral("-"));
  LblBound->setText(QString::number(latest.bound));
}

}  // namespace app
