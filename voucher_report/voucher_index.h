// The index of the auxiliary file: one quick pass that finds where each
// voucher's records begin, the period in force for it and the pages it
// takes, counted on numbers without laying anything out. The report then
// lays out only the vouchers whose pages are wanted. The first line is the
// header; a later header record opens no voucher and sets the period of the
// vouchers after it; every other line is a record of the voucher its group
// keys (C.U.I.T., then form code) name.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <array>
#include <optional>
#include <span>
#include <vector>

#include "report_engine/page_set.h"
#include "support/progress.h"
#include "support/status.h"

namespace tarquelas::voucher {

struct Period {
  QByteArray month;
  QByteArray year;
};

// What a person knows a voucher by, as its first record holds it: the
// fields as they stand, and where the index keeps its consortium's name.
struct VoucherKeys {
  std::array<char, 11> cuit{};
  std::array<char, 5> form{};
  std::array<char, 7> consortium{};
  std::array<char, 10> tarquela{};
  quint32 nameAt = 0;
  quint8 nameLength = 0;
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
  VoucherKeys keys;
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

  // The consortium name of voucher i's first record, trimmed (Windows-1252).
  QByteArrayView nameOf(qint64 i) const;
  // The vouchers of the consortia whose C.U.I.T.s (11 digits each) are
  // given, in report order.
  std::vector<qint64> vouchersOfCuits(std::span<const QByteArray> cuits) const;
  // Every page of the vouchers given (ascending voucher numbers), adjoining
  // pages joined into one range.
  PageSet pagesOfVouchers(std::span<const qint64> vouchers) const;

  // True when the file is no longer the one indexed: gone, or of another
  // size or modification time.
  bool fileChanged() const;

 private:
  VoucherIndex() = default;

  QString path_;
  QByteArray header_;
  qint64 lineCount_ = 0;
  qint64 pageCount_ = 0;
  std::vector<VoucherEntry> vouchers_;
  std::vector<Period> periods_;
  QByteArray names_;  // the vouchers' consortium names, one after the other
  qint64 fileSize_ = -1;
  QDateTime fileTime_;
};

struct IndexResult {
  Status status;
  std::optional<VoucherIndex> index;
};

}  // namespace tarquelas::voucher
