#include "FaultSession.h"

#include "resource.h"

#include <algorithm>
#include <mutex>

namespace faults {

void FaultTest::AddServer(const std::wstring& name, int port, int timeout, int version,
                          const wchar_t* pszAddress) {
    AddAccount(name, port, L"", L"", 200, version);
    WriteRawNumber(Accounts() + L"\\" + name, L"timeout", timeout);
    WriteRawNumber(Accounts() + L"\\" + name, L"bindSelection", 1);
    if (pszAddress)
        WriteRawText(Accounts() + L"\\" + name, L"address", pszAddress);
}

void FaultTest::WarmUp() {
    ASSERT_NE(Open(), nullptr);
    kit::TypeText(SearchEdit(), L"warm");
    kit::PumpUntilInputDone();
    m_pSearch->CloseDialogs();
}

void FaultTest::SearchAndCheck(const std::vector<Expected>& cases) {
    // Each window is opened on its own server: the last leaves "Current" thus.
    WriteRawText(Root() + L"\\Config\\LDAPServers", L"Current", cases.back().server);
    const RawTree accounts = ReadRawTree(Accounts());
    struct Window {
        CDirectorySearch* pSearch;
        std::unique_ptr<CEventLog> log;
        HWND hWnd;
        std::vector<std::wstring> boxes;
    };
    std::vector<Window> windows;
    for (const Expected& c : cases) {
        WriteRawText(Root() + L"\\Config\\LDAPServers", L"Current", c.server);
        Window window{
            new CDirectorySearch(m_host.m_hWnd), std::make_unique<CEventLog>(), nullptr, {}};
        window.pSearch->SetEventLog(window.log.get());
        window.pSearch->SetTranslation(&m_translation);
        CWnd* pWnd = window.pSearch->DisplaySearchDialog();
        window.hWnd = pWnd ? pWnd->m_hWnd : nullptr;
        windows.push_back(std::move(window));
    }
    std::mutex lock;
    kit::MessageBoxWatcher watcher([&](const kit::MessageBoxInfo& box) {
        std::lock_guard<std::mutex> guard(lock);
        HWND hOwner = ::GetWindow(box.hwnd, GW_OWNER);
        auto it = std::find_if(windows.begin(), windows.end(),
                               [&](const Window& w) { return w.hWnd == hOwner; });
        if (it != windows.end())
            it->boxes.push_back(box.text);
        else
            ADD_FAILURE() << "a box no search window owns: " << CString(box.text.c_str()).ToUtf8();
        return IDOK;
    });
    // The texts first, then the Search buttons: a failure's box may be up by then,
    // and its loop passes no Enter on to the module, but a click reaches its window.
    for (const Window& window : windows) {
        m_hWnd = window.hWnd;
        kit::TypeText(SearchEdit(), L"John Smith");
    }
    kit::PumpUntilInputDone();
    for (const Window& window : windows) {
        m_hWnd = window.hWnd;
        kit::PumpUntil([&] { return ToolbarEnabled(ID_FILE_SEARCH); });
        kit::ClickAt(ToolBar(), ButtonMiddle(ID_FILE_SEARCH));
    }
    auto caption = [&](const Expected& c) {
        return c.bResults ? c.server + L" - John Smith" : Text(3231);
    };
    auto boxes = [&](size_t i) {
        std::lock_guard<std::mutex> guard(lock);
        return windows[i].boxes;
    };
    kit::PumpUntil(
        [&] {
            for (size_t i = 0; i < cases.size(); ++i) {
                if (boxes(i).size() != (cases[i].nBoxText ? 1u : 0u) ||
                    kit::WindowText(windows[i].hWnd) != caption(cases[i]))
                    return false;
            }
            return true;
        },
        20000);
    kit::PumpPending();
    for (size_t i = 0; i < cases.size(); ++i) {
        const Expected& c = cases[i];
        SCOPED_TRACE(CString(c.server.c_str()).ToUtf8());
        std::wstring shown; // the start of each box's text
        for (const std::wstring& text : boxes(i))
            shown += text.substr(0, Text(c.nBoxText).size()) + L";";
        EXPECT_EQ(shown, c.nBoxText ? Text(c.nBoxText) + L";" : L"");
        EXPECT_EQ(kit::WindowText(windows[i].hWnd), caption(c));
        const int rows = kit::ListRowCount(kit::FindChild(windows[i].hWnd, 1013));
        EXPECT_TRUE(rows >= c.nMinRows && rows <= c.nMaxRows) << rows << " rows";
        const CArray<CEventRecord> records = windows[i].log->GetRecentRecords();
        std::wstring events;
        for (int r = 0; r < records.GetSize(); ++r)
            events += records[r].kind == EventKind::Event ? records[r].strText.str() + L";" : L"";
        EXPECT_EQ(events, c.event.empty() ? c.event : c.event + L";");
    }
    for (Window& window : windows) {
        window.pSearch->CloseDialogs();
        delete window.pSearch;
    }
    m_hWnd = nullptr;
    EXPECT_EQ(ReadRawTree(Accounts()), accounts);
}

} // namespace faults
