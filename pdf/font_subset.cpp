#include "pdf/font_subset.h"

#include <QCryptographicHash>
#include <QFont>
#include <algorithm>
#include <array>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace tarquelas::report {

namespace {

quint32 u16(const QByteArray& b, qsizetype at) {
  if (at < 0 || at + 2 > b.size()) return 0;
  return quint32(uchar(b[at])) << 8 | uchar(b[at + 1]);
}

quint32 u32(const QByteArray& b, qsizetype at) { return u16(b, at) << 16 | u16(b, at + 2); }

void put16(QByteArray& b, quint32 v) {
  b.append(char(v >> 8));
  b.append(char(v));
}

void put32(QByteArray& b, quint32 v) {
  put16(b, v >> 16);
  put16(b, v & 0xffff);
}

void set16(QByteArray& b, qsizetype at, quint32 v) {
  b[at] = char(v >> 8);
  b[at + 1] = char(v);
}

void set32(QByteArray& b, qsizetype at, quint32 v) {
  set16(b, at, v >> 16);
  set16(b, at + 2, v & 0xffff);
}

QByteArray table(const QRawFont& font, const char* tag) { return font.fontTable(tag); }

quint16 glyphCount(const QRawFont& font) { return quint16(u16(table(font, "maxp"), 4)); }

// Where each glyph's outline lies in glyf: count + 1 offsets from loca.
std::vector<quint32> glyphOffsets(const QByteArray& loca, bool longOffsets, quint32 count) {
  std::vector<quint32> offsets(count + 1);
  for (quint32 g = 0; g <= count; ++g)
    offsets[g] = longOffsets ? u32(loca, qsizetype(g) * 4) : u16(loca, qsizetype(g) * 2) * 2;
  return offsets;
}

// The glyphs a composite glyph's outline (glyf bytes [from, to)) is built of.
std::vector<quint32> components(const QByteArray& glyf, quint32 from, quint32 to) {
  constexpr quint32 kWordArgs = 0x0001, kScale = 0x0008, kMore = 0x0020, kXyScale = 0x0040,
                    kTwoByTwo = 0x0080;
  std::vector<quint32> out;
  if (to < from + 10 || qint16(u16(glyf, from)) >= 0) return out;  // not composite
  qsizetype at = from + 10;
  quint32 flags = 0;
  do {
    flags = u16(glyf, at);
    out.push_back(u16(glyf, at + 2));
    at += 4 + ((flags & kWordArgs) ? 4 : 2);
    if (flags & kScale)
      at += 2;
    else if (flags & kXyScale)
      at += 4;
    else if (flags & kTwoByTwo)
      at += 8;
  } while ((flags & kMore) && at + 4 <= qsizetype(to));
  return out;
}

quint32 checksum(const QByteArray& data) {
  quint32 sum = 0;
  for (qsizetype at = 0; at < data.size(); at += 4) {
    quint32 word = 0;
    for (int i = 0; i < 4; ++i) word = word << 8 | (at + i < data.size() ? uchar(data[at + i]) : 0);
    sum += word;
  }
  return sum;
}

struct Table {
  QByteArray tag;
  QByteArray data;
};

constexpr quint32 kTrueTypeVersion = 0x00010000, kCffVersion = 0x4f54544f;  // "OTTO"

// An sfnt file of tables, with their checksums and the head table's
// checkSumAdjustment.
QByteArray fontFile(std::vector<Table> tables, quint32 version) {
  std::sort(tables.begin(), tables.end(), [](const Table& a, const Table& b) { return a.tag < b.tag; });
  const auto count = quint32(tables.size());
  quint32 selector = 0;
  while ((2u << selector) <= count) ++selector;
  const quint32 searchRange = (1u << selector) * 16;
  QByteArray out;
  put32(out, version);
  put16(out, count);
  put16(out, searchRange);
  put16(out, selector);
  put16(out, count * 16 - searchRange);
  quint32 offset = 12 + 16 * count;
  qsizetype head = -1;
  for (Table& t : tables) {
    if (t.tag == "head" && t.data.size() >= 12) {
      set32(t.data, 8, 0);
      head = offset;
    }
    out.append(t.tag);
    put32(out, checksum(t.data));
    put32(out, offset);
    put32(out, quint32(t.data.size()));
    offset += (quint32(t.data.size()) + 3) & ~3u;
  }
  for (const Table& t : tables) {
    out.append(t.data);
    out.append((4 - t.data.size() % 4) % 4, '\0');
  }
  if (head >= 0) set32(out, head + 8, 0xb1b0afba - checksum(out));
  return out;
}

// A format 4 character map of the characters unicode gives the glyphs,
// one segment for each run of consecutive characters on consecutive glyphs.
QByteArray characterMap(const std::vector<char16_t>& unicode) {
  std::vector<std::pair<quint32, quint32>> pairs;  // character, glyph
  for (std::size_t g = 1; g < unicode.size(); ++g)
    if (unicode[g] && unicode[g] != 0xffff) pairs.emplace_back(unicode[g], quint32(g));
  std::sort(pairs.begin(), pairs.end());
  pairs.erase(std::unique(pairs.begin(), pairs.end(),
                          [](const auto& a, const auto& b) { return a.first == b.first; }),
              pairs.end());
  struct Segment {
    quint32 start, end, delta;
  };
  std::vector<Segment> segments;
  for (const auto& [c, g] : pairs) {
    const quint32 delta = (g - c) & 0xffff;
    if (!segments.empty() && segments.back().end + 1 == c && segments.back().delta == delta)
      segments.back().end = c;
    else
      segments.push_back({c, c, delta});
  }
  segments.push_back({0xffff, 0xffff, 1});  // the closing segment
  const auto n = quint32(segments.size());
  quint32 selector = 0;
  while ((2u << selector) <= n) ++selector;
  const quint32 searchRange = 2u << selector;
  QByteArray sub;
  put16(sub, 4);
  put16(sub, 16 + 8 * n);
  put16(sub, 0);  // language
  put16(sub, 2 * n);
  put16(sub, searchRange);
  put16(sub, selector);
  put16(sub, 2 * n - searchRange);
  for (const Segment& s : segments) put16(sub, s.end);
  put16(sub, 0);
  for (const Segment& s : segments) put16(sub, s.start);
  for (const Segment& s : segments) put16(sub, s.delta);
  for (std::size_t i = 0; i < segments.size(); ++i) put16(sub, 0);  // idRangeOffset
  QByteArray out;
  put16(out, 0);
  put16(out, 1);
  put16(out, 3);  // Windows
  put16(out, 1);  // Unicode BMP
  put32(out, 12);
  return out + sub;
}

std::pair<quint32, quint32> characterRange(const std::vector<char16_t>& unicode) {
  quint32 first = 0xffff, last = 0;
  for (std::size_t g = 1; g < unicode.size(); ++g)
    if (unicode[g]) {
      first = std::min<quint32>(first, unicode[g]);
      last = std::max<quint32>(last, unicode[g]);
    }
  return first <= last ? std::pair{first, last} : std::pair{0u, 0u};
}

bool isBold(const QRawFont& font) { return font.weight() >= QFont::DemiBold; }

// The font's OS/2 table with its character range set to the subset's; one
// made from the other tables when the font has none.
QByteArray os2Table(const QRawFont& font, const std::vector<char16_t>& unicode) {
  const auto [first, last] = characterRange(unicode);
  QByteArray os2 = table(font, "OS/2");
  if (os2.size() >= 68) {
    set16(os2, 64, first);
    set16(os2, 66, last);
    return os2;
  }
  const QByteArray head = table(font, "head"), hhea = table(font, "hhea");
  const quint32 em = u16(head, 18);
  const quint32 ascent = u16(hhea, 4), descent = u16(hhea, 6), gap = u16(hhea, 8);
  os2 = QByteArray(96, '\0');
  set16(os2, 0, 3);
  set16(os2, 2, em / 2);  // xAvgCharWidth
  set16(os2, 4, isBold(font) ? 700 : 400);
  set16(os2, 6, 5);                                      // medium width
  for (int at : {10, 18}) set16(os2, at, em * 13 / 20);  // subscript, superscript sizes
  for (int at : {12, 20}) set16(os2, at, em * 3 / 5);
  set16(os2, 16, em * 3 / 20);
  set16(os2, 24, em * 9 / 20);
  set16(os2, 26, em / 20);       // strikeout size
  set16(os2, 28, em * 13 / 50);  // strikeout position
  set16(os2, 62,
        (isBold(font) ? 0x20 : 0) | (font.style() != QFont::StyleNormal ? 0x01 : 0) |
            (!isBold(font) && font.style() == QFont::StyleNormal ? 0x40 : 0));
  set16(os2, 64, first);
  set16(os2, 66, last);
  set16(os2, 68, ascent);
  set16(os2, 70, descent);
  set16(os2, 72, gap);
  set16(os2, 74, ascent);
  set16(os2, 76, (0x10000 - descent) & 0xffff);
  set32(os2, 78, 1);  // Latin 1
  set16(os2, 92, 0x20);
  return os2;
}

// The font's name table; one with the family and style names when the font
// has none.
QByteArray nameTable(const QRawFont& font) {
  QByteArray name = table(font, "name");
  if (name.size() >= 6) return name;
  const QString family = font.familyName(),
                style = font.styleName().isEmpty() ? u"Regular"_s : font.styleName();
  QString postScript;
  for (QChar c : QString(family + u'-' + style))
    if (c.unicode() > 32 && c.unicode() < 127 && !QStringView(u"[](){}<>/%").contains(c)) postScript += c;
  const std::array<std::pair<quint32, QString>, 5> names{
      {{1, family}, {2, style}, {3, postScript}, {4, family + u' ' + style}, {6, postScript}}};
  QByteArray records, strings;
  for (const auto& [id, text] : names) {
    put16(records, 3);
    put16(records, 1);
    put16(records, 0x409);
    put16(records, id);
    put16(records, quint32(text.size() * 2));
    put16(records, quint32(strings.size()));
    for (QChar c : text) put16(strings, c.unicode());
  }
  name.clear();
  put16(name, 0);
  put16(name, quint32(names.size()));
  put16(name, 6 + quint32(records.size()));
  return name + records + strings;
}

// A version 3 post table (no glyph names) from the font's own.
QByteArray postTable(const QRawFont& font) {
  QByteArray post = table(font, "post").left(32);
  post.append(32 - post.size(), '\0');
  set32(post, 0, 0x00030000);
  return post;
}

// A DICT of a CFF font as operators and their operands, each operand kept
// as written and, when it is an integer, as its value.
struct DictEntry {
  std::vector<QByteArray> operands;
  std::vector<qint64> values;
  int op = 0;  // escaped operators as 1200 + second byte
};

// Top DICT operators of CID-keyed fonts.
constexpr int kRos = 1230, kFdArray = 1236, kFdSelect = 1237;

std::optional<std::vector<DictEntry>> parseDict(const QByteArray& dict) {
  std::vector<DictEntry> entries(1);
  for (qsizetype at = 0; at < dict.size();) {
    const int b = uchar(dict[at]);
    const auto byte = [&](qsizetype k) { return at + k < dict.size() ? int(uchar(dict[at + k])) : 0; };
    qsizetype size = 1;
    qint64 value = 0;
    if (b <= 21) {
      entries.back().op = b == 12 ? 1200 + byte(1) : b;
      at += b == 12 ? 2 : 1;
      entries.emplace_back();
      continue;
    }
    if (b == 28) {
      size = 3;
      value = qint16(quint16(byte(1) << 8 | byte(2)));
    } else if (b == 29) {
      size = 5;
      value =
          qint32(quint32(byte(1)) << 24 | quint32(byte(2)) << 16 | quint32(byte(3)) << 8 | quint32(byte(4)));
    } else if (b == 30) {
      while (at + size - 1 < dict.size() && (byte(size - 1) & 0x0f) != 0x0f &&
             (byte(size - 1) & 0xf0) != 0xf0)
        ++size;
    } else if (b >= 32 && b <= 246) {
      value = b - 139;
    } else if (b >= 247 && b <= 250) {
      size = 2;
      value = (b - 247) * 256 + byte(1) + 108;
    } else if (b >= 251 && b <= 254) {
      size = 2;
      value = -(b - 251) * 256 - byte(1) - 108;
    } else {
      return std::nullopt;
    }
    if (at + size > dict.size()) return std::nullopt;
    entries.back().operands.push_back(dict.mid(at, size));
    entries.back().values.push_back(value);
    at += size;
  }
  entries.pop_back();  // operands after the last operator: none in a sound DICT
  return entries;
}

QByteArray int32Operand(qint64 value) {
  QByteArray out(1, char(29));
  put32(out, quint32(value));
  return out;
}

// An INDEX of items, with four-byte offsets.
QByteArray makeIndex(const std::vector<QByteArray>& items) {
  QByteArray out;
  put16(out, quint32(items.size()));
  if (items.empty()) return out;
  out.append(char(4));
  quint32 offset = 1;
  put32(out, offset);
  for (const QByteArray& item : items) put32(out, offset += quint32(item.size()));
  for (const QByteArray& item : items) out.append(item);
  return out;
}

// The items of the INDEX at at, and where it ends; nullopt when it does not
// fit in cff.
std::optional<std::pair<std::vector<QByteArray>, qsizetype>> readIndex(const QByteArray& cff, qsizetype at) {
  const quint32 count = u16(cff, at);
  if (at + 2 > cff.size()) return std::nullopt;
  if (count == 0) return std::pair{std::vector<QByteArray>{}, at + 2};
  const int offSize = at + 2 < cff.size() ? uchar(cff[at + 2]) : 0;
  if (offSize < 1 || offSize > 4 || at + 3 + qsizetype(count + 1) * offSize > cff.size()) return std::nullopt;
  std::vector<quint32> offsets(count + 1);
  for (quint32 i = 0; i <= count; ++i)
    for (int k = 0; k < offSize; ++k)
      offsets[i] = offsets[i] << 8 | uchar(cff[at + 3 + qsizetype(i) * offSize + k]);
  const qsizetype data = at + 3 + qsizetype(count + 1) * offSize - 1;  // offsets count from 1
  std::vector<QByteArray> items;
  items.reserve(count);
  for (quint32 i = 0; i < count; ++i) {
    if (offsets[i + 1] < offsets[i] || data + offsets[i + 1] > cff.size()) return std::nullopt;
    items.push_back(cff.mid(data + offsets[i], offsets[i + 1] - offsets[i]));
  }
  return std::pair{std::move(items), data + offsets[count]};
}

// The length of the charset at at for count glyphs, and the string of each
// glyph; nullopt when it does not fit.
std::optional<std::pair<qsizetype, std::vector<quint32>>> readCharset(const QByteArray& cff, qsizetype at,
                                                                      quint32 count) {
  std::vector<quint32> strings(1, 0);
  const int format = at < cff.size() ? uchar(cff[at]) : -1;
  qsizetype p = at + 1;
  while (strings.size() < count) {
    if (format == 0) {
      strings.push_back(u16(cff, p));
      p += 2;
    } else if (format == 1 || format == 2) {
      const quint32 first = u16(cff, p);
      const quint32 left = format == 1 ? (p + 2 < cff.size() ? uchar(cff[p + 2]) : 0) : u16(cff, p + 2);
      for (quint32 k = 0; k <= left; ++k) strings.push_back(first + k);
      p += format == 1 ? 3 : 4;
    } else {
      return std::nullopt;
    }
    if (p > cff.size()) return std::nullopt;
  }
  strings.resize(count);
  return std::pair{p - at, std::move(strings)};
}

// The length of the custom encoding at at; nullopt when it does not fit.
std::optional<qsizetype> encodingLength(const QByteArray& cff, qsizetype at) {
  if (at + 2 > cff.size()) return std::nullopt;
  const int format = uchar(cff[at]);
  const int n = uchar(cff[at + 1]);
  qsizetype length = (format & 0x7f) == 0 ? 2 + n : (format & 0x7f) == 1 ? 2 + 2 * n : -1;
  if (length < 0) return std::nullopt;
  if (format & 0x80) length += 1 + 3 * (at + length < cff.size() ? uchar(cff[at + length]) : 0);
  if (at + length > cff.size()) return std::nullopt;
  return length;
}

// Whether the CFF font's Top DICT has the ROS operator: its glyphs are then
// chosen by CIDs that its charset maps, not by glyph number.
bool isCidKeyed(const QByteArray& cff) {
  const int headerSize = cff.size() > 4 ? uchar(cff[2]) : 0;
  const auto names = readIndex(cff, headerSize);
  const auto topDicts = names ? readIndex(cff, names->second) : std::nullopt;
  const auto top = topDicts && !topDicts->first.empty() ? parseDict(topDicts->first[0]) : std::nullopt;
  return top && std::any_of(top->begin(), top->end(), [](const DictEntry& e) { return e.op == kRos; });
}

// The name-keyed CFF font cff with the outlines of the glyphs neither in used
// nor among the standard Latin glyphs (strings 1 to 149, which accented
// glyphs may be built of) replaced by empty ones; glyph numbers stay.
// Empty when cff is not such a font or does not read right.
QByteArray cffSubset(const QByteArray& cff, const std::vector<bool>& used) {
  constexpr int kCharset = 15, kEncoding = 16, kCharStrings = 17, kPrivate = 18;
  constexpr quint32 kLastStandardLatin = 149;
  const int headerSize = cff.size() > 4 ? uchar(cff[2]) : 0;
  if (headerSize < 4) return {};
  const auto names = readIndex(cff, headerSize);
  if (!names) return {};
  const auto topDicts = readIndex(cff, names->second);
  if (!topDicts || topDicts->first.size() != 1) return {};
  const auto strings = readIndex(cff, topDicts->second);
  if (!strings) return {};
  const auto globalSubrs = readIndex(cff, strings->second);
  if (!globalSubrs) return {};
  auto top = parseDict(topDicts->first[0]);
  if (!top) return {};
  qint64 charsetAt = 0, encodingAt = 0, charStringsAt = -1, privateSize = -1, privateAt = -1;
  for (const DictEntry& e : *top) {
    if (e.op == kRos || e.op == kFdArray || e.op == kFdSelect) return {};
    if (e.values.empty()) continue;
    if (e.op == kCharset) charsetAt = e.values[0];
    if (e.op == kEncoding) encodingAt = e.values[0];
    if (e.op == kCharStrings) charStringsAt = e.values[0];
    if (e.op == kPrivate && e.values.size() == 2) {
      privateSize = e.values[0];
      privateAt = e.values[1];
    }
  }
  if (charStringsAt <= 0 || charStringsAt >= cff.size()) return {};
  const auto charStrings = readIndex(cff, charStringsAt);
  if (!charStrings || charStrings->first.empty()) return {};
  const auto count = quint32(charStrings->first.size());
  // Which string names each glyph: the glyphs an accented one may be built
  // of are kept.
  std::vector<quint32> glyphStrings(count);
  QByteArray charset;
  if (charsetAt == 0) {
    for (quint32 g = 0; g < count; ++g) glyphStrings[g] = g;  // ISOAdobe
  } else if (charsetAt > 2 && charsetAt < cff.size()) {
    const auto read = readCharset(cff, charsetAt, count);
    if (!read) return {};
    charset = cff.mid(charsetAt, read->first);
    glyphStrings = read->second;
  } else {
    return {};
  }
  QByteArray encoding;
  if (encodingAt > 1) {
    const auto length = encodingAt < cff.size() ? encodingLength(cff, encodingAt) : std::nullopt;
    if (!length) return {};
    encoding = cff.mid(encodingAt, *length);
  }
  // The Private DICT and the local subroutines after it, in one piece: the
  // subroutines' offset counts from the DICT's start.
  QByteArray privateBlock;
  if (privateAt > 0) {
    if (privateSize < 0 || privateAt + privateSize > cff.size()) return {};
    qsizetype end = privateAt + privateSize;
    const auto privateDict = parseDict(cff.mid(privateAt, privateSize));
    if (!privateDict) return {};
    for (const DictEntry& e : *privateDict)
      if (e.op == 19 && e.values.size() == 1) {
        const auto subrs = e.values[0] > 0 ? readIndex(cff, privateAt + e.values[0]) : std::nullopt;
        if (!subrs) return {};
        end = std::max(end, subrs->second);
      }
    privateBlock = cff.mid(privateAt, end - privateAt);
  }

  std::vector<QByteArray> outlines(charStrings->first);
  const QByteArray empty(1, char(14));  // endchar
  for (quint32 g = 1; g < count; ++g)
    if (!(g < used.size() && used[g]) && !(glyphStrings[g] >= 1 && glyphStrings[g] <= kLastStandardLatin))
      outlines[g] = empty;
  const QByteArray newCharStrings = makeIndex(outlines);

  // The Top DICT with every offset as a five-byte integer, so that its size
  // is known before the offsets are.
  const auto topDict = [&](qint64 charsetOffset, qint64 encodingOffset, qint64 charStringsOffset,
                           qint64 privateOffset) {
    QByteArray out;
    for (const DictEntry& e : *top) {
      if (e.op == kCharset && charsetAt > 2) {
        out += int32Operand(charsetOffset);
      } else if (e.op == kEncoding && encodingAt > 1) {
        out += int32Operand(encodingOffset);
      } else if (e.op == kCharStrings) {
        out += int32Operand(charStringsOffset);
      } else if (e.op == kPrivate && privateAt > 0) {
        out += int32Operand(privateBlock.isEmpty() ? 0 : privateSize) + int32Operand(privateOffset);
      } else {
        for (const QByteArray& operand : e.operands) out += operand;
      }
      if (e.op >= 1200)
        out += char(12) + QByteArray(1, char(e.op - 1200));
      else
        out += char(e.op);
    }
    return makeIndex({out});
  };
  const QByteArray start = cff.left(names->second);  // the header and the names
  const QByteArray afterTop = cff.mid(topDicts->second, globalSubrs->second - topDicts->second);
  const qsizetype topSize = topDict(0, 0, 0, 0).size();
  const qint64 charsetOffset = start.size() + topSize + afterTop.size();
  const qint64 encodingOffset = charsetOffset + charset.size();
  const qint64 charStringsOffset = encodingOffset + encoding.size();
  const qint64 privateOffset = charStringsOffset + newCharStrings.size();
  return start + topDict(charsetOffset, encodingOffset, charStringsOffset, privateOffset) + afterTop +
         charset + encoding + newCharStrings + privateBlock;
}

}  // namespace

