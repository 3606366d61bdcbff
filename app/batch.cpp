#include "app/batch.h"

#include <QDir>

#include "app/processing_run.h"
#include "app/recognition.h"
#include "support/app_directory.h"
#include "support/cp1252.h"
#include "support/text_file.h"
#include "voucher_report/voucher_report.h"
#include "widgets/page_printing.h"

namespace tarquelas {

namespace {

// A message box's text as lines of a terminal.
QString asLines(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

class BatchUi final : public RunUi {
 public:
  // An empty pdfPath writes no PDF; an empty printQueue prints nothing.
  BatchUi(QString pdfPath, QString printQueue, QTextStream& err)
      : pdfPath_(std::move(pdfPath)), printQueue_(std::move(printQueue)), err_(err) {}

  void showMessage(const QString& text) override { err_ << asLines(text) << '\n'; }

  bool askContinue(const QString& description) override {
    err_ << asLines(errorPromptText(description)) << " No\n";
    return false;
  }

  void openInViewer(const QString&) override {}

  Status showVoucherReport(const QString& auxPath) override {
    VoucherReport::BuildResult built = VoucherReport::build(auxPath, progress());
    if (!built.status.isOk()) return built.status;
    if (!printQueue_.isEmpty()) {
      const Status printed = printToQueue(*built.report, printQueue_, progress());
      if (!printed.isOk() || pdfPath_.isEmpty()) return printed;
    }
    return built.report->writePdf(pdfPath_, progress());
  }

  Progress& progress() override { return noProgress(); }
  void setBusy(bool) override {}

 private:
  QString pdfPath_;
  QString printQueue_;
  QTextStream& err_;
};

void printErrorFile(const QString& path, QTextStream& err) {
  err << QDir::toNativeSeparators(path) << '\n';
  const LinesResult read = readAllLines(path);
  for (const QByteArray& line : read.lines) err << fromCp1252(line) << '\n';
}

int exitStatusOf(RunOutcome outcome) {
  switch (outcome) {
    case RunOutcome::Finished: return kExitProcessed;
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
    err << QStringLiteral("No existe el archivo: %1\n").arg(options.presentationPath);
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
  const QString pdf = defaultPdf ? request.paths.appDir + QStringLiteral("/Tarquelas.pdf") : options.pdf;
  BatchUi ui(pdf, options.printQueue, err);
  const RunOutcome outcome = procesarArchivo(request, ui);
  if (outcome == RunOutcome::Rejected) printErrorFile(request.paths.errores, err);
  err.flush();
  return exitStatusOf(outcome);
}

}  // namespace tarquelas
