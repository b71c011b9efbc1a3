// A stand-in for plinthwright.exe and plinthwright-cli.exe, for trying the Windows installer on a
// stage laid out like the zip's without Qt for Windows. It appends its arguments, one a line in
// UTF-8, to the file PLINTHWRIGHT_STAND_IN_RECORD names, so that a check can see what a file
// association passed; --version only prints what the real programs print first.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

}  // namespace

int main()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr)
        return 1;
    if (count == 2 && std::wstring(arguments[1]) == L"--version") {
        std::printf("%s 0.0.0 (stand-in)\n", STAND_IN_NAME);
        LocalFree(arguments);
        return 0;
    }
    wchar_t record[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"PLINTHWRIGHT_STAND_IN_RECORD", record, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        if (FILE* file = _wfopen(record, L"ab")) {
            for (int i = 1; i < count; ++i)
                std::fprintf(file, "%s\n", utf8(arguments[i]).c_str());
            std::fclose(file);
        }
    }
    LocalFree(arguments);
    return 0;
}
