#include "declarations/voucher_checks.h"

#include <QtEndian>
#include <array>
#include <cstdlib>
#include <string>

#include "declarations/messages.h"
#include "declarations/voucher_layout.h"
#include "support/varias.h"

namespace tarquelas::voucher {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A check fails when its test returns true.
struct Check {
  QByteArrayView piece;
  bool (*fails)(QByteArrayView line);
};

bool badEntityType(QByteArrayView line) {
  const QByteArrayView type = header::entityType.in(line);
  return type.size() != 1 || !QByteArrayView(header::kEntityTypes).contains(type[0]);
}

bool badMonth(QByteArrayView line) {
  const double month = leadingNumber(header::periodMonth.in(line));
  return month <= 0 || month > 12;
}

bool badYear(QByteArrayView line) { return leadingNumber(header::periodYear.in(line)) <= 2000; }

// The processing date is rejected when it IS a date of the years 1900 to
// 1998: such a file belongs to the office's old system.
bool oldProcessingDate(QByteArrayView line) {
  QByteArray dayMonthYear;
  dayMonthYear.append(header::processingDay.in(line)).append('/');
  dayMonthYear.append(header::processingMonth.in(line)).append('/');
  dayMonthYear.append(header::processingYear.in(line));
  return validarFecha(dayMonthYear);
}

bool badCuit(QByteArrayView line) { return !validarCUIT(detail::cuit.in(line)); }

bool badDueDate(QByteArrayView line) { return !isDueDate(detail::dueDate.in(line)); }

constexpr std::array kHeaderChecks = {
    Check{messages::kEntityType, badEntityType},
    Check{messages::kMonth, badMonth},
    Check{messages::kYear, badYear},
    Check{messages::kProcessingDate, oldProcessingDate},
};

constexpr std::array kDetailChecks = {
    Check{messages::kCuit, badCuit},
    Check{messages::kDueDate, badDueDate},
};

template <std::size_t N>
QByteArray failedPieces(const std::array<Check, N>& checks, QByteArrayView line) {
  QByteArray pieces;
  for (const Check& check : checks) {
    if (check.fails(line)) pieces.append(check.piece);
  }
  return pieces;
}

// True when the UTF-8 repair would leave line as it is: no NUL, no CR,
// and no byte of the form 11xxxxxx (a possible start of a UTF-8 sequence)
// followed by one of the form 10xxxxxx (a continuation). Single-byte
// accented letters pass. Eight bytes at a time, as lines are long; a
// false alarm only costs the full repair, which gives the same result.
bool repairLeavesAlone(QByteArrayView line) {
  constexpr quint64 kOnes = 0x0101010101010101ULL;
  constexpr quint64 kHigh = 0x8080808080808080ULL;
  auto hasZeroByte = [](quint64 w) { return ((w - kOnes) & ~w & kHigh) != 0; };
  const char* bytes = line.data();
  const qsizetype size = line.size();
  bool leadAtWordEnd = false;  // byte 7 of the previous word is 11xxxxxx
  qsizetype i = 0;
  for (; i + 8 <= size; i += 8) {
    const auto w = qFromLittleEndian<quint64>(bytes + i);  // byte k is bits 8k..8k+7
    if (hasZeroByte(w) || hasZeroByte(w ^ (kOnes * '\r'))) return false;
    const quint64 bit7 = w & kHigh;
    const quint64 bit6 = (w << 1) & kHigh;
    const quint64 lead = bit7 & bit6;
    const quint64 continuation = bit7 & ~bit6;
    if (((lead << 8) & continuation) != 0 || (leadAtWordEnd && (continuation & 0x80) != 0)) return false;
    leadAtWordEnd = (lead >> 63) != 0;
  }
  for (; i < size; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b == 0 || b == '\r' || (leadAtWordEnd && (b & 0xC0) == 0x80)) return false;
    leadAtWordEnd = (b & 0xC0) == 0xC0;
  }
  return true;
}

}  // namespace

Record recordOf(qsizetype lineLength) {
  switch (lineLength) {
    case kHeaderLength: return Record::Header;
    case kDetailLength: return Record::Detail;
    case kClosingLength: return Record::Closing;
    default: return Record::NotARecord;
  }
}

QByteArray lineErrors(QByteArrayView line) {
  switch (recordOf(line.size())) {
    case Record::Header: return failedPieces(kHeaderChecks, line);
    case Record::Detail: return failedPieces(kDetailChecks, line);
    case Record::Closing: return {};
    case Record::NotARecord: break;
  }
  return messages::kLineLength.toByteArray();
}

QByteArrayView repairedLine(QByteArrayView line, QByteArray& storage) {
  if (repairLeavesAlone(line)) return line;
  storage = decodificarUTF8(line);
  return storage;
}

double leadingNumber(QByteArrayView text) {
  // Gather the characters that form a number, skipping blanks, then let
  // the C library read them.
  std::string number;
  auto at = [&](qsizetype& i) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return i < text.size() ? text[i] : '\0';
  };
  qsizetype i = 0;
  if (const char c = at(i); c == '+' || c == '-') number += c, ++i;
  qsizetype digits = 0;
  for (char c = at(i); isDigit(c); c = at(++i)) number += c, ++digits;
  if (at(i) == '.') {
    number += '.';
    for (char c = at(++i); isDigit(c); c = at(++i)) number += c, ++digits;
  }
  if (digits == 0) return 0;
  if (const char e = at(i); e == 'e' || e == 'E' || e == 'd' || e == 'D') {
    std::string exponent = "e";
    if (const char s = at(++i); s == '+' || s == '-') exponent += s, ++i;
    bool any = false;
    for (char c = at(i); isDigit(c); c = at(++i)) exponent += c, any = true;
    if (any) number += exponent;
  }
  return std::strtod(number.c_str(), nullptr);
}

bool isDueDate(QByteArrayView yyyymmdd) {
  if (yyyymmdd.size() != 8) return false;
  for (const char c : yyyymmdd) {
    if (!isDigit(c)) return false;
  }
  const int year = yyyymmdd.first(4).toInt();
  const int month = yyyymmdd.sliced(4, 2).toInt();
  const int day = yyyymmdd.sliced(6, 2).toInt();
  return year > 1998 && esFechaReal(year, month, day);
}

}  // namespace tarquelas::voucher