Outlines outlinesOf(const QRawFont& font) {
  if (!font.isValid() || table(font, "head").size() < 54 || table(font, "hhea").size() < 36 ||
      table(font, "hmtx").size() < 4 || glyphCount(font) == 0)
    return Outlines::None;
  if (!table(font, "glyf").isEmpty() && !table(font, "loca").isEmpty()) return Outlines::TrueType;
  // Text is written in glyph numbers, which a CID-keyed CFF font does not
  // take.
  if (const QByteArray cff = table(font, "CFF "); !cff.isEmpty() && !isCidKeyed(cff)) return Outlines::Cff;
  return Outlines::None;
}

std::vector<double> advanceWidths(const QRawFont& font) {
  const QByteArray head = table(font, "head"), hhea = table(font, "hhea"), hmtx = table(font, "hmtx");
  const quint32 em = u16(head, 18), metrics = std::min<quint32>(u16(hhea, 34), quint32(hmtx.size() / 4));
  if (em == 0 || metrics == 0) return {};
  std::vector<double> widths(glyphCount(font));
  for (std::size_t g = 0; g < widths.size(); ++g)
    widths[g] = double(u16(hmtx, qsizetype(std::min<std::size_t>(g, metrics - 1)) * 4)) * 1000 / em;
  return widths;
}

