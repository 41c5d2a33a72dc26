// What the module DLL offers the host by name: the version probe and its copies of
// the host classes' inline accessors, each working on the object it is given.
#include "Options.h"
#include "RegistrySandbox.h"
#include "TestStrings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class ModuleExportsTest : public testing::Test {
protected:
    static void SetUpTestSuite() { s_hModule = ::LoadLibraryW(L"dirsearch.dll"); }
    static void TearDownTestSuite() { ::FreeLibrary(s_hModule); }

    // The exported name of Class::Member (names carry their lengths when decorated), from
    // the module's export directory.
    static std::string ExportOf(const std::string& className, const std::string& member) {
        const std::string classPart = std::to_string(className.size()) + className;
        const std::string memberPart = std::to_string(member.size()) + member;
        const auto* pBase = reinterpret_cast<const BYTE*>(s_hModule);
        const auto* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
        const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& directory =
            pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
        const auto* pExports =
            reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(pBase + directory.VirtualAddress);
        const auto* pNames = reinterpret_cast<const DWORD*>(pBase + pExports->AddressOfNames);
        for (DWORD i = 0; i < pExports->NumberOfNames; ++i) {
            const std::string name = reinterpret_cast<const char*>(pBase + pNames[i]);
            size_t nClass = name.find(classPart);
            if (nClass != std::string::npos && name.find(memberPart, nClass) != std::string::npos)
                return name;
        }
        return std::string();
    }

    template <class Function> static Function Lookup(const char* pszClass, const char* pszMember) {
        std::string name = ExportOf(pszClass, pszMember);
        return reinterpret_cast<Function>(
            reinterpret_cast<void*>(::GetProcAddress(s_hModule, name.c_str())));
    }

    static HMODULE s_hModule;
};
HMODULE ModuleExportsTest::s_hModule = nullptr;

} // namespace

TEST_F(ModuleExportsTest, HostAccessorsAreExportedAndWorkOnTheObjectTheyAreGivenAndTheProbeToo) {
    ASSERT_NE(s_hModule, nullptr);
    const std::pair<const char*, std::vector<const char*>> members[] = {
        {"COptions",
         {"GetKelvoSubKey", "SetTranslation", "SetEventLog", "SetPhoneControlWnd", "SetMainWindow",
          "GetMainWindow", "RestartNeeded", "RebootNeeded", "ResetRestartRebootStatus",
          "GetLogFilePath", "ModifyProgramOptions", "AccessPhoneDirectory", "AccessCallHistory",
          "AccessPublicSearch", "AccessPhoneFeatures", "AccessAgentGreetings", "AccessScreenPops",
          "AccessStatboards", "AccessSpeedDials"}},
        {"CManager", {"SetTheApp", "SetAudioControl"}},
        {"CEventLog", {"SetTranslation", "GetEventLogFileName"}},
        {"CDirectorySearch", {"ldapCheckVersion"}},
    };
    for (const auto& [pszClass, names] : members) {
        for (const char* pszMember : names)
            EXPECT_FALSE(ExportOf(pszClass, pszMember).empty()) << pszClass << "::" << pszMember;
    }
    // Only the accessors the host looks up: the store's own work stays in its library.
    EXPECT_TRUE(ExportOf("COptions", "GetRegistryValue").empty());
    CRegistrySandbox sandbox(L"Quillet Test Exports");
    COptions options(sandbox.ProductKey().c_str());
    WriteRawNumber(sandbox.Path(L"Config\\Options"), L"Option117", 4);
    // A member function is called with its object as the first argument.
    auto pfnAccessPublicSearch =
        Lookup<BOOL (*)(const COptions*)>("COptions", "AccessPublicSearch");
    auto pfnSetPhoneControlWnd =
        Lookup<void (*)(COptions*, HWND)>("COptions", "SetPhoneControlWnd");
    ASSERT_NE(pfnAccessPublicSearch, nullptr);
    ASSERT_NE(pfnSetPhoneControlWnd, nullptr);
    EXPECT_FALSE(pfnAccessPublicSearch(&options));
    EXPECT_TRUE(pfnAccessPublicSearch(COptions::GetOptions()));
    HWND hWnd = reinterpret_cast<HWND>(0x5678);
    pfnSetPhoneControlWnd(&options, hWnd);
    EXPECT_EQ(options.GetPhoneControlWnd(), hWnd);
    EXPECT_NE(COptions::GetOptions()->GetPhoneControlWnd(), hWnd);

    // The host probes a server through the module.
    const char* pszPort = std::getenv("LDAP_TEST_PORT");
    ASSERT_NE(pszPort, nullptr) << "LDAP_TEST_PORT is not set: run the tests through scripts/test";
    auto pfnCheckVersion = Lookup<int (*)(CString, int)>("CDirectorySearch", "ldapCheckVersion");
    ASSERT_NE(pfnCheckVersion, nullptr);
    EXPECT_EQ(pfnCheckVersion(L"127.0.0.1", std::atoi(pszPort)), 3);
}
