// Conversion between Windows-1252 bytes and Qt text. Every file of the system
// is Windows-1252; QString exists only for display and for file names.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

namespace tarquelas {

// Each byte becomes its Windows-1252 character. The five bytes the code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of
// the same value, so the conversion never loses a byte.
QString fromCp1252(QByteArrayView bytes);

// Each character becomes its Windows-1252 byte; a character the code page
// cannot hold becomes '?'.
QByteArray toCp1252(QStringView text);

// The Windows-1252 byte for a Unicode code point, or -1 when there is none.
int cp1252ByteFor(char32_t codePoint);

}  // namespace tarquelas
