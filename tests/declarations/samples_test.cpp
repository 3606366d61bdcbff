// The sample presentation files shipped in samples/ are valid, and the
// generator's faults give the findings they promise.
#include <gtest/gtest.h>

#include <QProcess>

#include "validation_fixture.h"

namespace tarquelas::testing {
namespace {

QString sample(const char* name) {
  return QStringLiteral(TARQUELAS_SOURCE_DIR "/samples/") + QLatin1String(name);
}

qsizetype lineCount(const QByteArray& bytes) { return bytes.count("\r\n"); }

class Samples : public ValidationTest {
 protected:
  // Runs samples/generate.py with arguments, writing the presentation file.
  void generate(QStringList arguments) {
    arguments.prepend(sample("generate.py"));
    arguments << QStringLiteral("-o") << input();
    QProcess python;
    python.start(QStringLiteral("python3"), arguments);
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  }
};

TEST_F(Samples, VoucherSampleIsValidAndCopiedWithoutItsClosingRecord) {
  const QByteArray bytes = readBytes(sample("vouchers.txt"));
  ASSERT_FALSE(bytes.isEmpty());
  ASSERT_TRUE(validarArchivoTarquelas(sample("vouchers.txt"), paths()).isOk());
  EXPECT_FALSE(hasErrorFile()) << errorFile().toStdString();
  EXPECT_EQ(auxFile(), bytes.left(bytes.lastIndexOf("\r\n", bytes.size() - 3) + 2));
}

TEST_F(Samples, RegistrySampleIsValidAndCopiedWhole) {
  const QByteArray bytes = readBytes(sample("registry.txt"));
  ASSERT_FALSE(bytes.isEmpty());
  ASSERT_TRUE(validarArchivoPadron(sample("registry.txt"), paths()).isOk());
  EXPECT_FALSE(hasErrorFile()) << errorFile().toStdString();
  EXPECT_EQ(auxFile(), bytes);
}

TEST_F(Samples, GeneratedUtf8VoucherFileIsValid) {
  generate({QStringLiteral("voucher"), QStringLiteral("--consortia"), QStringLiteral("40"),
            QStringLiteral("--encoding"), QStringLiteral("utf-8"), QStringLiteral("--line-end"),
            QStringLiteral("cr")});
  ASSERT_TRUE(validateVouchers().isOk());
  EXPECT_FALSE(hasErrorFile()) << errorFile().toStdString();
}

TEST_F(Samples, GeneratedVoucherFaultsAreEachReportedOnce) {
  generate({QStringLiteral("voucher"), QStringLiteral("--consortia"), QStringLiteral("30"),
            QStringLiteral("--fault"), QStringLiteral("cuit:3"), QStringLiteral("--fault"),
            QStringLiteral("due-date:2"), QStringLiteral("--fault"), QStringLiteral("month")});
  ASSERT_TRUE(validateVouchers().isOk());
  const QByteArray errors = errorFile();
  EXPECT_TRUE(errors.startsWith("L\xEDnea 1: Mes. \r\n")) << errors.toStdString();
  EXPECT_EQ(errors.count("CUIT. "), 3);
  EXPECT_EQ(errors.count("Fecha de vencimiento. "), 2);
}

TEST_F(Samples, GeneratedRegistryOfManyConsortiaIsValid) {
  generate({QStringLiteral("registry"), QStringLiteral("--consortia"), QStringLiteral("300"),
            QStringLiteral("--workers"), QStringLiteral("5")});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_FALSE(hasErrorFile()) << errorFile().toStdString();
  EXPECT_EQ(lineCount(auxFile()), 2 + 15 + 300 * (1 + 5 * 3 + 1));
}

TEST_F(Samples, GeneratedRegistryWithExactLineCountIsValid) {
  generate({QStringLiteral("registry"), QStringLiteral("--lines"), QStringLiteral("5003")});
  ASSERT_TRUE(validateRegistry().isOk());
  EXPECT_FALSE(hasErrorFile()) << errorFile().toStdString();
  EXPECT_EQ(lineCount(auxFile()), 5003);
}

struct RegistryFault {
  const char* fault;
  QByteArray message;
};

class GeneratedRegistryFaults : public Samples, public ::testing::WithParamInterface<RegistryFault> {};

TEST_P(GeneratedRegistryFaults, GiveTheirFinding) {
  generate({QStringLiteral("registry"), QStringLiteral("--consortia"), QStringLiteral("50"),
            QStringLiteral("--fault"), QLatin1String(GetParam().fault)});
  ASSERT_TRUE(validateRegistry().isOk());
  const QByteArray errors = errorFile();
  EXPECT_TRUE(errors.contains(GetParam().message)) << errors.toStdString();
  EXPECT_TRUE(errors.endsWith("\r\n\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Cases, GeneratedRegistryFaults,
                         ::testing::Values(RegistryFault{"gap", "no es correlativo"},
                                           RegistryFault{"length", "longitud"},
                                           RegistryFault{"admin-cuit", "administraci\xF3n es inv\xE1lido"},
                                           RegistryFault{"consortium-cuit", "del consorcio es inv\xE1lido"},
                                           RegistryFault{"rent", "Renta u Horizontal"},
                                           RegistryFault{"self-administered", "auto-administrado"},
                                           RegistryFault{"worker-cuil", "trabajador es inv\xE1lido"},
                                           RegistryFault{"worker-consortium", "tipo 1 anterior"},
                                           RegistryFault{"relation-consortium", "este consorcio"},
                                           RegistryFault{"relation-admin", "esta administraci\xF3n"},
                                           RegistryFault{"lowercase-type", "administaciones no coincide"},
                                           RegistryFault{"totals", "registros totales no coincide"},
                                           RegistryFault{"trailing-empty-line", "longitud"}),
                         [](const auto& info) {
                           std::string name = info.param.fault;
                           for (char& c : name) c = (c == '-') ? '_' : c;
                           return name;
                         });

}  // namespace
}  // namespace tarquelas::testing
