// Loading the auxiliary file, and Padron.html as a whole: its content and order, the blocks, the worker
// pages, the values, the templates' failure cases and the file's own failures.
#include <QDir>
#include <QFile>

#include "printout_fixture.h"

namespace tarquelas::testing {
namespace {

constexpr char kC1[] = "30500010912";
constexpr char kC2[] = "33693450239";
constexpr char kC3[] = "30000000007";
constexpr char kA1[] = "33637617449";
constexpr char kA2[] = "30710000002";
constexpr char kW1[] = "20123456786";
constexpr char kW2[] = "20000000011";

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
}

TEST_F(PrintoutTest, AuxiliaryPathIsTrimmedAndAFolderInItsPlaceIsAnErrorNamingIt) {
  cargar({consorcio(1, kC1)});
  const LoadResult r = cargarPadron(QStringLiteral("  ") + paths_.auxiliar + QStringLiteral(" "));
  EXPECT_EQ(r.registry.aConsorcios.value(0).value(0), kC1);
  ASSERT_TRUE(QFile::remove(paths_.auxiliar) && QDir(dir_.path()).mkdir(QStringLiteral("TarquelasAux.txt")));
  const Status s = cargarPadron(paths_.auxiliar).status;
  EXPECT_TRUE(s.isError() && s.description().contains(QStringLiteral("TarquelasAux.txt")));
}

TEST_F(PrintoutTest, NoConsortiumGivesOneEmptyLine) {
  plantillas(kConsorcioMinimo, kTrabajadorMinimo);
  ASSERT_TRUE(writeBytes(paths_.padron, "old printout, much longer than the new one"));
  EXPECT_EQ(imprimir({cabecera(), administracion(1, kA1), registro('P', 0, {})}), "\r\n");
  EXPECT_EQ(imprimir({}), "\r\n");
  EXPECT_TRUE(mensajes_.isEmpty());
}

// One registry holding the cases of order: relations in their order (one
// twice, one to no administration), administrations in list order, a
// consortium C.U.I.T. twice, one C.U.I.L. in two consortia, beneficiaries
// before any consortium, a worker of no listed consortium, a consortium
// without workers; names and presentation values to escape.
TEST_F(PrintoutTest, PadronHoldsEachConsortiumPageThenItsWorkerPagesByteForByte) {
  plantillas(
      disenoConsorcio("<@@IDPRESENTACION@@>|<@@FECHAPRESENTACION@@>|<@@HORAPRESENTACION@@>|C[<@@CUIT1@@>|"
                      "<@@PROPIETARIO1@@>]",
                      "A(<@@DENOMINACIONA@@>)", "W(<@@CUIL2@@>)"),
      disenoTrabajador("<@@HORAPRESENTACION@@>|P(<@@CUIL2@@>/<@@CALLE1@@>)", "B(<@@APELLIDO3@@>)"));
  namespace c = registry::consortium;
  const std::initializer_list<QByteArray> lineas = {
      cabecera("00<b>&'\"xy", "2024<1>\"", "&<>'"),
      beneficiario(1, kW1, "NADIE"),
      administracion(2, kA1, "PRIMERA & <1>"),
      administracion(3, kA2, "SEGUNDA"),
      administracion(4, kA1, "TERCERA"),
      consorcio(5, kC1, {{c::street, "UNO"}, {c::owner, "O'HARA \"EL\" <@@CUIT1@@>"}}),
      trabajador(6, kW1, kC1),
      beneficiario(7, kW1, "HIJA"),
      beneficiario(8, kW1, "HIJO"),
      trabajador(9, kW2, kC1),
      relacion(10, kC1, kA2),
      relacion(11, kC1, kA1),
      relacion(12, kC1, kA1),
      consorcio(13, kC2, {{c::street, "DOS"}}),
      trabajador(14, kW1, kC2),
      beneficiario(15, kW1, "TRES"),
      trabajador(16, "27000000006", "20999999990"),
      consorcio(17, kC1, {{c::street, "ULTIMA"}}),
      relacion(18, kC2, "20999999990"),
      consorcio(19, kC3)};
  const QByteArray pres = "&lt;b&gt;&amp;&#39;&quot;xy|&gt;&quot;/&lt;1/2024|&amp;&lt;:&gt;&#39;|";
  const QByteArray admins =
      "A(SEGUNDA)\r\nA(PRIMERA &amp; &lt;1&gt;)\r\nA(TERCERA)\r\nA(PRIMERA &amp; &lt;1&gt;)\r\n"
      "A(TERCERA)\r\nW(" +
      q(kW1) + ")\r\nW(" + kW2 + ")\r\n\r\n" + kBR + "\r\n";
  const QByteArray c1 = pres + "C[" + kC1 + "|O&#39;HARA &quot;EL&quot; &lt;@@CUIT1@@&gt;]" + admins;
  const QByteArray c1bis = pres + "C[" + kC1 + "|]" + admins;
  const QByteArray c2 = pres + "C[" + kC2 + "|]W(" + kW1 + ")\r\n\r\n" + kBR + "\r\n";
  const QByteArray c3 = pres + "C[" + kC3 + "|]\r\n" + kBR + "\r\n";
  const QByteArray h = "&amp;&lt;:&gt;&#39;|P(";
  const QByteArray w1 =
      h + kW1 + "/ULTIMA)B(HIJA)\r\nB(HIJO)\r\n\r\n\r\n" + kBR + h + kW2 + "/ULTIMA)\r\n\r\n" + kBR + "\r\n";
  const QByteArray w2 = h + kW1 + "/DOS)B(TRES)\r\n\r\n\r\n" + kBR + "\r\n";
  EXPECT_EQ(imprimir(lineas, true, lineas.begin()[0]), "\r\n" + c1 + w1 + c2 + w2 + c1bis + w1 + c3 + "\r\n");
  EXPECT_EQ(imprimir(lineas, false, lineas.begin()[0]), "\r\n" + c1 + c2 + c1bis + c3);
  EXPECT_TRUE(mensajes_.isEmpty());
}

// The value rules and code tables through the whole printout: blank and
// non-numeric number fields, and codes no table knows, give no placeholder;
// nationality 99 reads "OTRA", which shows the nationality as written.
TEST_F(PrintoutTest, ValuesFollowTheirRulesAndCodesBecomeTheOfficeTexts) {
  plantillas(disenoConsorcio(
                 "<@@PISOS1@@>|<@@EXPENSAS1@@>|<@@FECHAINICIO1@@>|<@@NUMERO1@@>|", "<@@CABAA@@>|<@@PISOA@@>",
                 "<@@TIPODOC2@@>|<@@ESTADOCIVIL2@@>|<@@NACIONALIDAD2@@>|<@@FUNCION2@@>|<@@NRODOC2@@>"),
             "");
  struct Caso {
    const char *pisos, *expensas, *fecha, *caba, *doc, *civil, *nac, *funcion, *pagina;
  };
  const Caso casos[] = {
      {"005", "00000012345", "20230115", "00012345", "1", "0", "08", "11",
       "5|123.45|15/01/2023|742|12345|3\r\nDNI|No Informado|CHILE|ENCARGADO NO PERMANTE SIN VIVIENDA 4 "
       "HORAS|12345678"},
      {"000", "00000000045", "19991231", "1e400", "2", "7", "99", "18",
       "0|.45|31/12/1999|742|1e400|3\r\nLE|CONCUBINATO|ESLOVENA|PERSONAL  VIGILANCIA NOCTURNA|12345678"},
      {"   ", "00000000005", "        ", "        ", "9", "5", "77", "AB", "|.05|//|742||3\r\n||||12345678"},
      {"A5 ", "00000000000", "2023    ", "S/N", "3", "8", " 1", "-1",
       "A5|.00|//2023|742|S/N|3\r\nLC||ARGENTINA|Seleccione una Funci\xF3n|12345678"},
      {"-01", "           ", "20230115", "12.9", " ", " ", "  ", "  ",
       "-1||15/01/2023|742|12|3\r\n||||12345678"},
  };
  namespace a = registry::administration;
  namespace c = registry::consortium;
  namespace w = registry::worker;
  for (const Caso& k : casos) {
    const QByteArray padron =
        imprimir({administracion(1, kA1, "ADMIN", {{a::floor, "0003"}, {a::cabaNumber, k.caba}}),
                  consorcio(2, kC1,
                            {{c::streetNumber, "000742"},
                             {c::floors, k.pisos},
                             {c::startDate, k.fecha},
                             {c::commonCharges, k.expensas}}),
                  trabajador(3, kW1, kC1, "P",
                             {{w::documentType, k.doc},
                              {w::documentNumber, "0012345678"},
                              {w::civilStatus, k.civil},
                              {w::nationality, k.nac},
                              {w::nationalityInWords, "ESLOVENA"},
                              {w::jobFunction, k.funcion}}),
                  relacion(4, kC1, kA1)},
                 false);
    EXPECT_EQ(padron, "\r\n" + q(k.pagina) + "\r\n\r\n" + kBR + "\r\n") << k.pisos << " " << k.expensas;
  }
}

TEST_F(PrintoutTest, PlaceholdersOfAnotherStepStayAsWritten) {
  plantillas(
      disenoConsorcio("<@@CUITA@@>|<@@cuit1@@>|", "<@@CUIT1@@>/<@@CUITA@@>", "<@@BLOQUEADMINISTRACIONES@@>"),
      "");
  const QByteArray padron = imprimir(
      {administracion(1, kA1), consorcio(2, kC1), trabajador(3, kW1, kC1), relacion(4, kC1, kA1)}, false);
  EXPECT_EQ(padron, "\r\n<@@CUITA@@>|<@@cuit1@@>|<@@CUIT1@@>/" + q(kA1) +
                        "\r\n<@@BLOQUEADMINISTRACIONES@@>\r\n\r\n" + kBR + "\r\n");
}

TEST_F(PrintoutTest, TemplateVariantsThatStillCut) {
  const QByteArray relleno(41000, 'x');
  const std::pair<QByteArray, QByteArray> casos[] = {
      {"C<@@iniciobloqueadministraciones@@>A(<@@CUITA@@>)<@@finbloqueadministraciones@@>"
       "<@@iniciobloquetrabajadores@@>W<@@finbloquetrabajadores@@>",
       "CA(" + q(kA1) + ")\r\nW\r\n\r\n"},
      {"C<@@INICIOBLOQUETRABAJADORES@@>W<@@FINBLOQUETRABAJADORES@@>-<@@INICIOBLOQUEADMINISTRACIONES@@>"
       "A(<@@CUITA@@>)<@@FINBLOQUEADMINISTRACIONES@@>",
       "CW\r\n-A(" + q(kA1) + ")\r\n\r\n"},
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
// told once and leaves its pages as the page break alone.
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
}

TEST_F(PrintoutTest, UnwritablePadronIsAnErrorNamingItAndLeavesItAlone) {
  plantillas(kConsorcioMinimo, kTrabajadorMinimo);
  // A folder in place of Padron.html cannot be replaced by a file.
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Padron.html")));
  const Status s = GenerarHTMLFinal(Registry{}, paths_, cabecera(), true, recorder());
  EXPECT_TRUE(s.isError());
  EXPECT_TRUE(s.description().contains(QStringLiteral("Padron.html"))) << s.description().toStdString();
  EXPECT_TRUE(QFileInfo(paths_.padron).isDir());
}

// Cancels at its n-th report; records every report.
class CancelAt final : public Progress {
 public:
  explicit CancelAt(int n) : n_(n) {}
  bool report(Stage stage, qint64 done, qint64 total) override {
    EXPECT_EQ(stage, Stage::WritingPrintout);
    reports.append({done, total});
    return int(reports.size()) < n_;
  }
  QList<std::pair<qint64, qint64>> reports;

 private:
  int n_;
};

TEST_F(PrintoutTest, ReportsConsortiaWrittenAndCancelKeepsTheOldFile) {
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
}

}  // namespace
}  // namespace tarquelas::testing
