#include "win32/spectrum_window.h"

#include "form/layout.h"
#include "form/messages.h"
#include "win32/plot_painter.h"
#include "win32/system.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <filesystem>

namespace win32 {

namespace {

constexpr wchar_t windowClass[] = L"AD9851Spectrum";
constexpr wchar_t plotClass[] = L"AD9851SpectrumPlot";
constexpr int firstControlId = 200; // control ids: 200 + the index in the control table
constexpr int iconId = 1;
constexpr DWORD windowStyle = WS_OVERLAPPEDWINDOW;
constexpr UINT applyBoxMessage = WM_APP + 1; // w: the box's index

int idOf(std::size_t index) { return firstControlId + int(index); }

bool registerClasses(HINSTANCE instance, WNDPROC windowProc, WNDPROC plotProc)
{
    WNDCLASSEXW wc{};
    if (GetClassInfoExW(instance, windowClass, &wc))
        return true;
    wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(iconId));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = windowClass;
    if (!RegisterClassExW(&wc))
        return false;
    wc.lpfnWndProc = plotProc;
    wc.hIcon = nullptr;
    wc.hbrBackground = nullptr; // the plot paints every pixel
    wc.lpszClassName = plotClass;
    return RegisterClassExW(&wc) != 0;
}

} // namespace

SpectrumWindow::SpectrumWindow(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}

SpectrumWindow::~SpectrumWindow()
{
    if (window_ && IsWindow(window_))
        DestroyWindow(window_);
    if (font_)
        DeleteObject(font_);
}

bool SpectrumWindow::create()
{
    INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    if (!registerClasses(instance_, objectWindowProc<SpectrumWindow>, plotProc))
        return false;
    dpi_ = dpiFor(owner_);
    const form::PixelSize opening = form::spectrumOpeningSize(dpi_);
    const SIZE size = frameAround(opening.width, opening.height, windowStyle);
    window_ = CreateWindowExW(0, windowClass, widen(form::spectrumWindowCaption).c_str(), windowStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, size.cx, size.cy, owner_, nullptr, instance_, this);
    if (!window_)
        return false;
    dpi_ = dpiFor(window_);
    if (!createControls())
        return false;
    layOut();
    logic_.load();
    return true;
}

bool SpectrumWindow::createControls()
{
    // Created in tab order, so that Tab follows it, each box right after
    // the label that names it, as screen readers look for; then the plot
    // and the status line, which take no focus.
    for (const form::SpectrumControl* c : form::spectrumTabOrder(false)) {
        const std::size_t i = form::spectrumIndex(c->id);
        if (i > 0 && form::spectrumControls[i - 1].kind == form::SpectrumKind::Label)
            if (!createControl(form::spectrumControls[i - 1]))
                return false;
        if (!createControl(*c))
            return false;
    }
    for (const form::SpectrumControl& c : form::spectrumControls)
        if (c.tabIndex < 0 && !controls_[form::spectrumIndex(c.id)] && !c.qtOnly && c.kind != form::SpectrumKind::Label)
            if (!createControl(c))
                return false;
    for (std::string_view choice : form::filterChoices)
        SendMessageW(control(form::SpectrumId::Filter), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(widen(choice).c_str()));
    SendMessageW(control(form::SpectrumId::Filter), CB_SETCURSEL, 0, 0);
    return true;
}

