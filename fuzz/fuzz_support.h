// Helpers shared by the fuzz harnesses: invariant checks that abort with a
// message (so libFuzzer and the replay tests both see a crash), a scratch
// folder for the files the code under test reads and writes, an
// independent line splitter to hold results against, and the splitting of
// one input into several files.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

// The entry points of a harness. Every harness defines both; the replay
// tests call them like libFuzzer does.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace tarquelas::fuzz {

[[noreturn]] inline void invariantFailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "\n*** invariant broken at %s:%d: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}

#define FUZZ_CHECK(cond)                                                        \
  do {                                                                          \
    if (!(cond)) ::tarquelas::fuzz::invariantFailed(#cond, __FILE__, __LINE__); \
  } while (0)

inline QByteArrayView bytesOf(const uint8_t* data, size_t size) {
  return QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size));
}

// One scratch folder per process, in TARQUELAS_FUZZ_TMP or the system's
// temporary folder; removed at exit.
inline const QDir& scratch() {
  static const auto dir = [] {
    const QByteArray base = qgetenv("TARQUELAS_FUZZ_TMP");
    auto d = base.isEmpty() ? std::make_unique<QTemporaryDir>()
                            : std::make_unique<QTemporaryDir>(QString::fromLocal8Bit(base) +
                                                              QStringLiteral("/tarquelas-fuzz-XXXXXX"));
    if (!d->isValid()) invariantFailed("scratch folder cannot be made", __FILE__, __LINE__);
    return d;
  }();
  static const QDir qdir(dir->path());
  return qdir;
}

inline QString scratchPath(const char* name) { return scratch().filePath(QString::fromLatin1(name)); }

inline void writeFile(const QString& path, QByteArrayView bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      f.write(bytes.data(), bytes.size()) != bytes.size())
    invariantFailed("scratch file cannot be written", __FILE__, __LINE__);
}

// The whole file, or nothing when it does not exist.
inline std::optional<QByteArray> readFile(const QString& path) {
  QFile f(path);
  if (!f.exists()) return std::nullopt;
  if (!f.open(QIODevice::ReadOnly)) invariantFailed("scratch file cannot be read", __FILE__, __LINE__);
  return f.readAll();
}

inline void removeFile(const QString& path) { QFile::remove(path); }

// Lines as the system defines them, written independently of LineReader:
// a line ends at CR LF or at a lone CR; a lone LF stays inside the line; a
// last line without its end still counts.
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

// Cuts an input into at most count parts at the separator; missing parts
// are empty. Seeds are plain files joined by it.
inline constexpr char kSeparator[] = "<<<FUZZ-SPLIT>>>";

inline QList<QByteArrayView> splitInput(QByteArrayView input, int count) {
  QList<QByteArrayView> parts;
  const QByteArrayView sep(kSeparator);
  while (parts.size() < count - 1) {
    const qsizetype at = input.indexOf(sep);
    if (at < 0) break;
    parts.append(input.first(at));
    input = input.sliced(at + sep.size());
  }
  parts.append(input);
  while (parts.size() < count) parts.append(QByteArrayView());
  return parts;
}

}  // namespace tarquelas::fuzz
