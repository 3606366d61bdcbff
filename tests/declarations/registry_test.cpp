// The registry file validator end to end. Each case is a file of
// tests/data/registry_cases.txt ("== name", then its lines, kept in UTF-8);
// its error file and the count of lines copied, case after case, are
// tests/data/registry_findings.txt. Among them: every total of its own
// count, records naming an invalid consortium, gaps and unreadable numbers,
// workers of the latest consortium only, relations to earlier records only,
// lower-case type letters (numbered records of no known type), a second
// header (neither numbered nor checked), and C.U.I.T.s compared as texts.
#include <gtest/gtest.h>

#include "registry_lines.h"
#include "validation_fixture.h"

namespace tarquelas::testing {
namespace {

class RegistryValidation : public ValidationTest {};

TEST_F(RegistryValidation, FindingsComeInFileOrderAndTheCopyStopsBeforeTheFirst) {
  QList<FileCase> cases = fileCases("registry_cases.txt");
  cases.append({"a line of 10 MiB", {registryHeader(), QByteArray(10 * 1024 * 1024, '7')}});
  QByteArray outcome;
  for (const auto& c : cases) {
    ASSERT_TRUE(validateBytes(validarArchivoPadron, crlf(c.lines)).isOk());
    const qsizetype copied = auxFile().count("\r\n");
    EXPECT_EQ(auxFile(), crlf(c.lines.mid(0, copied))) << c.name.constData();
    outcome += "== " + c.name + ": " + QByteArray::number(copied) + " of " +
               QByteArray::number(c.lines.size()) + " lines copied\r\n" + errorFile();
  }
  expectDataFile(outcome, "registry_findings.txt");
}

}  // namespace
}  // namespace tarquelas::testing
