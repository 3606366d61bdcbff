#include "declarations/error_file.h"

#include "declarations/messages.h"

namespace tarquelas::error_file {

QByteArray voucherLine(qint64 lineNumber, QByteArrayView pieces) {
  QByteArray line;
  line.reserve(messages::kVoucherLinePrefix.size() + 22 + pieces.size());
  line.append(messages::kVoucherLinePrefix).append(QByteArray::number(lineNumber));
  line.append(messages::kAfterLineNumber).append(pieces);
  return line;
}

QByteArray registryLine(qint64 lineNumber, QByteArrayView message) {
  QByteArray line;
  line.reserve(messages::kRegistryLinePrefix.size() + 20 + message.size());
  line.append(messages::kRegistryLinePrefix).append(QByteArray::number(lineNumber)).append(message);
  return line;
}

}  // namespace tarquelas::error_file
