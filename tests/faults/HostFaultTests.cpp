// A hasty user and a careless host: searches superseded faster than a server
// answers, Enter pressed again and again against a dead server, the window closed
// under a failure box (the window closed during a bind is with the hung servers).
// Nothing may stack, stay behind or crash.
#include "FaultSession.h"
#include "ProcessCounts.h"

#include <algorithm>
#include <atomic>

using namespace faults;
using host::kServer;

using HostFaultTest = FaultTest;

static size_t OpenBoxes() {
    const std::vector<HWND> windows = kit::TopLevelWindows();
    return std::count_if(windows.begin(), windows.end(), kit::IsMessageBox);
}

TEST_F(HostFaultTest, AHundredSearchesSupersededAtOnceShowOnlyTheLast) {
    AddAccount(kServer, DirectoryPort(), L"", L"", 200, 3);
    ASSERT_NE(Open(), nullptr);
    kit::MessageBoxWatcher boxes(IDOK);
    ASSERT_TRUE(Search(L"Ann"));
    const ProcessCounts before = Counts();
    for (int i = 0; i < 100; ++i) {
        kit::SetEditText(SearchEdit(), i % 2 ? L"Smith" : L"Lee");
        kit::PressKey(SearchEdit(), VK_RETURN);
        kit::PumpUntilInputDone();
    }
    kit::SetEditText(SearchEdit(), L"");
    ASSERT_TRUE(Search(L"John Smith"));
    EXPECT_EQ(kit::ListRowCount(List()), 1);
    kit::PumpPending();
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(SearchFailures().empty());
    ExpectSettledBackTo(before, 8 * 1024 * 1024); // no thread or socket per search
}

TEST_F(HostFaultTest, EnterAgainAndAgainAgainstADeadServerShowsOneBoxAtATime) {
    AddServer(L"dead port", FaultPort(L"dead"));
    ASSERT_NE(Open(), nullptr);
    std::atomic<size_t> mostOpen{0};
    kit::MessageBoxWatcher boxes([&](const kit::MessageBoxInfo&) {
        // While the first box is up, Enter is pressed nineteen times more; a second
        // box would appear within half a second.
        if (mostOpen == 0) {
            for (int i = 0; i < 19; ++i)
                kit::PressKey(SearchEdit(), VK_RETURN);
            for (int wait = 0; wait < 50 && (OpenBoxes() < 2 || !kit::InputDone()); ++wait)
                ::Sleep(10);
        }
        mostOpen = std::max<size_t>(mostOpen, OpenBoxes());
        return IDOK;
    });
    TypeSearch(L"Person");
    ASSERT_TRUE(boxes.WaitForCount(1, 10000));
    kit::PumpUntil([&] { return OpenBoxes() == 0 && kit::InputDone(); });
    kit::PumpPending();
    EXPECT_EQ(mostOpen, 1u);
    EXPECT_EQ(boxes.Count(), 1u);
    EXPECT_EQ(SearchFailures(), std::vector<std::wstring>{L"Error binding"});
}

TEST_F(HostFaultTest, TheHostClosingTheWindowUnderAFailureBoxIsSafe) {
    AddServer(L"dead port", FaultPort(L"dead"));
    ASSERT_NE(Open(), nullptr);
    const HWND hWnd = m_hWnd;
    kit::MessageBoxWatcher boxes([&](const kit::MessageBoxInfo&) {
        ::PostMessageW(hWnd, WM_CLOSE, 0, 0);
        return 0; // the box goes with its window
    });
    TypeSearch(L"Person");
    const auto destroyed = std::make_pair(HostMessage::kWindowDestroyed, LPARAM{7});
    auto& messages = m_host.m_messages;
    EXPECT_TRUE(kit::PumpUntil([&] { return !messages.empty() && messages.back() == destroyed; }));
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_TRUE(kit::PumpUntil([&] { return OpenBoxes() == 0; }));
    EXPECT_EQ(SearchFailures(), std::vector<std::wstring>{L"Error binding"});
    ASSERT_NE(Open(), nullptr); // and the host can open it again
}
