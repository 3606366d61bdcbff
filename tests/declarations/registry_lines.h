// Valid registry file records for tests, built column by column.
#pragma once

#include <QByteArray>

#include "common/line_builder.h"

namespace tarquelas::testing {

inline QByteArray digits(int value, int width) {
  return QByteArray::number(value).rightJustified(width, '0');
}

// clang-format off
inline LineBuilder registryHeader() {
  return LineBuilder(300).at(1, "CD").at(3, "0001234").at(10, "C\xE1mara de Administradores")
      .at(110, "0000004711").at(120, "202603120930");
}

inline LineBuilder administration(int number) {
  return LineBuilder(300).at(1, "A").at(2, digits(number, 6)).at(8, "30712345671")
      .at(19, "Administraci\xF3n Pe\xF1" "a y Asoc.").at(69, "Av. C\xF3rdoba").at(119, "001234");
}

// Totals: last record number, administrations, consortia, workers, relations.
inline LineBuilder trailer(int last, int administrations, int consortia, int workers, int relations) {
  return LineBuilder(300).at(1, "P").at(2, digits(last, 8)).at(10, digits(administrations, 8))
      .at(18, digits(consortia, 6)).at(24, digits(workers, 6)).at(30, digits(0, 7))
      .at(37, digits(relations, 7));
}
// clang-format on

}  // namespace tarquelas::testing
