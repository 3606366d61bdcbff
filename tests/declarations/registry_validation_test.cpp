// The registry file validator end to end: the gathered findings in the
// error file and the copy made until the first finding, byte for byte.
#include <gtest/gtest.h>

#include "registry_lines.h"
#include "validation_fixture.h"

namespace tarquelas::testing {
namespace {

// The error file for findings: one line each, then one empty line.
QByteArray findings(const QList<QByteArray>& lines) { return crlfFile(lines) + "\r\n"; }

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

QByteArray at(int line, const QByteArray& message) {
  return "Error L\xEDnea " + QByteArray::number(line) + message;
}

class RegistryValidation : public ValidationTest {};

TEST_F(RegistryValidation, ValidFileIsCopiedWholeAndLeavesNoErrorFile) {
  givenLines(validRegistry());
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_EQ(auxFile(), crlfFile(validRegistry()));
}

TEST_F(RegistryValidation, FileWithoutTrailerPassesWithoutTotals) {
  QList<QByteArray> lines = validRegistry();
  lines.removeLast();
  givenLines(lines);
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_EQ(auxFile(), crlfFile(lines));
}

TEST_F(RegistryValidation, EmptyFileWritesNothing) {
  givenFile("");
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_FALSE(hasAuxFile());
}

TEST_F(RegistryValidation, MissingFileWritesNothing) {
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_FALSE(hasAuxFile());
}

// One line of validRegistry() replaced; the findings it gives.
struct LineCase {
  const char* name;
  int index;  // 0-based place in validRegistry()
  QByteArray line;
  QList<QByteArray> messages;
};

class SingleLineFaults : public RegistryValidation, public ::testing::WithParamInterface<LineCase> {};

TEST_P(SingleLineFaults, ReportEachFailedCheckAndStopCopyingThere) {
  const LineCase& c = GetParam();
  QList<QByteArray> lines = validRegistry();
  lines[c.index] = c.line;
  givenLines(lines);
  ASSERT_TRUE(validateRegistry().isOk());
  QList<QByteArray> expected;
  for (const QByteArray& message : c.messages) expected.append(at(c.index + 1, message));
  if (expected.isEmpty()) {
    EXPECT_FALSE(hasErrorFile());
    EXPECT_EQ(auxFile(), crlfFile(lines));
  } else {
    EXPECT_EQ(errorFile(), findings(expected));
    EXPECT_EQ(auxFile(), crlfFile(lines.mid(0, c.index)));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleLineFaults,
    ::testing::Values(
        LineCase{"ShortLine", 1, administration(1).length(299), {kLength}},
        LineCase{"LongLine", 1, administration(1).length(301), {kLength}},
        LineCase{"NumberWithBlanksAround", 1, administration(1).at(2, "  1   "), {}},
        LineCase{"RentOrHorizontalMissing", 2, consortium(2).at(105, " "), {kRent}},
        LineCase{"RentLowerCase", 2, consortium(2).at(105, "r"), {}},
        LineCase{"HorizontalLowerCase", 2, consortium(2).at(105, "h"), {}},
        LineCase{"SelfAdministeredMissing", 2, consortium(2).at(187, "X"), {kSelf}},
        LineCase{"SelfLowerCaseS", 2, consortium(2).at(187, "s"), {}},
        LineCase{"SelfLowerCaseN", 2, consortium(2).at(187, "n"), {}},
        LineCase{"ConsortiumBothLettersWrong", 2, consortium(2).at(105, "X").at(187, " "), {kRent, kSelf}},
        LineCase{"WorkerCuil", 3, worker(3, kBadCheckDigit), {kWorkerCuil}},
        LineCase{"WorkerOfAnotherConsortium", 3, worker(3, kWorker, kOtherConsortium), {kWorkerConsortium}},
        LineCase{"WorkerWithInvalidConsortium",
                 3,
                 worker(3, kWorker, kBadCheckDigit),
                 {kConsortiumCuit, kWorkerConsortium}},
        LineCase{"BeneficiaryOnlyLengthAndNumber", 4, beneficiary(4, "garbage"), {}},
        LineCase{"RelationUnknownConsortium", 5, relation(5, kOtherConsortium), {kNoConsortium}},
        LineCase{"RelationUnknownAdministration",
                 5,
                 relation(5, kConsortium, kOtherAdministration),
                 {kNoAdministration}},
        LineCase{"RelationInvalidCuits",
                 5,
                 relation(5, kBadCheckDigit, kBadCheckDigit),
                 {kConsortiumCuit, kAdministrationCuit, kNoConsortium, kNoAdministration}},
        LineCase{"TotalRecords", 6, trailer(6, 1, 1, 1, 1), {kTotal}},
        LineCase{"TotalAdministrations", 6, trailer(5, 2, 1, 1, 1), {kTotalAdministrations}},
        LineCase{"TotalConsortia", 6, trailer(5, 1, 0, 1, 1), {kTotalConsortia}},
        LineCase{"TotalWorkers", 6, trailer(5, 1, 1, 2, 1), {kTotalWorkers}},
        LineCase{"TotalRelations", 6, trailer(5, 1, 1, 1, 3), {kTotalRelations}},
        LineCase{"TotalsAllWrong",
                 6,
                 trailer(9, 9, 9, 9, 9),
                 {kTotal, kTotalAdministrations, kTotalConsortia, kTotalWorkers, kTotalRelations}},
        LineCase{"TotalsNotNumbers",
                 6,
                 LineBuilder(300).at(1, "P").at(2, QByteArray(42, 'x')),
                 {kTotal, kTotalAdministrations, kTotalConsortia, kTotalWorkers, kTotalRelations}},
        LineCase{"TotalsWithBlanks", 6, trailer(5, 1, 1, 1, 1).at(2, "       5").at(37, "1      "), {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryValidation, InvalidConsortiumCuitTroublesTheRecordsThatNameItAsTheyCome) {
  QList<QByteArray> lines = validRegistry();
  lines[2] = consortium(2, kBadCheckDigit);
  givenLines(lines);
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(3, kConsortiumCuit), at(4, kWorkerConsortium), at(6, kNoConsortium)}));
  EXPECT_EQ(auxFile(), crlfFile(lines.mid(0, 2)));
}

TEST_F(RegistryValidation, EmptyLineAfterTrailerGivesTwoReports) {
  QList<QByteArray> lines = validRegistry();
  lines.append(QByteArray());
  givenLines(lines);
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(8, kLength), at(8, kNotCorrelative)}));
  EXPECT_EQ(auxFile(), crlfFile(validRegistry()));
}

