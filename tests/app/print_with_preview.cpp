// Prints an auxiliary file's vouchers through the preview's print path, as "Imprimir" does once its
// dialog is accepted, headless and without a dialog:
// print_with_preview AUX QUEUE [--quitar-cola | --buscar TEXT].
// With --quitar-cola the queue is deleted while the pages are being painted. With --buscar the
// text is searched as the find box does, the first voucher found is brought into view and printed
// alone, as "Imprimir este comprobante" does. Prints a failure as
// the error prompt would show it; exit 0 printed, 1 failed, 2 cancelled or wrong use.
#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QTextStream>
#include <QTimer>

#include "report_engine/fonts.h"
#include "voucher_report/voucher_report.h"
#include "widgets/voucher_preview.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QTextStream err(stderr);
  const QStringList args = QApplication::arguments();
  if (args.size() < 3) return 2;
  tarquelas::registerProgramFonts();
  tarquelas::VoucherReport::BuildResult built = tarquelas::VoucherReport::build(args.at(1));
  if (!built.status.isOk()) {
    err << built.status.description() << '\n';
    return 1;
  }
  tarquelas::VoucherPreview preview(*built.report, [](const QString&) { return false; });
  preview.setNotice([&err](const QString& text) { err << text << '\n'; });
  preview.show();
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(args.at(2));
  // The progress dialog lets events through between pages: the queue goes at the first of them.
  if (args.contains(QStringLiteral("--quitar-cola")))
    QTimer::singleShot(0, [&] {
      QProcess::execute(QStringLiteral("lpadmin"), {QStringLiteral("-x"), args.at(2)});
    });
  const qsizetype find = args.indexOf(QStringLiteral("--buscar"));
  if (find > 0 && find + 1 < args.size()) {
    preview.find(args.at(find + 1));
    preview.findNext();
    if (preview.found().empty()) {
      err << "No se encontró ningún comprobante\n";
      return 1;
    }
  }
  const tarquelas::Status status = find > 0 ? preview.printVoucher(printer) : preview.print(printer);
  if (status.isError()) err << "Se ha detectado el siguiente error:\n" << status.description() << '\n';
  return status.isOk() ? 0 : status.isError() ? 1 : 2;
}
