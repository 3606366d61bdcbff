// The registry file validator end to end. Each case is a file; its error file and the count of
// lines copied, case after case, are tests/data/registry_findings.txt.
#include <gtest/gtest.h>

#include "registry_lines.h"
#include "validation_fixture.h"

namespace tarquelas::testing {
namespace {

// validRegistry() with its line at index (0-based) replaced.
QList<QByteArray> validWith(int index, const QByteArray& line) {
  QList<QByteArray> lines = validRegistry();
  lines[index] = line;
  return lines;
}

class RegistryValidation : public ValidationTest {};

TEST_F(RegistryValidation, FindingsComeInFileOrderAndTheCopyStopsBeforeTheFirst) {
  const QByteArray h = registryHeader();
  const QList<QByteArray> valid = validRegistry(), withoutTrailer = valid.first(valid.size() - 1);
  const struct {
    const char* name;
    QList<QByteArray> lines;
  } cases[] = {
      {"valid", valid},
      {"no trailer", withoutTrailer},
      {"an empty last line", QList<QByteArray>(valid) << ""},
      {"a line of 10 MiB", {h, QByteArray(10 * 1024 * 1024, '7')}},
      {"administration one byte short", validWith(1, administration(1).length(299))},
      {"administration in UTF-8: not repaired",
       validWith(1, administration(1).at(19, "Administraci\xC3\xB3n").length(301))},
      {"record number with blanks around", validWith(1, administration(1).at(2, "  1   "))},
      {"NUL bytes are characters", validWith(1, administration(1).at(250, QByteArray(3, '\0')))},
      {"consortium kinds in lower case", validWith(2, consortium(2).at(105, "r").at(187, "s"))},
      {"consortium kinds missing", validWith(2, consortium(2).at(105, "X").at(187, " "))},
      {"worker C.U.I.L.", validWith(3, worker(3, kBadCheckDigit))},
      {"worker of another consortium", validWith(3, worker(3, kWorker, kOtherConsortium))},
      {"worker of an invalid consortium", validWith(3, worker(3, kWorker, kBadCheckDigit))},
      {"beneficiaries are not checked", validWith(4, beneficiary(4, "garbage"))},
      {"relation of invalid C.U.I.T.s", validWith(5, relation(5, kBadCheckDigit, kBadCheckDigit))},
      {"total records", validWith(6, trailer(6, 1, 1, 1, 1))},
      {"totals unreadable", validWith(6, LineBuilder(300).at(1, "P").at(2, QByteArray(42, 'x')))},
      {"totals with blanks around", validWith(6, trailer(5, 1, 1, 1, 1).at(2, "       5").at(37, "1      "))},
      // Every total differs, so each is held to its own count; relations name any earlier record.
      {"totals of each kind",
       {h, administration(1), consortium(2, kOtherConsortium), consortium(3), worker(4), worker(5), worker(6),
        relation(7), relation(8, kOtherConsortium), relation(9), relation(10), trailer(10, 1, 2, 3, 4)}},
      // An invalid consortium troubles the records that name it, as they come.
      {"invalid consortium",
       {h, administration(1), consortium(2, kBadCheckDigit), worker(3), beneficiary(4), relation(5),
        trailer(5, 1, 1, 1, 1)}},
      {"invalid C.U.I.T.s are still declared",
       {h, administration(1, kBadCheckDigit), consortium(2, kBadCheckDigit),
        worker(3, kWorker, kBadCheckDigit), relation(4, kBadCheckDigit, kBadCheckDigit),
        trailer(4, 1, 1, 1, 1)}},
      // Numbering: a gap once, then totals follow the last number; an unreadable number counts as none.
      {"a gap",
       {h, administration(1), consortium(3), worker(4), beneficiary(5), relation(6), trailer(6, 1, 1, 1, 1)}},
      {"a blank number",
       {h, administration(1), consortium(2).at(2, "      "), worker(2), trailer(2, 1, 1, 1, 0)}},
      {"a signed number", {h, administration(1).at(2, "+00001"), consortium(2)}},
      // Workers match the latest consortium; relations only earlier records.
      {"worker before any consortium", {h, worker(1), consortium(2), trailer(2, 0, 1, 1, 0)}},
      {"worker of an earlier consortium",
       {h, consortium(1), consortium(2, kOtherConsortium), worker(3), trailer(3, 0, 2, 1, 0)}},
      {"relation before its records", {h, relation(1), administration(2), consortium(3)}},
      // Lower-case type letters are numbered records of no known type; a second header is
      // neither numbered nor checked.
      {"lower-case administration",
       {h, administration(1), administration(2, kBadCheckDigit).at(1, "a"), trailer(2, 2, 0, 0, 0)}},
      {"lower-case trailer", {h, administration(1), trailer(2, 1, 0, 0, 0).at(1, "p")}},
      {"second header", {h, administration(1), h, administration(2), trailer(2, 2, 0, 0, 0)}},
      // "03050000000" is a valid C.U.I.T.; "3050000000 " and " 3050000000" hold the same figures
      // but are other texts, so no consortium of theirs was declared. The same for administrations.
      {"C.U.I.T.s are texts, not numbers",
       {h, administration(1, "03370000009"), consortium(2, "03050000000"),
        relation(3, "3050000000 ", " 3370000009"), relation(4, " 3050000000", "3370000009 "),
        relation(5, "03050000000", "03370000009"), trailer(5, 1, 1, 0, 3)}},
  };
  QByteArray outcome;
  for (const auto& c : cases) {
    ASSERT_TRUE(validateBytes(validarArchivoPadron, crlf(c.lines)).isOk());
    const qsizetype copied = auxFile().count("\r\n");
    EXPECT_EQ(auxFile(), crlf(c.lines.mid(0, copied))) << c.name;
    outcome += "== " + QByteArray(c.name) + ": " + QByteArray::number(copied) + " of " +
               QByteArray::number(c.lines.size()) + " lines copied\r\n" + errorFile();
  }
  expectDataFile(outcome, "registry_findings.txt");
}

}  // namespace
}  // namespace tarquelas::testing
