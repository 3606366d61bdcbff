// Page breaking: the page flow on numbers, and the engine driving groups,
// bands, hidden controls and cancellation over a toy report.
#include "voucher_report/report_engine.h"

#include <gtest/gtest.h>

#include <utility>

#include "voucher_report/page_flow.h"

using namespace Qt::StringLiterals;

namespace tarquelas::report {
namespace {

constexpr int kBreak = -1;  // a forced page break among band heights

// The voucher on an A4 body of 15238 twips: heading 2730, concepts of 300,
// footer 8415.
std::vector<int> voucherBands(int concepts) {
  std::vector<int> bands{2730};
  bands.insert(bands.end(), concepts, 300);
  bands.push_back(8415);
  return bands;
}

TEST(PageFlowTest, BandsFillPagesAndOverflowOntoTheNext) {
  const struct {
    const char* name;
    int body, headerRoom;
    std::vector<int> bands;
    std::vector<BandSlice> lastSlices;
    int pages;
  } cases[] = {
      {"bands that fit share a page", 1000, 0, {300, 700}, {{0, 0, 700, 300}}, 1},
      {"a band that does not fit starts a page", 1000, 0, {800, 300}, {{1, 0, 300, 0}}, 2},
      {"a band taller than a page continues",
       1000,
       0,
       {100, 2500},
       {{1, 0, 1000, 0}, {2, 1000, 2000, 0}, {3, 2000, 2500, 0}},
       4},
      {"a forced break with nothing after makes no page", 1000, 0, {100, kBreak, 0}, {}, 1},
      {"a forced break starts the next band on a page", 1000, 0, {100, kBreak, 10}, {{1, 0, 10, 0}}, 2},
      {"the page header's room is kept on every page", 1000, 200, {800, 100}, {{1, 0, 100, 200}}, 2},
      {"a voucher of 13 concepts fits a page", 15238, 0, voucherBands(13), {{0, 0, 8415, 6630}}, 1},
      {"the 14th concept moves the footer", 15238, 0, voucherBands(14), {{1, 0, 8415, 0}}, 2},
      {"100 concepts take three pages", 15238, 0, voucherBands(100), {{2, 0, 8415, 2700}}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PageFlow flow(c.body, c.headerRoom);
    std::vector<BandSlice> slices;
    for (int height : c.bands) {
      if (height == kBreak)
        flow.breakPage();
      else
        slices = flow.place(height);
    }
    EXPECT_EQ(slices, c.lastSlices);
    EXPECT_EQ(flow.pageCount(), c.pages);
  }
}

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

TEST(ReportEngineTest, KeyChangesCloseInnerGroupsFirstAndOpenOuterFirst) {
  ToyReport r(u"ax ax ay by"_s);
  ASSERT_TRUE(r.run().isOk());
  EXPECT_EQ(r.log, u"S H0 H1 D D F1 H1 D F1 F0 H0 H1 D F1 F0 "_s);
}

TEST(ReportEngineTest, BandsArePlacedDownThePagesAsTheirHeightsAndBreaksSay) {
  const struct {
    const char* name;
    QString keys;
    int bodyHeight;
    void (*setup)(ToyReport&);
    QString layout;
  } cases[] = {
      {"no data, no page", QString(), 10000, [](ToyReport&) {}, QString()},
      {"bands stack and go on on the next page", u"ax ax ax"_s, 700, [](ToyReport&) {},
       u"H0@0 H1@100 D@200 D@400 | D@0 F1@200 F0@300"_s},
      {"a footer that forces a new page starts each group on its own, no empty page after the last",
       u"ax ay az"_s, 10000,
       [](ToyReport& r) {
         r.design.groupFooters[1].newPageAfter = true;
         r.design.groupFooters[0].height = 0;  // as the vouchers' outer footer
         r.design.groupFooters[0].controls.clear();
       },
       u"H0@0 H1@100 D@200 F1@400 | H1@0 D@100 F1@300 | H1@0 D@100 F1@300"_s},
      {"a band taller than a page starts a page and is cut between its controls", u"ax"_s, 1000,
       [](ToyReport& r) {
         r.design.detail.height = 2500;
         r.design.detail.add(marker(u"D2"_s, 1200));
         r.design.detail.add(marker(u"D3"_s, 2400));
       },
       u"H0@0 H1@100 | D@0 | D2@200 | D3@400 F1@500 F0@600"_s},
      {"hidden controls are not placed and keep their place", u"ax ax"_s, 10000,
       [](ToyReport& r) {
         r.design.detail.add(marker(u"Below"_s, 100));
         r.design.detail.format = [&r] {  // hidden in the first detail only
           Control& d = r.design.detail.control(u"D");
           d.visible = !d.visible;
         };
       },
       u"H0@0 H1@100 Below@300 D@400 Below@500 F1@600 F0@700"_s},
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
  EXPECT_TRUE(cancelled.run().isCancelled());
  EXPECT_TRUE(cancelled.pages.pages.empty());

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

}  // namespace
}  // namespace tarquelas::report
