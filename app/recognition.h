// Recognition of a presentation file: reads its first line, tells a voucher
// file ("B") from a registry file ("D") and builds the four-line summary the
// window shows before a run. Never validates and never stops: a file that
// cannot be read gets the empty summary and the reason why.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace tarquelas {

struct Recognition {
  enum class Outcome {
    BlankPath,    // the path is blank: the summary empties, nothing else changes
    MissingFile,  // nothing exists there: nothing changes at all
    Recognised,   // kind, header line and summary are set
  };
  Outcome outcome = Outcome::BlankPath;
  QByteArray kind;        // "B" or "D" (sTipoArchivo)
  QByteArray headerLine;  // first line after the UTF-8 repair (sLineaCabecera)
  QByteArray summary;     // four lines, each ending in CR LF; Windows-1252
  // Why a file that is there could not be read (a folder, no permission):
  // the failure's description, shown instead of the summary, whose fields
  // are then all empty. Empty when the first line was read.
  QString unreadable;
};

// The part of a first line recognition reads; longer lines are cut here so
// a file without line breaks never fills memory.
inline constexpr qsizetype kHeaderReadLimit = 64 * 1024;

// Recognises the file pathText (the path box's text) stands for: the
// name as typed when that file exists, else the trimmed name.
Recognition recognizeFile(const QString& pathText);

// The kind and summary of a header line (already repaired).
QByteArray kindOf(QByteArrayView headerLine);
QByteArray summaryOf(QByteArrayView headerLine);

// An entity code as a number ("0" format): a code that reads as a number
// without its leading zeros, rounded to a whole number; any other unchanged.
QByteArray codeAsNumber(QByteArrayView code);

// The summary as display text, one line per line, with the control
// characters of the file's data shown as "?".
QString summaryForDisplay(QByteArrayView summary);

}  // namespace tarquelas
