// Shared checks and text helpers used across the system: file existence,
// C.U.I.T./C.U.I.L. check digits and printed form, forgiving numbers, dates,
// repair of UTF-8 text read as single bytes, and leading zeros.
// All are pure functions except existeArchivo. None throws.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QPoint>
#include <QSize>
#include <QString>
#include <optional>

namespace tarquelas {

// True when path names an existing file or directory (no wildcard matching).
// An empty path gives false.
bool existeArchivo(const QString& path);

// path without its leading and trailing blanks (spaces only: a tab or a
// line break is part of a name).
QString sinBlancosLaterales(const QString& path);

// The presentation file a typed name stands for, settled once per run and
// used by every step: the name as typed when that file exists, else the
// name without its leading and trailing blanks.
QString archivoDePresentacion(const QString& typed);

// True when a and b are one file: the same device and inode when both
// exist (whatever links or spellings lead there); when neither exists
// yet, the same name in the same folder.
bool esMismoArchivo(const QString& a, const QString& b);

// True when path names nothing and holds U+FFFD, the mark Qt leaves where
// the bytes of a file name were not valid in the system's encoding
// (UTF-8): such a name, once decoded, cannot lead back to its file.
bool esNombreIrrepresentable(const QString& path);

// True for the ASCII digits '0' to '9' only, whatever the locale.
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Top-left corner that centres a window of size window horizontally on a
// screen area of size screen, and places it at four tenths of the centring
// offset from the top.
QPoint centredTopLeft(QSize screen, QSize window);

// Modulus-11 check digit of characters 1-10 (weights 5,4,3,2,7,6,5,4,3,2);
// a result of 10 gives 1. Nothing when text has fewer than 10 characters or
// a non-digit among them.
std::optional<int> digitoVerificador(QByteArrayView text);

// True when text is a valid C.U.I.T./C.U.I.L.: 11 characters after
// trimming, numeric, not starting "00" or "99", right check digit.
bool validarCUIT(QByteArrayView text);

// The printed form NN-NNNNNNNN-N, or the blank mask "  -        - " for an
// empty, negative or not 11-character value.
QByteArray formatearCUIT(QByteArrayView value);
inline constexpr char kMascaraCUIT[] = "  -        - ";

// True when text is a number: blanks around, optional sign, digits with an
// optional decimal point, optional exponent.
bool esNumerico(QByteArrayView text);
// The numeric value of text, or 0 when it is not a number.
double valorNumerico(QByteArrayView text);
// The whole-number value of text as 64 bits, or nothing when text is not a
// plain (optionally signed, blank-surrounded) integer that fits.
std::optional<qint64> valorEntero(QByteArrayView text);

// True when text is a date (day/month/year, separators '/', '-' or '.') of
// the years 1900 to 1998, with the leap rule "year divisible by 4".
bool validarFecha(QByteArrayView text);

// True when yyyymmdd is a real Gregorian calendar date (century rule).
bool esFechaReal(int year, int month, int day);

// Repairs a line written in UTF-8 but read as Windows-1252 bytes: every
// well-formed UTF-8 sequence becomes one Windows-1252 character ("-" for
// the dashes U+2010..U+2015 and U+2212, "?" when the code page has no such
// character); every other byte stays; byte 0 is dropped; byte 13 becomes
// CR LF.
QByteArray decodificarUTF8(QByteArrayView line);

// text without its leading '0' characters; a text of zeros keeps its last
// one; a leading blank stops the removal.
QByteArray sacaCeros(QByteArrayView text);

}  // namespace tarquelas
