#include "pdf/pdf_metadata.h"

namespace tarquelas::report {

namespace {

bool printableAscii(const QString& text) {
  for (QChar c : text)
    if (c.unicode() < 0x20 || c.unicode() > 0x7e) return false;
  return true;
}

QByteArray xmlEscaped(const QString& text) { return text.toHtmlEscaped().toUtf8(); }

// A language alternative holding one default text, as XMP writes titles.
QByteArray alternative(const QString& text) {
  return "<rdf:Alt><rdf:li xml:lang=\"x-default\">" + xmlEscaped(text) + "</rdf:li></rdf:Alt>";
}

// A literal string of bytes, escaped where a reader would take a byte for
// syntax or change it (line ends).
QByteArray literal(const QByteArray& bytes) {
  QByteArray out = "(";
  for (char c : bytes) {
    if (c == '(' || c == ')' || c == '\\') {
      out += '\\';
    } else if (c == '\r' || c == '\n') {
      out += c == '\r' ? "\\r" : "\\n";
      continue;
    }
    out += c;
  }
  return out + ')';
}

}  // namespace

QByteArray pdfTextString(const QString& text) {
  if (printableAscii(text)) return literal(text.toLatin1());
  QByteArray utf16("\xfe\xff", 2);
  for (QChar c : text) {
    utf16.append(char(c.unicode() >> 8));
    utf16.append(char(c.unicode() & 0xff));
  }
  return literal(utf16);
}

QByteArray pdfDate(const QDateTime& when) {
  return "(D:" + when.toUTC().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + "Z)";
}

QByteArray infoDictionary(const PdfMetadata& m) {
  const QByteArray date = pdfDate(m.created);
  return "<</Title " + pdfTextString(m.title) + "/Subject " + pdfTextString(m.subject) + "/Creator " +
         pdfTextString(m.creator) + "/Producer " + pdfTextString(m.producer) + "/CreationDate " + date +
         "/ModDate " + date + ">>";
}

QByteArray xmpPacket(const PdfMetadata& m) {
  const QByteArray date = m.created.toUTC().toString(Qt::ISODate).toLatin1();
  return "<?xpacket begin=\"\xef\xbb\xbf\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
         "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
         "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
         "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
         " xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\" xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\">\n"
         "<dc:format>application/pdf</dc:format>\n"
         "<dc:title>" +
         alternative(m.title) + "</dc:title>\n<dc:description>" + alternative(m.subject) +
         "</dc:description>\n<xmp:CreatorTool>" + xmlEscaped(m.creator) +
         "</xmp:CreatorTool>\n<xmp:CreateDate>" + date + "</xmp:CreateDate>\n<xmp:ModifyDate>" + date +
         "</xmp:ModifyDate>\n<xmp:MetadataDate>" + date + "</xmp:MetadataDate>\n<pdf:Producer>" +
         xmlEscaped(m.producer) +
         "</pdf:Producer>\n</rdf:Description>\n</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>\n";
}

}  // namespace tarquelas::report
