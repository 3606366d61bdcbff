// Valid voucher file records for tests, built column by column so a test
// shows the exact bytes it changes.
#pragma once

#include "common/line_builder.h"

namespace tarquelas::testing {

// clang-format off
inline LineBuilder voucherHeader() {
  return LineBuilder(132).at(1, "C").at(2, "0001234").at(9, "Camara de Administradores").at(109, "03")
      .at(111, "2026").at(115, "0000004711").at(125, "20260305");
}

inline LineBuilder voucherDetail() {
  return LineBuilder(549).at(1, "000001").at(7, "0001000").at(14, "30123456781").at(25, "F0101")
      .at(30, "INSTITUTO DE SERVICIOS SOCIALES").at(110, "CONSORCIO AV. CORDOBA 1234").at(190, "01")
      .at(192, "0000012345").at(202, "007").at(205, "00012345").at(213, "00000000").at(221, "00012345")
      .at(229, "20260415").at(237, QByteArray(59, '0')).at(296, "Aporte del mes").at(326, "00012000")
      .at(334, "00000345").at(342, "00012345");
}

inline QByteArray voucherClosing() { return QByteArray("T00000001000000000"); }
// clang-format on

}  // namespace tarquelas::testing
