#include "report_engine/fonts.h"

#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace tarquelas {

namespace {

// Wine's Tahoma, regular and bold: installed by fonts-wine, which fontconfig
// does not index.
constexpr QStringView kWineFontDir = u"/usr/share/wine/fonts";
constexpr QStringView kTahomaFiles[] = {u"tahoma.ttf", u"tahomabd.ttf"};

bool loadWineTahoma() {
  bool loaded = false;
  for (QStringView file : kTahomaFiles) {
    const QString path = kWineFontDir.toString() + u'/' + file.toString();
    if (QFileInfo::exists(path) && QFontDatabase::addApplicationFont(path) >= 0) loaded = true;
  }
  return loaded;
}

void addFallback(const QString& family) {
  if (!QFontDatabase::hasFamily(family)) QFont::insertSubstitution(family, u"DejaVu Sans"_s);
}

}  // namespace

void registerProgramFonts() {
  static bool done = false;
  if (done) return;
  done = true;
  if (!QFontDatabase::hasFamily(u"Tahoma"_s)) loadWineTahoma();
  addFallback(u"Tahoma"_s);
  addFallback(u"Verdana"_s);
}

}  // namespace tarquelas
