// A PDF file written front to back onto a device: each page's content and
// each picture go out as soon as they are complete, so memory does not grow
// with the pages; the fonts (the glyphs used, embedded once) and the page
// tree follow the last page. Pages share one set of resources.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QPointF>
#include <QRawFont>
#include <QSizeF>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "pdf/pdf_metadata.h"

class QIODevice;

namespace tarquelas::report {

// Operators of a content stream, with numbers written short: whole numbers
// as integers, others with at most four decimals (a ten-thousandth of a
// twip); matrices in full.
class PdfContent {
 public:
  PdfContent& operator<<(double value) {
    appendNumber(value, 4);
    return *this;
  }
  PdfContent& operator<<(int value);
  PdfContent& operator<<(const char* operators) {
    bytes_ += operators;
    return *this;
  }
  PdfContent& operator<<(const QByteArray& bytes) {
    bytes_.append(bytes.constData(), std::size_t(bytes.size()));
    return *this;
  }
  // value with at most decimals decimals, and a blank.
  void appendNumber(double value, int decimals);
  // The six numbers of a matrix and "cm", written in full.
  void appendMatrix(double a, double b, double c, double d, double e, double f);
  // A string of two-byte codes, as a literal string.
  void appendCodes(const quint32* codes, qsizetype count);
  // "r g b rg" (fill) or "r g b RG" (stroke).
  void appendColor(const QColor& color, bool stroke);

  QByteArrayView bytes() const { return QByteArrayView(bytes_.data(), qsizetype(bytes_.size())); }
  void clear() { bytes_.clear(); }  // keeps the room for the next page

 private:
  std::string bytes_;
};

class PdfFile {
 public:
  // Writes the file's header to out, which must stay open until finish().
  explicit PdfFile(QIODevice& out);
  ~PdfFile();
  PdfFile(const PdfFile&) = delete;
  PdfFile& operator=(const PdfFile&) = delete;

  void setMetadata(const PdfMetadata& metadata) { metadata_ = metadata; }
  // The paper of the page being drawn, in points.
  void setPageSize(QSizeF points) { pageSize_ = points; }

  // An entry of the document's outline (its bookmarks) that leads to the
  // page being drawn; entries are listed in the order they are added.
  void addOutlineEntry(const QString& title);
  // Numbers the page being drawn, and those after it, from number on (the
  // numbers a reader shows for the pages).
  void setPageNumber(int number);

  // The content of the page being drawn.
  PdfContent& content() { return content_; }
  // Writes the page drawn so far and starts the next.
  void endPage();
  // Writes what follows the last page. False when a write failed, now or
  // before.
  bool finish();
  bool failed() const { return failed_; }

  // Shows glyphs of font at positions (in the content's current user space,
  // where y grows downwards) in the current fill colour. False, writing
  // nothing, when the font cannot be embedded (it has neither TrueType nor
  // CFF outlines).
  bool showGlyphs(const QRawFont& font, const quint32* glyphs, const QPointF* positions, qsizetype count);
  // The resource name of image ("/I1"), writing the picture the first time
  // it is seen (by key, else by content).
  QByteArray imageName(const QImage& image, qint64 key);

 private:
  struct Face;
  struct Font;
  class Deflater;

  int newObject();
  void beginObject(int number);
  void write(const QByteArray& bytes);
  void writeStream(int number, const QByteArray& dictionary, QByteArrayView data, bool compress = true);
  Font* fontFor(const QRawFont& font);
  static qreal glyphWidth(const Font& font, quint32 glyph);
  int writeImage(const QImage& image);
  void writeFonts();
  void writeFace(Face& face);
  void writeFont(const Font& font);
  struct OutlineItem;
  void addOutlineItem(const QString& title, int page);
  void writeOutlineItem(const OutlineItem& item, int next);
  void writeOutline();
  QByteArray pageLabels() const;
  void writePageTree();
  void writeTrailer();

  QIODevice& out_;
  qint64 position_ = 0;
  bool failed_ = false;
  std::vector<qint64> offsets_;  // by object number
  std::vector<int> pages_;
  std::vector<int> pageNodes_;  // the page tree's nodes that hold pages
  PdfMetadata metadata_;
  std::vector<QString> pageOutline_;       // the entries of the page being drawn
  std::unique_ptr<OutlineItem> lastItem_;  // written when the next one is known
  int outline_ = 0;                        // the outline's root object, once there are entries
  int firstItem_ = 0;
  qint64 outlineCount_ = 0;
  std::vector<std::pair<qint64, int>> pageNumbers_;  // page index, number of that page
  QSizeF pageSize_{595, 842};
  PdfContent content_;
  std::vector<std::unique_ptr<Face>> faces_;
  std::vector<std::unique_ptr<Font>> fonts_;
  Font* lastFont_ = nullptr;
  std::unique_ptr<Deflater> deflater_;
  QByteArray packed_;
  std::vector<quint32> pendingCodes_;
  QHash<qint64, int> imagesByKey_;          // resource number by cache key
  QHash<QByteArray, int> imagesByContent_;  // resource number by digest of the pixels
  std::vector<int> images_;                 // image objects, by resource number - 1
};

}  // namespace tarquelas::report
