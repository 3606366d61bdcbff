#include "app/batch.h"

#include <QFileInfo>
#include <QThread>

#include "app/processing_run.h"
#include "app/recognition.h"
#include "support/app_directory.h"
#include "support/cp1252.h"
#include "support/text_file.h"
#include "voucher_report/symbology_setting.h"
#include "voucher_report/voucher_report.h"
#include "widgets/page_printing.h"

namespace tarquelas {

namespace {

// A message box's text as lines of a terminal. Its pieces (separated by
// CR) hold file data already made printable.
QString asLines(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

class BatchUi final : public RunUi {
 public:
  // An empty pdfPath writes no PDF; an empty printQueue prints nothing.
  BatchUi(QString pdfPath, QString printQueue, QString symbology, QTextStream& err)
      : pdfPath_(std::move(pdfPath)),
        printQueue_(std::move(printQueue)),
        symbology_(std::move(symbology)),
        err_(err) {}

  void showMessage(const QString& text) override { err_ << asLines(text) << '\n'; }

  bool askContinue(const QString& description) override {
    err_ << asLines(errorPromptText(description)) << " No\n";
    return false;
  }

  // No viewer: the outputs are named on standard output instead.
  bool openInViewer(const QString& path) override {
    opened_.append(path);
    return true;
  }

  Status showVoucherReport(const QString& auxPath) override {
    VoucherReport::BuildResult built = VoucherReport::build(auxPath, progress());
    if (!built.status.isOk()) return built.status;
    const report::SymbologySetting setting = symbology();
    if (!setting.status.isOk()) return setting.status;
    built.report->setBarCodeSymbology(setting.symbology);
    if (!printQueue_.isEmpty()) {
      const Status printed = printToQueue(*built.report, printQueue_, progress());
      if (!printed.isOk()) return printed;
      printed_ = true;
      if (pdfPath_.isEmpty()) return printed;
    }
    Status written = built.report->writePdf(pdfPath_, progress());
    pdfWritten_ = written.isOk();
    return written;
  }

  Progress& progress() override { return noProgress(); }
  void setBusy(bool) override {}

  bool waitForWorkFolder(const std::function<bool()>& tryAgain) override {
    err_ << waitingMessage() << '\n';
    err_.flush();
    while (!tryAgain()) QThread::msleep(kWaitStepMs);
    return true;
  }

  QString voucherOutput() const override { return pdfPath_; }
  bool pdfWritten() const { return pdfWritten_; }
  bool printed() const { return printed_; }
  const QString& printQueue() const { return printQueue_; }
  const QStringList& opened() const { return opened_; }

 private:
  static constexpr int kWaitStepMs = 200;

  // The option's symbology, else the settings file's.
  report::SymbologySetting symbology() const {
    if (symbology_.isEmpty()) return report::configuredSymbology();
    return {Status::ok(), report::symbologyNamed(symbology_).value_or(report::Symbology::Code128)};
  }

  QString pdfPath_;
  QString printQueue_;
  QString symbology_;
  QTextStream& err_;
  bool pdfWritten_ = false;
  bool printed_ = false;
  QStringList opened_;
};

// The error list after the message that named its file.
void printErrorFile(const QString& path, QTextStream& err) {
  const LinesResult read = readAllLines(path);
  for (const QByteArray& line : read.lines) err << printable(fromCp1252(line)) << '\n';
}

// One line for each file the run made, after the summary.
void printOutputs(const BatchUi& ui, const RunRequest& request, QTextStream& out) {
  if (ui.printed()) out << QStringLiteral("Impresos en la cola: ") << printable(ui.printQueue()) << '\n';
  if (ui.pdfWritten()) out << QStringLiteral("Comprobantes: ") << printablePath(ui.voucherOutput()) << '\n';
  if (ui.opened().contains(request.paths.padron)) {
    out << QStringLiteral("Padrón: ") << printablePath(request.paths.padron) << '\n';
  }
}

// A voucher file without vouchers leaves no PDF at all, so an earlier one
// cannot pass for this run's. Only a plain file (or a link to one) goes.
void removeEarlierPdf(const QString& pdf) {
  if (QFileInfo(pdf).isFile()) (void)removeIfExists(pdf);
}

int exitStatusOf(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::Finished:
    case RunOutcome::NoVouchers: return kExitProcessed;
    case RunOutcome::Rejected: return kExitRejected;
    case RunOutcome::Failed:
    case RunOutcome::Cancelled: break;
  }
  return kExitFailure;
}

}  // namespace

int runBatch(const BatchOptions& options, QTextStream& out, QTextStream& err) {
  // Before the run deletes or writes anything.
  if (!options.printQueue.isEmpty()) {
    if (const QString missing = missingQueueDescription(options.printQueue); !missing.isEmpty()) {
      err << missing << '\n';
      return kExitFailure;
    }
  }
  const Recognition recognition = recognizeFile(options.presentationPath);
  if (recognition.outcome != Recognition::Outcome::Recognised) {
    err << missingFileMessage(options.presentationPath) << '\n';
    return kExitFailure;
  }
  out << summaryForDisplay(recognition.summary);
  out.flush();

  RunRequest request;
  request.presentationPath = options.presentationPath;
  request.paths = WorkPaths::inDirectory(options.directory.isEmpty() ? appDirectory() : options.directory);
  request.kind = recognition.kind;
  request.headerLine = recognition.headerLine;
  request.trabajadores = options.trabajadores;

  const bool defaultPdf = options.pdf.isEmpty() && options.printQueue.isEmpty();
  BatchUi ui(defaultPdf ? request.paths.pdf : options.pdf, options.printQueue, options.symbology, err);
  const RunOutcome outcome = procesarArchivo(request, ui);
  if (outcome == RunOutcome::Finished) printOutputs(ui, request, out);
  if (outcome == RunOutcome::NoVouchers) removeEarlierPdf(ui.voucherOutput());
  if (outcome == RunOutcome::Rejected) printErrorFile(request.paths.errores, err);
  out.flush();
  err.flush();
  return exitStatusOf(outcome);
}

}  // namespace tarquelas
