#include "voucher_report/voucher_texts.h"

#include <cmath>

#include "declarations/voucher_checks.h"
#include "support/cp1252.h"
#include "support/fields.h"
#include "support/varias.h"

namespace tarquelas::voucher {

double leadingValue(QByteArrayView text) {
  const double value = leadingNumber(text);
  return std::isfinite(value) ? value : 0.0;
}

QByteArray plainDecimal(double value) {
  if (value == std::floor(value) && std::fabs(value) < 9.0e18)
    return QByteArray::number(static_cast<qint64>(value));
  return QByteArray::number(value, 'g', 15);
}

QByteArray amountText(QByteArrayView field) {
  const QByteArrayView whole = mid(field, 1, 6);
  const std::optional<qint64> value = valorEntero(whole);
  const QByteArray integer = value ? QByteArray::number(*value) : plainDecimal(leadingValue(whole));
  return integer + ',' + mid(field, 7, 2).toByteArray();
}

QByteArray countText(QByteArrayView field) { return plainDecimal(leadingValue(field)); }

QByteArray dateText(QByteArrayView field) {
  return mid(field, 7, 2).toByteArray() + '/' + mid(field, 5, 2).toByteArray() + '/' +
         mid(field, 1, 4).toByteArray();
}

QByteArray voucherNumberText(QByteArrayView field) {
  const std::optional<qint64> value = valorEntero(field);
  if (!value || *value < 0 || *value > 9'999'999'999LL) return field.toByteArray();
  const QByteArray digits = QByteArray::number(*value).rightJustified(10, '0');
  return digits.left(2) + '-' + digits.mid(2);
}

QByteArray workerListText(QByteArrayView observations) {
  // Lower case for every letter of the code page, not only the ASCII ones.
  QByteArray text = toCp1252(fromCp1252(trimBlanks(observations)).toLower());
  text.replace("trabajadores: ", "");
  if (text.endsWith('-')) {
    text.chop(1);
    text = trimBlanks(text).toByteArray();
  }
  return text.isEmpty() ? QByteArray() : "CUILES: " + text;
}

}  // namespace tarquelas::voucher
