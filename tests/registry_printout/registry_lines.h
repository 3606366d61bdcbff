// Registry records for tests: each builder places the values a test names
// at their fields of the registry layout, in a 300-character line.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>
#include <initializer_list>
#include <utility>

#include "common/line_builder.h"
#include "declarations/registry_layout.h"
#include "support/fields.h"

namespace tarquelas::testing {

using Valor = std::pair<Field, QByteArrayView>;

// A value longer than its field is cut to the field.
inline QByteArray registro(char tipo, int numero, std::initializer_list<Valor> valores,
                           std::initializer_list<Valor> mas = {}) {
  LineBuilder b(registry::kLineLength);
  b.at(1, QByteArrayView(&tipo, 1));
  if (numero > 0) b.at(2, QByteArray::number(numero).rightJustified(6, '0'));
  for (auto lista : {valores, mas})
    for (const Valor& v : lista)
      b.at(v.first.start, v.second.first(qMin(v.second.size(), qsizetype(v.first.length))));
  return b;
}

inline QByteArray cabecera(QByteArrayView id = "0000012345", QByteArrayView fecha = "20230115",
                           QByteArrayView hora = "0930") {
  namespace h = registry::header;
  return registro('C', 0,
                  {{h::kindLetter, "D"},
                   {h::entityCode, "0000123"},
                   {h::entityName, "ENTIDAD"},
                   {h::presentationId, id},
                   {h::presentationDate, fecha},
                   {h::presentationTime, hora}});
}

inline QByteArray administracion(int n, QByteArrayView cuit, QByteArrayView nombre = "ADMIN",
                                 std::initializer_list<Valor> mas = {}) {
  namespace a = registry::administration;
  return registro('A', n, {{a::cuit, cuit}, {a::name, nombre}}, mas);
}

inline QByteArray consorcio(int n, QByteArrayView cuit, std::initializer_list<Valor> mas = {}) {
  namespace c = registry::consortium;
  return registro(
      '1', n, {{c::key, "0000042"}, {c::cuit, cuit}, {c::rentOrHorizontal, "H"}, {c::selfAdministered, "N"}},
      mas);
}

inline QByteArray trabajador(int n, QByteArrayView cuil, QByteArrayView cuitConsorcio,
                             QByteArrayView apellido = "PEREZ", std::initializer_list<Valor> mas = {}) {
  namespace w = registry::worker;
  return registro('2', n, {{w::cuil, cuil}, {w::consortiumCuit, cuitConsorcio}, {w::surname, apellido}}, mas);
}

inline QByteArray beneficiario(int n, QByteArrayView cuil, QByteArrayView apellido = "GOMEZ",
                               std::initializer_list<Valor> mas = {}) {
  namespace b = registry::beneficiary;
  return registro('3', n, {{b::workerCuil, cuil}, {b::surname, apellido}}, mas);
}

inline QByteArray relacion(int n, QByteArrayView cuitConsorcio, QByteArrayView cuitAdmin) {
  namespace r = registry::relation;
  return registro('9', n, {{r::consortiumCuit, cuitConsorcio}, {r::administrationCuit, cuitAdmin}});
}

// Lines joined with CR LF after each, as the auxiliary file holds them.
inline QByteArray archivo(std::initializer_list<QByteArray> lineas) {
  QByteArray out;
  for (const QByteArray& l : lineas) out += l + "\r\n";
  return out;
}

}  // namespace tarquelas::testing
