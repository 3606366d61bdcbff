// A printout in a temporary App directory: templates, an auxiliary file,
// the loaded registry and the Padron.html that comes out.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>

#include "common/temp_dir.h"
#include "registry_lines.h"
#include "registry_printout/assembly.h"
#include "registry_printout/printout.h"

namespace tarquelas::testing {

inline const QByteArray kBR = kSaltoDePagina.toByteArray();

// Small designs whose output a test can spell out byte for byte.
inline const QByteArray kConsorcioMinimo =
    "C[<@@CUIT1@@>]<@@INICIOBLOQUEADMINISTRACIONES@@>A(<@@CUITA@@>)<@@FINBLOQUEADMINISTRACIONES@@>"
    "<@@INICIOBLOQUETRABAJADORES@@>W(<@@CUIL2@@>)<@@FINBLOQUETRABAJADORES@@>";
inline const QByteArray kTrabajadorMinimo =
    "P(<@@CUIL2@@>/<@@CUIT1@@>)<@@INICIOBLOQUEBENEFICIARIOS@@>B(<@@APELLIDO3@@>)<@@FINBLOQUEBENEFICIARIOS@@>";

class PrintoutTest : public ::testing::Test {
 protected:
  PrintoutTest() : paths_(WorkPaths::inDirectory(dir_.path())) {}

  void plantillas(const QByteArray& consorcio, const QByteArray& trabajador) {
    ASSERT_TRUE(writeBytes(paths_.disenoConsorcio, consorcio));
    ASSERT_TRUE(writeBytes(paths_.disenoTrabajador, trabajador));
  }
  void plantillasMinimas() { plantillas(kConsorcioMinimo, kTrabajadorMinimo); }

  // Loads the lines as the auxiliary file and writes the printout; returns
  // Padron.html's bytes.
  QByteArray imprimir(std::initializer_list<QByteArray> lineas, bool trabajadores = true,
                      QByteArrayView cabeceraLinea = {}) {
    EXPECT_TRUE(writeBytes(paths_.auxiliar, archivo(lineas)));
    LoadResult cargado = cargarPadron(paths_.auxiliar);
    EXPECT_TRUE(cargado.status.isOk());
    registry_ = cargado.registry;
    const QByteArray header = cabeceraLinea.isNull() ? cabecera() : cabeceraLinea.toByteArray();
    const Status s = GenerarHTMLFinal(registry_, paths_, header, trabajadores, recorder());
    EXPECT_TRUE(s.isOk()) << s.description().toStdString();
    return readBytes(paths_.padron);
  }

  ShowMessage recorder() {
    return [this](const QString& text) { mensajes_ << text; };
  }

  QTemporaryDir dir_;
  WorkPaths paths_;
  Registry registry_;
  QStringList mensajes_;
};

}  // namespace tarquelas::testing