TEST_F(RegistryValidation, OnlyTheLastLineFaultyLeavesEveryOtherLineCopied) {
  QList<QByteArray> lines = validRegistry();
  lines.last() = trailer(5, 1, 1, 2, 1);
  givenLines(lines);
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), at(7, kTotalWorkers) + "\r\n\r\n");
  EXPECT_EQ(auxFile(), crlfFile(lines.mid(0, 6)));
}

TEST_F(RegistryValidation, GapInNumberingIsReportedOnceAndTotalsFollowTheLastNumber) {
  givenLines({registryHeader(), administration(1), consortium(3), worker(4), beneficiary(5), relation(6),
              trailer(6, 1, 1, 1, 1)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(3, kNotCorrelative)}));
  EXPECT_EQ(auxFile(), crlfFile({registryHeader(), administration(1)}));
}

TEST_F(RegistryValidation, NumberThatIsNotANumberKeepsTheLastNumber) {
  givenLines({registryHeader(), administration(1), consortium(2).at(2, "xxxxxx"), worker(2),
              trailer(2, 1, 1, 1, 0)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(3, kNotCorrelative)}));
}

TEST_F(RegistryValidation, SignedNumberIsNotANumberAndTheNextRecordIsOutOfStepToo) {
  givenLines({registryHeader(), administration(1).at(2, "+00001"), consortium(2)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(2, kNotCorrelative), at(3, kNotCorrelative)}));
}

