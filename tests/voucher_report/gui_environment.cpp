// One QGuiApplication for all tests, destroyed after the last one so that the
// report's font caches are released the way they are when the program ends.
#include <gtest/gtest.h>

#include <memory>

#include "voucher_fixture.h"

namespace {

class GuiEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override { app_.reset(tarquelas::testing::ensureGuiApp()); }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
