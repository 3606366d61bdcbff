// The vouchers a search found, as the rows of the preview's list:
// consortium, C.U.I.T., form and page, read from the index's keys when a
// row is shown, so forty thousand matches cost their numbers alone.
#pragma once

#include <QAbstractTableModel>
#include <vector>

namespace tarquelas {

namespace voucher {
class VoucherIndex;
}

class FoundVouchers final : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit FoundVouchers(const voucher::VoucherIndex& index, QObject* parent = nullptr);

  void setFound(std::vector<qint64> vouchers);
  const std::vector<qint64>& found() const { return found_; }
  // The voucher of a row.
  qint64 voucherAt(int row) const { return found_[std::size_t(row)]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  const voucher::VoucherIndex& index_;
  std::vector<qint64> found_;
};

}  // namespace tarquelas
