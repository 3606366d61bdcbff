// Padron.html as a whole: its content and order, the blocks, the worker
// pages, the templates' failure cases and the file's own failures.
#include <QDir>
#include <QFile>

#include "printout_fixture.h"

namespace tarquelas::testing {
namespace {

namespace r = registry;

constexpr char kC1[] = "30500010912";
constexpr char kC2[] = "33693450239";
constexpr char kA1[] = "33637617449";
constexpr char kA2[] = "30710000002";
constexpr char kW1[] = "20123456786";
constexpr char kW2[] = "20000000011";

QByteArray q(const char* s) { return QByteArray(s); }

TEST_F(PrintoutTest, NoConsortiumGivesOneEmptyLine) {
  plantillasMinimas();
  EXPECT_EQ(imprimir({cabecera(), administracion(1, kA1), registro('P', 0, {})}), "\r\n");
  EXPECT_EQ(imprimir({}), "\r\n");
  EXPECT_TRUE(mensajes_.isEmpty());
}

TEST_F(PrintoutTest, NoAuxiliaryFileAtAllGivesOneEmptyLine) {
  // An empty registry file passes validation without leaving a copy.
  plantillasMinimas();
  const LoadResult cargado = cargarPadron(paths_.auxiliar);
  ASSERT_TRUE(cargado.status.isOk());
  ASSERT_TRUE(GenerarHTMLFinal(cargado.registry, paths_, QByteArrayView(), true, recorder()).isOk());
  EXPECT_EQ(readBytes(paths_.padron), "\r\n");
}

TEST_F(PrintoutTest, ConsortiumPageThenItsWorkerPagesInOrder) {
  plantillasMinimas();
  const QByteArray padron =
      imprimir({cabecera(), administracion(1, kA1), consorcio(2, kC1), trabajador(3, kW1, kC1),
                beneficiario(4, kW1, "HIJA"), beneficiario(5, kW1, "HIJO"), trabajador(6, kW2, kC1),
                relacion(7, kC1, kA1)});
  const QByteArray esperado =
      "\r\n"
      "C[" +
      q(kC1) + "]A(" + kA1 + ")\r\nW(" + kW1 + ")\r\nW(" + kW2 + ")\r\n\r\n" + kBR +
      "\r\n"
      "P(" +
      kW1 + "/" + kC1 + ")B(HIJA)\r\nB(HIJO)\r\n\r\n\r\n" + kBR + "P(" + kW2 + "/" + kC1 + ")\r\n\r\n" + kBR +
      "\r\n";
  EXPECT_EQ(padron, esperado);
}

TEST_F(PrintoutTest, WithoutWorkerPagesOnlyConsortiumPagesComeOut) {
  plantillasMinimas();
  const QByteArray padron = imprimir({consorcio(1, kC1), trabajador(2, kW1, kC1)}, false);
  EXPECT_EQ(padron, "\r\nC[" + q(kC1) + "]W(" + kW1 + ")\r\n\r\n" + kBR + "\r\n");
}

TEST_F(PrintoutTest, ConsortiumWithoutWorkersAddsAnEmptyLineForItsWorkerPages) {
  plantillasMinimas();
  EXPECT_EQ(imprimir({consorcio(1, kC1)}), "\r\nC[" + q(kC1) + "]\r\n" + kBR + "\r\n\r\n");
}

TEST_F(PrintoutTest, RelationTwiceShowsTheAdministrationTwice) {
  plantillasMinimas();
  const QByteArray padron = imprimir(
      {administracion(1, kA1), consorcio(2, kC1), relacion(3, kC1, kA1), relacion(4, kC1, kA1)}, false);
  EXPECT_EQ(padron, "\r\nC[" + q(kC1) + "]A(" + kA1 + ")\r\nA(" + kA1 + ")\r\n\r\n" + kBR + "\r\n");
}

TEST_F(PrintoutTest, AdministrationsComeInRelationOrderThenListOrder) {
  plantillas(
      "<@@INICIOBLOQUEADMINISTRACIONES@@>(<@@DENOMINACIONA@@>)<@@FINBLOQUEADMINISTRACIONES@@>"
      "<@@INICIOBLOQUETRABAJADORES@@><@@FINBLOQUETRABAJADORES@@>",
      "");
  const QByteArray padron =
      imprimir({administracion(1, kA1, "PRIMERA"), administracion(2, kA2, "SEGUNDA"),
                administracion(3, kA1, "TERCERA"), consorcio(4, kC1), relacion(5, kC1, kA2),
                relacion(6, kC1, kA1), consorcio(7, kC2), relacion(8, kC2, "20999999990")},
               false);
  EXPECT_EQ(padron, "\r\n(SEGUNDA)\r\n(PRIMERA)\r\n(TERCERA)\r\n\r\n" + kBR + "\r\n\r\n" + kBR + "\r\n");
}

TEST_F(PrintoutTest, DuplicateConsortiumCuitsGiveTwoPagesAndWorkerPagesShowTheLaterEntry) {
  plantillas(kConsorcioMinimo,
             "P(<@@CUIL2@@>/<@@CALLE1@@>)<@@INICIOBLOQUEBENEFICIARIOS@@><@@FINBLOQUEBENEFICIARIOS@@>");
  namespace c = r::consortium;
  const QByteArray padron = imprimir({consorcio(1, kC1, {{c::street, "PRIMERA"}}), trabajador(2, kW1, kC1),
                                      consorcio(3, kC1, {{c::street, "SEGUNDA"}}), trabajador(4, kW2, kC1)});
  const QByteArray pagina = "C[" + q(kC1) + "]W(" + kW1 + ")\r\nW(" + kW2 + ")\r\n\r\n" + kBR + "\r\n";
  const QByteArray trabajadores =
      "P(" + q(kW1) + "/SEGUNDA)\r\n\r\n" + kBR + "P(" + kW2 + "/SEGUNDA)\r\n\r\n" + kBR + "\r\n";
  EXPECT_EQ(padron, "\r\n" + pagina + trabajadores + pagina + trabajadores);
}

TEST_F(PrintoutTest, SameCuilInTwoConsortiaListsOnlyEachConsortiumsBeneficiaries) {
  plantillasMinimas();
  const QByteArray padron =
      imprimir({beneficiario(1, kW1, "NADIE"), consorcio(2, kC1), trabajador(3, kW1, kC1),
                beneficiario(4, kW1, "UNO"), consorcio(5, kC2), trabajador(6, kW1, kC2),
                beneficiario(7, kW1, "DOS"), beneficiario(8, kW1, "TRES")});
  EXPECT_TRUE(padron.contains("P(" + q(kW1) + "/" + kC1 + ")B(UNO)\r\n\r\n"));
  EXPECT_TRUE(padron.contains("P(" + q(kW1) + "/" + kC2 + ")B(DOS)\r\nB(TRES)\r\n\r\n"));
  EXPECT_FALSE(padron.contains("NADIE"));
}

TEST_F(PrintoutTest, WorkerOfNoListedConsortiumGetsNoPage) {
  plantillasMinimas();
  const QByteArray padron = imprimir({consorcio(1, kC1), trabajador(2, kW1, kC2)});
  EXPECT_FALSE(padron.contains(kW1));
}

// Every value rule on its placeholder, through the whole printout.
TEST_F(PrintoutTest, ConsortiumValuesFollowTheirRules) {
  plantillas(
      "<@@CLAVE1@@>|<@@NUMERO1@@>|<@@PISOS1@@>|<@@UNIDADES1@@>|<@@FECHAINICIO1@@>|<@@EXPENSAS1@@>|"
      "<@@RENTAHORIZONTAL1@@>|<@@AUTOADMINISTRADO1@@>|<@@IDPRESENTACION@@>|<@@FECHAPRESENTACION@@>|"
      "<@@HORAPRESENTACION@@><@@INICIOBLOQUEADMINISTRACIONES@@><@@FINBLOQUEADMINISTRACIONES@@>"
      "<@@INICIOBLOQUETRABAJADORES@@><@@FINBLOQUETRABAJADORES@@>",
      "");
  namespace c = r::consortium;
  struct Caso {
    const char *pisos, *expensas, *fecha, *valores;
  };
  const Caso casos[] = {
      {"005", "00000012345", "20230115", "42|742|5|20|15/01/2023|123.45|H|N|12345|15/01/2023|09:30"},
      {"000", "00000000045", "19991231", "42|742|0|20|31/12/1999|.45|H|N|12345|15/01/2023|09:30"},
      {"   ", "00000000005", "        ", "42|742||20|//|.05|H|N|12345|15/01/2023|09:30"},
      {"A5 ", "00000000000", "2023    ", "42|742|A5|20|//2023|.00|H|N|12345|15/01/2023|09:30"},
      {"999", "           ", "20230115", "42|742|999|20|15/01/2023||H|N|12345|15/01/2023|09:30"},
      {"-01", "0000000X000", "20230115", "42|742|-1|20|15/01/2023|0000000X000|H|N|12345|15/01/2023|09:30"},
  };
  for (const Caso& k : casos) {
    const QByteArray padron = imprimir({consorcio(1, kC1,
                                                  {{c::streetNumber, "000742"},
                                                   {c::floors, k.pisos},
                                                   {c::units, "020"},
                                                   {c::startDate, k.fecha},
                                                   {c::commonCharges, k.expensas}})},
                                       false);
    EXPECT_EQ(padron, "\r\n" + q(k.valores) + "\r\n" + kBR + "\r\n") << k.pisos << " " << k.expensas;
  }
}

TEST_F(PrintoutTest, AdministrationValuesFollowTheirRules) {
  plantillas(
      "<@@INICIOBLOQUEADMINISTRACIONES@@><@@NUMEROA@@>|<@@PISOA@@>|<@@DEPTOA@@>|<@@CODIGOPOSTALA@@>|"
      "<@@CABAA@@><@@FINBLOQUEADMINISTRACIONES@@><@@INICIOBLOQUETRABAJADORES@@><@@FINBLOQUETRABAJADORES@@>",
      "");
  namespace a = r::administration;
  struct Caso {
    const char *caba, *valores;
  };
  const Caso casos[] = {
      {"00012345", "1234|3|7|C1000AAA|12345"},
      {"00000000", "1234|3|7|C1000AAA|0"},
      {"12.9    ", "1234|3|7|C1000AAA|12"},
      {"        ", "1234|3|7|C1000AAA|"},
      {"S/N     ", "1234|3|7|C1000AAA|S/N"},
      {"1e400   ", "1234|3|7|C1000AAA|1e400"},  // beyond any number: as written, not 0
  };
  for (const Caso& k : casos) {
    const QByteArray padron = imprimir({administracion(1, kA1, "ADMIN",
                                                       {{a::streetNumber, "001234"},
                                                        {a::floor, "0003"},
                                                        {a::apartment, "007"},
                                                        {a::postalCode, "C1000AAA"},
                                                        {a::cabaNumber, k.caba}}),
                                        consorcio(2, kC1), relacion(3, kC1, kA1)},
                                       false);
    EXPECT_EQ(padron, "\r\n" + q(k.valores) + "\r\n\r\n" + kBR + "\r\n") << k.caba;
  }
}

TEST_F(PrintoutTest, WorkerAndBeneficiaryValuesFollowTheirRules) {
  plantillas(
      "<@@INICIOBLOQUEADMINISTRACIONES@@><@@FINBLOQUEADMINISTRACIONES@@>"
      "<@@INICIOBLOQUETRABAJADORES@@><@@FINBLOQUETRABAJADORES@@>",
      "<@@TIPODOC2@@>|<@@NRODOC2@@>|<@@ESTADOCIVIL2@@>|<@@FECHANACIMIENTO2@@>|<@@OBRASOCIAL2@@>|"
      "<@@PISO2@@>|<@@DEPTO2@@>|<@@NACIONALIDAD2@@>|<@@FUNCION2@@><@@INICIOBLOQUEBENEFICIARIOS@@>"
      "[<@@TIPODOC3@@>|<@@NRODOC3@@>|<@@PARENTESCO3@@>|<@@PORCENTAJE3@@>]<@@FINBLOQUEBENEFICIARIOS@@>");
  namespace w = r::worker;
  namespace b = r::beneficiary;
  const QByteArray padron = imprimir({consorcio(1, kC1),
                                      trabajador(2, kW1, kC1, "PEREZ",
                                                 {{w::documentType, "1"},
                                                  {w::documentNumber, "0012345678"},
                                                  {w::civilStatus, "5"},
                                                  {w::healthInsurance, "000104"},
                                                  {w::floor, "0003"},
                                                  {w::nationality, "99"},
                                                  {w::nationalityInWords, "ESLOVENA"},
                                                  {w::jobFunction, "77"}}),
                                      beneficiario(3, kW1, "GOMEZ",
                                                   {{b::documentType, "2"},
                                                    {b::documentNumber, "0012345678"},
                                                    {b::relationship, "HIJA"},
                                                    {b::percentage, "050"}})});
  EXPECT_TRUE(padron.contains("\r\nDNI|12345678||//|104|3||ESLOVENA|[LE|12345678|HIJA|50]\r\n\r\n\r\n" + kBR))
      << padron.toStdString();
}

TEST_F(PrintoutTest, NamesWithSpecialCharactersAreEscaped) {
  plantillas(
      "<@@PROPIETARIO1@@><@@INICIOBLOQUEADMINISTRACIONES@@><@@DENOMINACIONA@@>"
      "<@@FINBLOQUEADMINISTRACIONES@@><@@INICIOBLOQUETRABAJADORES@@><@@APELLIDO2@@>"
      "<@@FINBLOQUETRABAJADORES@@>",
      "");
  const QByteArray padron =
      imprimir({administracion(1, kA1, "PEREZ & <HIJOS>"),
                consorcio(2, kC1, {{r::consortium::owner, "O'HARA \"EL\" <@@CUIT1@@>"}}),
                trabajador(3, kW1, kC1, "D'ANGELO&CIA"), relacion(4, kC1, kA1)},
               false);
  EXPECT_EQ(padron,
            "\r\nO&#39;HARA &quot;EL&quot; &lt;@@CUIT1@@&gt;PEREZ &amp; &lt;HIJOS&gt;\r\n"
            "D&#39;ANGELO&amp;CIA\r\n\r\n" +
                kBR + "\r\n");
}

TEST_F(PrintoutTest, PlaceholdersOfAnotherStepStayAsWritten) {
  plantillas(
      "<@@CUITA@@>|<@@cuit1@@>|<@@INICIOBLOQUEADMINISTRACIONES@@><@@CUIT1@@>/<@@CUITA@@>"
      "<@@FINBLOQUEADMINISTRACIONES@@><@@INICIOBLOQUETRABAJADORES@@><@@BLOQUEADMINISTRACIONES@@>"
      "<@@FINBLOQUETRABAJADORES@@>",
      "");
  const QByteArray padron = imprimir(
      {administracion(1, kA1), consorcio(2, kC1), trabajador(3, kW1, kC1), relacion(4, kC1, kA1)}, false);
  EXPECT_EQ(padron, "\r\n<@@CUITA@@>|<@@cuit1@@>|<@@CUIT1@@>/" + q(kA1) +
                        "\r\n<@@BLOQUEADMINISTRACIONES@@>\r\n\r\n" + kBR + "\r\n");
}

TEST_F(PrintoutTest, MissingTemplatesGivePagesOfThePageBreakAlone) {
  const QByteArray padron = imprimir({consorcio(1, kC1), trabajador(2, kW1, kC1), trabajador(3, kW2, kC1)});
  EXPECT_EQ(mensajes_, QStringList({QStringLiteral("No se encuentra el archivo DisenoConsorcio.htm"),
                                    QStringLiteral("No se encuentra el archivo DisenoTrabajador.htm")}));
  EXPECT_EQ(padron, "\r\n" + kBR + "\r\n" + "\r\n" + kBR + "\r\n" + kBR + "\r\n");
}

TEST_F(PrintoutTest, MissingWorkerTemplateIsToldOnceAndConsortiumPagesStillComeOut) {
  ASSERT_TRUE(writeBytes(paths_.disenoConsorcio, kConsorcioMinimo));
  for (bool trabajadores : {true, false}) {
    mensajes_.clear();
    const QByteArray padron = imprimir({consorcio(1, kC1), consorcio(2, kC2)}, trabajadores);
    EXPECT_EQ(mensajes_, QStringList({QStringLiteral("No se encuentra el archivo DisenoTrabajador.htm")}));
    EXPECT_TRUE(padron.startsWith("\r\nC[" + q(kC1) + "]"));
    EXPECT_TRUE(padron.contains("C[" + q(kC2) + "]"));
  }
}

TEST_F(PrintoutTest, UncheckedBoxStillReadsBothTemplates) {
  ASSERT_TRUE(writeBytes(paths_.disenoTrabajador, kTrabajadorMinimo));
  imprimir({consorcio(1, kC1)}, false);
  EXPECT_EQ(mensajes_, QStringList({QStringLiteral("No se encuentra el archivo DisenoConsorcio.htm")}));
}

TEST_F(PrintoutTest, TemplateVariantsThatStillCut) {
  struct Caso {
    const char* caso;
    QByteArray plantilla;
    QByteArray pagina;
  };
  const QByteArray relleno(41000, 'x');
  const Caso casos[] = {
      {"lower case markers",
       "C<@@iniciobloqueadministraciones@@>A(<@@CUITA@@>)<@@finbloqueadministraciones@@>"
       "<@@iniciobloquetrabajadores@@>W<@@finbloquetrabajadores@@>",
       "CA(" + q(kA1) + ")\r\nW\r\n\r\n"},
      {"worker block first",
       "C<@@INICIOBLOQUETRABAJADORES@@>W<@@FINBLOQUETRABAJADORES@@>-<@@INICIOBLOQUEADMINISTRACIONES@@>"
       "A(<@@CUITA@@>)<@@FINBLOQUEADMINISTRACIONES@@>",
       "CW\r\n-A(" + q(kA1) + ")\r\n\r\n"},
      {"over forty thousand characters", relleno + kConsorcioMinimo + relleno,
       relleno + "C[" + kC1 + "]A(" + kA1 + ")\r\nW(" + kW1 + ")\r\n" + relleno + "\r\n"},
      {"without markers", "<html>sin marcadores</html>", ""},
      {"empty", "", ""},
  };
  for (const Caso& c : casos) {
    plantillas(c.plantilla, kTrabajadorMinimo);
    const QByteArray padron = imprimir(
        {administracion(1, kA1), consorcio(2, kC1), trabajador(3, kW1, kC1), relacion(4, kC1, kA1)}, false);
    EXPECT_EQ(padron, "\r\n" + c.pagina + kBR + "\r\n") << c.caso;
  }
  EXPECT_TRUE(mensajes_.isEmpty());
}

TEST_F(PrintoutTest, CodesNoTableKnowsShowEmptyTexts) {
  plantillas(
      "<@@INICIOBLOQUEADMINISTRACIONES@@><@@FINBLOQUEADMINISTRACIONES@@><@@INICIOBLOQUETRABAJADORES@@>"
      "[<@@TIPODOC2@@>|<@@ESTADOCIVIL2@@>|<@@NACIONALIDAD2@@>|<@@FUNCION2@@>]<@@FINBLOQUETRABAJADORES@@>",
      "");
  namespace w = r::worker;
  const QByteArray padron = imprimir(
      {consorcio(1, kC1),
       trabajador(
           2, kW1, kC1, "P",
           {{w::documentType, "9"}, {w::civilStatus, "5"}, {w::nationality, "77"}, {w::jobFunction, "AB"}})},
      false);
  EXPECT_EQ(padron, "\r\n[|||]\r\n\r\n" + kBR + "\r\n");
}

TEST_F(PrintoutTest, ReplacesAnEarlierPadron) {
  plantillasMinimas();
  ASSERT_TRUE(writeBytes(paths_.padron, "old printout, much longer than the new one"));
  EXPECT_EQ(imprimir({}), "\r\n");
}

TEST_F(PrintoutTest, UnwritablePadronIsAnErrorNamingItAndLeavesItAlone) {
  plantillasMinimas();
  // A folder in place of Padron.html cannot be replaced by a file.
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("Padron.html")));
  const Status s = GenerarHTMLFinal(Registry{}, paths_, cabecera(), true, recorder());
  EXPECT_TRUE(s.isError());
  EXPECT_TRUE(s.description().contains(QStringLiteral("Padron.html"))) << s.description().toStdString();
  EXPECT_TRUE(QFileInfo(paths_.padron).isDir());
}

