#include "voucher_report/report_engine.h"

#include <gtest/gtest.h>

#include <utility>

using namespace Qt::StringLiterals;

namespace tarquelas::report {
namespace {

Control marker(const QString& name, int top) {
  Control c;
  c.name = name;
  c.rect = QRect(0, top, 100, 50);
  return c;
}

// A toy report over a list of (outer, inner) keys that logs the handlers
// in the order the engine calls them.
class ToyReport {
 public:
  explicit ToyReport(std::vector<std::pair<QString, QString>> keys, int bodyHeight = 10000)
      : keys_(std::move(keys)) {
    design.page.paperHeight = bodyHeight;
    design.page.top = design.page.bottom = 0;
    design.page.left = 0;
    const QString names[] = {u"H0"_s, u"H1"_s, u"F0"_s, u"F1"_s};
    Section* sections[] = {&design.groupHeaders[0], &design.groupHeaders[1], &design.groupFooters[0],
                           &design.groupFooters[1]};
    for (int i = 0; i < 4; ++i) {
      sections[i]->height = 100;
      sections[i]->add(marker(names[i], 0));
      sections[i]->format = [this, name = names[i]] { log += name + u' '; };
    }
    design.detail.height = 200;
    design.detail.add(marker(u"D"_s, 0));
    design.detail.format = [this] { log += u"D "_s; };
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

  ReportDesign design;
  ReportEvents events;
  PageCollector pages;
  QString log;

 private:
  void setKeys() {
    if (index_ >= keys_.size()) return;
    design.groupHeaders[0].groupKey = keys_[index_].first;
    design.groupHeaders[1].groupKey = keys_[index_].second;
  }
  std::vector<std::pair<QString, QString>> keys_;
  std::size_t index_ = 0;
};

TEST(ReportEngineTest, KeyChangesCloseInnerGroupsFirstAndOpenOuterFirst) {
  ToyReport r({{u"a"_s, u"x"_s}, {u"a"_s, u"x"_s}, {u"a"_s, u"y"_s}, {u"b"_s, u"y"_s}});
  ASSERT_TRUE(r.run().isOk());
  EXPECT_EQ(r.log, u"S H0 H1 D D F1 H1 D F1 F0 H0 H1 D F1 F0 "_s);
}

TEST(ReportEngineTest, NoDataMeansNoBandAndNoPage) {
  ToyReport r({});
  ASSERT_TRUE(r.run().isOk());
  EXPECT_EQ(r.log, u"S "_s);
  EXPECT_TRUE(r.pages.pages.empty());
}

TEST(ReportEngineTest, FooterThatForcesANewPageStartsEachGroupOnItsOwnPage) {
  ToyReport r({{u"a"_s, u"x"_s}, {u"a"_s, u"y"_s}, {u"a"_s, u"z"_s}});
  r.design.groupFooters[1].newPageAfter = true;
  r.design.groupFooters[0].height = 0;  // as the vouchers' outer footer
  r.design.groupFooters[0].controls.clear();
  ASSERT_TRUE(r.run().isOk());
  ASSERT_EQ(r.pages.pages.size(), 3u);  // and no empty page after the last
  const auto headingTop = [&](std::size_t page) {
    for (const PlacedItem& item : r.pages.pages[page].items)
      if (item.control->name == u"H1") return item.origin.y();
    return -1;
  };
  EXPECT_EQ(headingTop(0), 100);  // below the outer header
  EXPECT_EQ(headingTop(1), 0);
  EXPECT_EQ(headingTop(2), 0);
}

TEST(ReportEngineTest, BandsStackDownThePageAndContinueOnTheNext) {
  ToyReport r({{u"a"_s, u"x"_s}, {u"a"_s, u"x"_s}, {u"a"_s, u"x"_s}}, 700);
  ASSERT_TRUE(r.run().isOk());
  // H0 0-100, H1 100-200, D 200-400, D 400-600 | D 0-200, F1 200-300, F0 300-400
  ASSERT_EQ(r.pages.pages.size(), 2u);
  std::vector<int> tops;
  for (const PlacedItem& item : r.pages.pages[1].items) tops.push_back(item.origin.y());
  EXPECT_EQ(tops, (std::vector<int>{0, 200, 300}));
}

TEST(ReportEngineTest, BandTallerThanAPageIsCutBetweenItsControls) {
  ToyReport r({{u"a"_s, u"x"_s}}, 1000);
  r.design.detail.height = 2500;
  r.design.detail.add(marker(u"D2"_s, 1200));
  r.design.detail.add(marker(u"D3"_s, 2400));
  ASSERT_TRUE(r.run().isOk());
  ASSERT_EQ(r.pages.pages.size(), 4u);
  // The band starts on a fresh page (page 1 keeps only H0 and H1), then
  // runs on over pages 2 and 3.
  const auto findOn = [&](QStringView name) -> std::pair<int, int> {
    for (std::size_t p = 0; p < r.pages.pages.size(); ++p)
      for (const PlacedItem& item : r.pages.pages[p].items)
        if (item.control->name == name) return {int(p), item.rectOnPage().top()};
    return {-1, -1};
  };
  EXPECT_EQ(findOn(u"H1"), std::make_pair(0, 100));
  EXPECT_EQ(findOn(u"D"), std::make_pair(1, 0));
  EXPECT_EQ(findOn(u"D2"), std::make_pair(2, 200));
  EXPECT_EQ(findOn(u"D3"), std::make_pair(3, 400));
  EXPECT_EQ(findOn(u"F1"), std::make_pair(3, 500));
}

TEST(ReportEngineTest, HiddenControlsAreNotPlacedAndKeepTheirPlace) {
  ToyReport r({{u"a"_s, u"x"_s}, {u"a"_s, u"x"_s}});
  r.design.detail.add(marker(u"Below"_s, 100));
  bool hide = true;
  r.design.detail.format = [&] {
    r.design.detail.control(u"D").visible = !hide;
    hide = false;
  };
  ASSERT_TRUE(r.run().isOk());
  std::vector<std::pair<QString, int>> placed;
  for (const PlacedItem& item : r.pages.pages[0].items)
    if (item.control->name != u"H0" && item.control->name != u"H1")
      placed.push_back({item.control->name, item.rectOnPage().top()});
  const std::vector<std::pair<QString, int>> expected{
      {u"Below"_s, 300}, {u"D"_s, 400}, {u"Below"_s, 500}, {u"F1"_s, 600}, {u"F0"_s, 700}};
  EXPECT_EQ(placed, expected);
}

TEST(ReportEngineTest, CancelStopsTheRunAndSaysSo) {
  ToyReport r({{u"a"_s, u"x"_s}, {u"a"_s, u"y"_s}});
  r.events.keepGoing = [] { return false; };
  EXPECT_TRUE(r.run().isCancelled());
  EXPECT_TRUE(r.pages.pages.empty());
}

TEST(ReportEngineTest, SinkThatRefusesAPageStopsTheRun) {
  struct Refuse final : PageSink {
    bool takePage(Page&&) override { return false; }
  } refuse;
  ToyReport r({{u"a"_s, u"x"_s}, {u"a"_s, u"y"_s}});
  r.design.groupFooters[1].newPageAfter = true;
  EXPECT_TRUE(runReport(r.design, r.events, refuse).isCancelled());
  // The first page is handed over when the second voucher's heading needs
  // a page: the run stops there, before the second voucher's detail.
  EXPECT_EQ(r.log, u"S H0 H1 D F1 H1 "_s);
}

}  // namespace
}  // namespace tarquelas::report
