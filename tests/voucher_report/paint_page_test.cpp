// paintPage on the devices the program paints on: images at any DPI (the
// preview's pages), and paged devices whose painter starts at the margins.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>

#include "voucher_fixture.h"
#include "voucher_report/voucher_report.h"

using namespace Qt::StringLiterals;

namespace tarquelas {
namespace {

using testing::AuxFile;
using testing::Detail;
using testing::headerLine;

class PaintPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::ensureGuiApp();
    aux = std::make_unique<AuxFile>(std::vector<QByteArray>{headerLine(), Detail().line()});
    built = VoucherReport::build(aux->path());
    ASSERT_TRUE(built.report.has_value());
  }

  QImage paintAt(int dpi) const {
    const int dotsPerMeter = qRound(dpi / 0.0254);
    QImage image(qRound(11906.0 * dpi / 1440), qRound(16838.0 * dpi / 1440), QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    built.report->paintPage(0, painter);
    return image;
  }

  std::unique_ptr<AuxFile> aux;
  VoucherReport::BuildResult built;
};

bool dark(const QImage& image, double xTwips, double yTwips, int dpi) {
  const QPoint p(int(xTwips * dpi / 1440), int(yTwips * dpi / 1440));
  return qGray(image.pixel(p)) < 128;
}

// lblInstitucion's thick left border runs down x = 700 + 142 twips from
// y = 800 + 142 to 800 + 425.
TEST_F(PaintPageTest, TwipsBecomeDevicePixelsAtTheDevicesResolution) {
  for (int dpi : {100, 300}) {
    const QImage image = paintAt(dpi);
    EXPECT_TRUE(dark(image, 842, 1100, dpi)) << dpi;
    EXPECT_FALSE(dark(image, 842 - 120, 1100, dpi)) << dpi;
    EXPECT_FALSE(dark(image, 842, 800 + 425 + 120, dpi)) << dpi;
  }
}

TEST_F(PaintPageTest, PageOutOfRangePaintsNothing) {
  QImage image(100, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  built.report->paintPage(5, painter);
  built.report->paintPage(-1, painter);
  painter.end();
  EXPECT_EQ(image.pixel(50, 50), QColor(Qt::white).rgb());
}

QImage rasterise(const QString& pdf, const QString& prefix) {
  QProcess p;
  p.start(QStandardPaths::findExecutable(u"pdftoppm"_s),
          {u"-r"_s, u"60"_s, u"-gray"_s, u"-singlefile"_s, u"-png"_s, pdf, prefix});
  p.waitForFinished(60000);
  return QImage(prefix + u".png"_s);
}

// A printer that keeps its margins puts the painter's origin at them; the
// page must still land where a full-page device puts it.
TEST_F(PaintPageTest, DeviceWithMarginsPaintsThePageWhereAFullPageDeviceDoes) {
  if (QStandardPaths::findExecutable(u"pdftoppm"_s).isEmpty()) GTEST_SKIP() << "pdftoppm not installed";
  const QString full = aux->file(u"full.pdf"_s);
  ASSERT_TRUE(built.report->writePdf(full).isOk());
  const QString margins = aux->file(u"margins.pdf"_s);
  {
    QPdfWriter writer(margins);
    writer.setResolution(600);
    writer.setPageLayout(built.report->pageLayout());  // standard mode: origin at the margins
    QPainter painter(&writer);
    built.report->paintPage(0, painter);
  }
  const QImage a = rasterise(full, aux->file(u"a"_s));
  const QImage b = rasterise(margins, aux->file(u"b"_s));
  ASSERT_EQ(a.size(), b.size());
  // Rounding at different resolutions moves an edge by a pixel here and
  // there; a page moved by the margins would differ all over.
  qint64 difference = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) difference += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
  EXPECT_LT(double(difference) / (a.width() * a.height()), 1.0);
}

}  // namespace
}  // namespace tarquelas
