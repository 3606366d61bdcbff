// Test helpers for the voucher report: one application for the whole test
// binary, voucher lines built field by field, auxiliary files in a temporary
// folder, and the report laid out into pages looked up by control name.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QGuiApplication>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "declarations/voucher_layout.h"
#include "support/status.h"
#include "tests/common/line_builder.h"
#include "tests/common/temp_dir.h"
#include "voucher_report/fonts.h"
#include "voucher_report/report_engine.h"
#include "voucher_report/rpt_tarquela.h"
#include "voucher_report/voucher_index.h"

namespace tarquelas::testing {

// Made before the first test and destroyed after the last, so the report's
// font caches are released the way they are when the program ends.
class GuiEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "voucher_report_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
    registerProgramFonts();
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QGuiApplication> app_;
};

inline QByteArray headerLine(QByteArrayView month = "03", QByteArrayView year = "2009") {
  using namespace voucher::header;
  return LineBuilder(voucher::kHeaderLength)
      .at(entityType.start, "C")
      .at(entityCode.start, "0001234")
      .at(entityName.start, "CAMARA DE PRUEBA")
      .at(periodMonth.start, month)
      .at(periodYear.start, year)
      .at(processingDate.start, "20090410");
}

inline const QByteArray kZeroBarCode(59, '0');
inline const QByteArray kBarCode59 = "12345678901234567890123456789012345678901234567890123456789";

struct Detail {
  QByteArray consortium = "0000042", cuit = "20123456786", form = "F0101";
  QByteArray institution = "INSTITUTO DE PRUEBA", consortiumName = "EDIFICIO PRUEBA";
  QByteArray declaration = "01", voucherNumber = "0000012345", workers = "007";
  QByteArray conceptsTotal = "00012345", payments = "00000005", totalToPay = "12345678";
  QByteArray dueDate = "20090415", barCode = kBarCode59, conceptText = "CUOTA SOCIAL";
  QByteArray amount = "00001000", interest = "00000050", total = "00001050", observations;

  QByteArray line() const {
    namespace vd = voucher::detail;
    return LineBuilder(voucher::kDetailLength)
        .at(1, "000001")
        .at(vd::consortiumNumber.start, consortium)
        .at(vd::cuit.start, cuit)
        .at(vd::formCode.start, form)
        .at(vd::institutionName.start, institution)
        .at(vd::consortiumName.start, consortiumName)
        .at(vd::declarationNumber.start, declaration)
        .at(vd::voucherNumber.start, voucherNumber)
        .at(vd::workerCount.start, workers)
        .at(vd::conceptsTotal.start, conceptsTotal)
        .at(vd::paymentsOnAccount.start, payments)
        .at(vd::totalToPay.start, totalToPay)
        .at(vd::dueDate.start, dueDate)
        .at(vd::barCode.start, barCode)
        .at(vd::conceptText.start, conceptText)
        .at(vd::conceptAmount.start, amount)
        .at(vd::conceptInterest.start, interest)
        .at(vd::conceptTotal.start, total)
        .at(vd::observations.start, observations)
        .length(voucher::kDetailLength);
  }
};

// An auxiliary file written in a temporary folder.
class AuxFile {
 public:
  explicit AuxFile(const std::vector<QByteArray>& lines) {
    QByteArray bytes;
    for (const QByteArray& l : lines) bytes += l + "\r\n";
    writeBytes(path(), bytes);
  }
  QString path() const { return dir_.filePath(QStringLiteral("TarquelasAux.txt")); }
  QString file(const QString& name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
};

// The report of an auxiliary file, laid out into pages that are kept; its
// index must count the pages the layout makes.
struct LaidOut {
  explicit LaidOut(const std::vector<QByteArray>& lines) : aux(std::make_unique<AuxFile>(lines)) {
    run(aux->path());
  }
  explicit LaidOut(const QString& auxPath) { run(auxPath); }
  void run(const QString& auxPath) {
    voucher::IndexResult built = voucher::VoucherIndex::build(auxPath, noProgress());
    status = built.status;
    if (!built.index) return;
    index = std::make_unique<voucher::VoucherIndex>(std::move(*built.index));
    report = std::make_unique<voucher::RptTarquela>(*index);
    status = report->run(collector);
    EXPECT_EQ(index->pageCount(), pageCount());
  }
  const report::Page& page(std::size_t i) const { return collector.pages.at(i); }
  int pageCount() const { return static_cast<int>(collector.pages.size()); }

  std::unique_ptr<AuxFile> aux;
  std::unique_ptr<voucher::VoucherIndex> index;
  std::unique_ptr<voucher::RptTarquela> report;
  report::PageCollector collector;
  Status status;
};

// Every placement of the control named name on page (hidden ones are not placed).
inline std::vector<const report::PlacedItem*> itemsNamed(const report::Page& page, QStringView name) {
  std::vector<const report::PlacedItem*> found;
  for (const report::PlacedItem& item : page.items)
    if (item.control->name == name) found.push_back(&item);
  return found;
}

// The text of the first placement of name on page, or "<hidden>".
inline QString textOn(const report::Page& page, QStringView name) {
  const auto found = itemsNamed(page, name);
  return found.empty() ? QStringLiteral("<hidden>") : found.front()->text;
}

}  // namespace tarquelas::testing
