// rptTarquela, the payment voucher report: reads the auxiliary file line by
// line through a cursor, fills the bands of its design from the current line
// in the engine's handler order, and gives the engine the group keys
// (C.U.I.T., then form code) that make one voucher per consortium and form.
// One object serves one run; the file stays open until it is destroyed.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "support/progress.h"
#include "support/status.h"
#include "support/text_file.h"
#include "voucher_report/report_design.h"
#include "voucher_report/report_engine.h"

namespace tarquelas::voucher {

class RptTarquela {
 public:
  // ActiveReport_Initialize: counts the lines of the file (none when it
  // does not exist) and sets the line index to 1.
  explicit RptTarquela(QString auxPath);
  ~RptTarquela();
  RptTarquela(const RptTarquela&) = delete;
  RptTarquela& operator=(const RptTarquela&) = delete;

  // Ok, or why an existing file could not be read.
  const Status& status() const { return status_; }
  qint64 lineCount() const { return lineCount_; }
  // Vouchers the file holds, counted with the lines, for progress.
  qint64 voucherCount() const { return voucherCount_; }

  // Lays the report out into sink, reporting each voucher to progress.
  // Cancelled when progress or the sink says stop.
  [[nodiscard]] Status run(report::PageSink& sink, Progress& progress);

  report::ReportDesign& design() { return design_; }

 private:
  struct Controls;

  void reportStart();
  void groupHeaderFormFormat();
  void detailFormat();
  void detailAfterPrint();
  void groupFooterFormAfterPrint();
  void configurarFormulario(QByteArrayView formCode);
  void fillDetail();
  void fillFooter();
  void copyToSecondStub();
  void setBarCode();
  void setGroupKeys();
  void takePeriod();
  void nextLine();
  void skipHeaders();
  QByteArray readLine();
  void set(report::Control* control, QByteArrayView cp1252Text);
  void set(report::Control* control, const QByteArray& cp1252Text);

  QString path_;
  Status status_;
  report::ReportDesign design_;
  std::unique_ptr<Controls> c_;
  LineReader reader_;
  bool open_ = false;
  qint64 lineCount_ = 0;
  qint64 voucherCount_ = 0;
  qint64 lineIndex_ = 1;
  QByteArray currentLine_;
  QByteArray periodMonth_;
  QByteArray periodYear_;
  Progress* progress_ = nullptr;
  qint64 vouchersDone_ = 0;
  bool cancelled_ = false;
};

}  // namespace tarquelas::voucher