HWND SpectrumWindow::createControl(const form::SpectrumControl& entry)
{
    const std::size_t index = form::spectrumIndex(entry.id);
    const wchar_t* kindClass = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    std::string_view text = entry.text;
    switch (entry.kind) {
    case form::SpectrumKind::Plot:
        kindClass = plotClass;
        text = entry.accessibleName; // its name for screen readers
        break;
    case form::SpectrumKind::Status:
    case form::SpectrumKind::Label:
        style |= SS_LEFT | SS_NOPREFIX | SS_CENTERIMAGE;
        break;
    case form::SpectrumKind::Table:
        // Screen readers name the table by a label right before it: one of
        // no size, for the status line above it says something else.
        if (!CreateWindowExW(0, L"STATIC", widen(entry.accessibleName).c_str(),
                             WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, window_, nullptr, instance_,
                             nullptr))
            return nullptr;
        kindClass = WC_LISTVIEWW;
        style |= WS_TABSTOP | WS_GROUP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case form::SpectrumKind::NumberBox:
        kindClass = L"EDIT";
        style |= WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL | ES_LEFT;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case form::SpectrumKind::Choice:
        kindClass = L"COMBOBOX";
        style |= WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST;
        break;
    case form::SpectrumKind::Button:
        kindClass = L"BUTTON";
        style |= WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON;
        break;
    }
    HWND hwnd = CreateWindowExW(exStyle, kindClass, widen(text).c_str(), style, 0, 0, 0, 0, window_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOf(index))), instance_, nullptr);
    if (!hwnd)
        return nullptr;
    if (entry.kind == form::SpectrumKind::Plot)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (entry.kind == form::SpectrumKind::Table)
        SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    controls_[index] = hwnd;
    applied_[index] = widen(entry.text);
    return hwnd;
}

void SpectrumWindow::show()
{
    ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window_);
    if (!focus_.keepsAny())
        focus(form::spectrumTabOrder(false).front()->id); // where the window opens
}

bool SpectrumWindow::dialogMessage(MSG& msg)
{
    if (!window_ || (msg.hwnd != window_ && !IsChild(window_, msg.hwnd)))
        return false;
    return IsDialogMessageW(window_, &msg) != 0;
}

LRESULT CALLBACK SpectrumWindow::plotProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    auto* self = reinterpret_cast<SpectrumWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT:
        if (self) {
            self->paintPlot(window);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcW(window, message, w, l);
}

LRESULT SpectrumWindow::handle(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(w), HIWORD(w));
        return 0;
    case WM_NOTIFY: {
        const auto* key = reinterpret_cast<const NMLVKEYDOWN*>(l);
        if (key->hdr.hwndFrom == control(form::SpectrumId::Table) && key->hdr.code == LVN_KEYDOWN &&
            (GetKeyState(VK_CONTROL) & 0x8000)) {
            if (key->wVKey == 'C')
                copyTable();
            else if (key->wVKey == 'A')
                ListView_SetItemState(key->hdr.hwndFrom, -1, LVIS_SELECTED, LVIS_SELECTED);
        }
        return 0;
    }
    case applyBoxMessage:
        applyBox(std::size_t(w));
        return 0;
    case WM_SIZE:
        layOut(); // the plot repaints for its new size
        return 0;
    case WM_ACTIVATE:
        if (focus_.activation(window_, w))
            return 0;
        return DefWindowProcW(window_, message, w, l);
    case WM_GETMINMAXINFO: {
        const form::PixelSize minimum = form::spectrumMinimumSize(dpi_, false);
        const SIZE min = frameAround(minimum.width, minimum.height, windowStyle);
        reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = {min.cx, min.cy};
        return 0;
    }
    case 0x02E0: { // WM_DPICHANGED
        dpi_ = HIWORD(w);
        const RECT* suggested = reinterpret_cast<const RECT*>(l);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        layOut();
        return 0;
    }
    case WM_CLOSE:
        // Closing hides it: it keeps following the main window's results.
        ShowWindow(window_, SW_HIDE);
        return 0;
    default:
        return DefWindowProcW(window_, message, w, l);
    }
}

