// Reading the two templates and cutting them at their block markers.
#include "registry_printout/templates.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include "common/temp_dir.h"

namespace tarquelas {
namespace {

using testing::writeBytes;

constexpr char kIA[] = "<@@INICIOBLOQUEADMINISTRACIONES@@>";
constexpr char kFA[] = "<@@FINBLOQUEADMINISTRACIONES@@>";
constexpr char kIT[] = "<@@INICIOBLOQUETRABAJADORES@@>";
constexpr char kFT[] = "<@@FINBLOQUETRABAJADORES@@>";
constexpr char kIB[] = "<@@INICIOBLOQUEBENEFICIARIOS@@>";
constexpr char kFB[] = "<@@FINBLOQUEBENEFICIARIOS@@>";

QByteArray q(const char* s) { return QByteArray(s); }

TEST(CortarDisenoConsorcio, AdministrationBlockFirst) {
  const QByteArray t = "head" + q(kIA) + "admin" + kFA + "mid" + kIT + "worker" + kFT + "tail";
  const DisenoConsorcio d = cortarDisenoConsorcio(t);
  EXPECT_EQ(d.sDisenoConsorcio, "head<@@BLOQUEADMINISTRACIONES@@>mid<@@BLOQUETRABAJADORES@@>tail");
  EXPECT_EQ(d.sBloqueAdministraciones, "admin");
  EXPECT_EQ(d.sBloqueTrabajadores, "worker");
}

TEST(CortarDisenoConsorcio, WorkerBlockFirstGivesTheSameBlocks) {
  const QByteArray t = "head" + q(kIT) + "worker" + kFT + "mid" + kIA + "admin" + kFA + "tail";
  const DisenoConsorcio d = cortarDisenoConsorcio(t);
  EXPECT_EQ(d.sDisenoConsorcio, "head<@@BLOQUETRABAJADORES@@>mid<@@BLOQUEADMINISTRACIONES@@>tail");
  EXPECT_EQ(d.sBloqueAdministraciones, "admin");
  EXPECT_EQ(d.sBloqueTrabajadores, "worker");
}

TEST(CortarDisenoConsorcio, FindsMarkersInAnyCaseAndKeepsTheTemplateCase) {
  const QByteArray t =
      "Head<@@inicioBloqueAdministraciones@@>Admin<@@finbloqueadministraciones@@>Mid"
      "<@@InicioBloqueTrabajadores@@>Worker<@@FINBLOQUEtrabajadores@@>Tail";
  const DisenoConsorcio d = cortarDisenoConsorcio(t);
  EXPECT_EQ(d.sDisenoConsorcio, "Head<@@BLOQUEADMINISTRACIONES@@>Mid<@@BLOQUETRABAJADORES@@>Tail");
  EXPECT_EQ(d.sBloqueAdministraciones, "Admin");
  EXPECT_EQ(d.sBloqueTrabajadores, "Worker");
}

TEST(CortarDisenoConsorcio, OnlyTheFirstOccurrenceIsAMarker) {
  const QByteArray t = "h" + q(kIA) + "a" + kIA + "b" + kFA + "m" + kIT + "w" + kFT + "t" + kFT;
  const DisenoConsorcio d = cortarDisenoConsorcio(t);
  EXPECT_EQ(d.sBloqueAdministraciones, "a" + q(kIA) + "b");
  EXPECT_EQ(d.sDisenoConsorcio, "h<@@BLOQUEADMINISTRACIONES@@>m<@@BLOQUETRABAJADORES@@>t" + q(kFT));
}

TEST(CortarDisenoConsorcio, EmptyBlockStillLeavesItsPlaceholder) {
  const QByteArray t = "h" + q(kIA) + kFA + "m" + kIT + "w" + kFT;
  const DisenoConsorcio d = cortarDisenoConsorcio(t);
  EXPECT_EQ(d.sDisenoConsorcio, "h<@@BLOQUEADMINISTRACIONES@@>m<@@BLOQUETRABAJADORES@@>");
  EXPECT_EQ(d.sBloqueAdministraciones, "");
  EXPECT_EQ(d.sBloqueTrabajadores, "w");
}

TEST(CortarDisenoConsorcio, LineEndsAroundMarkersStayWhereTheyWere) {
  const QByteArray t = "h\r\n" + q(kIA) + "\r\nadmin\r\n" + kFA + "\r\n" + kIT + "\r\nw\r\n" + kFT + "\r\n";
  const DisenoConsorcio d = cortarDisenoConsorcio(t);
  EXPECT_EQ(d.sDisenoConsorcio, "h\r\n<@@BLOQUEADMINISTRACIONES@@>\r\n<@@BLOQUETRABAJADORES@@>\r\n");
  EXPECT_EQ(d.sBloqueAdministraciones, "\r\nadmin\r\n");
  EXPECT_EQ(d.sBloqueTrabajadores, "\r\nw\r\n");
}

// Failure cases: the cutting stops at the step whose cut has a negative
// length; that step's text and the later ones stay empty.
struct Fallo {
  const char* caso;
  QByteArray texto;
  bool pagina, admin, trabajadores;
};

TEST(CortarDisenoConsorcio, StopsAtTheFirstImpossibleCut) {
  const Fallo casos[] = {
      {"empty template", "", false, false, false},
      {"no markers", "<html>nothing</html>", false, false, false},
      {"no administration start", "h" + q(kFA) + "m" + kIT + "w" + kFT, false, false, false},
      {"no worker start", "h" + q(kIA) + "a" + kFA + "m" + kFT, false, false, false},
      {"administration end before its start",
       "h" + q(kFA) + "0123456789012345678901234567890123456789" + kIA + "a" + kIT + "w" + kFT, true, false,
       false},
      {"worker end missing", "h" + q(kIA) + "a" + kFA + "m" + kIT + "w", true, true, false},
      {"worker end before its start", "h" + q(kIA) + "a" + kFA + "m" + kFT + kIT + "w", true, true, false},
  };
  for (const Fallo& c : casos) {
    const DisenoConsorcio d = cortarDisenoConsorcio(c.texto);
    EXPECT_EQ(!d.sDisenoConsorcio.isEmpty(), c.pagina) << c.caso;
    EXPECT_EQ(!d.sBloqueAdministraciones.isEmpty(), c.admin) << c.caso;
    EXPECT_EQ(!d.sBloqueTrabajadores.isEmpty(), c.trabajadores) << c.caso;
  }
}

TEST(CortarDisenoConsorcio, MissingAdministrationEndKeepsThePageButNoBlocks) {
  // The administration's end counts as position 0: the middle cut runs
  // from just after where it would end.
  const QByteArray relleno(40, 'x');
  const QByteArray t = "h" + q(kIA) + "a" + relleno + kIT + "w" + kFT + "t";
  const DisenoConsorcio d = cortarDisenoConsorcio(t);
  const qsizetype it = t.indexOf(kIT) + 1;
  EXPECT_EQ(d.sDisenoConsorcio,
            "h<@@BLOQUEADMINISTRACIONES@@>" + t.mid(30, it - 31) + "<@@BLOQUETRABAJADORES@@>t");
  EXPECT_EQ(d.sBloqueAdministraciones, "");
  EXPECT_EQ(d.sBloqueTrabajadores, "");
}

TEST(CortarDisenoTrabajador, CutsTheBeneficiaryBlock) {
  const QByteArray t = "page<@@iniciobloquebeneficiarios@@>\r\nbenef\r\n" + q(kFB) + "\r\nend";
  const DisenoTrabajador d = cortarDisenoTrabajador(t);
  EXPECT_EQ(d.sDisenoEmpleado, "page<@@BLOQUEBENEFICIARIOS@@>\r\nend");
  EXPECT_EQ(d.sBloqueBeneficiarios, "\r\nbenef\r\n");
}

TEST(CortarDisenoTrabajador, FailureCases) {
  EXPECT_EQ(cortarDisenoTrabajador("").sDisenoEmpleado, "");
  const DisenoTrabajador sinInicio = cortarDisenoTrabajador("page" + q(kFB));
  EXPECT_EQ(sinInicio.sDisenoEmpleado, "");
  EXPECT_EQ(sinInicio.sBloqueBeneficiarios, "");
  const DisenoTrabajador finAntes = cortarDisenoTrabajador("p" + q(kFB) + "x" + kIB + "b");
  // The design takes everything after where the end marker stands.
  EXPECT_EQ(finAntes.sDisenoEmpleado, "p" + q(kFB) + "x<@@BLOQUEBENEFICIARIOS@@>x" + q(kIB) + "b");
  EXPECT_EQ(finAntes.sBloqueBeneficiarios, "");
}

TEST(CortarDisenoConsorcio, TemplatesOverFortyThousandCharactersWork) {
  const QByteArray relleno(50000, 'x');
  const QByteArray t = relleno + kIA + "admin" + kFA + relleno + kIT + "worker" + kFT + relleno;
  const DisenoConsorcio d = cortarDisenoConsorcio(t);
  EXPECT_EQ(d.sDisenoConsorcio,
            relleno + "<@@BLOQUEADMINISTRACIONES@@>" + relleno + "<@@BLOQUETRABAJADORES@@>" + relleno);
  EXPECT_EQ(d.sBloqueAdministraciones, "admin");
  EXPECT_EQ(d.sBloqueTrabajadores, "worker");
  const DisenoTrabajador w = cortarDisenoTrabajador(relleno + kIB + "b" + kFB + "e");
  EXPECT_EQ(w.sDisenoEmpleado, relleno + "<@@BLOQUEBENEFICIARIOS@@>e");
  EXPECT_EQ(w.sBloqueBeneficiarios, "b");
}

class LeerDisenoTest : public ::testing::Test {
 protected:
  QString path(const char* nombre) { return dir_.filePath(QString::fromLatin1(nombre)); }
  ShowMessage recorder() {
    return [this](const QString& text) { mensajes_ << text; };
  }
  QTemporaryDir dir_;
  QStringList mensajes_;
};

TEST_F(LeerDisenoTest, MissingTemplatesAreToldByFileName) {
  const DisenoConsorcio c = leerDisenoConsorcio(path("DisenoConsorcio.htm"), recorder());
  const DisenoTrabajador t = leerDisenoTrabajador(path("DisenoTrabajador.htm"), recorder());
  EXPECT_EQ(mensajes_, QStringList({QStringLiteral("No se encuentra el archivo DisenoConsorcio.htm"),
                                    QStringLiteral("No se encuentra el archivo DisenoTrabajador.htm")}));
  EXPECT_TRUE(c.sDisenoConsorcio.isEmpty() && c.sBloqueAdministraciones.isEmpty());
  EXPECT_TRUE(t.sDisenoEmpleado.isEmpty() && t.sBloqueBeneficiarios.isEmpty());
}

TEST_F(LeerDisenoTest, LinesAreJoinedEachFollowedByCrLf) {
  // CR LF and lone CR end lines; a lone LF stays; the last line has no end.
  ASSERT_TRUE(writeBytes(path("t.htm"), "a\r\nb\rc\nd"));
  EXPECT_EQ(leerPlantilla(path("t.htm")), QByteArray("a\r\nb\r\nc\nd\r\n"));
  ASSERT_TRUE(writeBytes(path("lf.htm"), "a\nb\n"));
  EXPECT_EQ(leerPlantilla(path("lf.htm")), QByteArray("a\nb\n\r\n"));
  ASSERT_TRUE(writeBytes(path("empty.htm"), ""));
  EXPECT_EQ(leerPlantilla(path("empty.htm")), QByteArray(""));
}

TEST_F(LeerDisenoTest, ReadsWindows1252BytesUnchanged) {
  const QByteArray t = "Direcci\xF3n " + q(kIB) + "\xD1" + kFB;
  ASSERT_TRUE(writeBytes(path("DisenoTrabajador.htm"), t));
  const DisenoTrabajador d = leerDisenoTrabajador(path("DisenoTrabajador.htm"), recorder());
  EXPECT_EQ(d.sDisenoEmpleado, "Direcci\xF3n <@@BLOQUEBENEFICIARIOS@@>\r\n");
  EXPECT_EQ(d.sBloqueBeneficiarios, "\xD1");
  EXPECT_TRUE(mensajes_.isEmpty());
}

TEST_F(LeerDisenoTest, UnreadableTemplateGivesEmptyTextsWithoutMessage) {
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("DisenoConsorcio.htm")));
  const DisenoConsorcio c = leerDisenoConsorcio(path("DisenoConsorcio.htm"), recorder());
  EXPECT_TRUE(c.sDisenoConsorcio.isEmpty());
  EXPECT_TRUE(mensajes_.isEmpty());
}

}  // namespace
}  // namespace tarquelas
