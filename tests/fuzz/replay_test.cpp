// Runs one fuzz harness over every file of its seed corpus and of its saved crashes. A harness
// aborts on a broken invariant, so a regression shows as a crashed test naming the file.
#include <gtest/gtest.h>

#include <QDirIterator>

#include "fuzz/fuzz_support.h"

namespace {

int replay(const char* kind) {
  static const bool initialized = [] {
    int argc = 0;
    char** argv = nullptr;
    return !LLVMFuzzerInitialize || LLVMFuzzerInitialize(&argc, &argv) == 0;
  }();
  EXPECT_TRUE(initialized);
  const QString dir =
      QStringLiteral(TARQUELAS_SOURCE_DIR "/fuzz/%1/" TARQUELAS_FUZZ_HARNESS).arg(QLatin1String(kind));
  int count = 0;
  for (QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();
       ++count) {
    const QString path = it.next();
    std::fprintf(stderr, "replaying %s\n", qPrintable(path));
    const QByteArray bytes = tarquelas::fuzz::readFile(path).value();  // an unreadable file throws
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
  }
  return count;
}

TEST(FuzzReplay, SeedCorpusPassesEveryInvariant) {
  EXPECT_GT(replay("corpus"), 0) << "no seed corpus for " TARQUELAS_FUZZ_HARNESS;
}

TEST(FuzzReplay, SavedCrashesNoLongerCrash) { replay("regressions"); }

}  // namespace