void SpectrumWindow::onCommand(int id, int code)
{
    if (id == IDCANCEL) { // Escape, from the dialog manager
        ShowWindow(window_, SW_HIDE);
        return;
    }
    if (id == IDOK) { // Enter, from the dialog manager
        const int focused = GetDlgCtrlID(GetFocus()) - firstControlId;
        if (focused >= 0 && focused < int(form::spectrumControls.size()) &&
            form::spectrumControls[std::size_t(focused)].kind == form::SpectrumKind::NumberBox)
            applyBox(std::size_t(focused));
        return;
    }
    const int index = id - firstControlId;
    if (index < 0 || index >= int(form::spectrumControls.size()))
        return;
    const form::SpectrumControl& c = form::spectrumControls[std::size_t(index)];
    if (c.kind == form::SpectrumKind::NumberBox && code == EN_KILLFOCUS)
        // Applied once the focus has moved, so that a message about the box
        // does not come between.
        PostMessageW(window_, applyBoxMessage, WPARAM(index), 0);
    else if (c.kind == form::SpectrumKind::Choice && code == CBN_SELCHANGE)
        logic_.filterChosen();
    else if (c.kind == form::SpectrumKind::Button && code == BN_CLICKED) {
        if (c.id == form::SpectrumId::SaveSvg)
            save(c.id, form::svgFileName, L"SVG (*.svg)\0*.svg\0", logic_.svgText());
        else if (c.id == form::SpectrumId::SaveCsv)
            save(c.id, form::csvFileName, L"CSV (*.csv)\0*.csv\0", logic_.csvText());
    }
}

void SpectrumWindow::applyBox(std::size_t index)
{
    HWND box = controls_[index];
    std::wstring text = windowText(box);
    if (text == applied_[index])
        return;
    applied_[index] = std::move(text);
    logic_.settingsChanged();
}

void SpectrumWindow::save(form::SpectrumId button, std::string_view fileName, const wchar_t* filter,
                          const std::string& contents)
{
    std::wstring path = widen(fileName);
    path.resize(32768, L'\0');
    const std::wstring title = widen(form::spectrumControl(button).accessibleName); // called as the button is
    const std::wstring extension = std::filesystem::path(path.c_str()).extension().wstring().substr(1); // no dot
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = DWORD(path.size());
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = extension.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog))
        return;
    path.resize(path.find(L'\0'));
    logic_.saveFile(std::filesystem::path(path), contents);
}

void SpectrumWindow::copyTable()
{
    HWND table = control(form::SpectrumId::Table);
    HWND header = ListView_GetHeader(table);
    const int columns = Header_GetItemCount(header);
    const int rows = ListView_GetItemCount(table);
    const bool all = ListView_GetSelectedCount(table) == 0;
    wchar_t cell[256];
    std::wstring text;
    for (int c = 0; c < columns; ++c) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = cell;
        column.cchTextMax = int(std::size(cell));
        cell[0] = L'\0';
        ListView_GetColumn(table, c, &column);
        text += (c ? L"\t" : L"") + std::wstring(cell);
    }
    text += L"\r\n";
    for (int r = 0; r < rows; ++r) {
        if (!all && !(ListView_GetItemState(table, r, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        for (int c = 0; c < columns; ++c) {
            cell[0] = L'\0';
            ListView_GetItemText(table, r, c, cell, int(std::size(cell)));
            text += (c ? L"\t" : L"") + std::wstring(cell);
        }
        text += L"\r\n";
    }
    if (!OpenClipboard(window_))
        return;
    EmptyClipboard();
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
        std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        if (!SetClipboardData(CF_UNICODETEXT, memory))
            GlobalFree(memory);
    }
    CloseClipboard();
}

void SpectrumWindow::layOut()
{
    if (!control(form::SpectrumId::Plot))
        return; // the first sizes come before the controls
    RECT client{};
    GetClientRect(window_, &client);
    // The font follows the DPI; the old one goes once no control uses it.
    HFONT oldFont = nullptr;
    const bool newFont = !font_ || fontDpi_ != dpi_;
    if (newFont) {
        oldFont = font_;
        font_ = chineseFont(MulDiv(int(form::windowFontPoints * 100), dpi_, 7200));
        fontDpi_ = dpi_;
    }
    const auto rects = form::spectrumLayout(client.right, client.bottom, dpi_, false);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        if (!controls_[i])
            continue;
        int height = rects[i].height;
        if (form::spectrumControls[i].kind == form::SpectrumKind::Choice)
            height *= 6; // the dropped-down list's room
        MoveWindow(controls_[i], rects[i].left, rects[i].top, rects[i].width, height, TRUE);
        if (newFont)
            SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    }
    if (oldFont)
        DeleteObject(oldFont);
    fitColumns();
    InvalidateRect(control(form::SpectrumId::Plot), nullptr, FALSE);
}

