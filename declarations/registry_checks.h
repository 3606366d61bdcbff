// The checks of a registry file, line by line. The checker keeps what the
// cross-record rules need (the last record number, the counts of each
// record type, the administrations and consortia seen so far) and gives,
// for each line, the messages of the checks it fails in check order.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QSet>
#include <QVarLengthArray>

namespace tarquelas {

// True when text equals, exactly and case-sensitively, at least one
// element of list; false for an empty list.
bool existeEnArreglo(const QList<QByteArray>& list, QByteArrayView text);

namespace registry {

// A set of C.U.I.T.s exactly as read (11 characters, or fewer at the end
// of a short line). Eleven digits, the usual case, are kept as a number.
class CuitSet {
 public:
  void insert(QByteArrayView cuit);
  bool contains(QByteArrayView cuit) const;

 private:
  QSet<qint64> numbers_;
  QSet<QByteArray> others_;
};

class Checker {
 public:
  // Views of the texts in messages.h; at most a handful per line.
  using Messages = QVarLengthArray<QByteArrayView, 8>;

  // The messages of the checks line fails, updating the checker's state.
  Messages check(QByteArrayView line);

 private:
  void checkNumbering(QByteArrayView line, Messages& out);
  void checkAdministration(QByteArrayView line, Messages& out);
  void checkConsortium(QByteArrayView line, Messages& out);
  void checkWorker(QByteArrayView line, Messages& out);
  void checkRelation(QByteArrayView line, Messages& out);
  void checkTrailer(QByteArrayView line, Messages& out);

  qint64 lastNumber_ = 0;
  qint64 administrations_ = 0;
  qint64 consortia_ = 0;
  qint64 workers_ = 0;
  qint64 relations_ = 0;
  CuitSet administrationCuits_;
  CuitSet consortiumCuits_;
  QByteArray latestConsortium_;
  bool anyConsortium_ = false;
};

}  // namespace registry
}  // namespace tarquelas
