#include "FaultSession.h"

#include "RegistrySandbox.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace faults {

int FaultPort(const std::wstring& name) {
    const char* pszPorts = std::getenv("LDAP_FAULT_PORTS");
    std::wstringstream ports(CString(pszPorts ? pszPorts : "").str());
    for (std::wstring item; std::getline(ports, item, L',');) {
        if (item.compare(0, name.size() + 1, name + L"=") == 0)
            return std::stoi(item.substr(name.size() + 1));
    }
    ADD_FAILURE() << "no port for the fault server: run the tests through scripts/test";
    return 0;
}

RawTree ReadRawTree(const std::wstring& path) {
    RawTree tree;
    for (const std::wstring& name : RawValueNames(path)) {
        RawValue value;
        ReadRaw(path, name.c_str(), value);
        tree[L"|" + name] = {value.nType, value.data};
    }
    for (const std::wstring& key : RawSubKeyNames(path)) {
        for (auto& [name, value] : ReadRawTree(path + L"\\" + key))
            tree[key + (name[0] == L'|' ? L"" : L"\\") + name] = value;
    }
    return tree;
}

void FaultTest::SetUp() {
    SearchWindowTest::SetUp();
    // A host whose thread stops answering is frozen: no later check would ever run.
    m_hStop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    m_watch = std::thread([hHost = m_host.m_hWnd, hStop = m_hStop, &ended = m_bWatchEnded] {
        while (::WaitForSingleObject(hStop, 100) == WAIT_TIMEOUT) {
            DWORD_PTR result;
            if (!::SendMessageTimeoutW(hHost, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) &&
                ::GetLastError() == ERROR_TIMEOUT && ::WaitForSingleObject(hStop, 0) != 0) {
                std::fputs("FAILED: the host's thread has not answered for 10 s\n", stderr);
                std::fflush(stderr);
                ::TerminateProcess(::GetCurrentProcess(), 3);
            }
        }
        ended = true;
    });
}

void FaultTest::TearDown() {
    CloseAll();
    ::SetEvent(m_hStop);
    kit::PumpUntil([&] { return m_bWatchEnded.load(); }); // it may be waiting for an answer
    m_watch.join();
    ::CloseHandle(m_hStop);
    SearchWindowTest::TearDown();
}

void FaultTest::AddServer(const std::wstring& name, int port, int timeout, int version,
                          const wchar_t* pszAddress) {
    AddAccount(name, port, L"", L"", 200, version);
    WriteRawNumber(Accounts() + L"\\" + name, L"timeout", timeout);
    WriteRawNumber(Accounts() + L"\\" + name, L"bindSelection", 1);
    if (pszAddress)
        WriteRawText(Accounts() + L"\\" + name, L"address", pszAddress);
}

std::vector<Outcome> FaultTest::SearchAtOnce(
    const std::vector<std::wstring>& servers, const std::wstring& text,
    const std::function<bool(size_t, const Outcome&)>& done) {
    for (const std::wstring& server : servers) {
        WriteRawText(Root() + L"\\Config\\LDAPServers", L"Current", server);
        Window window{new CDirectorySearch(m_host.m_hWnd), std::make_unique<CEventLog>(), nullptr};
        window.pSearch->SetEventLog(window.log.get());
        window.pSearch->SetTranslation(&m_translation);
        window.pSearch->SetManager(&m_manager);
        CWnd* pWnd = window.pSearch->DisplaySearchDialog();
        window.hWnd = pWnd ? pWnd->m_hWnd : nullptr;
        m_windows.push_back(std::move(window));
    }
    std::mutex lock;
    std::vector<Outcome> outcomes(servers.size());
    kit::MessageBoxWatcher watcher([&](const kit::MessageBoxInfo& box) {
        std::lock_guard<std::mutex> guard(lock);
        HWND hOwner = ::GetWindow(box.hwnd, GW_OWNER);
        size_t i = 0;
        while (i < outcomes.size() && m_windows[i].hWnd != hOwner)
            ++i;
        if (i < outcomes.size())
            outcomes[i].boxes.push_back(box.text);
        else
            ADD_FAILURE() << "a box that no search window owns: "
                          << CString(box.text.c_str()).ToUtf8();
        return IDOK;
    });
    for (const Window& window : m_windows) {
        m_hWnd = window.hWnd;
        TypeSearch(text);
    }
    auto look = [&] {
        std::lock_guard<std::mutex> guard(lock);
        for (size_t i = 0; i < outcomes.size(); ++i) {
            outcomes[i].caption = kit::WindowText(m_windows[i].hWnd);
            outcomes[i].rows = kit::ListRowCount(kit::FindChild(m_windows[i].hWnd, 1013));
            outcomes[i].events.clear();
            CArray<CEventRecord> records = m_windows[i].log->GetRecentRecords();
            for (int r = 0; r < records.GetSize(); ++r) {
                if (records[r].kind == EventKind::Event)
                    outcomes[i].events.push_back(records[r].strText.str());
            }
        }
        return outcomes;
    };
    kit::PumpUntil(
        [&] {
            std::vector<Outcome> now = look();
            for (size_t i = 0; i < now.size(); ++i) {
                if (!done(i, now[i]))
                    return false;
            }
            return true;
        },
        20000);
    kit::PumpPending();
    return look();
}

void FaultTest::SearchAndCheck(const std::vector<Expected>& cases) {
    const RawTree accounts = ReadRawTree(Accounts());
    auto caption = [&](const Expected& c) {
        return c.bResults ? c.server + L" - Person" : Text(3231);
    };
    std::vector<std::wstring> servers;
    for (const Expected& c : cases)
        servers.push_back(c.server);
    const std::vector<Outcome> outcomes =
        SearchAtOnce(servers, L"Person", [&](size_t i, const Outcome& o) {
            return o.boxes.size() == (cases[i].nBoxText ? 1u : 0u) &&
                   o.caption == caption(cases[i]);
        });
    for (size_t i = 0; i < cases.size(); ++i) {
        const Expected& c = cases[i];
        const Outcome& o = outcomes[i];
        SCOPED_TRACE(CString(c.server.c_str()).ToUtf8());
        EXPECT_EQ(o.boxes.size(), c.nBoxText ? 1u : 0u);
        if (c.nBoxText && !o.boxes.empty()) {
            EXPECT_EQ(o.boxes[0].substr(0, Text(c.nBoxText).size()), Text(c.nBoxText));
        }
        EXPECT_EQ(o.caption, caption(c));
        EXPECT_GE(o.rows, c.nMinRows);
        EXPECT_LE(o.rows, c.nMaxRows);
        EXPECT_EQ(o.events, c.event.empty() ? std::vector<std::wstring>{}
                                            : std::vector<std::wstring>{c.event});
    }
    CloseAll();
    EXPECT_EQ(ReadRawTree(Accounts()), accounts);
}

void FaultTest::CloseAll() {
    for (Window& window : m_windows) {
        window.pSearch->CloseDialogs();
        delete window.pSearch;
    }
    m_windows.clear();
    m_hWnd = nullptr;
}

} // namespace faults
