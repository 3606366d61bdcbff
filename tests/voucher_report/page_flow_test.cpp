#include "voucher_report/page_flow.h"

#include <gtest/gtest.h>

namespace tarquelas::report {
namespace {

TEST(PageFlowTest, BandsThatFitShareAPage) {
  PageFlow flow(1000);
  EXPECT_EQ(flow.place(300), (std::vector<BandSlice>{{0, 0, 300, 0}}));
  EXPECT_EQ(flow.place(700), (std::vector<BandSlice>{{0, 0, 700, 300}}));
  EXPECT_EQ(flow.pageCount(), 1);
}

TEST(PageFlowTest, BandThatDoesNotFitStartsANewPage) {
  PageFlow flow(1000);
  (void)flow.place(800);
  EXPECT_EQ(flow.place(300), (std::vector<BandSlice>{{1, 0, 300, 0}}));
  EXPECT_EQ(flow.pageCount(), 2);
}

TEST(PageFlowTest, BandTallerThanAPageContinuesOverPages) {
  PageFlow flow(1000);
  (void)flow.place(100);
  EXPECT_EQ(flow.place(2500),
            (std::vector<BandSlice>{{1, 0, 1000, 0}, {2, 1000, 2000, 0}, {3, 2000, 2500, 0}}));
  EXPECT_EQ(flow.cursor(), 500);
}

TEST(PageFlowTest, ForcedBreakMakesNoEmptyPageWhenNothingFollows) {
  PageFlow flow(1000);
  (void)flow.place(100);
  flow.breakPage();
  EXPECT_TRUE(flow.place(0).empty());
  EXPECT_EQ(flow.pageCount(), 1);
  EXPECT_EQ(flow.place(10), (std::vector<BandSlice>{{1, 0, 10, 0}}));
}

TEST(PageFlowTest, PageHeaderRoomIsKeptOnEveryPage) {
  PageFlow flow(1000, 200);
  EXPECT_EQ(flow.place(800), (std::vector<BandSlice>{{0, 0, 800, 200}}));
  EXPECT_EQ(flow.place(100), (std::vector<BandSlice>{{1, 0, 100, 200}}));
}

// The voucher: heading 2730, concept lines of 300, footer 8415, on an A4
// body of 15238 twips.
struct VoucherCase {
  int concepts;
  int pages;
};

class VoucherPagesTest : public ::testing::TestWithParam<VoucherCase> {};

TEST_P(VoucherPagesTest, FooterMovesToTheNextPageOnlyWhenTheConceptsFillThePage) {
  PageFlow flow(15238);
  (void)flow.place(2730);
  for (int i = 0; i < GetParam().concepts; ++i) (void)flow.place(300);
  (void)flow.place(8415);
  EXPECT_EQ(flow.pageCount(), GetParam().pages);
}

INSTANTIATE_TEST_SUITE_P(Concepts, VoucherPagesTest,
                         ::testing::Values(VoucherCase{1, 1}, VoucherCase{13, 1}, VoucherCase{14, 2},
                                           VoucherCase{41, 2}, VoucherCase{100, 3}));

}  // namespace
}  // namespace tarquelas::report
