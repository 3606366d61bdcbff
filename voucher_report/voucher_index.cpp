#include "voucher_report/voucher_index.h"

#include <QFileInfo>
#include <algorithm>
#include <unordered_map>

#include "declarations/voucher_layout.h"
#include "report_engine/report_engine.h"
#include "support/text_file.h"
#include "support/varias.h"
#include "voucher_report/tarquela_design.h"

namespace tarquelas::voucher {

namespace {

constexpr qint64 kLinesBetweenReports = 4096;

// The pages of a voucher by its number of detail bands. Vouchers mostly
// have a handful of records, so each count is worked out once.
class VoucherPages {
 public:
  qint64 of(qint64 records) {
    auto [it, added] = known_.try_emplace(records, 0);
    if (added) it->second = report::groupPageCount(design_, records);
    return it->second;
  }

 private:
  report::ReportDesign design_ = tarquelaDesign();
  std::unordered_map<qint64, qint64> known_;
};

// The group keys of a record as the report gives them to the engine: the
// printed C.U.I.T., then the form code. The printed form is worked out
// again only when the field changes.
class RecordKey {
 public:
  // True when line's keys differ from the previous record's.
  bool changesWith(QByteArrayView line) {
    const QByteArrayView cuit = detail::cuit.in(line);
    const QByteArrayView form = detail::formCode.in(line);
    bool changed = !any_ || form != form_;
    if (!any_ || cuit != cuitField_) {
      QByteArray printed = formatearCUIT(cuit);
      changed = changed || printed != cuitKey_;
      cuitField_ = cuit.toByteArray();
      cuitKey_ = std::move(printed);
    }
    form_ = form.toByteArray();
    any_ = true;
    return changed;
  }

 private:
  bool any_ = false;
  QByteArray cuitField_, cuitKey_, form_;
};

template <std::size_t N>
void copyField(std::array<char, N>& to, Field field, QByteArrayView line) {
  const QByteArrayView bytes = field.in(line);
  to.fill(' ');
  std::copy_n(bytes.data(), std::min<qsizetype>(bytes.size(), N), to.begin());
}

// The name goes to names; the keys say where.
VoucherKeys keysOf(QByteArrayView line, QByteArray& names) {
  VoucherKeys keys;
  copyField(keys.cuit, detail::cuit, line);
  copyField(keys.form, detail::formCode, line);
  copyField(keys.consortium, detail::consortiumNumber, line);
  copyField(keys.tarquela, detail::voucherNumber, line);
  const QByteArrayView name = detail::consortiumName.trimmedIn(line);
  keys.nameAt = quint32(names.size());
  keys.nameLength = quint8(name.size());  // the field holds 80 at most
  names.append(name);
  return keys;
}

Period periodIn(QByteArrayView header) {
  return {header::periodMonth.in(header).toByteArray(), header::periodYear.in(header).toByteArray()};
}

}  // namespace

IndexResult VoucherIndex::build(const QString& path, Progress& progress) {
  VoucherIndex index;
  index.path_ = path;
  const QFileInfo file(path);
  index.fileSize_ = file.exists() ? file.size() : -1;
  index.fileTime_ = file.lastModified();
  if (existeArchivo(path)) {
    LineReader reader;
    if (Status opened = reader.open(path); !opened.isOk()) return {opened, std::nullopt};
    VoucherPages pages;
    RecordKey key;
    qint64 lastConcept = -1;
    for (qint64 at = 0;; at = reader.position()) {
      const std::optional<QByteArrayView> line = reader.next();
      if (!line) break;
      const qint64 number = reader.lineCount();
      if (number == 1) index.header_ = line->toByteArray();
      if (number == 1 || line->size() == kHeaderLength) {
        index.periods_.push_back(periodIn(*line));
      } else {
        if (key.changesWith(*line)) {
          if (!index.vouchers_.empty()) index.pageCount_ += pages.of(index.vouchers_.back().records);
          index.vouchers_.push_back({at, number, 0, index.pageCount_, -1,
                                     qsizetype(index.periods_.size()) - 1, keysOf(*line, index.names_)});
          if (line->size() != kDetailLength) index.vouchers_.back().keptConcept = lastConcept;
        }
        ++index.vouchers_.back().records;
        if (line->size() == kDetailLength) lastConcept = at;
      }
      if (number % kLinesBetweenReports == 0) {
        const qint64 found = index.voucherCount();
        const qint64 promised = reader.position() > 0 ? found * reader.size() / reader.position() : 0;
        if (!progress.report(Progress::Stage::LayingOutVouchers, found, std::max(found, promised)))
          return {Status::cancelled(), std::nullopt};
      }
    }
    if (!reader.status().isOk()) return {reader.status(), std::nullopt};
    index.lineCount_ = reader.lineCount();
    if (!index.vouchers_.empty()) index.pageCount_ += pages.of(index.vouchers_.back().records);
  }
  if (!progress.report(Progress::Stage::LayingOutVouchers, index.voucherCount(), index.voucherCount()))
    return {Status::cancelled(), std::nullopt};
  return {Status::ok(), std::move(index)};
}

qint64 VoucherIndex::pagesOf(qint64 i) const {
  const qint64 next = i + 1 < voucherCount() ? voucher(i + 1).firstPage : pageCount_;
  return next - voucher(i).firstPage;
}

qint64 VoucherIndex::lastLine(qint64 i) const {
  return i + 1 < voucherCount() ? voucher(i + 1).firstLine - 1 : lineCount_;
}

qint64 VoucherIndex::voucherOfPage(qint64 page) const {
  if (page < 0 || page >= pageCount_) return -1;
  const auto after = std::upper_bound(vouchers_.begin(), vouchers_.end(), page,
                                      [](qint64 p, const VoucherEntry& v) { return p < v.firstPage; });
  return qint64(after - vouchers_.begin()) - 1;
}

QByteArrayView VoucherIndex::nameOf(qint64 i) const {
  const VoucherKeys& keys = voucher(i).keys;
  return QByteArrayView(names_).sliced(keys.nameAt, keys.nameLength);
}

std::vector<qint64> VoucherIndex::vouchersOfCuits(std::span<const QByteArray> cuits) const {
  std::vector<qint64> found;
  for (qint64 i = 0; i < voucherCount(); ++i) {
    const QByteArrayView cuit(voucher(i).keys.cuit.data(), qsizetype(voucher(i).keys.cuit.size()));
    if (std::any_of(cuits.begin(), cuits.end(),
                    [&](const QByteArray& wanted) { return QByteArrayView(wanted) == cuit; }))
      found.push_back(i);
  }
  return found;
}

PageSet VoucherIndex::pagesOfVouchers(std::span<const qint64> vouchers) const {
  PageSet pages;
  for (const qint64 i : vouchers) {
    if (i < 0 || i >= voucherCount() || pagesOf(i) == 0) continue;
    const PageRange range{int(voucher(i).firstPage), int(voucher(i).firstPage + pagesOf(i) - 1)};
    if (!pages.empty() && pages.back().last + 1 >= range.first) {
      pages.back().last = std::max(pages.back().last, range.last);
    } else {
      pages.push_back(range);
    }
  }
  return pages;
}

bool VoucherIndex::fileChanged() const {
  const QFileInfo file(path_);
  return (file.exists() ? file.size() : -1) != fileSize_ || file.lastModified() != fileTime_;
}

}  // namespace tarquelas::voucher
