// Both validators end to end over one presentation file made of the input
// bytes. What they write is held against the input: the auxiliary file
// holds input lines only (repaired ones for a voucher file, in order, none
// twice), the error file holds reports of the expected form for existing
// line numbers, and every line is accounted for exactly once.
#include <QHash>

#include "declarations/validators.h"
#include "fuzz/fuzz_support.h"
#include "support/varias.h"
#include "support/work_paths.h"

namespace tarquelas::fuzz {
namespace {

struct Outcome {
  std::optional<QByteArray> aux;
  std::optional<QByteArray> errors;
};

using Validator = Status (*)(const QString&, const WorkPaths&, Progress&);

Outcome validate(Validator validator, QByteArrayView input) {
  static const WorkPaths paths = WorkPaths::inDirectory(scratch().path());
  static const QString presentation = scratchPath("presentacion.txt");
  removeFile(paths.auxiliar);
  removeFile(paths.errores);
  writeFile(presentation, input);
  const Status s = validator(presentation, paths, noProgress());
  FUZZ_CHECK(s.isOk());
  return {readFile(paths.auxiliar), readFile(paths.errores)};
}

// Written files end every line, the last one included, with CR LF.
QList<QByteArray> writtenLines(const std::optional<QByteArray>& file) {
  if (!file) return {};
  FUZZ_CHECK(file->endsWith("\r\n"));
  return referenceLines(*file);
}

// The line number of an error report "<prefix>N: ..." (N from 1, plain digits).
qint64 reportedLine(const QByteArray& report, QByteArrayView prefix) {
  FUZZ_CHECK(report.startsWith(prefix));
  const qsizetype colon = report.indexOf(": ", prefix.size());
  FUZZ_CHECK(colon > prefix.size());
  const QByteArrayView digits = QByteArrayView(report).sliced(prefix.size(), colon - prefix.size());
  FUZZ_CHECK(digits.front() != '0');
  for (char c : digits) FUZZ_CHECK(c >= '0' && c <= '9');
  return digits.toByteArray().toLongLong();
}

void checkVouchers(QByteArrayView input) {
  const QList<QByteArray> lines = referenceLines(input);
  const Outcome out = validate(&validarArchivoTarquelas, input);
  const QList<QByteArray> aux = writtenLines(out.aux);
  const QList<QByteArray> errors = writtenLines(out.errors);
  FUZZ_CHECK(!out.aux || !aux.isEmpty());
  FUZZ_CHECK(!out.errors || !errors.isEmpty());

  QHash<qint64, QByteArray> reports;
  qint64 previous = 0;
  for (const QByteArray& e : errors) {
    const qint64 n = reportedLine(e, "L\xEDnea ");
    FUZZ_CHECK(n > previous && n <= lines.size());  // one report per line, in order
    FUZZ_CHECK(e.endsWith(". "));
    reports.insert(n, e);
    previous = n;
  }
  // Every line is either reported, copied (repaired) or a closing record.
  qsizetype next = 0;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QByteArray repaired = decodificarUTF8(lines[i]);
    const qsizetype length = repaired.size();
    const bool reported = reports.contains(i + 1);
    if (length != 132 && length != 549 && length != 18) {
      FUZZ_CHECK(reported && reports[i + 1].endsWith("Longitud de l\xEDnea. "));
    }
    if (length == 18) FUZZ_CHECK(!reported);
    if (reported || length == 18) continue;
    FUZZ_CHECK(next < aux.size() && aux[next] == repaired);
    ++next;
  }
  FUZZ_CHECK(next == aux.size());
}

void checkRegistry(QByteArrayView input) {
  const QList<QByteArray> lines = referenceLines(input);
  const Outcome out = validate(&validarArchivoPadron, input);
  const QList<QByteArray> aux = writtenLines(out.aux);

  qint64 first = lines.size() + 1;  // first faulty line, or past the end
  if (out.errors) {
    // All reports, then one empty line.
    FUZZ_CHECK(out.errors->endsWith("\r\n\r\n"));
    const QList<QByteArray> errors = referenceLines(*out.errors);
    FUZZ_CHECK(errors.size() >= 2 && errors.back().isEmpty());
    qint64 previous = 0;
    for (const QByteArray& e : errors.first(errors.size() - 1)) {
      const qint64 n = reportedLine(e, "Error L\xEDnea ");
      FUZZ_CHECK(n >= previous && n <= lines.size());
      previous = n;
      first = qMin(first, n);
    }
  }
  // The auxiliary file is the input up to the first faulty line.
  FUZZ_CHECK(aux.size() == first - 1);
  for (qsizetype i = 0; i < aux.size(); ++i) FUZZ_CHECK(aux[i] == lines[i]);
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (lines[i].size() != 300) FUZZ_CHECK(first <= i + 1);  // a wrong length is always reported
  }
}

}  // namespace
}  // namespace tarquelas::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tarquelas::fuzz;
  const QByteArrayView input = bytesOf(data, size);
  checkVouchers(input);
  checkRegistry(input);
  return 0;
}
