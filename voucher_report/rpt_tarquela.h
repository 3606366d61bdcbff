// rptTarquela, the payment voucher report: reads the auxiliary file line by
// line through a cursor, fills the bands of its design from the current line
// in the engine's handler order, and gives the engine the group keys
// (C.U.I.T., then form code) that make one voucher per consortium and form.
// It lays out any run of vouchers of its index, each from the top of a page,
// exactly as a run over the whole file lays them out. The file stays open,
// through a handle of its own, until the object is destroyed.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "report_engine/report_design.h"
#include "report_engine/report_engine.h"
#include "support/status.h"
#include "support/text_file.h"
#include "voucher_report/voucher_index.h"

namespace tarquelas::voucher {

class RptTarquela {
 public:
  // Opens the file the index was made of; index must outlive the object.
  explicit RptTarquela(const VoucherIndex& index);
  ~RptTarquela();
  RptTarquela(const RptTarquela&) = delete;
  RptTarquela& operator=(const RptTarquela&) = delete;

  // Ok, or why the file could not be opened again.
  const Status& status() const { return status_; }

  // Lays vouchers first..last (0-based, inclusive) out into sink. Ok;
  // cancelled when the sink said stop; the error when the file cannot be
  // read. A file that has changed since the index was made gives what its
  // lines now hold, and no more lines than the index counted.
  [[nodiscard]] Status run(qint64 first, qint64 last, report::PageSink& sink);
  // Every voucher.
  [[nodiscard]] Status run(report::PageSink& sink) { return run(0, index_.voucherCount() - 1, sink); }

  report::ReportDesign& design() { return design_; }

 private:
  struct Controls;

  void reportStart();
  void restoreDesign();
  void groupHeaderFormFormat();
  void detailFormat();
  void detailAfterPrint();
  void configurarFormulario(QByteArrayView formCode);
  void fillDetail();
  void fillFooter();
  void copyToSecondStub();
  void setBarCode();
  void setGroupKeys();
  void takePeriod();
  void moveTo(qint64 offset);
  void nextLine();
  void skipHeaders();
  bool hasData() const { return lineIndex_ <= lastLine_; }
  void set(report::Control* control, QByteArrayView cp1252Text);
  void set(report::Control* control, const QByteArray& cp1252Text);

  const VoucherIndex& index_;
  Status status_;
  report::ReportDesign design_;
  report::ReportDesign designed_;  // the texts and visibility each run starts from
  std::unique_ptr<Controls> c_;
  LineReader reader_;
  qint64 first_ = 0;
  qint64 last_ = -1;
  qint64 lineIndex_ = 1;  // the current line's number
  qint64 lastLine_ = 0;   // the last line of the run's vouchers
  QByteArray currentLine_;
  QByteArray periodMonth_;
  QByteArray periodYear_;
};

}  // namespace tarquelas::voucher
