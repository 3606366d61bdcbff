#include "support/fields.h"

namespace tarquelas {

QByteArrayView Field::in(QByteArrayView line) const {
  if (length <= 0 || start < 1) return {};
  const qsizetype from = qsizetype(start) - 1;
  if (from >= line.size()) return {};
  return line.sliced(from, qMin<qsizetype>(length, line.size() - from));
}

QByteArrayView Field::trimmedIn(QByteArrayView line) const { return trimBlanks(in(line)); }

QByteArrayView trimBlanks(QByteArrayView line) {
  qsizetype b = 0, e = line.size();
  while (b < e && line[b] == ' ') ++b;
  while (e > b && line[e - 1] == ' ') --e;
  return line.sliced(b, e - b);
}

}  // namespace tarquelas
