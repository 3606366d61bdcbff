// Runs one fuzz harness over every file of its seed corpus and of its saved crashes. A harness
// aborts on a broken invariant, so a regression shows as a crashed test naming the file.
#include <gtest/gtest.h>

#include <QDirIterator>

#include "fuzz/fuzz_support.h"

namespace {

void replay(const char* kind, int& count) {
  static const bool initialized = [] {
    int argc = 0;
    char** argv = nullptr;
    return !LLVMFuzzerInitialize || LLVMFuzzerInitialize(&argc, &argv) == 0;
  }();
  EXPECT_TRUE(initialized);
  const QString dir =
      QStringLiteral(TARQUELAS_SOURCE_DIR "/fuzz/%1/" TARQUELAS_FUZZ_HARNESS).arg(QLatin1String(kind));
  for (QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();
       ++count) {
    const QString path = it.next();
    std::fprintf(stderr, "replaying %s\n", qPrintable(path));
    const std::optional<QByteArray> bytes = tarquelas::fuzz::readFile(path);
    ASSERT_TRUE(bytes) << path.toStdString();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes->constData()), size_t(bytes->size()));
  }
}

TEST(FuzzReplay, SeedCorpusPassesEveryInvariant) {
  int count = 0;
  replay("corpus", count);
  EXPECT_GT(count, 0) << "no seed corpus for " TARQUELAS_FUZZ_HARNESS;
}

TEST(FuzzReplay, SavedCrashesNoLongerCrash) {
  int count = 0;
  replay("regressions", count);
}

}  // namespace
