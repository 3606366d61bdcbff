// The texts the voucher report computes from the fields of a record: amounts,
// counts, dates, the voucher number, the consortium line and the workers'
// C.U.I.L. list. Pure functions over Windows-1252 bytes; none throws, and a
// field that is short, blank or not a number gives a text, never a failure.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

namespace tarquelas::voucher {

// Numbers print as plain digits, never in exponent form and never as
// "inf" or "nan": a field whose value is not a finite number, or is too
// large to print in full, prints as its own text, trimmed.

// An 8-digit amount in cents (6 integer and 2 decimal digits): the integer
// digits as a whole number without leading zeros, ",", the two decimal
// digits. 00012345 gives "123,45"; 00000005 gives "0,05"; a leading minus
// keeps its sign (-0000099 gives "-0,99"). Leading blanks are allowed; any
// other text that is not a whole number (a sign inside, a letter, a blank
// inside or after) prints as its own text, trimmed.
QByteArray amountText(QByteArrayView field);

// The value of a field read from its start, blanks ignored, stopping at the
// first character that cannot continue a number (0 when none), in plain
// decimal: 007 gives "7".
QByteArray countText(QByteArrayView field);

// A part of the period (month or year): its digits as they stand, or the
// count text of anything else.
QByteArray periodText(QByteArrayView field);

// The consortium number: valorNumerico of the field in plain decimal.
QByteArray consortiumNumberText(QByteArrayView field);

// The leading value described for countText (the header's month and year
// are read the same way), or nothing when it is not a finite number: the
// field names infinity or NaN, or is beyond a double's range.
std::optional<double> leadingValue(QByteArrayView text);

// A number in plain decimal (whole numbers without decimals), or nothing
// when it is not finite or takes more than 20 characters.
std::optional<QByteArray> plainDecimal(double value);

// A yyyymmdd date as "dd/mm/yyyy", each part as its digits stand.
QByteArray dateText(QByteArrayView field);

// The voucher number through the mask 00-00000000: 0000012345 gives
// "00-00012345". A field that is not a whole number prints as it stands.
QByteArray voucherNumberText(QByteArrayView field);

// "CUILES: " and the workers' list of the observations field (lower case,
// without "trabajadores: " and a final "-"), or empty when nothing is left.
QByteArray workerListText(QByteArrayView observations);

}  // namespace tarquelas::voucher
