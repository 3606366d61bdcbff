// The test classes of this folder, so one executable runs them all.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace tarquelas::testing {

using TestClassFactory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<TestClassFactory>& widgetTestClasses() {
  static std::vector<TestClassFactory> classes;
  return classes;
}

template <typename T>
struct RegisterTestClass {
  RegisterTestClass() {
    widgetTestClasses().push_back([] { return std::make_unique<T>(); });
  }
};

}  // namespace tarquelas::testing
