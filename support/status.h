// Status: the outcome of an operation that can fail for reasons outside the
// program's control (a file that cannot be read or written, a cancelled run).
// Data errors in presentation files are not Status failures: they go to the
// error file. A failed Status carries a description for the error prompt.
#pragma once

#include <QString>

namespace tarquelas {

class [[nodiscard]] Status {
 public:
  enum class Code { Ok, Error, Cancelled };

  Status() = default;
  static Status ok() { return Status(); }
  static Status error(QString description) { return Status(Code::Error, std::move(description)); }
  static Status cancelled() { return Status(Code::Cancelled, QString()); }

  bool isOk() const { return code_ == Code::Ok; }
  bool isError() const { return code_ == Code::Error; }
  bool isCancelled() const { return code_ == Code::Cancelled; }
  Code code() const { return code_; }
  // Human-readable reason, in Spanish, naming the file where one is involved.
  const QString& description() const { return description_; }

 private:
  Status(Code code, QString description) : code_(code), description_(std::move(description)) {}
  Code code_ = Code::Ok;
  QString description_;
};

// File data (a name, a path, a field) as it may be shown in a message or
// on a terminal: every control character, line ends included, becomes "?",
// so the data can neither steer a terminal nor break a message's lines.
QString printable(QString text);

// A path as the person is shown it: native separators, printable.
QString printablePath(const QString& path);

// The description for a file that could not be opened, read or written:
// names the path (printable) and the system's reason.
QString fileErrorDescription(const QString& verb, const QString& path, const QString& reason);

}  // namespace tarquelas
