#include "declarations/voucher_checks.h"

#include <locale.h>
#include <stdlib.h>

#include <array>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstdlib>
#include <string>

#include "declarations/messages.h"
#include "declarations/voucher_layout.h"
#include "support/varias.h"

namespace tarquelas::voucher {
namespace {

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

// The UTF-8 repair leaves a line as it is when it holds no NUL, no CR,
// and no byte of the form 11xxxxxx (a possible start of a UTF-8 sequence)
// followed by one of the form 10xxxxxx (a continuation); single-byte
// accented letters pass. A false alarm only costs the full repair, which
// gives the same result. Lines are long, so sixteen bytes are looked at
// at once where the processor allows it.
struct PlainScan {
  bool leadBefore = false;  // the byte before the next one is 11xxxxxx

  bool byte(unsigned char b) {
    if (b == 0 || b == '\r' || (leadBefore && (b & 0xC0) == 0x80)) return false;
    leadBefore = (b & 0xC0) == 0xC0;
    return true;
  }

#if defined(__SSE2__)
  // bit7 and bit6 hold bit 7 and bit 6 of each of sixteen bytes.
  bool block(const char* at) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i stops =
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_setzero_si128()), _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')));
    if (_mm_movemask_epi8(stops) != 0) return false;
    const unsigned bit7 = unsigned(_mm_movemask_epi8(v));
    if (bit7 == 0) {
      leadBefore = false;
      return true;
    }
    const unsigned bit6 = unsigned(_mm_movemask_epi8(_mm_slli_epi16(v, 1)));
    const unsigned lead = bit7 & bit6;
    const unsigned continuation = bit7 & ~bit6;
    if ((((lead << 1) | unsigned(leadBefore)) & continuation) != 0) return false;
    leadBefore = (lead & 0x8000) != 0;
    return true;
  }
  static constexpr qsizetype kBlock = 16;
#endif
};

bool repairLeavesAlone(QByteArrayView line) {
  PlainScan scan;
  qsizetype i = 0;
#if defined(__SSE2__)
  for (; i + PlainScan::kBlock <= line.size(); i += PlainScan::kBlock) {
    if (!scan.block(line.data() + i)) return false;
  }
#endif
  for (; i < line.size(); ++i) {
    if (!scan.byte(static_cast<unsigned char>(line[i]))) return false;
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
    while (i < text.size() && text[i] == ' ') ++i;
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
  // Read in the C locale: under a locale whose decimal separator is a
  // comma, strtod would stop at the point.
  static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
  return strtod_l(number.c_str(), nullptr, cLocale);
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
