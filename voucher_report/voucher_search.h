// Finding vouchers by what a person knows them by: the consortium's
// C.U.I.T. (with or without its hyphens), its number, any part of its name
// (accents and case ignored) or the Nº tarquela. Only the index's compact
// keys are read, never a page; any text at all is taken, and one that
// cannot name a voucher simply finds none.
#pragma once

#include <QByteArray>
#include <QStringView>
#include <vector>

#include "voucher_report/voucher_index.h"

namespace tarquelas::voucher {

class VoucherSearch {
 public:
  explicit VoucherSearch(QStringView text);

  // Blank text: it names nothing, so it finds nothing.
  bool isEmpty() const { return blank_; }
  bool matches(const VoucherIndex& index, qint64 i) const;
  // The matching vouchers, in report order.
  std::vector<qint64> find(const VoucherIndex& index) const;

 private:
  bool blank_ = true;
  // The text's digits, when it holds nothing else but separators.
  std::optional<quint64> number_;
  QByteArray cuit_;  // the same digits when there are 11 of them
  QByteArray name_;  // the text folded as names are; empty when no name can hold it
};

}  // namespace tarquelas::voucher