TEST_F(RegistryValidation, InvalidAdministrationIsStillFoundByRelations) {
  givenLines({registryHeader(), administration(1, kBadCheckDigit), consortium(2),
              relation(3, kConsortium, kBadCheckDigit), trailer(3, 1, 1, 0, 1)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(2, kAdministrationCuit), at(4, kAdministrationCuit)}));
  EXPECT_EQ(auxFile(), crlfFile({registryHeader()}));
}

TEST_F(RegistryValidation, WorkerBeforeAnyConsortiumDoesNotMatch) {
  givenLines({registryHeader(), worker(1), consortium(2), trailer(2, 0, 1, 1, 0)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(2, kWorkerConsortium)}));
  EXPECT_EQ(auxFile(), crlfFile({registryHeader()}));
}

TEST_F(RegistryValidation, RelationBeforeAnythingHasNoPreviousRecords) {
  givenLines({registryHeader(), relation(1), administration(2), consortium(3)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(2, kNoConsortium), at(2, kNoAdministration)}));
}

TEST_F(RegistryValidation, RelationMayNameAnyEarlierConsortiumAndAdministration) {
  givenLines({registryHeader(), administration(1), administration(2, kOtherAdministration), consortium(3),
              consortium(4, kOtherConsortium), relation(5, kConsortium, kOtherAdministration),
              relation(6, kOtherConsortium, kAdministration), trailer(6, 2, 2, 0, 2)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_FALSE(hasErrorFile());
}

TEST_F(RegistryValidation, InvalidConsortiumStillBecomesLatestAndIsFoundByRelations) {
  givenLines({registryHeader(), administration(1), consortium(2, kBadCheckDigit),
              worker(3, kWorker, kBadCheckDigit), relation(4, kBadCheckDigit), trailer(4, 1, 1, 1, 1)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(3, kConsortiumCuit), at(4, kConsortiumCuit), at(5, kConsortiumCuit)}));
}

TEST_F(RegistryValidation, RelationFindsOnlyTheSameElevenCharactersNotTheSameNumber) {
  // "03050000000" is a valid C.U.I.T.; "3050000000 " and " 3050000000" hold
  // the same figures but are other texts, so no consortium of theirs was
  // declared. The same for an administration.
  givenLines({registryHeader(), administration(1, "03370000009"), consortium(2, "03050000000"),
              relation(3, "3050000000 ", " 3370000009"), relation(4, " 3050000000", "3370000009 "),
              relation(5, "03050000000", "03370000009"), trailer(5, 1, 1, 0, 3)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(),
            findings({at(4, kConsortiumCuit), at(4, kAdministrationCuit), at(4, kNoConsortium),
                      at(4, kNoAdministration), at(5, kConsortiumCuit), at(5, kAdministrationCuit),
                      at(5, kNoConsortium), at(5, kNoAdministration)}));
  EXPECT_EQ(auxFile(),
            crlfFile({registryHeader(), administration(1, "03370000009"), consortium(2, "03050000000")}));
}

TEST_F(RegistryValidation, TwoConsortiaWithTheSameCuitAreBothAccepted) {
  givenLines({registryHeader(), consortium(1), worker(2), consortium(3), worker(4), trailer(4, 0, 2, 2, 0)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_FALSE(hasErrorFile());
}

TEST_F(RegistryValidation, WorkerMustMatchTheLatestConsortiumNotAnEarlierOne) {
  givenLines(
      {registryHeader(), consortium(1), consortium(2, kOtherConsortium), worker(3), trailer(3, 0, 2, 1, 0)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(4, kWorkerConsortium)}));
}

struct LowerCaseCase {
  const char* name;
  QByteArray line;
  QList<QByteArray> messages;
};

class LowerCaseTypes : public RegistryValidation, public ::testing::WithParamInterface<LowerCaseCase> {};

TEST_P(LowerCaseTypes, AreNumberedRecordsOfNoKnownType) {
  // Placed as the second numbered record, after administration 1.
  givenLines({registryHeader(), administration(1), GetParam().line});
  ASSERT_TRUE(validateRegistry().isOk());
  QList<QByteArray> expected;
  for (const QByteArray& message : GetParam().messages) expected.append(at(3, message));
  if (expected.isEmpty()) {
    EXPECT_FALSE(hasErrorFile());
  } else {
    EXPECT_EQ(errorFile(), findings(expected));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, LowerCaseTypes,
                         ::testing::Values(
                             // An "a" record is numbered but its C.U.I.T. is never looked at.
                             LowerCaseCase{
                                 "Administration", administration(2, kBadCheckDigit).at(1, "a"), {}},
                             // A "p" trailer is numbered: its first total is no record number.
                             LowerCaseCase{"Trailer", trailer(2, 1, 0, 0, 0).at(1, "p"), {kNotCorrelative}},
                             // A "c" header is numbered too: "D00012" is not a number.
                             LowerCaseCase{"Header", registryHeader().at(1, "c"), {kNotCorrelative}},
                             LowerCaseCase{"UnknownType", LineBuilder(300).at(1, "X").at(2, "000002"), {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryValidation, LowerCaseTypesDoNotCountTowardsTotals) {
  givenLines({registryHeader(), administration(1), administration(2).at(1, "a"), trailer(2, 2, 0, 0, 0)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(4, kTotalAdministrations)}));
}

TEST_F(RegistryValidation, SecondHeaderIsNeitherNumberedNorChecked) {
  givenLines(
      {registryHeader(), administration(1), registryHeader(), administration(2), trailer(2, 2, 0, 0, 0)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_FALSE(hasErrorFile());
}

TEST_F(RegistryValidation, FindingsOfSeveralLinesAreGatheredInFileOrder) {
  givenLines({registryHeader(), administration(1, kBadCheckDigit), consortium(2).at(105, "x"), worker(9),
              trailer(9, 1, 1, 1, 0)});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(2, kAdministrationCuit), at(3, kRent), at(4, kNotCorrelative)}));
  EXPECT_EQ(auxFile(), crlfFile({registryHeader()}));
}

TEST_F(RegistryValidation, ErrorFileIsAppendedTo) {
  ASSERT_TRUE(writeBytes(paths().errores, "previo\r\n"));
  givenLines({registryHeader(), QByteArray("x")});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), "previo\r\n" + findings({at(2, kLength), at(2, kNotCorrelative)}));
}

// ----------------------------------------------------------------- bytes

TEST_F(RegistryValidation, LinesAreNotRepairedSoUtf8RecordsFailTheLength) {
  const QByteArray utf8 = administration(1).at(19, "Administraci\xC3\xB3n").length(301);
  givenLines({registryHeader(), utf8});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(2, kLength)}));
}

