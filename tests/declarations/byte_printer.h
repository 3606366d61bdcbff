// How tests print bytes when a comparison fails. Every test file of this
// folder includes it, so that all of them print QByteArray the same way
// (one printer per program).
#pragma once

#include <QByteArray>
#include <ostream>

// Failures show bytes as escaped text rather than one element per byte.
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
  *os << '"';
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\r') {
      *os << "\\r";
    } else if (c == '\n') {
      *os << "\\n";
    } else if (u < 0x20 || u >= 0x7F) {
      static const char kHex[] = "0123456789ABCDEF";
      *os << "\\x" << kHex[u >> 4] << kHex[u & 15];
    } else {
      *os << c;
    }
  }
  *os << '"';
}
