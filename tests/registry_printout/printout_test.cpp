// Loading the auxiliary file, and Padron.html as a whole: its content and
// order, the blocks, the worker pages and the values (byte for byte in
// tests/data/padron.txt), the templates' failure cases and the file's own
// failures.
#include <QDir>
#include <QFile>

#include "common/data_file.h"
#include "printout_fixture.h"

namespace tarquelas::testing {
namespace {

constexpr char kC1[] = "30500010912", kC2[] = "33693450239", kA1[] = "33637617449", kW1[] = "20123456786";

QByteArray q(const char* s) { return QByteArray(s); }
const QString kSinConsorcio = QStringLiteral("No se encuentra el archivo DisenoConsorcio.htm");
const QString kSinTrabajador = QStringLiteral("No se encuentra el archivo DisenoTrabajador.htm");

TEST_F(PrintoutTest, ListsWithoutRecordsHoldOneEmptyEntryAndOtherRecordTypesAreSkipped) {
  QByteArray minuscula = administracion(2, kA1);
  minuscula[0] = 'a';
  const Registry reg = cargar({cabecera(), administracion(1, kA1), minuscula, registro('7', 3, {}),
                               registro('P', 0, {}), QByteArray(), QByteArray("1000001")});
  EXPECT_EQ(reg.aAdministraciones.size(), 1);
  EXPECT_EQ(reg.aConsorcios, QList<Entry>{Entry(kTextosConsorcio)});  // a short line: empty texts
  const Registry nada = cargarPadron(dir_.filePath(QStringLiteral("none"))).registry;
  for (const auto* l : {&reg.aTrabajadores, &reg.aBeneficiarios, &reg.aRelaciones, &nada.aAdministraciones,
                        &nada.aConsorcios, &nada.aTrabajadores, &nada.aBeneficiarios, &nada.aRelaciones})
    EXPECT_TRUE(l->size() == 1 && esEntradaVacia(l->front()));
  // The path is trimmed; a folder in the file's place is an error naming it.
  cargar({consorcio(1, kC1)});
  const LoadResult r = cargarPadron(QStringLiteral("  ") + paths_.auxiliar + QStringLiteral(" "));
  EXPECT_EQ(r.registry.aConsorcios.value(0).value(0), kC1);
  ASSERT_TRUE(QFile::remove(paths_.auxiliar) && QDir(dir_.path()).mkdir(QStringLiteral("TarquelasAux.txt")));
  const Status s = cargarPadron(paths_.auxiliar).status;
  EXPECT_TRUE(s.isError() && s.description().contains(QStringLiteral("TarquelasAux.txt")));
}

// The auxiliary file tests/data/padron_aux.txt holds the cases of order:
// relations in their order (one twice, one to no administration),
// administrations in list order, a consortium C.U.I.T. twice, one C.U.I.L.
// in two consortia, beneficiaries before any consortium, a worker of no
// listed consortium, a consortium without workers; names and presentation
// values to escape. Then one consortium for each case of the value rules and
// code tables: blank and non-numeric number fields and codes no table knows
// give no placeholder, nationality 99 reads "OTRA", which shows the
// nationality as written. The designs are padron_*.htm beside it;
// placeholders of another step stay as written.
TEST_F(PrintoutTest, PadronHoldsEachConsortiumPageThenItsWorkerPagesByteForByte) {
  plantillas(readBytes(dataPath("padron_consorcio.htm")), readBytes(dataPath("padron_trabajador.htm")));
  const QByteArray aux = readBytes(dataPath("padron_aux.txt"));
  ASSERT_TRUE(writeBytes(paths_.auxiliar, aux));
  QByteArray padron;
  for (const bool trabajadores : {true, false}) {
    const Registry registry = cargarPadron(paths_.auxiliar).registry;
    ASSERT_TRUE(
        GenerarHTMLFinal(registry, paths_, aux.first(aux.indexOf("\r\n")), trabajadores, recorder()).isOk());
    padron += "=== " + QByteArray(trabajadores ? "with" : "without") + " worker pages\r\n" +
              readBytes(paths_.padron);
  }
  expectData("padron.txt", padron);
  EXPECT_TRUE(mensajes_.isEmpty());
}

// Markers in any case and in either order are the template_cut fuzz harness's.
TEST_F(PrintoutTest, TemplateVariantsThatStillCut) {
  const QByteArray relleno(41000, 'x');
  const std::pair<QByteArray, QByteArray> casos[] = {
      {relleno + kConsorcioMinimo + relleno,
       relleno + "C[" + kC1 + "]A(" + kA1 + ")\r\nW(" + kW1 + ")\r\n" + relleno + "\r\n"},
      {"<html>sin marcadores</html>", ""},
      {"", ""},
  };
  for (const auto& [plantilla, pagina] : casos) {
    plantillas(plantilla, kTrabajadorMinimo);
    const QByteArray padron = imprimir(
        {administracion(1, kA1), consorcio(2, kC1), trabajador(3, kW1, kC1), relacion(4, kC1, kA1)}, false);
    EXPECT_EQ(padron, "\r\n" + pagina + kBR + "\r\n") << plantilla.left(60).data();
  }
  EXPECT_TRUE(mensajes_.isEmpty());
}

// Both templates are read whatever the check box says; a missing one is
// told once and leaves its pages as the page break alone. No consortium
// gives one empty line.
TEST_F(PrintoutTest, MissingTemplatesAreToldOnceAndTheOtherPagesStillComeOut) {
  struct Caso {
    bool conConsorcio, conTrabajador, trabajadores;
    QStringList mensajes;
    QByteArray padron;
  };
  const QByteArray paginaC1 = "C[" + q(kC1) + "]W(" + kW1 + ")\r\n\r\n" + kBR + "\r\n";
  const Caso casos[] = {
      {false, false, true, {kSinConsorcio, kSinTrabajador}, "\r\n" + kBR + "\r\n\r\n" + kBR + "\r\n"},
      {true, false, true, {kSinTrabajador}, "\r\n" + paginaC1 + "\r\n" + kBR + "\r\n"},
      {true, false, false, {kSinTrabajador}, "\r\n" + paginaC1},
      {false, true, false, {kSinConsorcio}, "\r\n" + kBR + "\r\n"},
  };
  for (const Caso& k : casos) {
    QFile::remove(paths_.disenoConsorcio);
    QFile::remove(paths_.disenoTrabajador);
    EXPECT_TRUE(!k.conConsorcio || writeBytes(paths_.disenoConsorcio, kConsorcioMinimo));
    EXPECT_TRUE(!k.conTrabajador || writeBytes(paths_.disenoTrabajador, kTrabajadorMinimo));
    mensajes_.clear();
    EXPECT_EQ(imprimir({consorcio(1, kC1), trabajador(2, kW1, kC1)}, k.trabajadores), k.padron);
    EXPECT_EQ(mensajes_, k.mensajes);
  }
  mensajes_.clear();
  plantillas(kConsorcioMinimo, kTrabajadorMinimo);
  ASSERT_TRUE(writeBytes(paths_.padron, "old printout, much longer than the new one"));
  EXPECT_EQ(imprimir({cabecera(), administracion(1, kA1), registro('P', 0, {})}), "\r\n");
  EXPECT_EQ(imprimir({}), "\r\n");
  EXPECT_TRUE(mensajes_.isEmpty());
}

// Progress counts the consortia written; a cancel keeps the old file; a
// folder in Padron.html's place, or in a template's, is an error naming it
// and Padron.html stays as it was.
TEST_F(PrintoutTest, ReportsConsortiaWrittenAndACancelOrAFailureLeavesWhatWasThere) {
  struct CancelAt final : Progress {  // at its n-th report, recording every one
    explicit CancelAt(int n) : n(n) {}
    bool report(Stage stage, qint64 done, qint64 total) override {
      EXPECT_EQ(stage, Stage::WritingPrintout);
      reports.append({done, total});
      return int(reports.size()) < n;
    }
    int n;
    QList<std::pair<qint64, qint64>> reports;
  };
  plantillas(kConsorcioMinimo, kTrabajadorMinimo);
  imprimir({consorcio(1, kC1), consorcio(2, kC2)});
  CancelAt nunca(1000);
  ASSERT_TRUE(GenerarHTMLFinal(registry_, paths_, cabecera(), true, recorder(), nunca).isOk());
  EXPECT_EQ(nunca.reports.front(), std::make_pair(qint64(0), qint64(2)));
  EXPECT_EQ(nunca.reports.back(), std::make_pair(qint64(2), qint64(2)));
  for (int n : {1, 2}) {
    ASSERT_TRUE(writeBytes(paths_.padron, "earlier"));
    CancelAt cancela(n);
    EXPECT_TRUE(GenerarHTMLFinal(registry_, paths_, cabecera(), true, recorder(), cancela).isCancelled());
    EXPECT_EQ(readBytes(paths_.padron), "earlier");
  }
  for (const QString& plantilla : {paths_.disenoConsorcio, paths_.disenoTrabajador}) {
    plantillas(kConsorcioMinimo, kTrabajadorMinimo);
    ASSERT_TRUE(QFile::remove(plantilla) && QDir().mkdir(plantilla));
    const Status s = GenerarHTMLFinal(registry_, paths_, cabecera(), false, recorder());
    EXPECT_TRUE(s.isError() && s.description().contains(plantilla)) << s.description().toStdString();
    EXPECT_EQ(readBytes(paths_.padron), "earlier");
    ASSERT_TRUE(QDir().rmdir(plantilla));
  }
  ASSERT_TRUE(QFile::remove(paths_.padron) && QDir(dir_.path()).mkdir(QStringLiteral("Padron.html")));
  const Status s = GenerarHTMLFinal(Registry{}, paths_, cabecera(), true, recorder());
  EXPECT_TRUE(s.isError() && s.description().contains(QStringLiteral("Padron.html")))
      << s.description().toStdString();
  EXPECT_TRUE(QFileInfo(paths_.padron).isDir());
}

}  // namespace
}  // namespace tarquelas::testing
