// The index of the auxiliary file: one quick pass that finds where each
// voucher's records begin, the period in force for it and the pages it
// takes, counted on numbers without laying anything out. The report then
// lays out only the vouchers whose pages are wanted. The first line is the
// header; a later header record opens no voucher and sets the period of the
// vouchers after it; every other line is a record of the voucher its group
// keys (C.U.I.T., then form code) name.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "support/progress.h"
#include "support/status.h"

namespace tarquelas::voucher {

struct Period {
  QByteArray month;
  QByteArray year;
};

struct VoucherEntry {
  qint64 offset = 0;     // where its first record begins: a LineReader position
  qint64 firstLine = 0;  // 1-based line number of its first record
  qint64 records = 0;    // its detail bands: its lines that are not header records
  qint64 firstPage = 0;  // 0-based page of the report where it begins
  // Where the last detail record before it begins, when its own first
  // record is not one (a hand-edited line), whose concept texts its first
  // band keeps; otherwise -1.
  qint64 keptConcept = -1;
  qsizetype period = 0;  // the period in force at its first record
};

struct IndexResult;

class VoucherIndex {
 public:
  // Reads the file at path once, reporting Stage::LayingOutVouchers as the
  // vouchers found against the number the bytes read so far promise. A
  // missing file gives an index without vouchers; a file that cannot be
  // read, an error; a cancel, Status::cancelled().
  [[nodiscard]] static IndexResult build(const QString& path, Progress& progress);

  const QString& path() const { return path_; }
  // The file's first line, the header record (empty for an empty file).
  const QByteArray& header() const { return header_; }
  qint64 lineCount() const { return lineCount_; }
  qint64 voucherCount() const { return qint64(vouchers_.size()); }
  qint64 pageCount() const { return pageCount_; }

  // i in [0, voucherCount()).
  const VoucherEntry& voucher(qint64 i) const { return vouchers_[std::size_t(i)]; }
  const Period& periodOf(const VoucherEntry& v) const { return periods_[std::size_t(v.period)]; }
  qint64 pagesOf(qint64 i) const;
  // The last line that belongs to voucher i: the line before the next
  // voucher's first record, or the file's last line.
  qint64 lastLine(qint64 i) const;
  // The voucher holding page, or -1 when there is no such page.
  qint64 voucherOfPage(qint64 page) const;

 private:
  VoucherIndex() = default;

  QString path_;
  QByteArray header_;
  qint64 lineCount_ = 0;
  qint64 pageCount_ = 0;
  std::vector<VoucherEntry> vouchers_;
  std::vector<Period> periods_;
};

struct IndexResult {
  Status status;
  std::optional<VoucherIndex> index;
};

}  // namespace tarquelas::voucher
