// Registry records placed at their fields of a 300-character line, small
// templates, and a printout run in a temporary App directory.
#pragma once

#include <gtest/gtest.h>

#include <QStringList>
#include <QTemporaryDir>
#include <initializer_list>
#include <utility>

#include "common/line_builder.h"
#include "common/temp_dir.h"
#include "declarations/registry_layout.h"
#include "registry_printout/assembly.h"
#include "registry_printout/printout.h"

namespace tarquelas::testing {

using Valor = std::pair<Field, QByteArrayView>;

// A value longer than its field is cut to the field.
inline QByteArray registro(char tipo, int numero, std::initializer_list<Valor> valores,
                           std::initializer_list<Valor> mas = {}) {
  LineBuilder b(registry::kLineLength);
  b.at(1, QByteArrayView(&tipo, 1));
  if (numero > 0) b.at(2, QByteArray::number(numero).rightJustified(6, '0'));
  for (auto lista : {valores, mas})
    for (const auto& [field, v] : lista) b.at(field.start, v.first(qMin(v.size(), qsizetype(field.length))));
  return b;
}
inline QByteArray cabecera() {
  namespace h = registry::header;
  return registro('C', 0,
                  {{h::kindLetter, "D"},
                   {h::presentationId, "0000012345"},
                   {h::presentationDate, "20230115"},
                   {h::presentationTime, "0930"}});
}
inline QByteArray administracion(int n, QByteArrayView cuit, QByteArrayView nombre = "ADMIN") {
  return registro('A', n, {{registry::administration::cuit, cuit}, {registry::administration::name, nombre}});
}
inline QByteArray consorcio(int n, QByteArrayView cuit, std::initializer_list<Valor> mas = {}) {
  namespace c = registry::consortium;
  return registro('1', n, {{c::key, "0000042"}, {c::cuit, cuit}, {c::rentOrHorizontal, "H"}}, mas);
}
inline QByteArray trabajador(int n, QByteArrayView cuil, QByteArrayView cuitConsorcio,
                             QByteArrayView apellido = "PEREZ") {
  namespace w = registry::worker;
  return registro('2', n, {{w::cuil, cuil}, {w::consortiumCuit, cuitConsorcio}, {w::surname, apellido}});
}
inline QByteArray beneficiario(int n, QByteArrayView cuil, QByteArrayView apellido = "GOMEZ") {
  namespace b = registry::beneficiary;
  return registro('3', n, {{b::workerCuil, cuil}, {b::surname, apellido}});
}
inline QByteArray relacion(int n, QByteArrayView cuitConsorcio, QByteArrayView cuitAdmin) {
  namespace r = registry::relation;
  return registro('9', n, {{r::consortiumCuit, cuitConsorcio}, {r::administrationCuit, cuitAdmin}});
}

inline const QByteArray kBR = kSaltoDePagina.toByteArray();

// A consortium design: the page text, then each block between its markers.
inline QByteArray disenoConsorcio(const QByteArray& pagina, const QByteArray& admin, const QByteArray& trab) {
  return pagina + "<@@INICIOBLOQUEADMINISTRACIONES@@>" + admin + "<@@FINBLOQUEADMINISTRACIONES@@>" +
         "<@@INICIOBLOQUETRABAJADORES@@>" + trab + "<@@FINBLOQUETRABAJADORES@@>";
}
inline QByteArray disenoTrabajador(const QByteArray& pagina, const QByteArray& benef) {
  return pagina + "<@@INICIOBLOQUEBENEFICIARIOS@@>" + benef + "<@@FINBLOQUEBENEFICIARIOS@@>";
}
// Small designs whose output a test can spell out byte for byte.
inline const QByteArray kConsorcioMinimo =
    disenoConsorcio("C[<@@CUIT1@@>]", "A(<@@CUITA@@>)", "W(<@@CUIL2@@>)");
inline const QByteArray kTrabajadorMinimo =
    disenoTrabajador("P(<@@CUIL2@@>/<@@CUIT1@@>)", "B(<@@APELLIDO3@@>)");

class PrintoutTest : public ::testing::Test {
 protected:
  PrintoutTest() : paths_(WorkPaths::inDirectory(dir_.path())) {}

  void plantillas(const QByteArray& consorcio, const QByteArray& trabajador) {
    ASSERT_TRUE(writeBytes(paths_.disenoConsorcio, consorcio));
    ASSERT_TRUE(writeBytes(paths_.disenoTrabajador, trabajador));
  }
  // Writes the lines as the auxiliary file (each ending in CR LF) and loads it.
  Registry cargar(std::initializer_list<QByteArray> lineas) {
    QByteArray aux;
    for (const QByteArray& l : lineas) aux += l + "\r\n";
    EXPECT_TRUE(writeBytes(paths_.auxiliar, aux));
    LoadResult cargado = cargarPadron(paths_.auxiliar);
    EXPECT_TRUE(cargado.status.isOk()) << cargado.status.description().toStdString();
    return cargado.registry;
  }
  // Loads the lines and writes the printout; returns Padron.html's bytes.
  QByteArray imprimir(std::initializer_list<QByteArray> lineas, bool trabajadores = true,
                      const QByteArray& cabeceraLinea = cabecera()) {
    registry_ = cargar(lineas);
    const Status s = GenerarHTMLFinal(registry_, paths_, cabeceraLinea, trabajadores, recorder());
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
