#pragma once
// Small services of Windows both windows use: text between UTF-8 and
// UTF-16, a window's text, its DPI, the frame around a client area, and
// the Chinese font of the controls.

#include <windows.h>

#include <string>
#include <string_view>

namespace win32 {

// UTF-8 and the UTF-16 of Windows.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

std::wstring windowText(HWND hwnd);

// The DPI of a window, or of the system where Windows is too old to say.
int dpiFor(HWND window);

// The window's frame around a client area of the given size.
SIZE frameAround(int width, int height, DWORD style);

// The windows' Chinese font, `pixels` high (its em size); the caller
// deletes it.
HFONT chineseFont(int pixels, bool bold = false);

// The control of a window that has the keyboard focus, kept while the
// window is inactive: Windows gives the focus to the window itself when it
// is activated again, after a message or a switch to another window, and
// this gives it back to the control.
class FocusKeeper {
public:
    // For WM_ACTIVATE: true when the focus went back to the kept control,
    // and the window procedure returns 0.
    bool activation(HWND window, WPARAM w);
    // Puts the focus on `control` and keeps it there.
    void focus(HWND control);
    bool keepsAny() const noexcept { return control_ != nullptr; }

private:
    HWND control_ = nullptr;
};

// The window procedure of a class whose windows are objects of `Window`:
// the object comes as the creation parameter, is kept in the window's user
// data and learns its handle with WM_NCCREATE; from then on its `handle`
// answers every message.
template <class Window>
LRESULT CALLBACK objectWindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = hwnd;
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->handle(message, w, l) : DefWindowProcW(hwnd, message, w, l);
}

} // namespace win32
