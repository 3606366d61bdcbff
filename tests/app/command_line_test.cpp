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
      {{"\"\""}, Mode::Window, {}},
      {{"/datos/pagos.txt"}, Mode::Window, "/datos/pagos.txt"},
      {{"\"/datos/con blancos/pagos.txt\""}, Mode::Window, "/datos/con blancos/pagos.txt"},
      {{"\"/datos/con", "blancos/pagos.txt\""}, Mode::Window, "/datos/con blancos/pagos.txt"},
      {{"/datos/año/pagos.txt", "--procesar"}, Mode::Window, "/datos/año/pagos.txt --procesar"},
      {{"--procesar", "p.txt"}, Mode::Batch, "p.txt"},
      {{"--help"}, Mode::Help, {}},
      {{"--procesar", "p.txt", "--help"}, Mode::Help, {}},
      {{"--version"}, Mode::Version, {}},
      {{"--procesar"}, Mode::WrongUsage, "Falta el valor de --procesar"},
      {{"--procesar", "--trabajadores"}, Mode::WrongUsage, "Falta el valor de --procesar"},
      {{"--procesar", "p.txt", "--pdf"}, Mode::WrongUsage, "Falta el valor de --pdf"},
      {{"--directorio", "/tmp"}, Mode::WrongUsage, "Falta --procesar ARCHIVO"},
      {{"--procesar", "p.txt", "--otra"}, Mode::WrongUsage, "Opción desconocida: --otra"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments.join(u' ').toStdString());
    const CommandLine line = parseCommandLine(c.arguments);
    EXPECT_EQ(line.mode, c.mode);
    EXPECT_EQ(c.mode == Mode::WrongUsage ? line.problem : line.path, c.pathOrProblem);
    if (c.mode == Mode::Batch) {
      EXPECT_TRUE(line.directory.isEmpty() && line.pdf.isEmpty() && !line.trabajadores);
    }
  }
  const CommandLine full = parseCommandLine(
      {"--procesar", "/d/pagos.txt", "--directorio", "/tmp/app", "--trabajadores", "--pdf", "/tmp/s.pdf"});
  EXPECT_EQ(full.mode, Mode::Batch);
  EXPECT_EQ(full.directory, QStringLiteral("/tmp/app"));
  EXPECT_EQ(full.pdf, QStringLiteral("/tmp/s.pdf"));
  EXPECT_TRUE(full.trabajadores);
  EXPECT_TRUE(helpText().contains(QStringLiteral("Padron.html (por omisión, la carpeta de la aplicación)")));
}

}  // namespace
}  // namespace tarquelas
