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

constexpr char kC1[] = "30500010912", kC2[] = "33693450239", kC3[] = "30000000007", kA1[] = "33637617449",
               kA2[] = "30710000002", kW1[] = "20123456786", kW2[] = "20000000011";

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

// One registry holding the cases of order: relations in their order (one
// twice, one to no administration), administrations in list order, a
// consortium C.U.I.T. twice, one C.U.I.L. in two consortia, beneficiaries
// before any consortium, a worker of no listed consortium, a consortium
// without workers; names and presentation values to escape. Then one
// consortium for each case of the value rules and code tables: blank and
// non-numeric number fields and codes no table knows give no placeholder,
// nationality 99 reads "OTRA", which shows the nationality as written.
// Placeholders of another step stay as written.
TEST_F(PrintoutTest, PadronHoldsEachConsortiumPageThenItsWorkerPagesByteForByte) {
  plantillas(
      disenoConsorcio("<@@IDPRESENTACION@@>|<@@FECHAPRESENTACION@@>|<@@HORAPRESENTACION@@>|C[<@@CUIT1@@>|"
                      "<@@PROPIETARIO1@@>|<@@PISOS1@@>|<@@EXPENSAS1@@>|<@@FECHAINICIO1@@>|<@@NUMERO1@@>|"
                      "<@@CUITA@@>|<@@cuit1@@>]",
                      "A(<@@DENOMINACIONA@@>|<@@CUITA@@>|<@@CABAA@@>|<@@PISOA@@>|<@@CUIT1@@>)",
                      "W(<@@CUIL2@@>|<@@TIPODOC2@@>|<@@ESTADOCIVIL2@@>|<@@NACIONALIDAD2@@>|<@@FUNCION2@@>|"
                      "<@@NRODOC2@@>|<@@BLOQUEADMINISTRACIONES@@>)"),
      disenoTrabajador("<@@HORAPRESENTACION@@>|P(<@@CUIL2@@>/<@@CALLE1@@>)", "B(<@@APELLIDO3@@>)"));
  namespace a = registry::administration;
  namespace c = registry::consortium;
  namespace w = registry::worker;
  // clang-format off
  std::vector<QByteArray> lineas = {
      cabecera("00<b>&'\"xy", "2024<1>\"", "&<>'"), beneficiario(1, kW1, "NADIE"),
      administracion(2, kA1, "PRIMERA & <1>"), administracion(3, kA2, "SEGUNDA"), administracion(4, kA1, "TERCERA"),
      consorcio(5, kC1, {{c::street, "UNO"}, {c::owner, "O'HARA \"EL\" <@@CUIT1@@>"}}),
      trabajador(6, kW1, kC1), beneficiario(7, kW1, "HIJA"), beneficiario(8, kW1, "HIJO"), trabajador(9, kW2, kC1),
      relacion(10, kC1, kA2), relacion(11, kC1, kA1), relacion(12, kC1, kA1),
      consorcio(13, kC2, {{c::street, "DOS"}}), trabajador(14, kW1, kC2), beneficiario(15, kW1, "TRES"),
      trabajador(16, "27000000006", "20999999990"), consorcio(17, kC1, {{c::street, "ULTIMA"}}),
      relacion(18, kC2, "20999999990"), consorcio(19, kC3)};
  const struct {
    const char *pisos, *expensas, *fecha, *caba, *doc, *civil, *nac, *funcion;
  } valores[] = {
      {"005", "00000012345", "20230115", "00012345", "1", "0", "08", "11"},
      {"000", "00000000045", "19991231", "1e400", "2", "7", "99", "18"},
      {"   ", "00000000005", "        ", "        ", "9", "5", "77", "AB"},
      {"A5 ", "00000000000", "2023    ", "S/N", "3", "8", " 1", "-1"},
      {"-01", "           ", "20230115", "12.9", " ", " ", "  ", "  "},
  };
  for (const auto& v : valores) {
    const int n = int(lineas.size());
    const QByteArray digit = QByteArray::number(n % 10), admin = "3300000000" + digit, cons = "3000000000" + digit;
    lineas.push_back(administracion(n, admin, "ADMIN", {{a::floor, "0003"}, {a::cabaNumber, v.caba}}));
    lineas.push_back(consorcio(n + 1, cons, {{c::streetNumber, "000742"}, {c::floors, v.pisos},
                                             {c::startDate, v.fecha}, {c::commonCharges, v.expensas}}));
    lineas.push_back(trabajador(n + 2, "2300000000" + digit, cons, "P",
                                {{w::documentType, v.doc}, {w::documentNumber, "0012345678"}, {w::civilStatus, v.civil},
                                 {w::nationality, v.nac}, {w::nationalityInWords, "ESLOVENA"},
                                 {w::jobFunction, v.funcion}}));
    lineas.push_back(relacion(n + 3, cons, admin));
  }
  // clang-format on
  QByteArray aux, padron;
  for (const QByteArray& l : lineas) aux += l + "\r\n";
  ASSERT_TRUE(writeBytes(paths_.auxiliar, aux));
  for (const bool trabajadores : {true, false}) {
    ASSERT_TRUE(
        GenerarHTMLFinal(cargarPadron(paths_.auxiliar).registry, paths_, lineas[0], trabajadores, recorder())
            .isOk());
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

// Progress counts the consortia written; a cancel keeps the old file, and
// a folder in Padron.html's place is an error naming it and stays.
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
  ASSERT_TRUE(QFile::remove(paths_.padron) && QDir(dir_.path()).mkdir(QStringLiteral("Padron.html")));
  const Status s = GenerarHTMLFinal(Registry{}, paths_, cabecera(), true, recorder());
  EXPECT_TRUE(s.isError() && s.description().contains(QStringLiteral("Padron.html")))
      << s.description().toStdString();
  EXPECT_TRUE(QFileInfo(paths_.padron).isDir());
}

}  // namespace
}  // namespace tarquelas::testing
