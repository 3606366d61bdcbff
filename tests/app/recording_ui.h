// A RunUi that records what the run asks of the person and answers the
// error prompt from a list (No when the list runs out).
#pragma once

#include <QStringList>
#include <functional>

#include "app/run_ui.h"

namespace tarquelas::testing {

class RecordingUi final : public RunUi {
 public:
  QStringList messages, prompts, opened, reports;
  QList<bool> busy;
  QList<bool> answers;
  Status reportStatus;
  Progress* progressSink = &noProgress();
  bool viewerStarts = true;
  QString pdf;  // where the vouchers would be written
  int waits = 0;
  std::function<void()> whileWaiting;  // unset: gives up waiting

  void showMessage(const QString& text) override { messages.append(text); }
  bool askContinue(const QString& description) override {
    prompts.append(description);
    return answers.isEmpty() ? false : answers.takeFirst();
  }
  bool openInViewer(const QString& path) override {
    opened.append(path);
    return viewerStarts;
  }
  Status showVoucherReport(const QString& auxPath) override {
    reports.append(auxPath);
    return reportStatus;
  }
  QString voucherOutput() const override { return pdf; }
  Progress& progress() override { return *progressSink; }
  void setBusy(bool on) override { busy.append(on); }
  bool waitForWorkFolder(const std::function<bool()>& tryAgain) override {
    ++waits;
    if (!whileWaiting) return false;
    whileWaiting();
    return tryAgain();
  }
};

// Cancels at the first report of stage.
class CancellingProgress final : public Progress {
 public:
  explicit CancellingProgress(Stage stage) : stage_(stage) {}
  bool report(Stage stage, qint64, qint64) override { return stage != stage_; }

 private:
  Stage stage_;
};

}  // namespace tarquelas::testing
