// Case tables kept under tests/data/: one case a line, its fields parted by
// '|', any byte written as %XX ("%7C" for '|'); empty lines and lines
// starting with '#' are notes.
#pragma once

#include <QList>

#include "data_file.h"

namespace tarquelas::testing {

inline QList<QList<QByteArray>> dataRows(const char* name) {
  QList<QList<QByteArray>> rows;
  for (const QByteArray& line : readBytes(dataPath(name)).split('\n')) {
    if (line.isEmpty() || line.startsWith('#')) continue;
    rows.append(line.split('|'));
    for (QByteArray& field : rows.last()) field = QByteArray::fromPercentEncoding(field);
  }
  EXPECT_FALSE(rows.isEmpty()) << "tests/data/" << name << " holds no case";
  return rows;
}

}  // namespace tarquelas::testing
