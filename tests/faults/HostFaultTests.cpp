// A hasty user and a careless host: searches superseded faster than a server
// answers, the window closed while a bind is pending, Enter pressed again and again
// against a dead server, the window closed under a failure box. Nothing may stack,
// stay behind or crash.
#include "FaultSession.h"
#include "ProcessCounts.h"
#include "RegistrySandbox.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

using namespace faults;
using host::kServer;

namespace {

size_t OpenBoxes() {
    const std::vector<HWND> windows = kit::TopLevelWindows();
    return std::count_if(windows.begin(), windows.end(), kit::IsMessageBox);
}

int WindowsDestroyed(const host::ControlWindow& host) {
    return static_cast<int>(std::count_if(host.m_messages.begin(), host.m_messages.end(),
                                          [](const auto& m) { return m.first == HostMessage::kWindowDestroyed; }));
}

using HostFaultTest = FaultTest;

} // namespace

TEST_F(HostFaultTest, AHundredSearchesSupersededAtOnceShowOnlyTheLast) {
    AddAccount(kServer, DirectoryPort(), L"", L"", 200, 3);
    ASSERT_NE(Open(), nullptr);
    ASSERT_TRUE(Search(L"Smith")); // what is made once exists before counting
    kit::MessageBoxWatcher boxes(IDOK);
    const ProcessCounts before = Counts();
    for (int i = 0; i < 100; ++i) {
        kit::SetEditText(SearchEdit(), i % 2 ? L"Smith" : L"Lee");
        kit::PressKey(SearchEdit(), VK_RETURN);
        kit::PumpUntilInputDone();
    }
    kit::SetEditText(SearchEdit(), L"John Smith");
    kit::PressKey(SearchEdit(), VK_RETURN);
    ASSERT_TRUE(WaitForCaption(std::wstring(kServer) + L" - John Smith"));
    EXPECT_EQ(kit::ListRowCount(List()), 1);
    kit::PumpUntil([&] { return Counts().threads <= before.threads; });
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(SearchFailures().empty());
    EXPECT_LE(Counts().threads, before.threads);
}

TEST_F(HostFaultTest, ClosingTheWindowDuringABindFiftyTimesLeavesNothingBehind) {
    AddServer(L"hang", FaultPort(L"hang"));
    ASSERT_NE(Open(), nullptr);
    m_pSearch->CloseDialogs();
    kit::MessageBoxWatcher boxes(IDOK);
    const ProcessCounts before = Counts();
    const RawTree stored = ReadRawTree(Root());
    for (int i = 0; i < 50; ++i) {
        ASSERT_NE(Open(), nullptr);
        TypeSearch(L"Person");
        m_pSearch->CloseDialogs();
    }
    EXPECT_EQ(WindowsDestroyed(m_host), 51);
    // Every bind that was left pending ends at its deadline, with its thread and socket.
    kit::PumpUntil([&] { return Counts().threads <= before.threads; }, 10000);
    const ProcessCounts after = Counts();
    EXPECT_LE(after.threads, before.threads) << before << " / " << after;
    EXPECT_LE(after.descriptors, before.descriptors) << before << " / " << after;
    EXPECT_EQ(after.windows, before.windows) << before << " / " << after;
    EXPECT_LE(after.workingSet, before.workingSet + 8 * 1024 * 1024) << before << " / " << after;
    EXPECT_EQ(boxes.Count(), 0u);
    EXPECT_TRUE(SearchFailures().empty());
    EXPECT_EQ(ReadRawTree(Root()), stored);
}

TEST_F(HostFaultTest, EnterAgainAndAgainAgainstADeadServerShowsOneBoxAtATime) {
    AddServer(L"dead port", FaultPort(L"dead"));
    ASSERT_NE(Open(), nullptr);
    std::atomic<size_t> mostOpen{0};
    kit::MessageBoxWatcher boxes([&](const kit::MessageBoxInfo&) {
        // While the first box is up, Enter is pressed nineteen times more; a second
        // box would appear within a second.
        if (mostOpen == 0) {
            for (int i = 0; i < 19; ++i)
                kit::PressKey(SearchEdit(), VK_RETURN);
            for (int wait = 0; wait < 100 && (OpenBoxes() < 2 || !kit::InputDone()); ++wait)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
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
    EXPECT_TRUE(kit::PumpUntil([&] { return WindowsDestroyed(m_host) == 1; }, 10000));
    EXPECT_FALSE(::IsWindow(hWnd));
    kit::PumpUntil([&] { return OpenBoxes() == 0; });
    EXPECT_EQ(OpenBoxes(), 0u);
    EXPECT_EQ(SearchFailures(), std::vector<std::wstring>{L"Error binding"});
    ASSERT_NE(Open(), nullptr); // and the host can open it again
}
