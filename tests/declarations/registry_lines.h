// Valid registry file records for tests, built column by column.
#pragma once

#include <QByteArray>
#include <QList>

#include "common/line_builder.h"

namespace tarquelas::testing {

inline constexpr char kAdministration[] = "30712345671";
inline constexpr char kOtherAdministration[] = "33700000015";
inline constexpr char kConsortium[] = "30500000021";
inline constexpr char kOtherConsortium[] = "30000000007";
inline constexpr char kWorker[] = "20123456786";
inline constexpr char kBadCheckDigit[] = "30500000022";

inline QByteArray digits(int value, int width) {
  return QByteArray::number(value).rightJustified(width, '0');
}

// clang-format off
inline LineBuilder registryHeader() {
  return LineBuilder(300).at(1, "CD").at(3, "0001234").at(10, "C\xE1mara de Administradores")
      .at(110, "0000004711").at(120, "202603120930");
}

inline LineBuilder administration(int number, const char* cuit = kAdministration) {
  return LineBuilder(300).at(1, "A").at(2, digits(number, 6)).at(8, cuit)
      .at(19, "Administraci\xF3n Pe\xF1" "a y Asoc.").at(69, "Av. C\xF3rdoba").at(119, "001234");
}

inline LineBuilder consortium(int number, const char* cuit = kConsortium) {
  return LineBuilder(300).at(1, "1").at(2, digits(number, 6)).at(8, "0000101").at(15, cuit)
      .at(26, "20050301").at(34, "Tucum\xE1n").at(104, "A").at(105, "H")
      .at(106, "Mu\xF1oz Jos\xE9").at(187, "N");
}

inline LineBuilder worker(int number, const char* cuil = kWorker, const char* consortiumCuit = kConsortium) {
  return LineBuilder(300).at(1, "2").at(2, digits(number, 6)).at(8, cuil).at(19, consortiumCuit)
      .at(30, "Ib\xE1\xF1" "ez").at(50, "Ram\xF3n").at(100, "1").at(258, "01").at(290, "01");
}

inline LineBuilder beneficiary(int number, const char* cuil = kWorker) {
  return LineBuilder(300).at(1, "3").at(2, digits(number, 6)).at(8, cuil).at(19, "Ib\xE1\xF1" "ez");
}

inline LineBuilder relation(int number, const char* consortiumCuit = kConsortium,
                            const char* administrationCuit = kAdministration) {
  return LineBuilder(300).at(1, "9").at(2, digits(number, 6)).at(8, consortiumCuit)
      .at(19, administrationCuit);
}

// Totals: last record number, administrations, consortia, workers, relations.
inline LineBuilder trailer(int last, int administrations, int consortia, int workers, int relations) {
  return LineBuilder(300).at(1, "P").at(2, digits(last, 8)).at(10, digits(administrations, 8))
      .at(18, digits(consortia, 6)).at(24, digits(workers, 6)).at(30, digits(0, 7))
      .at(37, digits(relations, 7));
}
// clang-format on

// A valid file: header, one administration, one consortium with a worker
// and a beneficiary, the relation, the trailer.
inline QList<QByteArray> validRegistry() {
  return {registryHeader(), administration(1), consortium(2),         worker(3),
          beneficiary(4),   relation(5),       trailer(5, 1, 1, 1, 1)};
}

}  // namespace tarquelas::testing
