// The report engine over a toy report: groups opened and closed as keys
// change, bands placed down the pages and cut, cancel and a refused page;
// the texts shown, and the bars drawn for a bar code.
#include "report_engine/report_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "pdf/pdf_metadata.h"
#include "report_engine/bar_code.h"
#include "report_engine/text_fit.h"

using namespace Qt::StringLiterals;

namespace tarquelas::report {
namespace {

Control marker(const QString& name, int top) {
  Control c;
  c.name = name;
  c.rect = QRect(0, top, 100, 50);
  return c;
}

// A toy report over keys such as "ax ay" (outer a, inner x then y) with
// headers and footers of 100 and a detail of 200, logging the handlers as
// the engine calls them.
class ToyReport {
 public:
  explicit ToyReport(const QString& keys, int bodyHeight = 10000)
      : keys_(keys.split(u' ', Qt::SkipEmptyParts)) {
    design.page.paperHeight = bodyHeight;
    design.page.top = design.page.bottom = design.page.left = 0;
    const QString names[] = {u"H0"_s, u"H1"_s, u"F0"_s, u"F1"_s, u"D"_s};
    Section* sections[] = {&design.groupHeaders[0], &design.groupHeaders[1], &design.groupFooters[0],
                           &design.groupFooters[1], &design.detail};
    for (int i = 0; i < 5; ++i) {
      sections[i]->height = i == 4 ? 200 : 100;
      sections[i]->add(marker(names[i], 0));
      sections[i]->format = [this, name = names[i]] { log += name + u' '; };
    }
    design.detail.afterPrint = [this] {
      ++index_;
      setKeys();
    };
    events.reportStart = [this] {
      log += u"S "_s;
      setKeys();
    };
    events.hasData = [this] { return index_ < keys_.size(); };
  }

  Status run() { return runReport(design, events, pages); }
  // Every placement as name@top, pages parted by " | ".
  QString layout() const {
    QStringList texts;
    for (const Page& page : pages.pages) {
      QStringList items;
      for (const PlacedItem& item : page.items)
        items << item.control->name + u'@' + QString::number(item.rectOnPage().top());
      texts << items.join(u' ');
    }
    return texts.join(u" | ");
  }

  ReportDesign design;
  ReportEvents events;
  PageCollector pages;
  QString log;

