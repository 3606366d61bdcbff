#include "app/batch.h"

#include <QFileInfo>
#include <QThread>

#include "app/file_kind.h"
#include "app/processing_run.h"
#include "app/recognition.h"
#include "printing/print_queue.h"
#include "support/app_directory.h"
#include "support/cp1252.h"
#include "support/text_file.h"
#include "support/varias.h"
#include "voucher_report/symbology_setting.h"
#include "voucher_report/voucher_report.h"

namespace tarquelas {

namespace {

class BatchUi final : public RunUi {
 public:
  // An empty pdfPath writes no PDF; an empty printQueue prints nothing.
  BatchUi(QString pdfPath, QString printQueue, const QStringList& cuits, QString symbology, QTextStream& err)
      : pdfPath_(std::move(pdfPath)),
        printQueue_(std::move(printQueue)),
        symbology_(std::move(symbology)),
        err_(err) {
    for (const QString& cuit : cuits) cuits_.append(cuit.toLatin1());
  }

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
    PageSet pages = built.report->allPages();
    if (!cuits_.isEmpty()) {
      VoucherReport::CuitPages chosen = built.report->pagesOfCuits(cuits_);
      if (!chosen.status.isOk()) return chosen.status;
      missingCuits_ = chosen.missing;
      for (const QByteArray& cuit : std::as_const(missingCuits_))
        err_ << QStringLiteral("No hay comprobantes de la C.U.I.T. %1 en el archivo.")
                    .arg(QString::fromLatin1(formatearCUIT(cuit)))
             << '\n';
      if (!missingCuits_.isEmpty()) return Status::ok();
      pages = std::move(chosen.pages);
    }
    if (!printQueue_.isEmpty()) {
      if (const QString stopped = stoppedQueueWarning(printQueue_); !stopped.isEmpty()) {
        err_ << stopped << '\n';
        err_.flush();
      }
      const Status printed = printToQueue(*built.report, printQueue_, pages, progress());
      if (!printed.isOk()) return printed;
      printed_ = true;
      if (pdfPath_.isEmpty()) return printed;
    }
    Status written = built.report->writePdf(pdfPath_, pages, progress());
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
  bool missedCuits() const { return !missingCuits_.isEmpty(); }
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
  QList<QByteArray> cuits_;
  QList<QByteArray> missingCuits_;
  bool pdfWritten_ = false;
  bool printed_ = false;
  QStringList opened_;
};

// The error list after the message that named its file, passed on line by
// line: a list of any size goes through a small buffer.
void printErrorFile(const QString& path, QTextStream& err) {
  LineReader reader;
  if (!reader.open(path).isOk()) return;
  while (const auto line = reader.next()) err << printable(fromCp1252(*line)) << '\n';
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
// cannot pass for this run's. Only a plain file (or a link to one) goes;
// one that stays is an error naming it.
Status removeEarlierPdf(const QString& pdf) {
  if (!QFileInfo(pdf).isFile()) return Status::ok();
  return removeIfExists(pdf);
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
  for (const auto& [output, folder] : {std::pair{options.pdf, false}, std::pair{options.directory, true}}) {
    if (const QString refused = unrepresentableOutputMessage(output, folder); !refused.isEmpty()) {
      err << refused << '\n';
      return kExitFailure;
    }
  }
  if (!options.printQueue.isEmpty()) {
    if (const QString missing = missingQueueDescription(options.printQueue); !missing.isEmpty()) {
      err << missing << '\n';
      return kExitFailure;
    }
  }
  // One file for the summary, the run and every message.
  const QString file = archivoDePresentacion(options.presentationPath);
  const Recognition recognition = recognizeFile(file);
  if (recognition.outcome != Recognition::Outcome::Recognised) {
    err << missingFileMessage(file) << '\n';
    return kExitFailure;
  }
  if (!recognition.unreadable.isEmpty()) {
    err << recognition.unreadable << '\n';
    return kExitFailure;
  }
  if (!options.cuits.isEmpty() && fileKind(recognition.kind) != FileKind::Voucher) {
    err << QStringLiteral("--cuit sólo sirve para un archivo de comprobantes.") << '\n';
    return kExitFailure;
  }
  out << summaryForDisplay(recognition.summary);
  out.flush();

  RunRequest request;
  request.presentationPath = file;
  request.paths = WorkPaths::inDirectory(options.directory.isEmpty() ? appDirectory() : options.directory);
  request.kind = recognition.kind;
  request.headerLine = recognition.headerLine;
  request.trabajadores = options.trabajadores;

  const bool defaultPdf = options.pdf.isEmpty() && options.printQueue.isEmpty();
  BatchUi ui(defaultPdf ? request.paths.pdf : options.pdf, options.printQueue, options.cuits,
             options.symbology, err);
  const RunOutcome outcome = procesarArchivo(request, ui);
  if (outcome == RunOutcome::Finished) printOutputs(ui, request, out);
  if (outcome == RunOutcome::NoVouchers || ui.missedCuits()) {
    if (const Status removed = removeEarlierPdf(ui.voucherOutput()); !removed.isOk()) {
      err << removed.description() << '\n';
      err.flush();
      return kExitFailure;
    }
  }
  if (outcome == RunOutcome::Rejected) printErrorFile(request.paths.errores, err);
  out.flush();
  err.flush();
  return ui.missedCuits() && outcome == RunOutcome::Finished ? kExitRejected : exitStatusOf(outcome);
}

}  // namespace tarquelas
