// Helpers shared by the fuzz harnesses: invariant checks that abort (so libFuzzer and the replay
// tests both see a crash), scratch files, an independent line splitter, the splitting of an input.
#pragma once

#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

// The replay tests call them like libFuzzer does; a harness may leave out the first.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

#define FUZZ_CHECK(cond) ::tarquelas::fuzz::check(bool(cond), #cond, __FILE__, __LINE__)

namespace tarquelas::fuzz {

inline void check(bool holds, const char* what, const char* file, int line) {
  if (holds) return;
  std::fprintf(stderr, "\n*** invariant broken at %s:%d: %s\n", file, line, what);
  std::abort();
}

inline QByteArrayView bytesOf(const uint8_t* data, size_t size) {
  return QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A file in the process's scratch folder (under TARQUELAS_FUZZ_TMP when set), removed at exit.
inline QString scratchPath(const char* name = "") {
  static const QTemporaryDir dir = [] {
    const QString base = qEnvironmentVariable("TARQUELAS_FUZZ_TMP");
    return base.isEmpty() ? QTemporaryDir() : QTemporaryDir(base + QStringLiteral("/tarquelas-fuzz-XXXXXX"));
  }();
  FUZZ_CHECK(dir.isValid());
  return *name ? dir.filePath(QString::fromLatin1(name)) : dir.path();
}

// Writes bytes to path; an empty view removes the file instead when asked.
inline void writeFile(const QString& path, QByteArrayView bytes, bool emptyMeansMissing = false) {
  QFile f(path);
  if (emptyMeansMissing && bytes.isEmpty()) return (void)f.remove();
  FUZZ_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
             f.write(bytes.data(), bytes.size()) == bytes.size());
}

// The whole file, or nothing when it does not exist.
inline std::optional<QByteArray> readFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  return f.readAll();
}

// Lines as the system defines them, apart from LineReader: a line ends at CR LF or a lone CR;
// a lone LF stays inside; a last line without its end still counts.
inline QList<QByteArray> referenceLines(QByteArrayView bytes) {
  QList<QByteArray> lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r') continue;
    lines.append(bytes.sliced(start, i - start).toByteArray());
    if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < bytes.size()) lines.append(bytes.sliced(start).toByteArray());
  return lines;
}

// An input cut into count parts at the split marker; missing parts are empty.
inline QList<QByteArrayView> splitInput(QByteArrayView input, int count) {
  const QByteArrayView sep("<<<FUZZ-SPLIT>>>");
  QList<QByteArrayView> parts;
  for (qsizetype at; parts.size() < count - 1 && (at = input.indexOf(sep)) >= 0;) {
    parts.append(input.first(at));
    input = input.sliced(at + sep.size());
  }
  parts.append(input);
  while (parts.size() < count) parts.append(QByteArrayView());
  return parts;
}

}  // namespace tarquelas::fuzz
