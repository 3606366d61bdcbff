#include "declarations/registry_checks.h"

#include <array>
#include <optional>

#include "declarations/messages.h"
#include "declarations/registry_layout.h"
#include "support/varias.h"

namespace tarquelas {

bool existeEnArreglo(const QList<QByteArray>& list, QByteArrayView text) {
  for (const QByteArray& element : list) {
    if (element == text) return true;
  }
  return false;
}

namespace registry {
namespace {

// The value of a text made only of decimal digits (at most 18), or nothing.
std::optional<qint64> digitsValue(QByteArrayView digits) {
  if (digits.isEmpty() || digits.size() > 18) return std::nullopt;
  qint64 value = 0;
  for (const char c : digits) {
    if (!isDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// A record number or a total: decimal digits with blanks around; anything
// else is not a number.
std::optional<qint64> wholeNumber(QByteArrayView text) { return digitsValue(trimBlanks(text)); }

// Eleven digits and nothing else, so that the number stands for exactly
// one text: "03050000000" and "3050000000 " are different C.U.I.T.s.
std::optional<qint64> elevenDigits(QByteArrayView cuit) {
  if (cuit.size() != 11) return std::nullopt;
  return digitsValue(cuit);
}

char upper(QByteArrayView letter) {
  if (letter.size() != 1) return '\0';
  const char c = letter[0];
  return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

using Messages = Checker::Messages;

struct TypeChecks {
  char type;
  void (Checker::*check)(QByteArrayView, Messages&);
};

}  // namespace

void CuitSet::insert(QByteArrayView cuit) {
  if (const auto number = elevenDigits(cuit)) {
    numbers_.insert(*number);
  } else {
    others_.insert(cuit.toByteArray());
  }
}

bool CuitSet::contains(QByteArrayView cuit) const {
  if (const auto number = elevenDigits(cuit)) return numbers_.contains(*number);
  return others_.contains(cuit.toByteArray());
}

Messages Checker::check(QByteArrayView line) {
  static constexpr std::array kByType = {
      TypeChecks{kAdministrationType, &Checker::checkAdministration},
      TypeChecks{kConsortiumType, &Checker::checkConsortium},
      TypeChecks{kWorkerType, &Checker::checkWorker},
      TypeChecks{kRelationType, &Checker::checkRelation},
      TypeChecks{kTrailerType, &Checker::checkTrailer},
  };
  Messages out;
  if (line.size() != kLineLength) out.append(messages::kLength);
  const QByteArrayView type = recordType.in(line);
  const char letter = type.isEmpty() ? '\0' : type[0];
  if (letter != kHeaderType && letter != kTrailerType) checkNumbering(line, out);
  for (const TypeChecks& entry : kByType) {
    if (entry.type == letter) (this->*entry.check)(line, out);
  }
  return out;
}

void Checker::checkNumbering(QByteArrayView line, Messages& out) {
  const auto number = wholeNumber(recordNumber.in(line));
  if (!number || *number != lastNumber_ + 1) out.append(messages::kNotCorrelative);
  if (number) lastNumber_ = *number;
}

void Checker::checkAdministration(QByteArrayView line, Messages& out) {
  const QByteArrayView cuit = administration::cuit.in(line);
  if (!validarCUIT(cuit)) out.append(messages::kAdministrationCuit);
  administrationCuits_.insert(cuit);
  ++administrations_;
}

void Checker::checkConsortium(QByteArrayView line, Messages& out) {
  const QByteArrayView cuit = consortium::cuit.in(line);
  if (!validarCUIT(cuit)) out.append(messages::kConsortiumCuit);
  consortiumCuits_.insert(cuit);
  latestConsortium_ = cuit.toByteArray();
  anyConsortium_ = true;
  const char rent = upper(consortium::rentOrHorizontal.in(line));
  if (rent != 'R' && rent != 'H') out.append(messages::kRentOrHorizontal);
  const char self = upper(consortium::selfAdministered.in(line));
  if (self != 'S' && self != 'N') out.append(messages::kSelfAdministered);
  ++consortia_;
}

void Checker::checkWorker(QByteArrayView line, Messages& out) {
  if (!validarCUIT(worker::cuil.in(line))) out.append(messages::kWorkerCuil);
  const QByteArrayView cuit = worker::consortiumCuit.in(line);
  if (!validarCUIT(cuit)) out.append(messages::kConsortiumCuit);
  if (!anyConsortium_ || cuit != latestConsortium_) out.append(messages::kWorkerConsortium);
  ++workers_;
}

void Checker::checkRelation(QByteArrayView line, Messages& out) {
  const QByteArrayView consortiumCuit = relation::consortiumCuit.in(line);
  const QByteArrayView administrationCuit = relation::administrationCuit.in(line);
  if (!validarCUIT(consortiumCuit)) out.append(messages::kConsortiumCuit);
  if (!validarCUIT(administrationCuit)) out.append(messages::kAdministrationCuit);
  if (!consortiumCuits_.contains(consortiumCuit)) out.append(messages::kUnknownConsortium);
  if (!administrationCuits_.contains(administrationCuit)) out.append(messages::kUnknownAdministration);
  ++relations_;
}

void Checker::checkTrailer(QByteArrayView line, Messages& out) {
  const struct {
    Field field;
    qint64 expected;
    QByteArrayView message;
  } totals[] = {
      {trailer::numberedRecords, lastNumber_, messages::kTotalRecords},
      {trailer::administrations, administrations_, messages::kTotalAdministrations},
      {trailer::consortia, consortia_, messages::kTotalConsortia},
      {trailer::workers, workers_, messages::kTotalWorkers},
      {trailer::relations, relations_, messages::kTotalRelations},
  };
  for (const auto& total : totals) {
    const auto value = wholeNumber(total.field.in(line));
    if (!value || *value != total.expected) out.append(total.message);
  }
}

}  // namespace registry
}  // namespace tarquelas
