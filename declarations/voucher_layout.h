// Record layout of the voucher file (kind "B"): a header record, one detail
// record per concept line of every voucher, and a closing record. The kind
// of a record is told by its line length alone, counted after the UTF-8
// repair; fields are 1-based positions, as in the office's documents.
#pragma once

#include "support/fields.h"

namespace tarquelas::voucher {

// The kind letter recognition gives a voucher file (sTipoArchivo).
inline constexpr char kKindLetter = 'B';
// Recognition: a digit in this position of the first line means voucher file.
inline constexpr Field kKindTest{2, 1};

// Line lengths that make a record; any other length is not a record.
inline constexpr int kHeaderLength = 132;
inline constexpr int kDetailLength = 549;
inline constexpr int kClosingLength = 18;

// Header record (the first line).
namespace header {
inline constexpr Field entityType{1, 1};  // "C", "A" or "N"
inline constexpr Field entityCode{2, 7};
inline constexpr Field entityName{9, 50};
inline constexpr Field periodMonth{109, 2};
inline constexpr Field periodYear{111, 4};
inline constexpr Field presentationId{115, 10};
inline constexpr Field processingDate{125, 8};  // yyyymmdd
inline constexpr Field processingYear{125, 4};
inline constexpr Field processingMonth{129, 2};
inline constexpr Field processingDay{131, 2};
// The entity types a header may carry, compared case-sensitively.
inline constexpr char kEntityTypes[] = "CAN";
}  // namespace header

// Detail record: one concept line of one voucher. Positions 7-295 and
// 350-549 hold voucher-level data repeated on every line of the voucher.
namespace detail {
inline constexpr Field consortiumNumber{7, 7};
inline constexpr Field cuit{14, 11};
inline constexpr Field formCode{25, 5};  // "F0101", ...
inline constexpr Field institutionName{30, 80};
inline constexpr Field consortiumName{110, 80};
inline constexpr Field declarationNumber{190, 2};
inline constexpr Field voucherNumber{192, 10};
inline constexpr Field workerCount{202, 3};
inline constexpr Field conceptsTotal{205, 8};  // amounts: 6 integer + 2 decimal digits
inline constexpr Field paymentsOnAccount{213, 8};
inline constexpr Field totalToPay{221, 8};
inline constexpr Field dueDate{229, 8};  // yyyymmdd
inline constexpr Field dueYear{229, 4};
inline constexpr Field dueMonth{233, 2};
inline constexpr Field dueDay{235, 2};
inline constexpr Field barCode{237, 59};  // 59 zeros: no bar code
inline constexpr Field conceptText{296, 30};
inline constexpr Field conceptAmount{326, 8};
inline constexpr Field conceptInterest{334, 8};
inline constexpr Field conceptTotal{342, 8};
inline constexpr Field observations{350, 200};  // form F0808: the workers' C.U.I.L.s
// The observations are read only for this form.
inline constexpr char kWorkerListForm[] = "F0808";
}  // namespace detail

}  // namespace tarquelas::voucher
