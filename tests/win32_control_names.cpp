// Prints the name a screen reader reads for each edit box of a running
// window: the text of the visible static control right before the box among
// the window's children (Wine's Active Accessibility gives edit boxes no
// name to check), one line for each box in the order of the children, in
// UTF-8.
//   win32_control_names.exe WINDOW-CLASS
// With --tooltips, prints instead the text of each tooltip the window's
// thread shows, "\n" for each line break, one line each; with --close,
// closes the window.
//   win32_control_names.exe --tooltips|--close WINDOW-CLASS
// Waits up to ten seconds for the window; exits 1 when there is none.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const std::wstring& text)
{
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring className(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring windowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// The label a box has: the text of the visible static control right
// before it among its siblings, or "-" for none.
std::wstring labelOf(HWND box)
{
    HWND previous = GetWindow(box, GW_HWNDPREV);
    if (!previous || _wcsicmp(className(previous).c_str(), L"Static") != 0 || !IsWindowVisible(previous))
        return L"-";
    return windowText(previous);
}

BOOL CALLBACK printShownTooltip(HWND window, LPARAM)
{
    if (_wcsicmp(className(window).c_str(), L"tooltips_class32") != 0 || !IsWindowVisible(window))
        return TRUE;
    std::wstring text(4096, L'\0');
    text.resize(std::size_t(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    std::string line;
    for (char c : utf8(text))
        line += c == '\n' ? std::string("\\n") : c == '\r' ? std::string() : std::string(1, c);
    std::printf("%s\n", line.c_str());
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring mode = argc == 3 ? argv[1] : L"";
    if (argc != 2 && mode != L"--tooltips" && mode != L"--close")
        return 2;
    HWND window = nullptr;
    for (int i = 0; i < 1000 && !window; ++i, Sleep(10))
        window = FindWindowW(argv[argc - 1], nullptr);
    if (!window)
        return 1;
    if (mode == L"--tooltips") {
        EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), printShownTooltip, 0);
        return 0;
    }
    if (mode == L"--close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (_wcsicmp(className(child).c_str(), L"Edit") == 0)
            std::printf("%s\n", utf8(labelOf(child)).c_str());
    return 0;
}
