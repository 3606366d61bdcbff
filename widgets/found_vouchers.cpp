#include "widgets/found_vouchers.h"

#include "support/cp1252.h"
#include "support/varias.h"
#include "voucher_report/voucher_index.h"

namespace tarquelas {

namespace {

enum Column { kConsortium, kCuit, kForm, kPage, kColumns };

template <std::size_t N>
QByteArrayView view(const std::array<char, N>& field) {
  return {field.data(), qsizetype(N)};
}

}  // namespace

FoundVouchers::FoundVouchers(const voucher::VoucherIndex& index, QObject* parent)
    : QAbstractTableModel(parent), index_(index) {}

void FoundVouchers::setFound(std::vector<qint64> vouchers) {
  beginResetModel();
  found_ = std::move(vouchers);
  endResetModel();
}

int FoundVouchers::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(found_.size());
}

int FoundVouchers::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant FoundVouchers::data(const QModelIndex& at, int role) const {
  if (role != Qt::DisplayRole || !at.isValid() || at.row() >= rowCount()) return {};
  const qint64 v = voucherAt(at.row());
  const voucher::VoucherKeys& keys = index_.voucher(v).keys;
  switch (at.column()) {
    case kConsortium: return printable(fromCp1252(index_.nameOf(v)));
    case kCuit: return printable(fromCp1252(formatearCUIT(view(keys.cuit))));
    case kForm: return printable(fromCp1252(view(keys.form)));
    case kPage: return index_.voucher(v).firstPage + 1;
    default: return {};
  }
}

QVariant FoundVouchers::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return {};
  switch (section) {
    case kConsortium: return QStringLiteral("Consorcio");
    case kCuit: return QStringLiteral("C.U.I.T.");
    case kForm: return QStringLiteral("Formulario");
    case kPage: return QStringLiteral("Página");
    default: return {};
  }
}

}  // namespace tarquelas
