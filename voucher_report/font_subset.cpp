#include "voucher_report/font_subset.h"

#include <algorithm>
#include <array>

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

QByteArray table(const QRawFont& font, const char (&tag)[5]) { return font.fontTable(tag); }

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

// An sfnt file of tables (sorted by tag).
QByteArray fontFile(const std::vector<Table>& tables) {
  const auto count = quint32(tables.size());
  quint32 selector = 0;
  while ((2u << selector) <= count) ++selector;
  const quint32 searchRange = (1u << selector) * 16;
  QByteArray out;
  put32(out, 0x00010000);
  put16(out, count);
  put16(out, searchRange);
  put16(out, selector);
  put16(out, count * 16 - searchRange);
  quint32 offset = 12 + 16 * count;
  for (const Table& t : tables) {
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
  return out;
}

}  // namespace

QByteArray trueTypeSubset(const QRawFont& font, const std::vector<quint32>& glyphs) {
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
  set32(head, 8, 0);   // checkSumAdjustment: not checked by viewers
  set16(head, 50, 1);  // long loca offsets

  std::vector<Table> tables;
  static constexpr std::array<const char*, 5> kCopied{"cvt ", "fpgm", "hhea", "hmtx", "prep"};
  for (const char* tag : kCopied) {
    QByteArray data = font.fontTable(tag);
    if (!data.isEmpty()) tables.push_back({QByteArray(tag), std::move(data)});
  }
  tables.push_back({QByteArrayLiteral("glyf"), newGlyf});
  tables.push_back({QByteArrayLiteral("head"), head});
  tables.push_back({QByteArrayLiteral("loca"), newLoca});
  tables.push_back({QByteArrayLiteral("maxp"), maxp});
  std::sort(tables.begin(), tables.end(), [](const Table& a, const Table& b) { return a.tag < b.tag; });
  return fontFile(tables);
}

}  // namespace tarquelas::report
