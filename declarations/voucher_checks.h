// The checks of one voucher file line. The kind of a record is told by the
// length of its repaired line alone; each kind has its checks, made in a
// fixed order, and a failed check contributes its piece to the line's
// error text.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace tarquelas::voucher {

enum class Record { Header, Detail, Closing, NotARecord };

Record recordOf(qsizetype lineLength);

// The pieces of every check line fails, in check order; empty when the
// line is good. line is the repaired line (see repairedLine).
QByteArray lineErrors(QByteArrayView line);

// The line after the UTF-8 repair. Lines the repair would not change
// (plain text, single-byte accents: the common case) are returned as a
// view of line with nothing copied; otherwise the repaired bytes are kept
// in storage and the view points there.
QByteArrayView repairedLine(QByteArrayView line, QByteArray& storage);

// The value of a field read as the office's number reader reads it: blanks
// are skipped, reading stops at the first character that cannot continue a
// number, and a field that does not begin with a number is 0.
double leadingNumber(QByteArrayView text);

// True when yyyymmdd is a real Gregorian calendar date of a year after
// 1998: what a due date must be.
bool isDueDate(QByteArrayView yyyymmdd);

}  // namespace tarquelas::voucher
