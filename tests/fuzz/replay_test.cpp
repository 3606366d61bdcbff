// Runs one fuzz harness over every file of its seed corpus and of its saved
// crashes. A harness aborts on a broken invariant, so a regression shows as
// a crashed test; the file being replayed is printed first.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <cstdio>

#include "fuzz/fuzz_support.h"

namespace {

QString fuzzDir(const char* kind) {
  return QStringLiteral(TARQUELAS_SOURCE_DIR "/fuzz/") + QString::fromLatin1(kind) +
         QStringLiteral("/" TARQUELAS_FUZZ_HARNESS);
}

QStringList filesUnder(const QString& dir) {
  QStringList files;
  QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) files << it.next();
  files.sort();
  return files;
}

int replay(const QStringList& files) {
  static const bool initialized = [] {
    int argc = 0;
    char** argv = nullptr;
    LLVMFuzzerInitialize(&argc, &argv);
    return true;
  }();
  (void)initialized;
  for (const QString& path : files) {
    std::fprintf(stderr, "replaying %s\n", qPrintable(path));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray bytes = f.readAll();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
  }
  return int(files.size());
}

TEST(FuzzReplay, SeedCorpusPassesEveryInvariant) {
  EXPECT_GT(replay(filesUnder(fuzzDir("corpus"))), 0) << "no seed corpus for " TARQUELAS_FUZZ_HARNESS;
}

TEST(FuzzReplay, SavedCrashesNoLongerCrash) { replay(filesUnder(fuzzDir("regressions"))); }

}  // namespace