 private:
  void setKeys() {
    if (index_ >= keys_.size()) return;
    design.groupHeaders[0].groupKey = keys_[index_].left(1);
    design.groupHeaders[1].groupKey = keys_[index_].mid(1);
  }
  QStringList keys_;
  qsizetype index_ = 0;
};

TEST(ReportEngineTest, BandsArePlacedDownThePagesAsTheirHeightsAndBreaksSay) {
  const struct {
    const char* name;
    QString keys;
    int bodyHeight;
    void (*setup)(ToyReport&);
    QString layout;
  } cases[] = {
      {"a key change closes inner groups first and opens outer ones first", u"ax ax ay by"_s, 10000,
       [](ToyReport&) {},
       u"H0@0 H1@100 D@200 D@400 F1@600 H1@700 D@800 F1@1000 F0@1100 H0@1200 H1@1300 D@1400 F1@1600 F0@1700"_s},
      {"bands stack, one filling a page exactly, and go on on the next page", u"ax ax ax"_s, 600,
       [](ToyReport&) {}, u"H0@0 H1@100 D@200 D@400 | D@0 F1@200 F0@300"_s},
      {"a band taller than a page starts a page and is cut between its controls, one at a cut going on",
       u"ax"_s, 1000,
       [](ToyReport& r) {
         r.design.detail.height = 2500;
         r.design.detail.add(marker(u"D2"_s, 1000));
         r.design.detail.add(marker(u"D3"_s, 2400));
       },
       u"H0@0 H1@100 | D@0 | D2@0 | D3@400 F1@500 F0@600"_s},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ToyReport r(c.keys, c.bodyHeight);
    c.setup(r);
    ASSERT_TRUE(r.run().isOk());
    EXPECT_EQ(r.layout(), c.layout);
  }
}

TEST(ReportEngineTest, CancelOrARefusedPageStopsTheRunAndSaysSo) {
  ToyReport cancelled(u"ax ay"_s);
  cancelled.events.keepGoing = [] { return false; };
  EXPECT_TRUE(cancelled.run().isCancelled() && cancelled.pages.pages.empty());

  struct Refuse final : PageSink {
    bool takePage(Page&&) override { return false; }
  } refuse;
  ToyReport r(u"ax ay"_s);
  r.design.groupFooters[1].newPageAfter = true;
  EXPECT_TRUE(runReport(r.design, r.events, refuse).isCancelled());
  // The first page goes when the second heading needs a page: the run stops
  // there, before the second voucher's detail.
  EXPECT_EQ(r.log, u"S H0 H1 D F1 H1 "_s);
}

// Blanks at a line's end neither show nor take room; a lone CR breaks a line.
TEST(TextFitTest, DisplayTextDropsBlanksAtLineEndsAndBreaksAtEveryLineEnd) {
  for (const auto& [text, shown] :
       {std::pair{u"a \r\nb  "_s, u"a\nb"_s}, {u"a\r \r"_s, u"a\n\n"_s}, {u"a b"_s, u"a b"_s}})
    EXPECT_EQ(displayText(text), shown);
}

// 59 digits in Bar1's box (7229 x 851 twips) painted at 1200 dpi: Code 128
// with a start, 29 digit pairs in set C, a change of set and the last digit,
// the check character (33 symbols of 11 modules) and a stop of 13; modules
// whole device pixels, as wide as the quiet zones allow; bars only, full
// height, no text.
TEST(BarCodeTest, DigitsMakeCentredCode128BarsAndOtherValuesNone) {
  const QRectF box(2409, 6803, 7229, 851);
  const double pixel = kTwipsPerInch / 1200.0;
  const BarCodeBars code = barCodeBars(Symbology::Code128, QString(59, u'7'), box, pixel);
  EXPECT_EQ(code.modules, 33 * 11 + 13);
  EXPECT_NEAR((code.bars.back().right() - code.bars.front().left()) / code.moduleWidth, code.modules, 0.01);
  EXPECT_NEAR(std::fmod(code.moduleWidth / pixel + 0.5, 1.0), 0.5, 1e-6);
  EXPECT_GT((code.modules + 2 * kQuietModules) * (code.moduleWidth + pixel), box.width());
  const double leftGap = code.bars.front().left() - box.left(),
               rightGap = box.right() - code.bars.back().right();
  EXPECT_NEAR(leftGap, rightGap, pixel);
  EXPECT_GE(std::min(leftGap, rightGap), kQuietModules * code.moduleWidth);
  for (const QRectF& bar : code.bars) EXPECT_TRUE(bar.top() == box.top() && bar.bottom() == box.bottom());
  for (const QString& refused : {QString(), u"tab\there"_s, u"\u00f1"_s})
    EXPECT_TRUE(barCodeBars(Symbology::Code128, refused, box).bars.empty()) << refused.toStdString();
}

// Interleaved 2 of 5 pads 59 digits to 60 pairs of digits (start, 30 pairs
// of 18 modules, stop) and refuses anything but digits.
TEST(BarCodeTest, Interleaved2of5PadsAnOddCountAndTakesOnlyDigits) {
  const QRectF box(2409, 6803, 7229, 851);
  EXPECT_EQ(barCodeBars(Symbology::Interleaved2of5, QString(59, u'7'), box).modules, 4 + 30 * 18 + 5);
  EXPECT_EQ(barCodeBars(Symbology::Interleaved2of5, QString(60, u'7'), box).modules, 4 + 30 * 18 + 5);
  for (const QString& refused : {QString(), u"12A4"_s, u"12 4"_s})
    EXPECT_TRUE(barCodeBars(Symbology::Interleaved2of5, refused, box).bars.empty()) << refused.toStdString();
}

// Text strings: ASCII as it stands, anything else as UTF-16 with its byte
// order mark; the bytes a reader would take for syntax escaped.
TEST(PdfMetadataTest, TextStringsEscapeTheirSyntaxAndGoToUtf16ForAnythingButAscii) {
  EXPECT_EQ(pdfTextString(u"a(b)\\c"_s), QByteArray("(a\\(b\\)\\\\c)"));
  EXPECT_EQ(pdfTextString(u"\u00f1("_s), QByteArray("(\xfe\xff\0\xf1\0\\()", 9));
  EXPECT_EQ(pdfTextString(u"\u010d"_s), QByteArray("(\xfe\xff\x01\\r)", 7));
}

}  // namespace
}  // namespace tarquelas::report