void SpectrumWindow::fitColumns()
{
    HWND table = control(form::SpectrumId::Table);
    const int columns = Header_GetItemCount(ListView_GetHeader(table));
    if (columns == 0)
        return;
    RECT r{};
    GetClientRect(table, &r);
    for (int c = 0; c < columns; ++c)
        ListView_SetColumnWidth(table, c, r.right / columns);
}

void SpectrumWindow::paintPlot(HWND plot)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(plot, &ps);
    RECT r{};
    GetClientRect(plot, &r);
    // Painted off screen, then copied: no flicker on resize.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max(1L, r.right), std::max(1L, r.bottom));
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    if (const auto description = logic_.plot(r.right, r.bottom))
        win32::paintPlot(memory, *description);
    else {
        FillRect(memory, &r, GetSysColorBrush(COLOR_WINDOW));
        HGDIOBJ oldFont = SelectObject(memory, font_);
        SetBkMode(memory, TRANSPARENT);
        SetTextColor(memory, GetSysColor(COLOR_WINDOWTEXT));
        RECT text = r;
        DrawTextW(memory, placeholder_.c_str(), int(placeholder_.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(memory, oldFont);
    }
    BitBlt(dc, 0, 0, r.right, r.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(plot, &ps);
}

std::string SpectrumWindow::text(form::SpectrumId box) const { return narrow(windowText(control(box))); }

form::FilterChoice SpectrumWindow::filterChoice() const
{
    const LRESULT selected = SendMessageW(control(form::SpectrumId::Filter), CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? form::FilterChoice::None : form::FilterChoice(selected);
}

void SpectrumWindow::setEnabled(form::SpectrumId id, bool enabled)
{
    if (HWND c = control(id))
        EnableWindow(c, enabled);
}

void SpectrumWindow::showTable(const std::vector<std::string>& columns,
                               const std::vector<std::vector<std::string>>& rows)
{
    HWND table = control(form::SpectrumId::Table);
    SendMessageW(table, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(table);
    while (ListView_DeleteColumn(table, 0)) {}
    for (std::size_t c = 0; c < columns.size(); ++c) {
        std::wstring heading = widen(columns[c]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.fmt = c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        column.cx = 100;
        column.pszText = heading.data();
        ListView_InsertColumn(table, int(c), &column);
    }
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            std::wstring cell = widen(rows[r][c]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = int(r);
            item.iSubItem = int(c);
            item.pszText = cell.data();
            if (c == 0)
                ListView_InsertItem(table, &item);
            else
                ListView_SetItem(table, &item);
        }
    fitColumns();
    SendMessageW(table, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(table, nullptr, TRUE);
}

void SpectrumWindow::plotChanged() { InvalidateRect(control(form::SpectrumId::Plot), nullptr, FALSE); }

void SpectrumWindow::showStatus(std::string_view text)
{
    placeholder_ = widen(text);
    SetWindowTextW(control(form::SpectrumId::Status), placeholder_.c_str());
    plotChanged();
}

void SpectrumWindow::showTitle(std::string_view text) { SetWindowTextW(window_, widen(text).c_str()); }

void SpectrumWindow::showError(std::string_view message)
{
    if (IsWindowVisible(window_)) // a hidden window following the main one stays quiet
        MessageBoxW(window_, widen(message).c_str(), widen(form::errorTitle).c_str(), MB_OK | MB_ICONWARNING);
}

void SpectrumWindow::focus(form::SpectrumId id) { focus_.focus(control(id)); }

} // namespace win32
