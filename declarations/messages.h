// Every text the validators write into the error file, as Windows-1252
// bytes, in one place so tests can assert them word for word.
#pragma once

#include <QByteArrayView>

namespace tarquelas::messages {

// Voucher file: one error line per faulty line, "Línea N: " followed by the
// pieces of the failed checks in check order, each ending in ". ".
inline constexpr QByteArrayView kVoucherLinePrefix = "L\xEDnea ";
inline constexpr QByteArrayView kAfterLineNumber = ": ";
inline constexpr QByteArrayView kEntityType = "Tipo de Entidad. ";
inline constexpr QByteArrayView kMonth = "Mes. ";
inline constexpr QByteArrayView kYear = "A\xF1o. ";
inline constexpr QByteArrayView kProcessingDate = "Fecha de Proceso. ";
inline constexpr QByteArrayView kCuit = "CUIT. ";
inline constexpr QByteArrayView kDueDate = "Fecha de vencimiento. ";
inline constexpr QByteArrayView kLineLength = "Longitud de l\xEDnea. ";

// Registry file: one report per failed check, "Error Línea N" followed by
// the message, which begins with ": ".
inline constexpr QByteArrayView kRegistryLinePrefix = "Error L\xEDnea ";
inline constexpr QByteArrayView kLength = ": La longitud de la l\xEDnea es err\xF3nea";
inline constexpr QByteArrayView kNotCorrelative = ": El n\xFAmero de registro no es correlativo";
inline constexpr QByteArrayView kAdministrationCuit = ": El C.U.I.T. de la administraci\xF3n es inv\xE1lido";
inline constexpr QByteArrayView kConsortiumCuit = ": El C.U.I.T. del consorcio es inv\xE1lido";
inline constexpr QByteArrayView kRentOrHorizontal =
    ": No se especifica si el consorcio es de Renta u Horizontal";
inline constexpr QByteArrayView kSelfAdministered =
    ": No se especifica si el consorcio es auto-administrado o no";
inline constexpr QByteArrayView kWorkerCuil = ": El C.U.I.L. del trabajador es inv\xE1lido";
inline constexpr QByteArrayView kWorkerConsortium =
    ": El C.U.I.T. del consorcio no coincide con el registro de tipo 1 anterior";
inline constexpr QByteArrayView kUnknownConsortium = ": No hay registro previo de este consorcio";
inline constexpr QByteArrayView kUnknownAdministration = ": No hay registro previo de esta administraci\xF3n";
inline constexpr QByteArrayView kTotalRecords = ": La cantidad de registros totales no coincide";
// Spelt as the office's system has always written it.
inline constexpr QByteArrayView kTotalAdministrations =
    ": La cantidad de registros de administaciones no coincide";
inline constexpr QByteArrayView kTotalConsortia = ": La cantidad de registros de consorcios no coincide";
inline constexpr QByteArrayView kTotalWorkers = ": La cantidad de registros de trabajadores no coincide";
inline constexpr QByteArrayView kTotalRelations =
    ": La cantidad de registros de relaciones Consorcio-Administraci\xF3n no coincide";

}  // namespace tarquelas::messages
