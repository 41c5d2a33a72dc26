// A host that loads the module at run time and unloads it while a search is still
// binding: the search keeps the module loaded until its thread has finished, so no
// code runs in an image that has gone. The module is reached through its exports
// alone, as such a host reaches it.
#include "DirectorySearch.h"
#include "FakeLdapApi.h"
#include "RegistrySandbox.h"
#include "UiKit.h"

#include <gtest/gtest.h>

template <class Function> static Function Export(HMODULE hModule, const char* pszName) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(hModule, pszName)));
}

TEST(UnloadTest, UnloadingTheModuleDuringABindWaitsForTheSearchToEnd) {
    const std::wstring root = L"Software\\Tovana\\Tovana Quillet";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str());
    WriteRawText(root + L"\\Config\\LDapServers\\Held", L"address", L"127.0.0.1");
    WriteRawText(root + L"\\Config\\LDAPServers", L"Current", L"Held");
    HMODULE hModule = ::LoadLibraryW(L"dirsearch.dll");
    ASSERT_NE(hModule, nullptr);
    auto setApi = Export<ILdapApi* (*)(ILdapApi*)>(hModule, "_Z10SetLdapApiP8ILdapApi");
    auto allocate = Export<void* (*)(size_t)>(hModule, "_ZN16CDirectorySearchnwEy");
    auto construct = Export<void (*)(void*, HWND)>(hModule, "_ZN16CDirectorySearchC1EP6HWND__");
    auto display =
        Export<CWnd* (*)(void*)>(hModule, "_ZN16CDirectorySearch19DisplaySearchDialogEv");
    auto close = Export<void (*)(void*)>(hModule, "_ZN16CDirectorySearch12CloseDialogsEv");
    auto destroy = Export<void (*)(void*)>(hModule, "_ZN16CDirectorySearchD0Ev");
    auto filter = Export<BOOL (*)(MSG*)>(hModule, "FilterDllMsg");
    ASSERT_TRUE(setApi && allocate && construct && display && close && destroy && filter);

    CFakeLdapApi fake;
    fake.bHoldFirstBind = true;
    setApi(&fake);
    void* pSearch = allocate(sizeof(CDirectorySearch));
    construct(pSearch, nullptr); // a host that needs none of the module's messages
    CWnd* pWindow = display(pSearch);
    ASSERT_NE(pWindow, nullptr);
    kit::SetMessageFilter(filter);
    HWND edit = kit::FindChildByClass(kit::FindChild(pWindow->m_hWnd, 105), L"Edit");
    kit::TypeText(edit, L"Person");
    kit::PressKey(edit, VK_RETURN);
    ASSERT_TRUE(kit::PumpUntil([&] { return fake.BindHeld(); }));
    // The host closes the window, deletes the component and unloads the module.
    close(pSearch);
    destroy(pSearch);
    kit::SetMessageFilter(nullptr);
    EXPECT_TRUE(::FreeLibrary(hModule));
    EXPECT_NE(::GetModuleHandleW(L"dirsearch.dll"), nullptr) << "unloaded under a pending bind";
    fake.ReleaseBind(); // the bind returns into the module
    EXPECT_TRUE(kit::PumpUntil([] { return !::GetModuleHandleW(L"dirsearch.dll"); }));
    EXPECT_EQ(fake.OpenObjects(), 0);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, root.c_str());
}