TEST_F(RegistryValidation, NulBytesAreKeptAsCharacters) {
  const QByteArray withNul = administration(1).at(250, QByteArray(3, '\0'));
  givenLines({registryHeader(), withNul});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_EQ(auxFile(), crlfFile({registryHeader(), withNul}));
}

TEST_F(RegistryValidation, LastLineWithoutLineEndIsChecked) {
  QList<QByteArray> lines = validRegistry();
  lines.last() = trailer(5, 1, 1, 1, 2);
  givenFile(crlfFileWithoutFinalEnd(lines));
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_EQ(errorFile(), findings({at(7, kTotalRelations)}));
}

TEST_F(RegistryValidation, LoneCarriageReturnsEndLinesAndCopiesGetCrLf) {
  QByteArray bytes;
  for (const QByteArray& line : validRegistry()) bytes.append(line).append('\r');
  givenFile(bytes);
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_FALSE(hasErrorFile());
  EXPECT_EQ(auxFile(), crlfFile(validRegistry()));
}

TEST_F(RegistryValidation, TenMegabyteLineIsALengthAndNumberingFinding) {
  givenLines({registryHeader(), QByteArray(10 * 1024 * 1024, '7')});
  ASSERT_TRUE(validateRegistry().isOk());
  // "777777" is a number, just not the next one.
  EXPECT_EQ(errorFile(), findings({at(2, kLength), at(2, kNotCorrelative)}));
}

}  // namespace
}  // namespace tarquelas::testing
