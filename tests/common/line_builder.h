// Builds a fixed-width record by placing values at 1-based columns, so a
// test shows the exact bytes it checks.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace tarquelas::testing {

class LineBuilder {
 public:
  explicit LineBuilder(int length, char fill = ' ') : line_(length, fill) {}
  // Writes value starting at 1-based column start, growing the line if needed.
  LineBuilder& at(int start, QByteArrayView value) {
    const qsizetype from = start - 1;
    if (line_.size() < from + value.size()) line_.resize(from + value.size(), ' ');
    line_.replace(from, value.size(), value.toByteArray());
    return *this;
  }
  LineBuilder& length(int n) {
    line_.resize(n, ' ');
    return *this;
  }
  QByteArray bytes() const { return line_; }
  operator QByteArray() const { return line_; }

 private:
  QByteArray line_;
};

}  // namespace tarquelas::testing