QByteArray trueTypeSubset(const QRawFont& font, const std::vector<quint32>& glyphs,
                          const std::vector<char16_t>& unicode) {
  QByteArray head = table(font, "head");
  const QByteArray maxp = table(font, "maxp");
  const QByteArray loca = table(font, "loca");
  const QByteArray glyf = table(font, "glyf");
  const quint32 count = u16(maxp, 4);
  if (head.size() < 54 || count == 0 || glyf.isEmpty()) return {};
  const std::vector<quint32> offsets = glyphOffsets(loca, u16(head, 50) != 0, count);
  if (offsets.back() > quint32(glyf.size())) return {};

  std::vector<bool> wanted(count, false);
  std::vector<quint32> pending(glyphs);
  pending.push_back(0);
  while (!pending.empty()) {
    const quint32 g = pending.back();
    pending.pop_back();
    if (g >= count || wanted[g]) continue;
    wanted[g] = true;
    for (quint32 part : components(glyf, offsets[g], offsets[g + 1])) pending.push_back(part);
  }

  QByteArray newGlyf, newLoca;
  for (quint32 g = 0; g < count; ++g) {
    put32(newLoca, quint32(newGlyf.size()));
    if (wanted[g] && offsets[g + 1] > offsets[g]) {
      newGlyf.append(glyf.constData() + offsets[g], offsets[g + 1] - offsets[g]);
      newGlyf.append((4 - newGlyf.size() % 4) % 4, '\0');
    }
  }
  put32(newLoca, quint32(newGlyf.size()));
  set16(head, 50, 1);  // long loca offsets

  std::vector<Table> tables;
  static constexpr std::array<const char*, 5> kCopied{"cvt ", "fpgm", "hhea", "hmtx", "prep"};
  for (const char* tag : kCopied) {
    QByteArray data = table(font, tag);
    if (!data.isEmpty()) tables.push_back({QByteArray(tag), std::move(data)});
  }
  tables.push_back({QByteArrayLiteral("OS/2"), os2Table(font, unicode)});
  tables.push_back({QByteArrayLiteral("cmap"), characterMap(unicode)});
  tables.push_back({QByteArrayLiteral("glyf"), newGlyf});
  tables.push_back({QByteArrayLiteral("head"), head});
  tables.push_back({QByteArrayLiteral("loca"), newLoca});
  tables.push_back({QByteArrayLiteral("maxp"), maxp});
  tables.push_back({QByteArrayLiteral("name"), nameTable(font)});
  tables.push_back({QByteArrayLiteral("post"), postTable(font)});
  return fontFile(std::move(tables), kTrueTypeVersion);
}

