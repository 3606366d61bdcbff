#include "registry_printout/registry.h"

#include <QVarLengthArray>
#include <cstring>

namespace tarquelas {
namespace {

using Numero = quint32;
constexpr qsizetype kNumero = sizeof(Numero);

Numero leer(const QByteArray& data, qsizetype at) {
  Numero n;
  std::memcpy(&n, data.constData() + at * kNumero, kNumero);
  return n;
}

void escribir(QByteArray& data, qsizetype at, Numero n) {
  std::memcpy(data.data() + at * kNumero, &n, kNumero);
}

}  // namespace

Entry::Entry(qsizetype count) : Entry(QList<QByteArray>(count)) {}

Entry::Entry(const QList<QByteArray>& texts) {
  QVarLengthArray<QByteArrayView, 24> views;
  for (const QByteArray& t : texts) views.append(t);
  *this = Entry(std::span<const QByteArrayView>(views.constData(), views.size()));
}

Entry::Entry(std::span<const QByteArrayView> texts) {
  if (texts.empty()) return;
  const qsizetype n = qsizetype(texts.size());
  qsizetype bytes = 0;
  for (QByteArrayView t : texts) bytes += t.size();
  data_.reserve((n + 1) * kNumero + bytes);
  data_.resize((n + 1) * kNumero);
  escribir(data_, 0, Numero(n));
  for (qsizetype i = 0; i < n; ++i) {
    data_.append(texts[i]);
    escribir(data_, i + 1, Numero(data_.size() - (n + 1) * kNumero));
  }
}

qsizetype Entry::size() const { return data_.isEmpty() ? 0 : qsizetype(leer(data_, 0)); }

QByteArrayView Entry::operator[](qsizetype i) const {
  Q_ASSERT(i >= 0 && i < size());
  const qsizetype textos = (size() + 1) * kNumero;
  const qsizetype desde = i == 0 ? 0 : qsizetype(leer(data_, i));
  const qsizetype hasta = qsizetype(leer(data_, i + 1));
  return QByteArrayView(data_.constData() + textos + desde, hasta - desde);
}

}  // namespace tarquelas
