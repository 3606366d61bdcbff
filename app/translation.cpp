#include "app/translation.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tarquelas {

namespace {

// Qt's file dialog writes the modification date in the system's short
// format, which for a system left in English reads "7 Dec 26"; the office
// reads dates as day/month/year with the whole year.
class SpanishDates final : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (files == nullptr || role != Qt::DisplayRole || index.column() != kDateColumn)
      return QIdentityProxyModel::data(index, role);
    const QDateTime modified = files->lastModified(mapToSource(index));
    return modified.isValid() ? QLocale().toString(modified, QStringLiteral("d/M/yyyy HH:mm")) : QString();
  }

 private:
  static constexpr int kDateColumn = 3;  // QFileSystemModel's "Date Modified"
};

// Gives every Qt file dialog the dates above before it is first shown, the
// one the print dialog opens among them.
class FileDialogDates final : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Polish) {
      auto* dialog = qobject_cast<QFileDialog*>(watched);
      if (dialog != nullptr && dialog->proxyModel() == nullptr)
        dialog->setProxyModel(new SpanishDates(dialog));
    }
    return false;
  }
};

void install(QCoreApplication& app, const QString& name, const QString& directory) {
  auto* translator = new QTranslator(&app);
  if (translator->load(name, directory)) {
    QCoreApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}

}  // namespace

void installSpanishQtTexts(QCoreApplication& app) {
  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Argentina));
  install(app, QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  // Installed last, so looked up first.
  install(app, QStringLiteral("tarquelas_es"), QStringLiteral(":/i18n"));
  app.installEventFilter(new FileDialogDates(&app));
}

}  // namespace tarquelas
