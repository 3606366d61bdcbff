#include "pdf/pdf_file.h"

#include <zlib.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QIODevice>
#include <QImageWriter>
#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <utility>

#include "pdf/font_subset.h"

namespace tarquelas::report {

namespace {

// Page streams are many and alike: fast compression keeps most of the
// saving at a fraction of the default level's time.
constexpr int kDeflateLevel = 1;
// Quality of the pictures kept as JPEG (photographs).
constexpr int kJpegQuality = 94;
constexpr int kCatalog = 1, kPageTree = 2, kResources = 3, kInfo = 4;
// The cross-reference table goes out in pieces of this size.
constexpr qsizetype kPiece = 64 * 1024;
// Kids of a node of the page tree.
constexpr std::size_t kPageKids = 32;

QByteArray number(double value, int decimals = 4) {
  PdfContent c;
  c.appendNumber(value, decimals);
  return c.bytes().chopped(1).toByteArray();
}

QByteArray ref(int object) { return QByteArray::number(object) + " 0 R"; }

// A PDF name of letters, digits and hyphens.
QByteArray nameOf(const QString& text) {
  QByteArray out;
  for (QChar c : text)
    if (c.unicode() < 128 && (c.isLetterOrNumber() || c == u'-')) out.append(char(c.unicode()));
  return out;
}

qint32 s16(const QByteArray& b, qsizetype at) {
  return at + 2 <= b.size() ? qint16(quint16(uchar(b[at]) << 8 | uchar(b[at + 1]))) : 0;
}

}  // namespace

// One zlib stream for all the file's streams: its state (a quarter of a
// megabyte) is set up once and reset between streams.
class PdfFile::Deflater {
 public:
  Deflater() { ok_ = deflateInit(&z_, kDeflateLevel) == Z_OK; }
  ~Deflater() {
    if (ok_) deflateEnd(&z_);
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  // data as a zlib stream in out, whose room is kept for the next call.
  // False when zlib failed.
  bool compress(QByteArrayView data, QByteArray& out) {
    if (!ok_ || data.size() > qsizetype(UINT_MAX / 2) || deflateReset(&z_) != Z_OK) return false;
    out.resize(qsizetype(deflateBound(&z_, uLong(data.size()))));
    z_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    z_.avail_in = uInt(data.size());
    z_.next_out = reinterpret_cast<Bytef*>(out.data());
    z_.avail_out = uInt(out.size());
    if (deflate(&z_, Z_FINISH) != Z_STREAM_END) return false;
    out.resize(qsizetype(z_.total_out));
    return true;
  }

 private:
  z_stream z_{};
  bool ok_ = false;
};

// Numbers ------------------------------------------------------------------

void PdfContent::appendNumber(double value, int decimals) {
  static constexpr double kHalfUnit[] = {0.5, 0.05, 0.005, 5e-4, 5e-5, 5e-6, 5e-7, 5e-8, 5e-9, 5e-10};
  char buffer[48];
  char* const last = buffer + sizeof buffer - 1;  // room for the blank
  std::to_chars_result written{buffer, std::errc::value_too_large};
  if (std::abs(value) < 1e15) {
    const auto whole = static_cast<long long>(value < 0 ? value - 0.5 : value + 0.5);
    if (std::abs(value - double(whole)) < kHalfUnit[std::clamp(decimals, 0, 9)]) {
      written = std::to_chars(buffer, last, whole);
    } else {
      written = std::to_chars(buffer, last, value, std::chars_format::fixed, decimals);
      if (written.ec == std::errc()) {
        while (written.ptr[-1] == '0') --written.ptr;
        if (written.ptr[-1] == '.') --written.ptr;
      }
    }
  }
  char* end = written.ec == std::errc() ? written.ptr : buffer;
  if (end == buffer) *end++ = '0';  // out of range: nothing sensible to draw
  *end++ = ' ';
  bytes_.append(buffer, std::size_t(end - buffer));
}

void PdfContent::appendMatrix(double a, double b, double c, double d, double e, double f) {
  for (double v : {a, b, c, d, e, f}) appendNumber(v, 9);
  bytes_ += "cm\n";
}

PdfContent& PdfContent::operator<<(int value) {
  char buffer[16];
  char* end = std::to_chars(buffer, buffer + sizeof buffer - 1, value).ptr;
  *end++ = ' ';
  bytes_.append(buffer, end - buffer);
  return *this;
}

void PdfContent::appendCodes(const quint32* codes, qsizetype count) {
  // At worst every byte escaped, and the parentheses.
  const std::size_t start = bytes_.size();
  bytes_.resize(start + std::size_t(count) * 4 + 2);
  char* const begin = bytes_.data() + start;
  char* out = begin;
  *out++ = '(';
  for (qsizetype i = 0; i < count; ++i) {
    for (const char byte : {char(codes[i] >> 8), char(codes[i])}) {
      if (byte == '(' || byte == ')' || byte == '\\') {
        *out++ = '\\';
      } else if (byte == '\r') {
        *out++ = '\\';
        *out++ = 'r';
        continue;
      }
      *out++ = byte;
    }
  }
  *out++ = ')';
  bytes_.resize(start + std::size_t(out - begin));
}

void PdfContent::appendColor(const QColor& color, bool stroke) {
  const QColor rgb = color.toRgb();
  if (rgb.red() == rgb.green() && rgb.green() == rgb.blue()) {
    *this << rgb.redF() << (stroke ? "G\n" : "g\n");
    return;
  }
  *this << rgb.redF() << rgb.greenF() << rgb.blueF() << (stroke ? "RG\n" : "rg\n");
}

// Fonts --------------------------------------------------------------------

// A typeface: one embedded font file for all the sizes it is shown at.
struct PdfFile::Face {
  QRawFont font;
  Outlines outlines = Outlines::None;
  std::vector<double> widths;  // the font's own advances in thousandths of an em, by glyph
  std::vector<bool> used;      // by glyph number
  QByteArray name;             // with its subset tag, once written
  int descriptor = 0;
  int toUnicode = 0;
};

// A typeface at a size: a font resource.
struct PdfFile::Font {
  QRawFont font;
  Face* face = nullptr;
  qreal size = 0;
  QByteArray resource;  // "/F1"
  quint32 space = 0;    // the blank's glyph, 0 when the font has none
  int object = 0;
};

namespace {

bool sameFace(const QRawFont& a, const QRawFont& b) {
  return a.familyName() == b.familyName() && a.styleName() == b.styleName() && a.weight() == b.weight() &&
         a.style() == b.style();
}

}  // namespace

PdfFile::Font* PdfFile::fontFor(const QRawFont& raw) {
  if (lastFont_ && lastFont_->font == raw) return lastFont_;
  for (const auto& font : fonts_)
    if (font->font == raw) return lastFont_ = font.get();
  if (!raw.isValid()) return nullptr;
  Face* face = nullptr;
  for (const auto& f : faces_)
    if (sameFace(f->font, raw)) face = f.get();
  if (!face) {
    auto made = std::make_unique<Face>();
    made->font = raw;
    made->outlines = outlinesOf(raw);
    made->widths = advanceWidths(raw);
    made->used.assign(made->widths.size(), false);
    face = faces_.emplace_back(std::move(made)).get();
  }
  auto font = std::make_unique<Font>();
  font->font = raw;
  font->face = face;
  font->size = raw.pixelSize();
  font->resource = "/F" + QByteArray::number(qsizetype(fonts_.size()) + 1);
  const QList<quint32> space = raw.glyphIndexesForString(QStringLiteral(" "));
  if (space.size() == 1 && space[0] > 0 && space[0] < face->used.size()) font->space = space[0];
  return lastFont_ = fonts_.emplace_back(std::move(font)).get();
}

qreal PdfFile::glyphWidth(const Font& font, quint32 glyph) {
  const std::vector<double>& widths = font.face->widths;
  return glyph < widths.size() ? widths[glyph] : 0;
}

namespace {

// How far a glyph may be from where the text's widths put it, in user
// units: a hundredth of a twip.
constexpr qreal kSlack = 0.01;
constexpr int kMaxBlanks = 4;

}  // namespace

bool PdfFile::showGlyphs(const QRawFont& raw, const quint32* glyphs, const QPointF* positions,
                         qsizetype count) {
  Font* font = fontFor(raw);
  if (!font || font->face->outlines == Outlines::None) return false;
  if (count == 0) return true;
  PdfContent& c = content_;
  c << "BT " << font->resource << " " << font->size << "Tf\n";
  std::vector<quint32>& used = pendingCodes_;
  const qreal perUnit = font->size / 1000;
  qreal lineY = 0;
  qreal expectedX = 0;
  bool open = false;
  used.clear();
  for (qsizetype i = 0; i < count; ++i) {
    const quint32 glyph = glyphs[i];
    const QPointF at = positions[i];
    if (!open || std::abs(at.y() - lineY) > 0.001) {
      if (open) {
        c.appendCodes(used.data(), qsizetype(used.size()));
        c << "]TJ\n";
      }
      used.clear();
      c << "1 0 0 -1 " << at.x() << at.y() << "Tm[";
      lineY = at.y();
      expectedX = at.x();
      open = true;
    } else if (std::abs(at.x() - expectedX) > kSlack) {
      // The blanks a text is set with have no glyphs; put them back where
      // they fit (shorter than moving, and text extraction sees words).
      const qreal space = font->space ? glyphWidth(*font, font->space) * perUnit : 0;
      const qreal blanks = space > 0 ? std::round((at.x() - expectedX) / space) : 0;
      if (blanks >= 1 && blanks <= kMaxBlanks && std::abs(at.x() - expectedX - blanks * space) <= kSlack) {
        for (int b = 0; b < int(blanks); ++b) used.push_back(font->space);
        font->face->used[font->space] = true;
        expectedX += blanks * space;
      } else {
        c.appendCodes(used.data(), qsizetype(used.size()));
        used.clear();
        const double shift = std::round((expectedX - at.x()) / perUnit * 1e3) / 1e3;
        c << shift;
        expectedX -= shift * perUnit;
      }
    }
    used.push_back(glyph);
    if (glyph < font->face->used.size()) font->face->used[glyph] = true;
    expectedX += glyphWidth(*font, glyph) * perUnit;
  }
  c.appendCodes(used.data(), qsizetype(used.size()));
  c << "]TJ\nET\n";
  return true;
}

void PdfFile::writeFonts() {
  for (const auto& face : faces_)
    if (face->outlines != Outlines::None) writeFace(*face);
  for (const auto& font : fonts_)
    if (font->face->outlines != Outlines::None) writeFont(*font);
}

namespace {

// Adds to unicode, for each used glyph still without one, the first
// character of [from, to] that the font's character map gives it. True when
// every used glyph has one.
bool mapCharacters(const QRawFont& font, const std::vector<bool>& used, char32_t from, char32_t to,
                   std::vector<char16_t>& unicode) {
  std::vector<QChar> chars;
  for (char32_t c = from; c <= to; ++c)
    if (c < 0xd800 || c > 0xdfff) chars.push_back(QChar(char16_t(c)));
  std::vector<quint32> glyphs(chars.size());
  int n = int(glyphs.size());
  font.glyphIndexesForChars(chars.data(), int(chars.size()), glyphs.data(), &n);
  for (std::size_t i = 0; i < std::size_t(n) && i < chars.size(); ++i)
    if (glyphs[i] > 0 && glyphs[i] < used.size() && used[glyphs[i]] && !unicode[glyphs[i]])
      unicode[glyphs[i]] = chars[i].unicode();
  for (std::size_t g = 1; g < used.size(); ++g)
    if (used[g] && !unicode[g]) return false;
  return true;
}

// The character of each used glyph (0: none), as far as the font's
// character map tells: what text extraction and search read. Latin letters
// and punctuation first; the rest of the Basic Multilingual Plane only when
// a glyph is left.
std::vector<char16_t> charactersOf(const QRawFont& font, const std::vector<bool>& used) {
  std::vector<char16_t> unicode(used.size(), 0);
  if (!mapCharacters(font, used, 0x20, 0x2ff, unicode) && !mapCharacters(font, used, 0x2000, 0x22ff, unicode))
    mapCharacters(font, used, 0x300, 0xffff, unicode);
  return unicode;
}

QByteArray toUnicodeMap(const std::vector<char16_t>& unicode) {
  QByteArray entries;
  int inBlock = 0;
  QByteArray out;
  const auto flush = [&] {
    if (inBlock == 0) return;
    out += QByteArray::number(inBlock) + " beginbfchar\n" + entries + "endbfchar\n";
    entries.clear();
    inBlock = 0;
  };
  for (std::size_t g = 0; g < unicode.size(); ++g) {
    if (!unicode[g]) continue;
    entries += '<' + QByteArray::number(qulonglong(g), 16).rightJustified(4, '0') + "> <" +
               QByteArray::number(unicode[g], 16).rightJustified(4, '0') + ">\n";
    if (++inBlock == 100) flush();
  }
  flush();
  return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
         "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
         "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
         "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n" +
         out + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

}  // namespace

void PdfFile::writeFace(Face& face) {
  std::vector<quint32> glyphs;
  for (std::size_t g = 0; g < face.used.size(); ++g)
    if (face.used[g]) glyphs.push_back(quint32(g));
  const std::vector<char16_t> unicode = charactersOf(face.font, face.used);
  const bool cff = face.outlines == Outlines::Cff;
  bool cut = true;  // a CFF font that is not cut down goes whole, without a subset tag
  const QByteArray file =
      cff ? openTypeCff(face.font, face.used, cut) : trueTypeSubset(face.font, glyphs, unicode);
  const int fontFile = newObject();
  writeStream(fontFile, cff ? QByteArray("/Subtype/OpenType") : "/Length1 " + QByteArray::number(file.size()),
              file);
  face.name = (cut ? subsetTag(face.font, face.used) + '+' : QByteArray()) + nameOf(face.font.familyName());
  const QByteArray style = nameOf(face.font.styleName());
  if (!style.isEmpty()) face.name += '-' + style;
  const QByteArray head = face.font.fontTable("head");
  const QByteArray hhea = face.font.fontTable("hhea");
  const qreal unitsPerEm = head.size() >= 54 ? quint16(s16(head, 18)) : 1000;
  const auto scaled = [&](qint32 v) { return number(v * 1000 / unitsPerEm); };
  face.descriptor = newObject();
  beginObject(face.descriptor);
  write("<</Type/FontDescriptor/FontName/" + face.name + "/Flags 4/FontBBox[" + scaled(s16(head, 36)) + ' ' +
        scaled(s16(head, 38)) + ' ' + scaled(s16(head, 40)) + ' ' + scaled(s16(head, 42)) +
        "]/ItalicAngle 0/Ascent " + scaled(s16(hhea, 4)) + "/Descent " + scaled(s16(hhea, 6)) +
        "/CapHeight " + scaled(s16(hhea, 4)) + "/StemV 80" + (cff ? "/FontFile3 " : "/FontFile2 ") +
        ref(fontFile) + ">>\nendobj\n");
  face.toUnicode = newObject();
  writeStream(face.toUnicode, {}, toUnicodeMap(unicode));
}

void PdfFile::writeFont(const Font& font) {
  // The widths of the glyphs used, exactly as the font gives them where its
  // units per em are a power of two.
  const Face& face = *font.face;
  QByteArray widths;
  for (std::size_t g = 0; g < face.used.size(); ++g) {
    if (!face.used[g]) continue;
    const bool follows = g > 0 && face.used[g - 1];
    if (!follows) widths += (widths.isEmpty() ? "" : "]") + QByteArray::number(qulonglong(g)) + '[';
    widths += number(face.widths[g], 9) + ' ';
  }
  if (!widths.isEmpty()) widths += ']';
  const bool cff = face.outlines == Outlines::Cff;
  const int cidFont = newObject();
  beginObject(cidFont);
  write("<</Type/Font/Subtype/" + QByteArray(cff ? "CIDFontType0" : "CIDFontType2") + "/BaseFont/" +
        face.name + "/CIDSystemInfo<</Registry(Adobe)/Ordering(Identity)/Supplement 0>>/FontDescriptor " +
        ref(face.descriptor) + (cff ? "" : "/CIDToGIDMap/Identity") + "/DW 0/W[" + widths + "]>>\nendobj\n");
  beginObject(font.object);
  write("<</Type/Font/Subtype/Type0/BaseFont/" + font.face->name + "/Encoding/Identity-H/DescendantFonts[" +
        ref(cidFont) + "]/ToUnicode " + ref(font.face->toUnicode) + ">>\nendobj\n");
}

// Pictures -----------------------------------------------------------------

QByteArray PdfFile::imageName(const QImage& image, qint64 key) {
  auto byKey = imagesByKey_.constFind(key);
  int index = 0;
  if (byKey != imagesByKey_.constEnd()) {
    index = *byKey;
  } else {
    // A copy of a picture already written (the same pixels under a new key)
    // is not written again.
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArrayView(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    hash.addData(QByteArray(QByteArray::number(image.width()) + 'x' + QByteArray::number(image.height()) +
                            '/' + QByteArray::number(int(image.format()))));
    for (QRgb rgb : image.colorTable()) hash.addData(QByteArray::number(rgb));
    const QByteArray digest = hash.result();
    auto byContent = imagesByContent_.constFind(digest);
    if (byContent != imagesByContent_.constEnd()) {
      index = *byContent;
    } else {
      images_.push_back(writeImage(image));
      index = int(images_.size());
      imagesByContent_.insert(digest, index);
    }
    imagesByKey_.insert(key, index);
  }
  return "/I" + QByteArray::number(index);
}

namespace {

// The rows of image (8 bits a sample) without the padding at their ends.
QByteArray packedRows(const QImage& image, int bytesPerPixel) {
  const qsizetype row = qsizetype(image.width()) * bytesPerPixel;
  QByteArray out;
  out.reserve(row * image.height());
  for (int y = 0; y < image.height(); ++y)
    out.append(reinterpret_cast<const char*>(image.constScanLine(y)), row);
  return out;
}

// Photographs as JPEG (as a PDF keeps them), when the encoder is there.
QByteArray jpeg(const QImage& rgb) {
  QByteArray out;
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(kJpegQuality);
  return writer.write(rgb) ? out : QByteArray();
}

}  // namespace

int PdfFile::writeImage(const QImage& source) {
  QImage image = source;
  if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB)
    image = image.convertToFormat(QImage::Format_Indexed8);
  const QByteArray size = "/Type/XObject/Subtype/Image/Width " + QByteArray::number(image.width()) +
                          "/Height " + QByteArray::number(image.height()) + "/BitsPerComponent 8";
  QByteArray dictionary = size;
  if (image.hasAlphaChannel()) {
    const QImage alpha = image.convertToFormat(QImage::Format_Alpha8);
    const int mask = newObject();
    writeStream(mask, size + "/ColorSpace/DeviceGray", packedRows(alpha, 1));
    dictionary += "/SMask " + ref(mask);
  }
  const int object = newObject();
  if (image.format() == QImage::Format_Indexed8 && image.colorCount() > 0) {
    QByteArray palette;
    for (QRgb rgb : image.colorTable())
      palette += char(qRed(rgb)) + QByteArray(1, char(qGreen(rgb))) + char(qBlue(rgb));
    dictionary += "/ColorSpace[/Indexed/DeviceRGB " + QByteArray::number(image.colorCount() - 1) + '<' +
                  palette.toHex() + ">]";
    writeStream(object, dictionary, packedRows(image, 1));
  } else if (image.format() == QImage::Format_Grayscale8 && !image.hasAlphaChannel()) {
    writeStream(object, dictionary + "/ColorSpace/DeviceGray", packedRows(image, 1));
  } else {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const QByteArray photo = image.hasAlphaChannel() ? QByteArray() : jpeg(rgb);
    if (!photo.isEmpty())
      writeStream(object, dictionary + "/ColorSpace/DeviceRGB/Filter/DCTDecode", photo, false);
    else
      writeStream(object, dictionary + "/ColorSpace/DeviceRGB", packedRows(rgb, 3));
  }
  return object;
}

// The file -----------------------------------------------------------------

PdfFile::PdfFile(QIODevice& out)
    : out_(out), offsets_(kInfo + 1, 0), deflater_(std::make_unique<Deflater>()) {
  write(QByteArray("%PDF-1.6\n%\xe2\xe3\xcf\xd3\n"));
}

PdfFile::~PdfFile() = default;

int PdfFile::newObject() {
  offsets_.push_back(0);
  return int(offsets_.size()) - 1;
}

void PdfFile::beginObject(int number) {
  offsets_[std::size_t(number)] = position_;
  write(QByteArray::number(number) + " 0 obj\n");
}

void PdfFile::write(const QByteArray& bytes) {
  if (failed_) return;
  if (out_.write(bytes) != bytes.size()) failed_ = true;
  position_ += bytes.size();
}

void PdfFile::writeStream(int number, const QByteArray& dictionary, QByteArrayView data, bool compress) {
  beginObject(number);
  const bool packed = compress && deflater_->compress(data, packed_);
  const QByteArrayView body = packed ? QByteArrayView(packed_) : data;
  write("<<" + dictionary + (packed ? "/Filter/FlateDecode" : "") + "/Length " +
        QByteArray::number(body.size()) + ">>\nstream\n");
  write(QByteArray::fromRawData(body.data(), body.size()));
  write("\nendstream\nendobj\n");
}

void PdfFile::endPage() {
  const int contents = newObject();
  writeStream(contents, {}, content_.bytes());
  content_.clear();
  // Pages hang off small nodes of the page tree, so a reader finds any page
  // in a few steps: a new node for every kPageKids pages.
  if (pages_.size() % kPageKids == 0) pageNodes_.push_back(newObject());
  const int page = newObject();
  beginObject(page);
  write("<</Type/Page/Parent " + ref(pageNodes_.back()) + "/Resources 3 0 R/MediaBox[0 0 " +
        number(pageSize_.width()) + ' ' + number(pageSize_.height()) + "]/Contents " + ref(contents) +
        ">>\nendobj\n");
  pages_.push_back(page);
  for (const QString& title : pageOutline_) addOutlineItem(title, page);
  pageOutline_.clear();
}

// The page tree: the nodes made for the pages, then as many levels above
// them as it takes for the root to hold at most kPageKids nodes.
void PdfFile::writePageTree() {
  struct Node {
    int object = 0;
    qint64 count = 0;
    std::vector<int> kids;
  };
  const auto writeNode = [this](const Node& node, int parent) {
    beginObject(node.object);
    QByteArray text = "<</Type/Pages";
    if (parent) text += "/Parent " + ref(parent);
    text += "/Count " + QByteArray::number(node.count) + "/Kids[";
    for (int kid : node.kids) text += ref(kid) + ' ';
    write(text + "]>>\nendobj\n");
  };
  std::vector<Node> level;
  for (std::size_t i = 0; i < pageNodes_.size(); ++i) {
    const auto from = pages_.begin() + qsizetype(i * kPageKids);
    const auto to = pages_.begin() + qsizetype(std::min(pages_.size(), (i + 1) * kPageKids));
    level.push_back({pageNodes_[i], qint64(to - from), std::vector<int>(from, to)});
  }
  for (;;) {
    const bool last = level.size() <= kPageKids;
    std::vector<Node> above;
    for (std::size_t from = 0; from < level.size() || (last && above.empty()); from += kPageKids) {
      Node parent{last ? kPageTree : newObject(), 0, {}};
      for (std::size_t i = from; i < std::min(level.size(), from + kPageKids); ++i) {
        parent.count += level[i].count;
        parent.kids.push_back(level[i].object);
        writeNode(level[i], parent.object);
      }
      above.push_back(std::move(parent));
    }
    if (last) return writeNode(above.front(), 0);
    level = std::move(above);
  }
}

bool PdfFile::finish() {
  for (const auto& font : fonts_)
    if (font->face->outlines != Outlines::None) font->object = newObject();
  writeFonts();
  QByteArray resources = "<</ProcSet[/PDF/Text/ImageB/ImageC/ImageI]/Font<<";
  for (const auto& font : fonts_)
    if (font->object) resources += font->resource + ' ' + ref(font->object);
  resources += ">>/XObject<<";
  for (std::size_t i = 0; i < images_.size(); ++i)
    resources += "/I" + QByteArray::number(qulonglong(i + 1)) + ' ' + ref(images_[i]);
  beginObject(kResources);
  write(resources + ">>>>\nendobj\n");
  writePageTree();
  writeOutline();
  if (!metadata_.created.isValid()) metadata_.created = QDateTime::currentDateTimeUtc();
  const int metadata = newObject();
  writeStream(metadata, "/Type/Metadata/Subtype/XML", xmpPacket(metadata_), false);
  beginObject(kCatalog);
  QByteArray catalog = "<</Type/Catalog/Pages 2 0 R/Metadata " + ref(metadata) + pageLabels();
  if (outline_) catalog += "/Outlines " + ref(outline_) + "/PageMode/UseOutlines";
  write(catalog + ">>\nendobj\n");
  beginObject(kInfo);
  write(infoDictionary(metadata_) + "\nendobj\n");
  writeTrailer();
  return !failed_;
}

// Outline and page numbers --------------------------------------------------

// An outline item waits until the next one is known, so that the items go
// out as the pages do, without being kept.
struct PdfFile::OutlineItem {
  int object = 0;
  int previous = 0;
  int page = 0;
  QByteArray title;
};

void PdfFile::addOutlineEntry(const QString& title) { pageOutline_.push_back(title); }

void PdfFile::setPageNumber(int number) {
  const auto page = qint64(pages_.size());
  if (!pageNumbers_.empty() && pageNumbers_.back().first == page) pageNumbers_.pop_back();
  pageNumbers_.emplace_back(page, number);
}

void PdfFile::addOutlineItem(const QString& title, int page) {
  if (!outline_) outline_ = newObject();
  auto item = std::make_unique<OutlineItem>();
  item->object = newObject();
  item->page = page;
  item->title = pdfTextString(title);
  if (lastItem_) {
    item->previous = lastItem_->object;
    writeOutlineItem(*lastItem_, item->object);
  } else {
    firstItem_ = item->object;
  }
  lastItem_ = std::move(item);
  ++outlineCount_;
}

void PdfFile::writeOutlineItem(const OutlineItem& item, int next) {
  beginObject(item.object);
  QByteArray text = "<</Title " + item.title + "/Parent " + ref(outline_);
  if (item.previous) text += "/Prev " + ref(item.previous);
  if (next) text += "/Next " + ref(next);
  write(text + "/Dest[" + ref(item.page) + "/Fit]>>\nendobj\n");
}

void PdfFile::writeOutline() {
  if (!outline_) return;
  writeOutlineItem(*lastItem_, 0);
  beginObject(outline_);
  write("<</Type/Outlines/First " + ref(firstItem_) + "/Last " + ref(lastItem_->object) + "/Count " +
        QByteArray::number(outlineCount_) + ">>\nendobj\n");
}

// The catalog's page labels: decimal numbers from each number given.
QByteArray PdfFile::pageLabels() const {
  if (pageNumbers_.empty()) return {};
  QByteArray nums = "/PageLabels<</Nums[";
  if (pageNumbers_.front().first > 0) nums += "0<</S/D>>";
  for (const auto& [page, number] : pageNumbers_)
    nums += QByteArray::number(page) + "<</S/D/St " + QByteArray::number(number) + ">>";
  return nums + "]>>";
}

void PdfFile::writeTrailer() {
  const qint64 start = position_;
  QByteArray table = "xref\n0 " + QByteArray::number(qsizetype(offsets_.size())) + "\n0000000000 65535 f \n";
  for (std::size_t i = 1; i < offsets_.size(); ++i) {
    table += QByteArray::number(offsets_[i]).rightJustified(10, '0') + " 00000 n \n";
    if (table.size() > kPiece) write(std::exchange(table, {}));
  }
  const QByteArray id =
      QCryptographicHash::hash(QByteArray(QByteArray::number(start) + metadata_.title.toUtf8() +
                                          QByteArray::number(QDateTime::currentMSecsSinceEpoch())),
                               QCryptographicHash::Md5)
          .toHex();
  write(table + "trailer\n<</Size " + QByteArray::number(qsizetype(offsets_.size())) +
        "/Root 1 0 R/Info 4 0 R/ID[<" + id + "><" + id + ">]>>\nstartxref\n" + QByteArray::number(start) +
        "\n%%EOF\n");
}

}  // namespace tarquelas::report
