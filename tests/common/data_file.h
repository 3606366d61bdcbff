// Long expected outputs kept under tests/data/, read and diffed as files.
#pragma once

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace tarquelas::testing {

inline QString dataPath(const char* name) {
  return QStringLiteral(TARQUELAS_SOURCE_DIR "/tests/data/") + QLatin1StringView(name);
}

// With TARQUELAS_UPDATE_DATA set, writes the bytes there instead, for a change meant to alter them;
// never under CI (CI set), where that fails: a rewritten expectation proves nothing.
inline void expectData(const char* name, const QByteArray& bytes) {
  if (qEnvironmentVariableIsSet("TARQUELAS_UPDATE_DATA")) {
    if (qEnvironmentVariableIsSet("CI")) {
      ADD_FAILURE() << "TARQUELAS_UPDATE_DATA is set under CI: tests/data/" << name << " is not rewritten";
      return;
    }
    writeBytes(dataPath(name), bytes);
  }
  EXPECT_TRUE(bytes == readBytes(dataPath(name)))
      << "tests/data/" << name << " differs: TARQUELAS_UPDATE_DATA=1 rewrites it and git diff shows how";
}

}  // namespace tarquelas::testing