TEST_F(PrintoutTest, ReadOnlyFolderIsAnError) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
  plantillasMinimas();
  ASSERT_TRUE(QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::ExeOwner));
  const Status s = GenerarHTMLFinal(Registry{}, paths_, cabecera(), true, recorder());
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_TRUE(s.isError());
  EXPECT_TRUE(s.description().contains(QStringLiteral("Padron.html")));
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

TEST_F(PrintoutTest, ReportsConsortiaWrittenAndHonoursCancel) {
  plantillasMinimas();
  imprimir({consorcio(1, kC1), consorcio(2, kC2)});
  const QByteArray antes = readBytes(paths_.padron);

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
  EXPECT_FALSE(antes.isEmpty());
}

TEST_F(PrintoutTest, PresentationNumberLosesLeadingZeros) {
  plantillas(
      "<@@IDPRESENTACION@@>/<@@FECHAPRESENTACION@@>/<@@HORAPRESENTACION@@>"
      "<@@INICIOBLOQUEADMINISTRACIONES@@><@@FINBLOQUEADMINISTRACIONES@@>"
      "<@@INICIOBLOQUETRABAJADORES@@><@@FINBLOQUETRABAJADORES@@>",
      "<@@IDPRESENTACION@@>-<@@FECHAPRESENTACION@@>-<@@HORAPRESENTACION@@>"
      "<@@INICIOBLOQUEBENEFICIARIOS@@><@@FINBLOQUEBENEFICIARIOS@@>");
  const QByteArray padron = imprimir({consorcio(1, kC1), trabajador(2, kW1, kC1)}, true,
                                     cabecera("0000000000", "20241231", "2359"));
  EXPECT_EQ(padron, "\r\n0/31/12/2024/23:59\r\n\r\n" + kBR + "\r\n0-31/12/2024-23:59\r\n\r\n" + kBR + "\r\n");
}

TEST_F(PrintoutTest, PresentationValuesAreEscapedToo) {
  plantillas(
      "<@@IDPRESENTACION@@>|<@@FECHAPRESENTACION@@>|<@@HORAPRESENTACION@@>"
      "<@@INICIOBLOQUEADMINISTRACIONES@@><@@FINBLOQUEADMINISTRACIONES@@>"
      "<@@INICIOBLOQUETRABAJADORES@@><@@FINBLOQUETRABAJADORES@@>",
      "");
  const QByteArray padron =
      imprimir({consorcio(1, kC1)}, false, cabecera("00<b>&'\"xy", "2024<1>\"", "&<>'"));
  EXPECT_EQ(padron,
            "\r\n&lt;b&gt;&amp;&#39;&quot;xy|&gt;&quot;/&lt;1/2024|&amp;&lt;:&gt;&#39;\r\n" + kBR + "\r\n");
}

}  // namespace
}  // namespace tarquelas::testing
