// Shows the 输入有误 message of a running ad9851-calc.exe again and again,
// as a user who keeps pressing 计算 with a crystal of 0 and closing the
// message, and prints what the window's process holds after `warm-up`
// messages and again after `count` more: its resident memory in kB and its
// number of windows, one line each time.
//   win32_error_messages.exe WINDOW-CLASS WARM-UP COUNT
// Waits up to ten seconds for the window and closes it at the end; exits 1
// when the window, its boxes or a message cannot be found.

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring windowText(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// The child of `window` of class `kind` whose own text, or whose label's
// (the control right before it), is `text`; nullptr for none.
HWND childCalled(HWND window, const wchar_t* kind, const std::wstring& text, bool byLabel)
{
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (_wcsicmp(name, kind) != 0)
            continue;
        HWND named = byLabel ? GetWindow(child, GW_HWNDPREV) : child;
        if (named && windowText(named) == text)
            return child;
    }
    return nullptr;
}

// Waits up to ten seconds for `done`.
template <class Done>
bool waitFor(Done done)
{
    for (int i = 0; i < 10000; ++i) {
        if (done())
            return true;
        Sleep(1);
    }
    return false;
}

BOOL CALLBACK countWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The windows of the thread that runs `window`, its children too.
int windowsOf(HWND window)
{
    int count = 0;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    EnumThreadWindows(thread, countWindow, reinterpret_cast<LPARAM>(&count));
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

long residentKilobytes(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(process, &counters, sizeof counters) ? long(counters.WorkingSetSize / 1024) : -1;
}

// One 输入有误 message: 计算 pressed, the message waited for and closed.
bool oneMessage(HWND window, HWND button)
{
    PostMessageW(button, BM_CLICK, 0, 0);
    HWND message = nullptr;
    if (!waitFor([&] {
            message = FindWindowW(L"#32770", L"输入有误");
            return message && GetWindow(message, GW_OWNER) == window;
        }))
        return false;
    SendMessageW(message, WM_COMMAND, IDOK, 0);
    return waitFor([&] { return !IsWindow(message); });
}

// Shows `warmUp` messages, prints what the process holds, shows `count`
// more and prints it again; 1 when something cannot be found.
int showMessages(HWND window, int warmUp, int count)
{
    HWND crystal = childCalled(window, L"Edit", L"晶振频率", true);
    HWND button = childCalled(window, L"Button", L"计算", false);
    if (!crystal || !button)
        return 1;
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (!process)
        return 1;
    SendMessageW(crystal, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"));
    for (int round : {warmUp, count}) {
        for (int i = 0; i < round; ++i)
            if (!oneMessage(window, button)) {
                CloseHandle(process);
                return 1;
            }
        std::printf("%ld %d\n", residentKilobytes(process), windowsOf(window));
        std::fflush(stdout);
    }
    CloseHandle(process);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4)
        return 2;
    const int warmUp = int(std::wcstol(argv[2], nullptr, 10));
    const int count = int(std::wcstol(argv[3], nullptr, 10));
    HWND window = nullptr;
    if (!waitFor([&] { return (window = FindWindowW(argv[1], nullptr)) != nullptr; }))
        return 1;
    const int status = showMessages(window, warmUp, count);
    PostMessageW(window, WM_CLOSE, 0, 0); // done with the window
    return status;
}
