#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "ClientTestSupport.h"
#include "ca/automation/ListView.h"
#include "ca/automation/ListViewAccess.h"
#include "ca/automation/LvItem.h"
#include "ca/util/Gbk.h"

namespace ca::automation {
namespace {

using testing::Desk;

sim::ClientFixture rows(std::vector<std::vector<std::string>> r) {
    sim::ClientFixture f;
    f.rows = std::move(r);
    return f;
}

TEST(LvItem, LayoutsOfBothBitnesses) {
    EXPECT_EQ(lvItemSize(Bitness::Bits32), 40u);
    EXPECT_EQ(lvItemSize(Bitness::Bits64), 56u);
    for (Bitness b : {Bitness::Bits32, Bitness::Bits64}) {
        const LvItemFields in{3, LvisSelected, LvisSelected, 0x12345678, 256};
        const auto bytes = encodeLvItem(b, in);
        ASSERT_EQ(bytes.size(), lvItemSize(b));
        const std::size_t textAt = b == Bitness::Bits32 ? 20 : 24;
        const std::size_t maxAt = b == Bitness::Bits32 ? 24 : 32;
        std::uint32_t text = 0;
        std::int32_t max = 0;
        std::memcpy(&text, bytes.data() + textAt, 4);
        std::memcpy(&max, bytes.data() + maxAt, 4);
        EXPECT_EQ(text, 0x12345678u);
        EXPECT_EQ(max, 256);
        LvItemFields out;
        ASSERT_TRUE(decodeLvItem(b, bytes.data(), bytes.size(), out));
        EXPECT_EQ(out.subItem, 3);
        EXPECT_EQ(out.state, LvisSelected);
        EXPECT_EQ(out.text, 0x12345678u);
        EXPECT_FALSE(decodeLvItem(b, bytes.data(), bytes.size() - 1, out));
    }
}

TEST(ReadListCell, CellsRowsAndColumns) {
    const std::string longCell(300, 'x');
    // 254 ASCII bytes then a two-byte character: the limit of 255 cuts the character in half.
    const std::string cutCell = std::string(254, 'y') + "海";
    for (Bitness bitness : {Bitness::Bits32, Bitness::Bits64}) {
        Desk desk;
        sim::StandInConfig config;
        config.bitness = bitness;
        auto client = desk.client(config, rows({{"2201", "统一编号一"}, {"", longCell}, {cutCell}}));
        const HWnd list = client->queryList();
        struct Case {
            int row, column;
            LResult answer;
            std::string text;
        };
        const Case cases[] = {
            {0, 0, 4, "2201"},
            {0, 1, 10, "统一编号一"},
            {0, 12, 0, ""},  // column without text
            {0, 40, 0, ""},  // column that does not exist
            {1, 0, 0, ""},   // empty cell
            {1, 1, 255, std::string(255, 'x')},
            {2, 0, 255, std::string(254, 'y')},
            {3, 0, 0, ""},  // row beyond the last
            {-5, 0, 0, ""},
        };
        for (const Case& c : cases) {
            const ListAnswer a = ReadListCell(desk.desktop, list, c.row, c.column);
            EXPECT_EQ(a.answer, c.answer) << c.row << "," << c.column;
            EXPECT_EQ(a.text, c.text) << c.row << "," << c.column;
        }
        EXPECT_EQ(desk.desktop.liveBlocks(client->pid()), 0u);
    }
}

TEST(SelectListRow, FocusMovesAndEarlierSelectionsStay) {
    Desk desk;
    auto client = desk.client({}, rows({{"a"}, {"b"}, {"c"}, {"d"}, {"e"}}));
    const HWnd list = client->queryList();
    EXPECT_EQ(SelectListRow(desk.desktop, list, 1, 0).text, "b");
    const ListAnswer a = SelectListRow(desk.desktop, list, 3, 0);
    EXPECT_NE(a.answer, 0);
    EXPECT_EQ(a.text, "d");
    EXPECT_EQ(client->selectedQueryRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(client->focusedQueryRow(), 3);

    const ListAnswer beyond = SelectListRow(desk.desktop, list, 9, 0);
    EXPECT_EQ(beyond.answer, 0);
    EXPECT_EQ(beyond.text, "");
    EXPECT_EQ(client->focusedQueryRow(), 3);
}

// Records what the list-view operations ask of the platform: the access they open the process
// with, the blocks they make and free, and the item record each list-view request points at.
class RequestRecorder : public sim::SimDesktop {
public:
    using SimDesktop::SimDesktop;
    struct Request {
        Message msg;
        WParam row;
        std::int32_t subItem;
        std::uint32_t state, stateMask;
        std::int64_t textOffset;  // of the text buffer from the block's start
        std::int32_t textMax;
        bool operator==(const Request&) const = default;
    };
    std::vector<std::uint32_t> access;
    std::vector<std::size_t> allocated, decommitted;
    std::vector<Request> requests;

    ProcessHandle openProcess(Pid pid, std::uint32_t mask) override {
        access.push_back(mask);
        return process_ = SimDesktop::openProcess(pid, mask);
    }
    RemoteAddress allocateRemote(ProcessHandle h, std::size_t size) override {
        allocated.push_back(size);
        return SimDesktop::allocateRemote(h, size);
    }
    bool decommitRemote(ProcessHandle h, RemoteAddress at, std::size_t size) override {
        decommitted.push_back(size);
        return SimDesktop::decommitRemote(h, at, size);
    }
    LResult sendMessage(HWnd w, Message msg, WParam wParam, LParam lParam) override {
        if (msg == LvmGetItemTextA || msg == LvmSetItemState) {
            unsigned char bytes[40] = {};
            LvItemFields f;
            const auto at = static_cast<RemoteAddress>(lParam);
            if (readRemote(process_, at, bytes, sizeof bytes))
                decodeLvItem(Bitness::Bits32, bytes, sizeof bytes, f);
            requests.push_back({msg, wParam, f.subItem, f.state, f.stateMask,
                                static_cast<std::int64_t>(f.text) - static_cast<std::int64_t>(at),
                                f.textMax});
        }
        return SimDesktop::sendMessage(w, msg, wParam, lParam);
    }

private:
    ProcessHandle process_ = 0;
};

TEST(ListView, RequestsTheirAccessBlockAndRecordSequence) {
    using R = RequestRecorder::Request;
    struct Case {
        const char* what;
        std::function<ListAnswer(Desktop&, HWnd)> run;
        std::vector<R> expected;
    };
    const Case cases[] = {
        {"read row 1, column 2",
         [](Desktop& d, HWnd list) { return ReadListCell(d, list, 1, 2); },
         {{LvmGetItemTextA, 1, 2, 0, 0, 40, 256}}},
        {"select row 1 by column 0",
         [](Desktop& d, HWnd list) { return SelectListRow(d, list, 1, 0); },
         {{LvmGetItemTextA, 1, 0, LvisFocused, LvisFocused, 40, 256},
          {LvmSetItemState, 1, 0, LvisFocused, LvisFocused, 40, 256},
          {LvmSetItemState, 1, 0, LvisSelected, LvisSelected, 40, 256}}},
    };
    for (const Case& c : cases) {
        VirtualClock clock;
        RequestRecorder desktop(clock);
        sim::StandInClient client(desktop, {}, rows({{"a", "b", "c"}, {"d", "e", "f"}}));
        c.run(desktop, client.queryList());
        EXPECT_EQ(desktop.access, std::vector<std::uint32_t>{56}) << c.what;
        EXPECT_EQ(desktop.allocated, std::vector<std::size_t>{296}) << c.what;
        EXPECT_EQ(desktop.decommitted, std::vector<std::size_t>{296}) << c.what;
        EXPECT_EQ(desktop.requests, c.expected) << c.what;
    }
}

TEST(ListView, NoBlockMeansNoRequest) {
    struct Case {
        const char* what;
        std::function<void(sim::SimDesktop&, Pid)> arrange;
    };
    const Case cases[] = {
        {"process cannot be opened", [](sim::SimDesktop& d, Pid p) { d.setOpenProcessFails(p, true); }},
        {"block cannot be made", [](sim::SimDesktop& d, Pid p) { d.setAllocateFails(p, true); }},
    };
    for (const Case& c : cases) {
        Desk desk;
        auto client = desk.client({}, rows({{"a"}}));
        c.arrange(desk.desktop, client->pid());
        const auto sent = desk.desktop.sentCount();
        EXPECT_EQ(ReadListCell(desk.desktop, client->queryList(), 0, 0).text, "") << c.what;
        const ListAnswer s = SelectListRow(desk.desktop, client->queryList(), 0, 0);
        EXPECT_EQ(s.answer, 0) << c.what;
        EXPECT_EQ(desk.desktop.sentCount(), sent) << c.what;
        EXPECT_TRUE(client->selectedQueryRows().empty()) << c.what;
    }
}

// A procedure's list access: the client's process is opened once and one block serves every request,
// and each request still reads what a fresh block would (a row the list does not answer reads empty
// even after a row that filled the text).
TEST(ListViewAccess, OneProcessAndOneBlockServeManyRequestsWithFreshAnswers) {
    VirtualClock clock;
    RequestRecorder desktop(clock);
    sim::StandInClient client(desktop, {}, rows({{"a", "b", "c"}, {"d", "e", "f"}}));
    const HWnd list = client.queryList();
    {
        ListViewAccess access(desktop);
        EXPECT_EQ(access.read(list, 1, 2).text, "f");
        EXPECT_EQ(access.read(list, 5, 2).text, "");  // beyond the last row: the old text is gone
        const ListAnswer selected = access.select(list, 1, 1);
        EXPECT_NE(selected.answer, 0);
        EXPECT_EQ(selected.text, "e");
        EXPECT_EQ(client.selectedQueryRows(), std::vector<int>{1});
        std::vector<std::string> texts;
        for (const ListAnswer& a : access.readRow(list, 0, {2, 0, 7, 1}))
            texts.push_back(a.text);
        EXPECT_EQ(texts, (std::vector<std::string>{"c", "a", "", "b"}));
        EXPECT_EQ(access.read(list, 1, 0).text, "d");
        EXPECT_EQ(desktop.access, std::vector<std::uint32_t>{56});
        // One block of one request, then one of four for the row.
        EXPECT_EQ(desktop.allocated, (std::vector<std::size_t>{296, 4 * 296}));
        EXPECT_EQ(desktop.decommitted, std::vector<std::size_t>{296});
    }
    EXPECT_EQ(desktop.decommitted, (std::vector<std::size_t>{296, 4 * 296}));
    EXPECT_EQ(desktop.liveBlocks(client.pid()), 0u);
}

TEST(ListViewAccess, AClientThatEndedIsSentNothingAndANewOneIsOpenedAfresh) {
    Desk desk;
    auto first = desk.client({}, rows({{"a"}}));
    ListViewAccess access(desk.desktop);
    EXPECT_EQ(access.read(first->queryList(), 0, 0).text, "a");
    desk.desktop.exitProcess(first->pid());
    const auto sent = desk.desktop.sentCount();
    EXPECT_EQ(access.select(first->queryList(), 0, 0).text, "");
    EXPECT_EQ(access.read(first->queryList(), 0, 0).text, "");
    EXPECT_EQ(desk.desktop.sentCount(), sent);

    sim::StandInConfig config;
    config.bitness = Bitness::Bits64;  // the new client's layout is asked again
    auto second = desk.client(config, rows({{"x", "y"}}));
    EXPECT_EQ(access.read(second->queryList(), 0, 1).text, "y");
    EXPECT_EQ(access.select(second->queryList(), 0, 0).text, "x");
    EXPECT_EQ(second->selectedQueryRows(), std::vector<int>{0});
}

TEST(ListView, RecordInTheWrongLayoutReadsNothing) {
    // A 64-bit client reading a 32-bit record finds its text pointer cut: nothing is written.
    Desk desk;
    sim::StandInConfig config;
    config.bitness = Bitness::Bits64;
    auto client = desk.client(config, rows({{"a"}}));
    const ProcessHandle h = desk.desktop.openProcess(client->pid(), ListViewProcessAccess);
    const RemoteAddress block = desk.desktop.allocateRemote(h, 40 + 256);
    const auto record = encodeLvItem(Bitness::Bits32, {0, 0, 0, block + 40, 256});
    ASSERT_TRUE(desk.desktop.writeRemote(h, block, record.data(), record.size()));
    EXPECT_EQ(desk.desktop.sendMessage(client->queryList(), LvmGetItemTextA, 0, static_cast<LParam>(block)),
              0);
    // And an address that is no block at all.
    EXPECT_EQ(desk.desktop.sendMessage(client->queryList(), LvmGetItemTextA, 0, 0x1234), 0);
    desk.desktop.closeProcess(h);
}

}  // namespace
}  // namespace ca::automation
