// The registry file validator end to end: the gathered findings in the
// error file and the copy made until the first finding, byte for byte.
#include <gtest/gtest.h>

#include "registry_lines.h"
#include "validation_fixture.h"

namespace tarquelas::testing {
namespace {

const QByteArray kLength = ": La longitud de la l\xEDnea es err\xF3nea";
const QByteArray kNotCorrelative = ": El n\xFAmero de registro no es correlativo";
const QByteArray kAdministrationCuit = ": El C.U.I.T. de la administraci\xF3n es inv\xE1lido";
const QByteArray kConsortiumCuit = ": El C.U.I.T. del consorcio es inv\xE1lido";
const QByteArray kRent = ": No se especifica si el consorcio es de Renta u Horizontal";
const QByteArray kSelf = ": No se especifica si el consorcio es auto-administrado o no";
const QByteArray kWorkerCuil = ": El C.U.I.L. del trabajador es inv\xE1lido";
const QByteArray kWorkerConsortium =
    ": El C.U.I.T. del consorcio no coincide con el registro de tipo 1 anterior";
const QByteArray kNoConsortium = ": No hay registro previo de este consorcio";
const QByteArray kNoAdministration = ": No hay registro previo de esta administraci\xF3n";
const QByteArray kTotal = ": La cantidad de registros totales no coincide";
const QByteArray kTotalAdministrations = ": La cantidad de registros de administaciones no coincide";
const QByteArray kTotalConsortia = ": La cantidad de registros de consorcios no coincide";
const QByteArray kTotalWorkers = ": La cantidad de registros de trabajadores no coincide";
const QByteArray kTotalRelations =
    ": La cantidad de registros de relaciones Consorcio-Administraci\xF3n no coincide";

struct Finding {
  int line;
  QByteArray message;
};

// The error file for findings: one line each, then one empty line; no file
// without findings.
QByteArray errorFileOf(const QList<Finding>& findings) {
  QByteArray bytes;
  for (const Finding& f : findings)
    bytes += "Error L\xEDnea " + QByteArray::number(f.line) + f.message + "\r\n";
  return bytes.isEmpty() ? bytes : bytes + "\r\n";
}

class RegistryValidation : public ValidationTest {
 protected:
  // Lines up to the first finding are copied: `copied` of them.
  void expectOutcome(const QList<QByteArray>& lines, const QList<Finding>& findings, qsizetype copied) {
    ASSERT_TRUE(validateBytes(validarArchivoPadron, crlf(lines)).isOk());
    EXPECT_EQ(errorFile(), errorFileOf(findings));
    EXPECT_EQ(auxFile(), crlf(lines.mid(0, copied)));
  }
};

// One line of validRegistry() replaced: the findings it gives, one line per
// failed check, and the copy stops before it.
TEST_F(RegistryValidation, OneFaultyLineGivesItsFindingsThenAnEmptyLineAndIsNotCopied) {
  const struct {
    int index;  // 0-based place in validRegistry()
    QByteArray line;
    QList<QByteArray> messages;
  } cases[] = {
      {1, administration(1).length(299), {kLength}},
      {1, administration(1).at(19, "Administraci\xC3\xB3n").length(301), {kLength}},  // UTF-8 is not repaired
      {1, administration(1).at(2, "  1   "), {}},
      {1, administration(1).at(250, QByteArray(3, '\0')), {}},  // NUL bytes are characters
      {2, consortium(2).at(105, " "), {kRent}},
      {2, consortium(2).at(187, "X"), {kSelf}},
      {2, consortium(2).at(105, "r").at(187, "s"), {}},
      {2, consortium(2).at(105, "h").at(187, "n"), {}},
      {2, consortium(2).at(105, "X").at(187, " "), {kRent, kSelf}},
      {3, worker(3, kBadCheckDigit), {kWorkerCuil}},
      {3, worker(3, kWorker, kOtherConsortium), {kWorkerConsortium}},
      {3, worker(3, kWorker, kBadCheckDigit), {kConsortiumCuit, kWorkerConsortium}},
      {4, beneficiary(4, "garbage"), {}},
      {5, relation(5, kOtherConsortium), {kNoConsortium}},
      {5, relation(5, kConsortium, kOtherAdministration), {kNoAdministration}},
      {5,
       relation(5, kBadCheckDigit, kBadCheckDigit),
       {kConsortiumCuit, kAdministrationCuit, kNoConsortium, kNoAdministration}},
      // The trailer: the last line alone faulty leaves every other line copied.
      {6, trailer(6, 1, 1, 1, 1), {kTotal}},
      {6, trailer(5, 2, 1, 1, 1), {kTotalAdministrations}},
      {6, trailer(5, 1, 0, 1, 1), {kTotalConsortia}},
      {6, trailer(5, 1, 1, 2, 1), {kTotalWorkers}},
      {6, trailer(5, 1, 1, 1, 3), {kTotalRelations}},
      {6,
       LineBuilder(300).at(1, "P").at(2, QByteArray(42, 'x')),
       {kTotal, kTotalAdministrations, kTotalConsortia, kTotalWorkers, kTotalRelations}},
      {6, trailer(5, 1, 1, 1, 1).at(2, "       5").at(37, "1      "), {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line.left(40).toStdString());
    QList<QByteArray> lines = validRegistry();
    lines[c.index] = c.line;
    QList<Finding> findings;
    for (const QByteArray& message : c.messages) findings.append({c.index + 1, message});
    expectOutcome(lines, findings, findings.isEmpty() ? lines.size() : c.index);
  }
}

TEST_F(RegistryValidation, WholeFilesGiveTheirFindingsInFileOrder) {
  const QByteArray h = registryHeader();
  QList<QByteArray> withoutTrailer = validRegistry();
  withoutTrailer.removeLast();
  const struct {
    qsizetype copied;
    QList<QByteArray> lines;
    QList<Finding> findings;
  } cases[] = {
      {7, validRegistry(), {}},
      {6, withoutTrailer, {}},
      {7, validRegistry() << "", {{8, kLength}, {8, kNotCorrelative}}},
      {1, {h, QByteArray(10 * 1024 * 1024, '7')}, {{2, kLength}, {2, kNotCorrelative}}},
      // An invalid consortium troubles the records that name it, as they come.
      {2,
       {h, administration(1), consortium(2, kBadCheckDigit), worker(3), beneficiary(4), relation(5),
        trailer(5, 1, 1, 1, 1)},
       {{3, kConsortiumCuit}, {4, kWorkerConsortium}, {6, kNoConsortium}}},
      {2,
       {h, administration(1), consortium(2, kBadCheckDigit), worker(3, kWorker, kBadCheckDigit),
        relation(4, kBadCheckDigit), trailer(4, 1, 1, 1, 1)},
       {{3, kConsortiumCuit}, {4, kConsortiumCuit}, {5, kConsortiumCuit}}},
      {1,
       {h, administration(1, kBadCheckDigit), consortium(2), relation(3, kConsortium, kBadCheckDigit),
        trailer(3, 1, 1, 0, 1)},
       {{2, kAdministrationCuit}, {4, kAdministrationCuit}}},
      // Numbering: a gap once, then totals follow the last number.
      {2,
       {h, administration(1), consortium(3), worker(4), beneficiary(5), relation(6), trailer(6, 1, 1, 1, 1)},
       {{3, kNotCorrelative}}},
      {2,
       {h, administration(1), consortium(2).at(2, "xxxxxx"), worker(2), trailer(2, 1, 1, 1, 0)},
       {{3, kNotCorrelative}}},
      {1,
       {h, administration(1).at(2, "+00001"), consortium(2)},
       {{2, kNotCorrelative}, {3, kNotCorrelative}}},
      // Workers match the latest consortium; relations any earlier one.
      {1, {h, worker(1), consortium(2), trailer(2, 0, 1, 1, 0)}, {{2, kWorkerConsortium}}},
      {3,
       {h, consortium(1), consortium(2, kOtherConsortium), worker(3), trailer(3, 0, 2, 1, 0)},
       {{4, kWorkerConsortium}}},
      {1, {h, relation(1), administration(2), consortium(3)}, {{2, kNoConsortium}, {2, kNoAdministration}}},
      {8,
       {h, administration(1), administration(2, kOtherAdministration), consortium(3),
        consortium(4, kOtherConsortium), relation(5, kConsortium, kOtherAdministration),
        relation(6, kOtherConsortium, kAdministration), trailer(6, 2, 2, 0, 2)},
       {}},
      // Lower-case type letters are numbered records of no known type; a
      // second header is neither numbered nor checked.
      {3, {h, administration(1), administration(2, kBadCheckDigit).at(1, "a")}, {}},
      {2, {h, administration(1), trailer(2, 1, 0, 0, 0).at(1, "p")}, {{3, kNotCorrelative}}},
      {2, {h, administration(1), registryHeader().at(1, "c")}, {{3, kNotCorrelative}}},
      {3, {h, administration(1), LineBuilder(300).at(1, "X").at(2, "000002")}, {}},
      {3,
       {h, administration(1), administration(2).at(1, "a"), trailer(2, 2, 0, 0, 0)},
       {{4, kTotalAdministrations}}},
      {5, {h, administration(1), h, administration(2), trailer(2, 2, 0, 0, 0)}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lines.size() > 2 ? c.lines[2].left(40).toStdString() : std::string());
    expectOutcome(c.lines, c.findings, c.copied);
  }
}

TEST_F(RegistryValidation, RelationFindsOnlyTheSameElevenCharactersNotTheSameNumber) {
  // "03050000000" is a valid C.U.I.T.; "3050000000 " and " 3050000000" hold
  // the same figures but are other texts, so no consortium of theirs was
  // declared. The same for an administration.
  const QList<QByteArray> lines = {registryHeader(),
                                   administration(1, "03370000009"),
                                   consortium(2, "03050000000"),
                                   relation(3, "3050000000 ", " 3370000009"),
                                   relation(4, " 3050000000", "3370000009 "),
                                   relation(5, "03050000000", "03370000009"),
                                   trailer(5, 1, 1, 0, 3)};
  QList<Finding> findings;
  for (const int line : {4, 5}) {
    for (const QByteArray& m : {kConsortiumCuit, kAdministrationCuit, kNoConsortium, kNoAdministration}) {
      findings.append({line, m});
    }
  }
  expectOutcome(lines, findings, 3);
}

}  // namespace
}  // namespace tarquelas::testing
