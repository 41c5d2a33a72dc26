// The tests' mail program: registered for "mailto:" addresses, it writes what it
// was given to mailto-received.txt beside itself (UTF-16).
#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    std::wstring path = argv[0];
    path = path.substr(0, path.find_last_of(L'\\') + 1);
    // Written aside and renamed, so that a reader never sees half of it.
    FILE* file = argc > 1 ? _wfopen((path + L"mailto-received.part").c_str(), L"wb") : nullptr;
    if (!file)
        return 1;
    fwrite(argv[1], sizeof(wchar_t), std::wstring(argv[1]).size(), file);
    fclose(file);
    return _wrename((path + L"mailto-received.part").c_str(),
                    (path + L"mailto-received.txt").c_str());
}
