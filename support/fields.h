// Fixed-width fields. Record layouts give 1-based positions, as the office's
// documents do; this is the one place where they become 0-based offsets.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace tarquelas {

// A field of a fixed-width record: 1-based start and length in bytes.
struct Field {
  int start = 1;
  int length = 0;

  // The field's bytes in line; the part beyond the end of the line is
  // missing, so a field that starts past the end is empty. Never throws.
  QByteArrayView in(QByteArrayView line) const;
  // Same, with leading and trailing blanks removed.
  QByteArrayView trimmedIn(QByteArrayView line) const;
  // 1-based position of the field's last byte.
  int end() const { return start + length - 1; }
};

// Piece of line at 1-based start with length (Mid$ semantics without errors).
inline QByteArrayView mid(QByteArrayView line, int start, int length) {
  return Field{start, length}.in(line);
}

// line without leading and trailing blanks (only ' ' counts as a blank).
QByteArrayView trimBlanks(QByteArrayView line);

}  // namespace tarquelas
