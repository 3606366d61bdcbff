// Loading of the auxiliary file into the registry lists.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "common/temp_dir.h"
#include "registry_lines.h"
#include "registry_printout/printout.h"

namespace tarquelas {
namespace {

using namespace testing;
namespace r = registry;

constexpr char kCuitConsorcio[] = "30500010912";
constexpr char kCuitOtro[] = "33693450239";
constexpr char kCuil[] = "20123456786";
constexpr char kCuitAdmin[] = "33637617449";

class LoaderTest : public ::testing::Test {
 protected:
  Registry cargar(const QByteArray& contenido) {
    const QString path = dir_.filePath(QStringLiteral("TarquelasAux.txt"));
    EXPECT_TRUE(writeBytes(path, contenido));
    LoadResult result = cargarPadron(path);
    EXPECT_TRUE(result.status.isOk()) << result.status.description().toStdString();
    return result.registry;
  }
  QTemporaryDir dir_;
};

bool enFormaVacia(const QList<Entry>& lista) { return lista.size() == 1 && lista[0].isEmpty(); }

TEST_F(LoaderTest, MissingFileGivesEveryListItsOneEmptyEntry) {
  const LoadResult result = cargarPadron(dir_.filePath(QStringLiteral("no-such.txt")));
  ASSERT_TRUE(result.status.isOk());
  for (const auto* lista :
       {&result.registry.aAdministraciones, &result.registry.aConsorcios, &result.registry.aTrabajadores,
        &result.registry.aBeneficiarios, &result.registry.aRelaciones})
    EXPECT_TRUE(enFormaVacia(*lista));
}

TEST_F(LoaderTest, ListsWithoutRecordsKeepOneEmptyEntry) {
  const Registry reg =
      cargar(archivo({cabecera(), administracion(1, kCuitAdmin), administracion(2, kCuitAdmin),
                      administracion(3, kCuitAdmin), registro('P', 0, {})}));
  EXPECT_EQ(reg.aAdministraciones.size(), 3);
  EXPECT_TRUE(enFormaVacia(reg.aBeneficiarios));
  EXPECT_TRUE(enFormaVacia(reg.aConsorcios));
  EXPECT_TRUE(enFormaVacia(reg.aTrabajadores));
  EXPECT_TRUE(enFormaVacia(reg.aRelaciones));
}

TEST_F(LoaderTest, EntriesHaveTheirFixedLengths) {
  const Registry reg = cargar(archivo({administracion(1, kCuitAdmin), consorcio(2, kCuitConsorcio),
                                       trabajador(3, kCuil, kCuitConsorcio), beneficiario(4, kCuil),
                                       relacion(5, kCuitConsorcio, kCuitAdmin)}));
  EXPECT_EQ(reg.aAdministraciones.value(0).size(), kTextosAdministracion);
  EXPECT_EQ(reg.aConsorcios.value(0).size(), kTextosConsorcio);
  EXPECT_EQ(reg.aTrabajadores.value(0).size(), kTextosTrabajador);
  EXPECT_EQ(reg.aBeneficiarios.value(0).size(), kTextosBeneficiario);
  EXPECT_EQ(reg.aRelaciones.value(0).size(), kTextosRelacion);
}

TEST_F(LoaderTest, ConsortiumEntryPutsItsCuitFirstAndTrimsTexts) {
  namespace c = r::consortium;
  const Registry reg = cargar(archivo({consorcio(1, kCuitConsorcio,
                                                 {{c::startDate, "20230115"},
                                                  {c::street, "  AV. SIEMPRE VIVA  "},
                                                  {c::streetNumber, "000742"},
                                                  {c::postalCode, "C1425ABC"},
                                                  {c::floors, "005"},
                                                  {c::units, "020"},
                                                  {c::category, "2"},
                                                  {c::owner, "DUENO S.A."},
                                                  {c::commonCharges, "00000012345"}})}));
  const Entry& e = reg.aConsorcios[0];
  const QList<QByteArray> esperado = {
      kCuitConsorcio, "0000042", "AV. SIEMPRE VIVA", "000742", "C1425ABC",   "005", "020",
      "20230115",     "2",       "00000012345",      "H",      "DUENO S.A.", "N"};
  EXPECT_EQ(e, Entry(esperado));
}

TEST_F(LoaderTest, WorkerCodesBecomeWords) {
  namespace w = r::worker;
  struct Caso {
    const char *tipoDoc, *estadoCivil, *nacionalidad, *funcion;
    const char *tipoDocTexto, *estadoCivilTexto, *nacionalidadTexto, *funcionTexto;
  };
  const Caso casos[] = {
      {"1", "0", "08", "01", "DNI", "No Informado", "CHILE", "ENCARGADO PERMANENTE CON VIVIENDA"},
      {"4", "5", "99", "18", "", "", "OTRA", "PERSONAL  VIGILANCIA NOCTURNA"},
      {" ", " ", "  ", "  ", "", "", "", ""},
      {"X", "9", "00", "77", "", "", "", ""},
      {"3", "7", " 1", "-1", "LC", "CONCUBINATO", "ARGENTINA", "Seleccione una Funci\xF3n"},
  };
  for (const Caso& k : casos) {
    const Registry reg = cargar(archivo({trabajador(1, kCuil, kCuitConsorcio, "PEREZ",
                                                    {{w::documentType, k.tipoDoc},
                                                     {w::civilStatus, k.estadoCivil},
                                                     {w::nationality, k.nacionalidad},
                                                     {w::nationalityInWords, "PARAGUAYA DEL NORTE"},
                                                     {w::jobFunction, k.funcion}})}));
    const Entry& e = reg.aTrabajadores[0];
    EXPECT_EQ(e[4], k.tipoDocTexto) << k.tipoDoc;
    EXPECT_EQ(e[7], k.estadoCivilTexto) << k.estadoCivil;
    EXPECT_EQ(e[17], k.nacionalidadTexto) << k.nacionalidad;
    EXPECT_EQ(e[18], "PARAGUAYA DEL NORTE");
    EXPECT_EQ(e[19], k.funcionTexto) << k.funcion;
  }
}

TEST_F(LoaderTest, BeneficiaryCarriesTheLatestConsortiumCuit) {
  const Registry reg = cargar(
      archivo({beneficiario(1, kCuil, "ANTES"), consorcio(2, kCuitConsorcio), beneficiario(3, kCuil, "UNO"),
               consorcio(4, kCuitOtro), beneficiario(5, kCuil, "DOS"), beneficiario(6, kCuil, "TRES")}));
  ASSERT_EQ(reg.aBeneficiarios.size(), 4);
  const QByteArray esperado[] = {"", kCuitConsorcio, kCuitOtro, kCuitOtro};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(reg.aBeneficiarios[i][1], esperado[i]) << i;
  EXPECT_EQ(reg.aBeneficiarios[1][2], "UNO");
}

TEST_F(LoaderTest, SkipsHeaderTrailerUnknownAndLowerCaseTypes) {
  QByteArray minuscula = administracion(2, kCuitAdmin);
  minuscula[0] = 'a';
  const Registry reg = cargar(archivo({cabecera(), administracion(1, kCuitAdmin), minuscula,
                                       registro('7', 3, {}), registro('P', 0, {}), QByteArray()}));
  EXPECT_EQ(reg.aAdministraciones.size(), 1);
}

TEST_F(LoaderTest, ShortLinesGiveEmptyTexts) {
  const Registry reg = cargar(archivo({QByteArray("1000001")}));
  ASSERT_EQ(reg.aConsorcios.size(), 1);
  EXPECT_EQ(reg.aConsorcios[0], Entry(kTextosConsorcio));
}

TEST_F(LoaderTest, ADirectoryInPlaceOfTheFileIsAnErrorNamingIt) {
  const QString path = dir_.filePath(QStringLiteral("TarquelasAux.txt"));
  ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("TarquelasAux.txt")));
  const LoadResult result = cargarPadron(path);
  EXPECT_TRUE(result.status.isError());
  EXPECT_TRUE(result.status.description().contains(QStringLiteral("TarquelasAux.txt")));
}

TEST_F(LoaderTest, PathIsTrimmedOfBlanks) {
  const QString path = dir_.filePath(QStringLiteral("TarquelasAux.txt"));
  ASSERT_TRUE(writeBytes(path, archivo({consorcio(1, kCuitConsorcio)})));
  const LoadResult result = cargarPadron(QStringLiteral("  ") + path + QStringLiteral(" "));
  EXPECT_EQ(result.registry.aConsorcios.value(0).value(0), kCuitConsorcio);
}

}  // namespace
}  // namespace tarquelas