QByteArray openTypeCff(const QRawFont& font, const std::vector<bool>& used, bool& cut) {
  cut = false;
  if (outlinesOf(font) != Outlines::Cff) return {};
  std::vector<Table> tables;
  static constexpr std::array<const char*, 8> kCopied{"OS/2", "cmap", "head", "hhea",
                                                      "hmtx", "maxp", "name", "post"};
  for (const char* tag : kCopied) {
    QByteArray data = table(font, tag);
    if (!data.isEmpty()) tables.push_back({QByteArray(tag), std::move(data)});
  }
  const QByteArray whole = table(font, "CFF ");
  QByteArray outlines = cffSubset(whole, used);
  cut = !outlines.isEmpty();
  tables.push_back({QByteArrayLiteral("CFF "), cut ? std::move(outlines) : whole});
  return fontFile(std::move(tables), kCffVersion);
}

QByteArray subsetTag(const QRawFont& font, const std::vector<bool>& used) {
  QCryptographicHash hash(QCryptographicHash::Sha1);
  hash.addData((font.familyName() + u'\n' + font.styleName()).toUtf8());
  // The head table tells one version of a font file from another.
  hash.addData(table(font, "head"));
  QByteArray glyphs((qsizetype(used.size()) + 7) / 8, '\0');
  for (std::size_t g = 0; g < used.size(); ++g)
    if (used[g]) glyphs[qsizetype(g / 8)] = char(glyphs[qsizetype(g / 8)] | (1 << (g % 8)));
  hash.addData(glyphs);
  const QByteArray digest = hash.result();
  QByteArray tag(6, 'A');
  for (int i = 0; i < 6; ++i) tag[i] = char('A' + uchar(digest[i]) % 26);
  return tag;
}

}  // namespace tarquelas::report
