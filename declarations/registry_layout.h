// Record layout of the registry file (kind "D"): every line 300 characters,
// the record type in position 1 (compared case-sensitively). Every record
// but the header and the trailer carries a record number; numbered records
// run 1, 2, 3, ... across all types. Fields are 1-based positions.
#pragma once

#include "support/fields.h"

namespace tarquelas::registry {

// The kind letter recognition gives every file that is not a voucher file
// (sTipoArchivo); the header carries it in position 2.
inline constexpr char kKindLetter = 'D';

inline constexpr int kLineLength = 300;

// Record types, position 1.
inline constexpr Field recordType{1, 1};
inline constexpr char kHeaderType = 'C';
inline constexpr char kAdministrationType = 'A';
inline constexpr char kConsortiumType = '1';
inline constexpr char kWorkerType = '2';
inline constexpr char kBeneficiaryType = '3';
inline constexpr char kRelationType = '9';
inline constexpr char kTrailerType = 'P';

// Record number of every numbered record (all types but header and trailer).
inline constexpr Field recordNumber{2, 6};

// Header record "C" (line 1).
namespace header {
inline constexpr Field kindLetter{2, 1};  // "D"
inline constexpr Field entityCode{3, 7};
inline constexpr Field entityName{10, 50};
inline constexpr Field presentationId{110, 10};
inline constexpr Field presentationDate{120, 8};  // yyyymmdd
inline constexpr Field presentationYear{120, 4};
inline constexpr Field presentationMonth{124, 2};
inline constexpr Field presentationDay{126, 2};
inline constexpr Field presentationTime{128, 4};  // hhmm
inline constexpr Field presentationHour{128, 2};
inline constexpr Field presentationMinutes{130, 2};
}  // namespace header

// Administration record "A".
namespace administration {
inline constexpr Field cuit{8, 11};
inline constexpr Field name{19, 50};  // denominación
inline constexpr Field street{69, 50};
inline constexpr Field streetNumber{119, 6};
inline constexpr Field floor{125, 4};
inline constexpr Field apartment{129, 3};  // depto
inline constexpr Field postalCode{132, 8};
inline constexpr Field telephones{140, 30};
inline constexpr Field email{170, 50};
inline constexpr Field personInCharge{220, 50};  // responsable
inline constexpr Field cabaNumber{270, 8};
}  // namespace administration

// Consortium record "1".
namespace consortium {
inline constexpr Field key{8, 7};  // clave
inline constexpr Field cuit{15, 11};
inline constexpr Field startDate{26, 8};  // yyyymmdd
inline constexpr Field street{34, 50};
inline constexpr Field streetNumber{84, 6};
inline constexpr Field postalCode{90, 8};
inline constexpr Field floors{98, 3};  // pisos
inline constexpr Field units{101, 3};  // unidades
inline constexpr Field category{104, 1};
inline constexpr Field rentOrHorizontal{105, 1};  // "R" or "H", either case
inline constexpr Field owner{106, 70};            // propietario
inline constexpr Field commonCharges{176, 11};    // expensas
inline constexpr Field selfAdministered{187, 1};  // "S" or "N", either case
}  // namespace consortium

// Worker record "2".
namespace worker {
inline constexpr Field cuil{8, 11};
inline constexpr Field consortiumCuit{19, 11};  // the latest consortium record's
inline constexpr Field surname{30, 20};
inline constexpr Field givenNames{50, 50};
inline constexpr Field documentType{100, 1};
inline constexpr Field documentNumber{101, 10};
inline constexpr Field sex{111, 1};
inline constexpr Field civilStatus{112, 1};
inline constexpr Field birthDate{113, 8};        // yyyymmdd
inline constexpr Field healthInsurance{121, 6};  // obra social
inline constexpr Field street{127, 30};
inline constexpr Field streetNumber{157, 6};
inline constexpr Field floor{163, 4};
inline constexpr Field apartment{167, 3};
inline constexpr Field postalCode{170, 8};
inline constexpr Field telephones{178, 30};
inline constexpr Field email{208, 50};
inline constexpr Field nationality{258, 2};
inline constexpr Field nationalityInWords{260, 30};
inline constexpr Field jobFunction{290, 2};
}  // namespace worker

// Beneficiary record "3".
namespace beneficiary {
inline constexpr Field workerCuil{8, 11};
inline constexpr Field surname{19, 30};
inline constexpr Field givenNames{49, 50};
inline constexpr Field documentType{99, 1};
inline constexpr Field documentNumber{100, 10};
inline constexpr Field relationship{110, 25};  // parentesco
inline constexpr Field percentage{135, 3};     // porcentaje
}  // namespace beneficiary

// Consortium-administration relation record "9".
namespace relation {
inline constexpr Field consortiumCuit{8, 11};
inline constexpr Field administrationCuit{19, 11};
}  // namespace relation

// Trailer record "P": control totals of the records before it.
namespace trailer {
inline constexpr Field numberedRecords{2, 8};  // the last record number
inline constexpr Field administrations{10, 8};
inline constexpr Field consortia{18, 6};
inline constexpr Field workers{24, 6};
inline constexpr Field relations{37, 7};
}  // namespace trailer

}  // namespace tarquelas::registry
