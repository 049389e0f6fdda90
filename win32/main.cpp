// ad9851-calc.exe: the AD9851 tuning-word calculator as a native Windows
// window.

#include "win32/calculator_window.h"

#include <windows.h>

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

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    becomeDpiAware();
    win32::CalculatorWindow window(instance);
    if (!window.create(show)) {
        MessageBoxW(nullptr, L"无法创建窗口。", L"AD9851 计算软件", MB_OK | MB_ICONERROR);
        return 1;
    }
    return window.run();
}
