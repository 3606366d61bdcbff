// The command line: a path for the window, or batch mode with its options.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace tarquelas {
namespace {

using Mode = CommandLine::Mode;

QStringList args(std::initializer_list<const char*> list) {
  QStringList result;
  for (const char* a : list) result.append(QString::fromUtf8(a));
  return result;
}

TEST(CommandLineTest, WithoutOptionsTheWholeLineIsThePath) {
  struct Case {
    QStringList arguments;
    QString path;
  } cases[] = {
      {args({}), QString()},
      {args({"/datos/pagos.txt"}), QStringLiteral("/datos/pagos.txt")},
      {args({"\"/datos/con blancos/pagos.txt\""}), QStringLiteral("/datos/con blancos/pagos.txt")},
      {args({"\"/datos/con", "blancos/pagos.txt\""}), QStringLiteral("/datos/con blancos/pagos.txt")},
      {args({"/datos/año/pagos.txt", "--procesar"}), QStringLiteral("/datos/año/pagos.txt --procesar")},
      {args({"\"\""}), QString()},
  };
  for (const Case& c : cases) {
    const CommandLine line = parseCommandLine(c.arguments);
    EXPECT_EQ(line.mode, Mode::Window) << c.arguments.join(u' ').toStdString();
    EXPECT_EQ(line.path, c.path) << c.arguments.join(u' ').toStdString();
  }
}

TEST(CommandLineTest, ProcesarAsksForBatchMode) {
  const CommandLine line = parseCommandLine(args(
      {"--procesar", "/d/pagos.txt", "--directorio", "/tmp/app", "--trabajadores", "--pdf", "/tmp/s.pdf"}));
  EXPECT_EQ(line.mode, Mode::Batch);
  EXPECT_EQ(line.path, QStringLiteral("/d/pagos.txt"));
  EXPECT_EQ(line.directory, QStringLiteral("/tmp/app"));
  EXPECT_EQ(line.pdf, QStringLiteral("/tmp/s.pdf"));
  EXPECT_TRUE(line.trabajadores);

  const CommandLine plain = parseCommandLine(args({"--procesar", "p.txt"}));
  EXPECT_EQ(plain.mode, Mode::Batch);
  EXPECT_TRUE(plain.directory.isEmpty());
  EXPECT_TRUE(plain.pdf.isEmpty());
  EXPECT_FALSE(plain.trabajadores);
}

TEST(CommandLineTest, HelpAndVersionWinOverEverythingElse) {
  EXPECT_EQ(parseCommandLine(args({"--help"})).mode, Mode::Help);
  EXPECT_EQ(parseCommandLine(args({"--procesar", "p.txt", "--help"})).mode, Mode::Help);
  EXPECT_EQ(parseCommandLine(args({"--version"})).mode, Mode::Version);
}

TEST(CommandLineTest, WrongUsageSaysWhatIsWrong) {
  struct Case {
    QStringList arguments;
    const char* problem;
  } cases[] = {
      {args({"--procesar"}), "Falta el valor de --procesar"},
      {args({"--procesar", "--trabajadores"}), "Falta el valor de --procesar"},
      {args({"--procesar", "p.txt", "--pdf"}), "Falta el valor de --pdf"},
      {args({"--directorio", "/tmp"}), "Falta --procesar ARCHIVO"},
      {args({"--procesar", "p.txt", "--otra"}), "Opción desconocida: --otra"},
  };
  for (const Case& c : cases) {
    const CommandLine line = parseCommandLine(c.arguments);
    EXPECT_EQ(line.mode, Mode::WrongUsage);
    EXPECT_EQ(line.problem, QString::fromUtf8(c.problem));
  }
}

TEST(CommandLineTest, HelpNamesBothWaysToStart) {
  EXPECT_TRUE(helpText().contains(QStringLiteral("tarquelas [ARCHIVO]")));
  EXPECT_TRUE(helpText().contains(QStringLiteral("tarquelas --procesar ARCHIVO")));
}

}  // namespace
}  // namespace tarquelas
