#include "support/varias.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <array>
#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

#include "support/cp1252.h"
#include "support/fields.h"

namespace tarquelas {
namespace {

bool allDigits(QByteArrayView text) {
  if (text.isEmpty()) return false;
  for (char c : text)
    if (!isDigit(c)) return false;
  return true;
}

// Number of bytes of the well-formed UTF-8 sequence starting at s[i], with
// its code point; 0 when s[i] does not start one.
int utf8Sequence(QByteArrayView s, qsizetype i, char32_t& cp) {
  const auto at = [&](qsizetype k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = at(i);
  const qsizetype left = s.size() - i;
  const auto cont = [&](qsizetype k, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
    return k < s.size() && at(k) >= lo && at(k) <= hi;
  };
  if (b0 >= 0xC2 && b0 <= 0xDF && left >= 2 && cont(i + 1)) {
    cp = char32_t(b0 & 0x1F) << 6 | (at(i + 1) & 0x3F);
    return 2;
  }
  if (b0 >= 0xE0 && b0 <= 0xEF && left >= 3) {
    const unsigned char lo = b0 == 0xE0 ? 0xA0 : 0x80;
    const unsigned char hi = b0 == 0xED ? 0x9F : 0xBF;
    if (cont(i + 1, lo, hi) && cont(i + 2)) {
      cp = char32_t(b0 & 0x0F) << 12 | char32_t(at(i + 1) & 0x3F) << 6 | (at(i + 2) & 0x3F);
      return 3;
    }
  }
  if (b0 >= 0xF0 && b0 <= 0xF4 && left >= 4) {
    const unsigned char lo = b0 == 0xF0 ? 0x90 : 0x80;
    const unsigned char hi = b0 == 0xF4 ? 0x8F : 0xBF;
    if (cont(i + 1, lo, hi) && cont(i + 2) && cont(i + 3)) {
      cp = char32_t(b0 & 0x07) << 18 | char32_t(at(i + 1) & 0x3F) << 12 | char32_t(at(i + 2) & 0x3F) << 6 |
           (at(i + 3) & 0x3F);
      return 4;
    }
  }
  return 0;
}

char repairedCharacter(char32_t cp) {
  if ((cp >= 0x2010 && cp <= 0x2015) || cp == 0x2212) return '-';
  if (cp >= 0x80 && cp <= 0x9F) return '?';  // C1 controls are no text
  const int b = cp1252ByteFor(cp);
  return b < 0 ? '?' : char(b);
}

}  // namespace

bool existeArchivo(const QString& path) {
  if (path.isEmpty()) return false;
  return QFileInfo::exists(path);
}

QString sinBlancosLaterales(const QString& path) {
  qsizetype begin = 0, end = path.size();
  while (begin < end && path[begin] == u' ') ++begin;
  while (end > begin && path[end - 1] == u' ') --end;
  return path.sliced(begin, end - begin);
}

QString archivoDePresentacion(const QString& typed) {
  if (existeArchivo(typed)) return typed;
  return sinBlancosLaterales(typed);
}

bool esMismoArchivo(const QString& a, const QString& b) {
  const QFileInfo fa(a), fb(b);
  if (fa.exists() != fb.exists()) return false;
  if (!fa.exists()) {
    const QString folder = QFileInfo(fa.absolutePath()).canonicalFilePath();
    return fa.fileName() == fb.fileName() && !folder.isEmpty() &&
           folder == QFileInfo(fb.absolutePath()).canonicalFilePath();
  }
#if defined(Q_OS_UNIX)
  struct stat sa {
  }, sb{};
  if (::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
      ::stat(QFile::encodeName(b).constData(), &sb) == 0) {
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  }
#endif
  return fa.canonicalFilePath() == fb.canonicalFilePath();
}

bool esNombreIrrepresentable(const QString& path) {
  return path.contains(QChar::ReplacementCharacter) && !existeArchivo(path);
}

QPoint centredTopLeft(QSize screen, QSize window) {
  const int left = (screen.width() - window.width()) / 2;
  const int top = int((screen.height() - window.height()) / 2.0 * 0.4);
  return {left, top};
}

std::optional<int> digitoVerificador(QByteArrayView text) {
  static constexpr std::array<int, 10> kWeights = {5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
  if (text.size() < 10) return std::nullopt;
  int sum = 0;
  for (int i = 0; i < 10; ++i) {
    if (!isDigit(text[i])) return std::nullopt;
    sum += kWeights[i] * (text[i] - '0');
  }
  const int r = sum % 11;
  if (r == 0) return 0;
  const int digit = 11 - r;
  return digit == 10 ? 1 : digit;
}

bool validarCUIT(QByteArrayView text) {
  if (trimBlanks(text).size() != 11) return false;
  if (!esNumerico(text)) return false;
  if (text.size() < 2) return false;
  const QByteArrayView prefix = text.first(2);
  if (prefix == "00" || prefix == "99") return false;
  const auto digit = digitoVerificador(text);
  if (!digit) return false;
  const char last = text.back();
  const int lastValue = isDigit(last) ? last - '0' : 0;
  return lastValue == *digit;
}

QByteArray formatearCUIT(QByteArrayView value) {
  const QByteArrayView t = trimBlanks(value);
  if (t.isEmpty() || valorNumerico(value) < 0 || t.size() != 11) return QByteArray(kMascaraCUIT);
  QByteArray out;
  out.reserve(13);
  out.append(t.first(2)).append('-').append(t.sliced(2, 8)).append('-').append(t.back());
  return out;
}

bool esNumerico(QByteArrayView text) {
  const QByteArrayView t = trimBlanks(text);
  qsizetype i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  qsizetype digits = 0;
  while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && isDigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    if (i >= t.size() || !isDigit(t[i])) return false;
    while (i < t.size() && isDigit(t[i])) ++i;
  }
  return i == t.size();
}

double valorNumerico(QByteArrayView text) {
  if (!esNumerico(text)) return 0;
  bool ok = false;
  const double v = trimBlanks(text).toByteArray().toDouble(&ok);
  return ok ? v : 0;
}

std::optional<qint64> valorEntero(QByteArrayView text) {
  const QByteArrayView t = trimBlanks(text);
  qsizetype i = (!t.isEmpty() && (t[0] == '+' || t[0] == '-')) ? 1 : 0;
  if (!allDigits(t.sliced(i))) return std::nullopt;
  bool ok = false;
  const qint64 v = t.toByteArray().toLongLong(&ok);
  if (!ok) return std::nullopt;
  return v;
}

bool esFechaReal(int year, int month, int day) { return QDate::isValid(year, month, day); }

namespace {
// The text read as a date in day/month/year order, as a date parser of the
// office's locale does: three numbers with one separator kind.
bool esFecha(QByteArrayView text) {
  const QByteArrayView t = trimBlanks(text);
  char sep = 0;
  for (char c : t) {
    if (c == '/' || c == '-' || c == '.') {
      sep = c;
      break;
    }
  }
  if (!sep) return false;
  const QList<QByteArray> parts = t.toByteArray().split(sep);
  if (parts.size() != 3) return false;
  for (const QByteArray& p : parts)
    if (!allDigits(p) || p.size() > 4) return false;
  if (parts[2].size() != 4 && parts[2].size() != 2) return false;
  const int year = parts[2].size() == 2 ? 1900 + parts[2].toInt() : parts[2].toInt();
  return esFechaReal(year, parts[1].toInt(), parts[0].toInt());
}
}  // namespace

bool validarFecha(QByteArrayView text) {
  if (!esFecha(text)) return false;
  const auto year = valorEntero(mid(text, 7, 4));
  if (!year || *year < 1900 || *year > 1998) return false;
  // A day or month that is not a number at its positions (a date written
  // without leading zeros, say "1/02/1996") is not a date of this form; a
  // blank in place of the leading zero still reads as a number.
  const auto monthValue = valorEntero(mid(text, 4, 2));
  const auto dayValue = valorEntero(mid(text, 1, 2));
  if (!monthValue || !dayValue) return false;
  const qint64 month = *monthValue;
  const qint64 day = *dayValue;
  int last = 0;
  switch (month) {
    case 4:
    case 6:
    case 9:
    case 11: last = 30; break;
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12: last = 31; break;
    case 2: last = (*year % 4 == 0) ? 29 : 28; break;
    default: return false;
  }
  return day >= 1 && day <= last;
}

QByteArray decodificarUTF8(QByteArrayView line) {
  QByteArray out;
  out.reserve(line.size());
  for (qsizetype i = 0; i < line.size();) {
    const char b = line[i];
    if (b == '\0') {
      ++i;
      continue;
    }
    if (b == '\r') {
      out.append("\r\n", 2);
      ++i;
      continue;
    }
    char32_t cp = 0;
    if (const int n = static_cast<unsigned char>(b) >= 0xC2 ? utf8Sequence(line, i, cp) : 0) {
      out.append(repairedCharacter(cp));
      i += n;
      continue;
    }
    out.append(b);
    ++i;
  }
  return out;
}

QByteArray sacaCeros(QByteArrayView text) {
  qsizetype i = 0;
  while (i < text.size() && text[i] == '0') ++i;
  if (i == text.size()) return text.isEmpty() ? QByteArray() : QByteArray("0");
  return text.sliced(i).toByteArray();
}

}  // namespace tarquelas
