// The command line: a path for the window, or batch mode with its options.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace tarquelas {
namespace {

using Mode = CommandLine::Mode;

TEST(CommandLineTest, ArgumentsGiveTheModeAndItsValues) {
  struct Case {
    QStringList arguments;
    Mode mode;
    QString pathOrProblem;
  } cases[] = {
      {{}, Mode::Window, {}},
      {{"\"/datos/con", "blancos/pagos.txt\""}, Mode::Window, "/datos/con blancos/pagos.txt"},
      {{"/datos/año/pagos.txt", "--procesar"}, Mode::Window, "/datos/año/pagos.txt --procesar"},
      {{"--procesar", "p.txt", "--help"}, Mode::Help, {}},
      {{"--version"}, Mode::Version, {}},
      {{"--procesar", "--trabajadores"}, Mode::WrongUsage, "Falta el valor de --procesar"},
      {{"--procesar", "p.txt", "--pdf"}, Mode::WrongUsage, "Falta el valor de --pdf"},
      {{"--directorio", "/tmp"}, Mode::WrongUsage, "Falta --procesar ARCHIVO"},
      {{"--procesar", "p.txt", "--otra"}, Mode::WrongUsage, "Opción desconocida: --otra"},
  };
  for (const Case& c : cases) {
    const CommandLine line = parseCommandLine(c.arguments);
    EXPECT_EQ(line.mode, c.mode) << c.arguments.join(u' ').toStdString();
    EXPECT_EQ(c.mode == Mode::WrongUsage ? line.problem : line.path, c.pathOrProblem);
  }
  const CommandLine full = parseCommandLine({"--procesar", "/d/p.txt", "--directorio", "/tmp/app",
                                             "--trabajadores", "--pdf", "/tmp/s.pdf", "--imprimir", "cola"});
  EXPECT_TRUE(full.mode == Mode::Batch && full.trabajadores);
  EXPECT_EQ(QStringList({full.path, full.directory, full.pdf, full.printQueue}),
            QStringList({"/d/p.txt", "/tmp/app", "/tmp/s.pdf", "cola"}));
}

}  // namespace
}  // namespace tarquelas
