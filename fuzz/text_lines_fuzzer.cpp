// Arbitrary bytes through the text layer: LineReader (and its whole-file
// helpers), LineWriter in direct and atomic mode, decodificarUTF8 and Field.
// Every result is held against an independent reading of the same bytes.
#include <climits>

#include "fuzz/fuzz_support.h"
#include "support/cp1252.h"
#include "support/fields.h"
#include "support/text_file.h"
#include "support/varias.h"

namespace tarquelas::fuzz {
namespace {

// Length of the well-formed UTF-8 sequence at i (2 to 4) and its code
// point, or 0 when the bytes there are not one.
int wellFormedSequence(QByteArrayView s, qsizetype i, char32_t& cp) {
  const auto b = [&](qsizetype k) { return k < s.size() ? int(static_cast<unsigned char>(s[k])) : -1; };
  const auto in = [](int v, int lo, int hi) { return v >= lo && v <= hi; };
  const int b0 = b(i), b1 = b(i + 1), b2 = b(i + 2), b3 = b(i + 3);
  if (in(b0, 0xC2, 0xDF) && in(b1, 0x80, 0xBF)) {
    cp = char32_t((b0 & 0x1F) << 6 | (b1 & 0x3F));
    return 2;
  }
  const int lo1 = b0 == 0xE0 ? 0xA0 : 0x80, hi1 = b0 == 0xED ? 0x9F : 0xBF;
  if (in(b0, 0xE0, 0xEF) && in(b1, lo1, hi1) && in(b2, 0x80, 0xBF)) {
    cp = char32_t((b0 & 0x0F) << 12 | (b1 & 0x3F) << 6 | (b2 & 0x3F));
    return 3;
  }
  const int lo4 = b0 == 0xF0 ? 0x90 : 0x80, hi4 = b0 == 0xF4 ? 0x8F : 0xBF;
  if (in(b0, 0xF0, 0xF4) && in(b1, lo4, hi4) && in(b2, 0x80, 0xBF) && in(b3, 0x80, 0xBF)) {
    cp = char32_t((b0 & 0x07) << 18 | (b1 & 0x3F) << 12 | (b2 & 0x3F) << 6 | (b3 & 0x3F));
    return 4;
  }
  return 0;
}

bool isDash(char32_t cp) { return (cp >= 0x2010 && cp <= 0x2015) || cp == 0x2212; }

// Walks input and output of decodificarUTF8 side by side.
void checkRepair(QByteArrayView in) {
  const QByteArray out = decodificarUTF8(in);
  qsizetype o = 0;
  for (qsizetype i = 0; i < in.size();) {
    const char c = in[i];
    char32_t cp = 0;
    if (c == '\0') {
      ++i;
    } else if (c == '\r') {
      FUZZ_CHECK(o + 1 < out.size() && out[o] == '\r' && out[o + 1] == '\n');
      o += 2, ++i;
    } else if (const int n = wellFormedSequence(in, i, cp)) {
      FUZZ_CHECK(o < out.size());
      const char got = out[o];
      if (isDash(cp)) {
        FUZZ_CHECK(got == '-');
      } else if (cp >= 0xA0 && cp <= 0xFF) {
        FUZZ_CHECK(static_cast<unsigned char>(got) == cp);  // Latin-1 and Windows-1252 agree here
      } else {
        FUZZ_CHECK(got == '?' || static_cast<unsigned char>(got) == cp1252ByteFor(cp));
      }
      ++o, i += n;
    } else {
      FUZZ_CHECK(o < out.size() && out[o] == c);
      ++o, ++i;
    }
  }
  FUZZ_CHECK(o == out.size());
  FUZZ_CHECK(!out.contains('\0'));
}

void checkField(QByteArrayView line, int start, int length) {
  const Field f{start, length};
  const QByteArrayView piece = f.in(line);
  FUZZ_CHECK(piece.size() >= 0 && piece.size() <= qMax(length, 0));
  if (piece.isEmpty()) {
    FUZZ_CHECK(length <= 0 || start < 1 || qsizetype(start) > line.size());
    return;
  }
  FUZZ_CHECK(piece.data() == line.data() + (start - 1));
  FUZZ_CHECK(piece.size() == qMin<qsizetype>(length, line.size() - (start - 1)));
  const QByteArrayView trimmed = f.trimmedIn(line);
  FUZZ_CHECK(trimmed.isEmpty() || (trimmed.front() != ' ' && trimmed.back() != ' '));
  FUZZ_CHECK(trimmed.data() >= piece.data() &&
             trimmed.data() + trimmed.size() <= piece.data() + piece.size());
}

void checkFields(QByteArrayView line) {
  const int n = int(qMin<qsizetype>(line.size(), INT_MAX - 2));
  const int starts[] = {INT_MIN, -1, 0, 1, 2, n - 1, n, n + 1, n + 2, INT_MAX};
  const int lengths[] = {INT_MIN, -1, 0, 1, 2, n, INT_MAX};
  for (int s : starts)
    for (int l : lengths) checkField(line, s, l);
}

QByteArray joined(const QList<QByteArray>& lines) {
  QByteArray all;
  for (const QByteArray& l : lines) all += l + "\r\n";
  return all;
}

void checkReader(const QString& path, QByteArrayView bytes, const QList<QByteArray>& expected) {
  LineReader reader;
  FUZZ_CHECK(reader.open(path).isOk());
  FUZZ_CHECK(reader.size() == bytes.size());
  qsizetype count = 0;
  while (auto line = reader.next()) {
    FUZZ_CHECK(count < expected.size() && *line == expected[count]);
    FUZZ_CHECK(!line->contains('\r'));
    ++count;
    FUZZ_CHECK(reader.lineCount() == count);
  }
  FUZZ_CHECK(reader.status().isOk());
  FUZZ_CHECK(count == expected.size());
  FUZZ_CHECK(reader.position() == bytes.size());
  FUZZ_CHECK(!reader.next());  // stays at the end
}

void checkWholeFileHelpers(const QString& path, const QList<QByteArray>& expected) {
  const LinesResult all = readAllLines(path);
  FUZZ_CHECK(all.status.isOk() && all.lines == expected);
  const FirstLineResult first = readFirstLine(path);
  FUZZ_CHECK(first.status.isOk() && first.line.has_value() == !expected.isEmpty());
  if (first.line) FUZZ_CHECK(*first.line == expected.front());
  const FirstLineResult cut = readFirstLine(path, 5);
  if (cut.line) FUZZ_CHECK(*cut.line == expected.front().first(qMin<qsizetype>(5, expected.front().size())));
}

void checkWriterRoundTrip(const QList<QByteArray>& lines, LineWriter::Mode mode) {
  const QString out = scratchPath("written.txt");
  {
    LineWriter writer;
    FUZZ_CHECK(writer.open(out, mode).isOk());
    for (const QByteArray& l : lines) writer.writeLine(l);
    FUZZ_CHECK(writer.close().isOk());
  }
  const std::optional<QByteArray> written = readFile(out);
  FUZZ_CHECK(written && *written == joined(lines));
  FUZZ_CHECK(referenceLines(*written) == lines);
}

void checkFile(QByteArrayView bytes, const QList<QByteArray>& expected) {
  const QString path = scratchPath("input.txt");
  writeFile(path, bytes);
  checkReader(path, bytes, expected);
  checkWholeFileHelpers(path, expected);
}

void checkLines(QByteArrayView bytes) {
  const QList<QByteArray> lines = referenceLines(bytes);
  checkWriterRoundTrip(lines, LineWriter::Mode::Truncate);
  checkWriterRoundTrip(lines, LineWriter::Mode::Atomic);
  for (const QByteArray& line : lines.first(qMin<qsizetype>(lines.size(), 64))) {
    checkFields(line);
    checkRepair(line);
  }
}

}  // namespace
}  // namespace tarquelas::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarquelas::fuzz;
  const QByteArrayView input = bytesOf(data, size);
  checkRepair(input);
  checkFile(input, referenceLines(input));
  checkLines(input);
  // Input starting with byte 255: the rest behind a filler that ends just
  // short of the reader's 1 MiB chunk, so that line ends fall across the
  // chunk's edge and long lines make the buffer grow.
  if (size >= 2 && data[0] == 0xFF) {
    const QByteArray filler((1 << 20) - data[1], 'x');
    const QByteArrayView rest = input.sliced(2);
    // The filler holds no CR, so it only lengthens the first line.
    QList<QByteArray> expected = referenceLines(rest);
    if (expected.isEmpty()) expected.append(QByteArray());
    expected.front().prepend(filler);
    checkFile(filler + rest.toByteArray(), expected);
  }
  return 0;
}
