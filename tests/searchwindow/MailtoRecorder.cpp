// The tests' mail program: registered for "mailto:" addresses, it writes what it
// was given to mailto-received.txt beside itself (UTF-16) and ends.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L'\\') + 1);
    const std::wstring text = argc > 1 ? argv[1] : L"";
    // Written aside and moved in, so that a reader never sees half of it.
    const std::wstring partial = folder + L"mailto-received.part";
    HANDLE file = ::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written,
                nullptr);
    ::CloseHandle(file);
    return ::MoveFileExW(partial.c_str(), (folder + L"mailto-received.txt").c_str(),
                         MOVEFILE_REPLACE_EXISTING)
               ? 0
               : 1;
}
