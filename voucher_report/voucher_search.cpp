#include "voucher_report/voucher_search.h"

#include <QString>
#include <array>

#include "support/cp1252.h"

namespace tarquelas::voucher {

namespace {

constexpr int kMaxNumberDigits = 19;  // what a quint64 always holds
constexpr int kCuitDigits = 11;
// A name field holds 80 bytes: a longer text is no part of any name.
constexpr qsizetype kMaxNameLength = 80;

// A character's base letter in lower case (é, É → e; ñ → n), as a
// Windows-1252 byte; -1 when the code page has none.
int foldedByte(QChar c) {
  QString base = QString(c).normalized(QString::NormalizationForm_D);
  if (base.isEmpty()) return -1;
  return cp1252ByteFor(base.front().toLower().unicode());
}

const std::array<char, 256>& foldTable() {
  static const std::array<char, 256> table = [] {
    std::array<char, 256> t{};
    for (int b = 0; b < 256; ++b) {
      const char byte = char(b);
      const int folded = foldedByte(fromCp1252(QByteArrayView(&byte, 1)).front());
      t[std::size_t(b)] = char(folded < 0 ? b : folded);
    }
    return t;
  }();
  return table;
}

bool isSeparator(QChar c) { return c.isSpace() || c == u'-' || c == u'.' || c == u'/'; }

// The value of a field of digits with blanks around them; nothing for
// any other field.
std::optional<quint64> fieldNumber(QByteArrayView field) {
  field = field.trimmed();
  if (field.isEmpty() || field.size() > kMaxNumberDigits) return std::nullopt;
  quint64 value = 0;
  for (const char c : field) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + quint64(c - '0');
  }
  return value;
}

template <std::size_t N>
QByteArrayView view(const std::array<char, N>& field) {
  return {field.data(), qsizetype(N)};
}

}  // namespace

VoucherSearch::VoucherSearch(QStringView text) {
  text = text.trimmed();
  if (text.isEmpty()) return;
  blank_ = false;
  QByteArray digits;
  bool onlyDigits = true;
  for (const QChar c : text) {
    if (c >= u'0' && c <= u'9') {
      digits.append(char(c.unicode()));
    } else if (!isSeparator(c)) {
      onlyDigits = false;
      break;
    }
  }
  if (onlyDigits && !digits.isEmpty() && digits.size() <= kMaxNumberDigits) {
    number_ = fieldNumber(digits);
    if (digits.size() == kCuitDigits) cuit_ = digits;
  }
  if (text.size() > kMaxNameLength) return;
  for (const QChar c : text) {
    const int byte = foldedByte(c);
    if (byte < 0) {
      name_.clear();  // no name can hold this character
      return;
    }
    name_.append(char(byte));
  }
}

bool VoucherSearch::matches(const VoucherIndex& index, qint64 i) const {
  const VoucherKeys& keys = index.voucher(i).keys;
  if (!cuit_.isEmpty() && view(keys.cuit) == QByteArrayView(cuit_)) return true;
  if (number_ &&
      (fieldNumber(view(keys.consortium)) == number_ || fieldNumber(view(keys.tarquela)) == number_))
    return true;
  if (name_.isEmpty()) return false;
  const QByteArrayView name = index.nameOf(i);
  if (name.size() < name_.size()) return false;
  // Folded into a buffer of the field's size, which no name outgrows.
  std::array<char, 256> folded{};
  const std::array<char, 256>& table = foldTable();
  for (qsizetype k = 0; k < name.size(); ++k) folded[std::size_t(k)] = table[quint8(name[k])];
  return QByteArrayView(folded.data(), name.size()).indexOf(name_) >= 0;
}

std::vector<qint64> VoucherSearch::find(const VoucherIndex& index) const {
  std::vector<qint64> found;
  if (!number_ && name_.isEmpty()) return found;
  for (qint64 i = 0; i < index.voucherCount(); ++i)
    if (matches(index, i)) found.push_back(i);
  return found;
}

}  // namespace tarquelas::voucher
