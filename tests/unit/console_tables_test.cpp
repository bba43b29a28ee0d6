// The terminal tables rebuilt from the list.
#include "gateway_fixture.h"

namespace plx::console_test {
namespace {

class ConsoleTables : public testing_support::GatewayTest {
  protected:
    void SetUp() override { gateway.start(); }
    int rowOf(int number) { return state().TAB_ROW_OF_NO[number]; }
    int unusedNumbers() {
        int count = 0;
        for (const auto row : state().TAB_ROW_OF_NO) count += row == kNoRow;
        return count;
    }
};

TEST_F(ConsoleTables, EmptyListLeavesEveryNumberUnusedAndEveryRowEmpty) {
    state().TAB_IP[0] = "stale";
    setTerminalList({});
    EXPECT_TRUE(main().SYNC_TABLES());
    EXPECT_EQ(unusedNumbers(), kTerminalNumbers);
    EXPECT_EQ(state().TAB_IP[0], "");
}

TEST_F(ConsoleTables, IndexesEveryRowByItsNumber) {
    state().TAB_AFF_VALUE[1] = "1234  0";
    state().TAB_COLOR_PATERN[65] = "6611";
    setTerminalList({"0001,,127.0.10.1,Dock", "0002,T,127.0.10.2", " 0012 ,,127.0.10.3,",
                     "0007,,127.0.10.4,Gate 7", "0002,,127.0.10.5,Later"});
    EXPECT_TRUE(main().SYNC_TABLES());
    EXPECT_EQ(rowOf(7), 3);
    EXPECT_EQ(list().itemData(3), 7);
    EXPECT_EQ(rowOf(12), 2);
    EXPECT_EQ(rowOf(2), 4);  // the later row wins
    EXPECT_EQ(unusedNumbers(), kTerminalNumbers - 4);
    EXPECT_EQ(state().TAB_TYPE[1], "T");
    EXPECT_EQ(state().TAB_DESCRIPTION[1], "");  // missing field
    EXPECT_EQ(state().TAB_TYPE[0], "");         // two adjacent commas
    EXPECT_EQ(state().TAB_IP[3], "127.0.10.4");
    EXPECT_EQ(state().TAB_DESCRIPTION[3], "Gate 7");
    // The display value memory and the colours are not the rebuild's.
    EXPECT_EQ(state().TAB_AFF_VALUE[1], "1234  0");
    EXPECT_EQ(state().TAB_COLOR_PATERN[65], "6611");
}

TEST_F(ConsoleTables, StopsAtARowThatCannotBeIndexed) {
    for (const std::string bad :
         {"x,,127.0.10.2,", ",,127.0.10.2,", "10000,,127.0.10.2,", "-1,,127.0.10.2,"}) {
        setTerminalList({"0001,,127.0.10.1,A", bad, "0003,,127.0.10.3,C"});
        EXPECT_FALSE(main().SYNC_TABLES()) << bad;
        EXPECT_EQ(rowOf(1), 0);
        EXPECT_EQ(rowOf(3), kNoRow) << bad;
        EXPECT_EQ(state().TAB_IP[0], "127.0.10.1");
        EXPECT_EQ(state().TAB_IP[1], "");
        EXPECT_EQ(state().TAB_IP[2], "");
        EXPECT_EQ(list().count(), 3);  // nothing leaves the list
    }
}

TEST_F(ConsoleTables, RowAboveTheTablesHasItsNumberEnteredThenStops) {
    std::vector<std::string> entries;
    for (int n = 1; n <= kMaxRows + 1; ++n) entries.push_back(std::to_string(n) + ",,,");
    setTerminalList(entries);
    EXPECT_FALSE(main().SYNC_TABLES());
    EXPECT_EQ(rowOf(1001), 1000);
    EXPECT_EQ(rowOf(1002), 1001);  // entered before the row was found beyond the tables
    EXPECT_EQ(rowOf(1003), kNoRow);
}

}  // namespace
}  // namespace plx::console_test
