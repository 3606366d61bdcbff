// The four code tables of the registry file (document type, civil status,
// nationality, job function) and their lookups. The texts are the office's
// own, letter for letter, misspellings and double blanks included.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <span>

namespace tarquelas {

// One row of a code table: the code and its text, Windows-1252 bytes.
struct FilaCodigo {
  const char* codigo;
  const char* texto;
};

extern const std::span<const FilaCodigo> aTiposDeDocumentos;
extern const std::span<const FilaCodigo> aEstadosCiviles;
extern const std::span<const FilaCodigo> aNacionalidades;
extern const std::span<const FilaCodigo> aFunciones;

// The lookups give the row's text without leading and trailing blanks, a
// view of the table itself (the tables last as long as the program).

// The text of the first row whose code, as text, equals sID; empty text
// when no row does.
QByteArrayView buscarPorTexto(QByteArrayView sID, std::span<const FilaCodigo> tabla);
// The text of the first row whose code, read as a whole number, equals sID
// read as a whole number ("08" finds "8"); empty text when sID is not a
// whole number or no row matches.
QByteArrayView buscarPorNumero(QByteArrayView sID, std::span<const FilaCodigo> tabla);

inline QByteArrayView getTipoDeDocumento(QByteArrayView sID) {
  return buscarPorTexto(sID, aTiposDeDocumentos);
}
inline QByteArrayView getEstadoCivil(QByteArrayView sID) { return buscarPorTexto(sID, aEstadosCiviles); }
inline QByteArrayView getNacionalidad(QByteArrayView sID) { return buscarPorNumero(sID, aNacionalidades); }
inline QByteArrayView getFunciones(QByteArrayView sID) { return buscarPorNumero(sID, aFunciones); }

}  // namespace tarquelas
