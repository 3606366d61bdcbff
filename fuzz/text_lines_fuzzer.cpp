// Arbitrary bytes through the text layer: LineReader and its whole-file
// helpers, LineWriter in direct and atomic mode, Field and decodificarUTF8,
// each held against an independent reading of the same bytes.
#include <climits>

#include "fuzz/fuzz_support.h"
#include "support/fields.h"
#include "support/text_file.h"
#include "support/varias.h"

namespace tarquelas::fuzz {
namespace {

// The reader's chunk: 1 MiB, smaller in the fuzzing build.
#ifdef TARQUELAS_TEXT_CHUNK
constexpr qsizetype kTextChunk = TARQUELAS_TEXT_CHUNK;
#else
constexpr qsizetype kTextChunk = qsizetype(1) << 20;
#endif

// Any bytes: no NUL out, every CR followed by LF, never longer than the input with its CRs
// doubled. Text in Latin-1 letters (ASCII included) written as UTF-8 turns back into itself.
void checkRepair(QByteArrayView in) {
  const QByteArray out = decodificarUTF8(in);
  FUZZ_CHECK(!out.contains('\0') && out.size() <= in.size() + in.count('\r'));
  for (qsizetype i = out.indexOf('\r'); i >= 0; i = out.indexOf('\r', i + 1))
    FUZZ_CHECK(i + 1 < out.size() && out[i + 1] == '\n');
  QByteArray plain = in.toByteArray().replace('\0', "").replace('\r', "");
  for (char& c : plain) c = (uchar(c) >= 0x80 && uchar(c) < 0xA0) ? 'x' : c;
  FUZZ_CHECK(decodificarUTF8(QString::fromLatin1(plain).toUtf8()) == plain);
}

// Field.in and trimmedIn stay inside the line whatever the start and length, even at int's ends.
void checkFields(QByteArrayView line) {
  const int n = int(qMin<qsizetype>(line.size(), INT_MAX - 2));
  for (int start : {INT_MIN, -1, 0, 1, 2, n - 1, n, n + 1, n + 2, INT_MAX}) {
    for (int length : {INT_MIN, -1, 0, 1, 2, n, INT_MAX}) {
      for (QByteArrayView piece : {Field{start, length}.in(line), Field{start, length}.trimmedIn(line)})
        FUZZ_CHECK(piece.isEmpty() || (piece.data() >= line.data() && piece.end() <= line.end()));
    }
  }
}

void checkFile(QByteArrayView bytes, const QList<QByteArray>& expected) {
  const QString path = scratchPath("input.txt");
  writeFile(path, bytes);
  LineReader reader;
  FUZZ_CHECK(reader.open(path).isOk() && reader.size() == bytes.size());
  qsizetype count = 0;
  while (auto line = reader.next()) {
    FUZZ_CHECK(count < expected.size() && *line == expected[count]);
    FUZZ_CHECK(reader.lineCount() == ++count);
  }
  FUZZ_CHECK(reader.status().isOk() && count == expected.size() && reader.position() == bytes.size());
  FUZZ_CHECK(!reader.next());  // stays at the end
  const LinesResult all = readAllLines(path);
  FUZZ_CHECK(all.status.isOk() && all.lines == expected);
  const FirstLineResult first = readFirstLine(path), cut = readFirstLine(path, 5);
  FUZZ_CHECK(first.status.isOk() && first.line.value_or(QByteArray()) == expected.value(0) &&
             first.line.has_value() == !expected.isEmpty());
  if (cut.line) FUZZ_CHECK(*cut.line == expected.front().first(qMin<qsizetype>(5, expected.front().size())));
}

void checkWriter(const QList<QByteArray>& lines) {
  const QString out = scratchPath("written.txt");
  for (LineWriter::Mode mode : {LineWriter::Mode::Truncate, LineWriter::Mode::Atomic}) {
    LineWriter writer;
    FUZZ_CHECK(writer.open(out, mode).isOk());
    for (const QByteArray& l : lines) writer.writeLine(l);
    FUZZ_CHECK(writer.close().isOk() &&
               readFile(out) == (lines.isEmpty() ? QByteArray() : lines.join("\r\n") + "\r\n"));
  }
}

}  // namespace
}  // namespace tarquelas::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarquelas::fuzz;
  const QByteArrayView input = bytesOf(data, size);
  const QList<QByteArray> lines = referenceLines(input);
  checkRepair(input);
  checkFile(input, lines);
  checkWriter(lines);
  for (const QByteArray& line : lines.first(qMin<qsizetype>(lines.size(), 64))) checkFields(line);
  // Byte 255 first: the rest behind a filler ending near the reader's chunk edge.
  if (size >= 2 && data[0] == 0xFF) {
    const QByteArray filler(kTextChunk - data[1], 'x');
    QList<QByteArray> expected = referenceLines(input.sliced(2));
    if (expected.isEmpty()) expected.append(QByteArray());
    expected.front().prepend(filler);
    checkFile(filler + input.sliced(2).toByteArray(), expected);
  }
  return 0;
}
