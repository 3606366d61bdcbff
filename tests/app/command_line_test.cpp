// The command line: a path for the window, or batch mode with its options (the cases are in
// tests/data/command_lines.txt).
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "app_test_files.h"
#include "common/data_table.h"

namespace tarquelas {
namespace {

TEST(CommandLineTest, ArgumentsGiveTheModeAndItsValues) {
  const char* const modes[] = {"Window", "Batch", "Help", "Version", "WrongUsage"};
  for (const QString& line : testing::caseLines("command_lines.txt")) {
    const QString arrow = QStringLiteral("=>");
    QStringList arguments = line.section(arrow, 0, 0).split(u' ', Qt::SkipEmptyParts);
    arguments.replaceInStrings(QRegularExpression(QStringLiteral("^<>$")), QString());
    const CommandLine c = parseCommandLine(arguments);
    QStringList got{c.path,
                    c.directory,
                    c.pdf,
                    c.printQueue,
                    c.cuits.join(u','),
                    c.symbology,
                    c.trabajadores ? QStringLiteral("trabajadores") : QString(),
                    c.problem};
    got.removeAll(QString());
    got.prepend(QLatin1String(modes[int(c.mode)]));
    EXPECT_EQ(got.join(QStringLiteral(" | ")), line.section(arrow, 1).trimmed());
  }
}

}  // namespace
}  // namespace tarquelas
