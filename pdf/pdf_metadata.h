// What a PDF says about itself: the document information dictionary and
// the XMP metadata packet that repeats it for readers that look there
// (archives, desktop search), and the text strings and dates both use.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace tarquelas::report {

struct PdfMetadata {
  QString title;
  QString subject;
  QString creator;   // the program that made the document
  QString producer;  // the program that wrote the PDF, with its version
  QDateTime created;
};

// A PDF text string, as a literal string: the characters themselves when
// text is printable ASCII, else UTF-16BE with its byte order mark.
QByteArray pdfTextString(const QString& text);

// A PDF date string of when, in UTC: (D:20260315143000Z).
QByteArray pdfDate(const QDateTime& when);

// The body of the document information dictionary, "<<...>>"; created is
// both the creation and the modification date.
QByteArray infoDictionary(const PdfMetadata& metadata);

// An XMP packet (UTF-8) that says what infoDictionary() says.
QByteArray xmpPacket(const PdfMetadata& metadata);

}  // namespace tarquelas::report
