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
  const testing::RowKinds kinds = {
      {"Window", 10}, {"Batch", 10}, {"Help", 10}, {"Version", 10}, {"WrongUsage", 10}};
  for (const QList<QByteArray>& row : testing::dataRows("command_lines.txt", kinds)) {
    QStringList arguments = QString::fromUtf8(row[1]).split(u' ', Qt::SkipEmptyParts);
    arguments.replaceInStrings(QRegularExpression(QStringLiteral("^<>$")), QString());
    const CommandLine c = parseCommandLine(arguments);
    const QStringList got{QLatin1String(modes[int(c.mode)]),
                          QString::fromUtf8(row[1]),
                          c.path,
                          c.directory,
                          c.pdf,
                          c.printQueue,
                          c.cuits.join(u','),
                          c.symbology,
                          c.trabajadores ? QStringLiteral("trabajadores") : QString(),
                          c.problem};
    EXPECT_EQ(got.join(u'|'), QString::fromUtf8(row.join('|')));
  }
}

}  // namespace
}  // namespace tarquelas
