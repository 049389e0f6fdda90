// ad9851-calc.exe: the AD9851 tuning-word calculator as a native Windows
// window.

#include "ad9851/running_mutex.h"
#include "form/command_line.h"
#include "win32/calculator_window.h"
#include "win32/system.h"

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

// Positions and fonts follow each monitor's DPI.  The manifest says so
// too; this covers a start without it.
void becomeDpiAware()
{
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    const auto setContext = reinterpret_cast<SetContextFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    const auto perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4));
    if (!setContext || !setContext(perMonitorV2))
        SetProcessDPIAware();
}

// Tells the installer and the uninstaller that the program is in use, so
// that they neither replace nor remove it: they look for this mutex, which
// goes when the process ends.
void holdRunningMutex() { CreateMutexW(nullptr, FALSE, AD9851_RUNNING_MUTEX); }

// The arguments after the program's name, in UTF-8.
std::vector<std::string> arguments()
{
    std::vector<std::string> args;
    int count = 0;
    if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            args.push_back(win32::narrow(argv[i]));
        LocalFree(argv);
    }
    return args;
}

// Writes `text` where the user reads it: to the standard handle `which`
// when it leads to a file, a pipe or a console; else to the console of the
// program that started this one; else, as for a start from Explorer, in a
// message box.  False when the writing failed.
bool tell(DWORD which, const std::string& text, UINT icon)
{
    if (text.empty())
        return true;
    HANDLE handle = GetStdHandle(which);
    if ((handle == nullptr || handle == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS))
        handle = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        MessageBoxW(nullptr, win32::widen(text).c_str(), L"ad9851-calc", MB_OK | icon);
        return true;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(handle, &mode)) {
        const std::wstring wide = win32::widen(text);
        return WriteConsoleW(handle, wide.data(), DWORD(wide.size()), &written, nullptr) && written == wide.size();
    }
    return WriteFile(handle, text.data(), DWORD(text.size()), &written, nullptr) && written == text.size();
}

int answer(const form::Reply& reply)
{
    const bool ok = tell(STD_OUTPUT_HANDLE, reply.out, MB_ICONINFORMATION);
    tell(STD_ERROR_HANDLE, reply.err, MB_ICONERROR);
    if (!ok)
        tell(STD_ERROR_HANDLE, "ad9851-calc: cannot write standard output\n", MB_ICONERROR);
    return ok ? reply.status : 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    const std::vector<std::string> args = arguments();
    if (const auto reply = form::helpOrVersion(args, false))
        return answer(*reply);
    if (const auto reply = form::refuseArguments(args))
        return answer(*reply);
    becomeDpiAware();
    holdRunningMutex();
    win32::CalculatorWindow window(instance);
    if (!window.create(show)) {
        MessageBoxW(nullptr, L"无法创建窗口。", L"AD9851 计算软件", MB_OK | MB_ICONERROR);
        return 1;
    }
    return window.run();
}
