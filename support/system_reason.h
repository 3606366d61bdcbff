// The system's reasons for a failed file or device operation, in Spanish.
// Every message that gives "the system's reason" takes its text from here,
// so a full disk or a missing permission reads the same wherever it happens
// and whatever language the C library speaks.
#pragma once

#include <QString>

class QFileDevice;

namespace tarquelas {

// The reason for the system error number code (an errno value).
QString systemReason(int code);

// The reason for the last failure of file: its error number when its error
// text is one the system gives, else that text as it stands.
QString fileReason(const QFileDevice& file);

// Why path cannot be looked at: the error number of stat() on it, or 0
// when it can (whether or not it is a regular file).
int pathError(const QString& path);

}  // namespace tarquelas
