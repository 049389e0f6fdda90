#include "win32/calculator_window.h"

#include "form/layout.h"
#include "form/messages.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace win32 {

namespace {

constexpr wchar_t windowClass[] = L"AD9851CalcForm1";
constexpr int firstControlId = 100; // control ids: 100 + the row in the control table
constexpr int iconId = 1;
constexpr UINT_PTR keyboardTipId = 1; // the result's tooltip as Ctrl+F1 shows it
constexpr int openSpectrumId = 90;    // F2's command

int idOf(std::size_t row) { return firstControlId + int(row); }

constexpr DWORD windowStyle = WS_OVERLAPPEDWINDOW;

} // namespace

CalculatorWindow::CalculatorWindow(HINSTANCE instance) : instance_(instance) {}

CalculatorWindow::~CalculatorWindow()
{
    if (accelerators_)
        DestroyAcceleratorTable(accelerators_);
    for (auto& [points, font] : fonts_)
        DeleteObject(font);
}

bool CalculatorWindow::create(int show)
{
    INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&common);

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = objectWindowProc<CalculatorWindow>;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(iconId));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = windowClass;
    if (!RegisterClassExW(&wc))
        return false;

    dpi_ = dpiFor(nullptr);
    const SIZE size =
        frameAround(scaled(form::openingSizeTwips.width), scaled(form::openingSizeTwips.height), windowStyle);
    window_ = CreateWindowExW(0, windowClass, widen(form::windowCaption).c_str(), windowStyle, CW_USEDEFAULT,
                              CW_USEDEFAULT, size.cx, size.cy, nullptr, nullptr, instance_, this);
    if (!window_)
        return false;
    dpi_ = dpiFor(window_);

    // Created in tab order, so that Tab follows the stored indexes, each
    // text box after its label; then the labels; the frames last, beneath
    // the controls they hold.
    std::vector<const form::Control*> order = form::tabOrder();
    for (const form::Control& c : form::controls)
        if (c.kind == form::Kind::Label)
            order.push_back(&c);
    for (auto it = form::controls.rbegin(); it != form::controls.rend(); ++it)
        if (it->kind == form::Kind::Frame)
            order.push_back(&*it);
    const form::Control* previous = nullptr;
    for (const form::Control* c : order) {
        if (c->kind == form::Kind::TextBox && !createNameLabel(*c))
            return false;
        const wchar_t* kindClass = L"BUTTON";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD exStyle = 0;
        // A new group starts at each control that is not an option following
        // an option of its own array.
        const bool continuesGroup = previous && c->group != 0 && c->group == previous->group;
        if (!continuesGroup)
            style |= WS_GROUP;
        switch (c->kind) {
        case form::Kind::Frame:
            style |= BS_GROUPBOX;
            break;
        case form::Kind::Option:
            style |= BS_AUTORADIOBUTTON | (continuesGroup ? 0 : WS_TABSTOP);
            break;
        case form::Kind::Button:
            style |= BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP;
            break;
        case form::Kind::TextBox:
            kindClass = L"EDIT";
            style |= ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case form::Kind::Label:
            kindClass = L"STATIC";
            style |= SS_LEFT | SS_NOPREFIX;
            break;
        }
        HWND hwnd = CreateWindowExW(exStyle, kindClass, widen(c->text).c_str(), style, 0, 0, 0, 0, window_,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(idOf(form::row(c->name)))), instance_,
                                    nullptr);
        if (!hwnd)
            return false;
        if (c->kind == form::Kind::TextBox) {
            SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0); // no length limit
            lastTexts_[hwnd] = widen(c->text);
        }
        previous = c;
    }

    tooltip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
    if (tooltip_) {
        // One tool for the pointer over the result box, one that Ctrl+F1
        // shows below it.
        for (const bool byKey : {false, true}) {
            TTTOOLINFOW tool = resultTool(byKey);
            tool.uFlags |= byKey ? TTF_TRACK | TTF_ABSOLUTE : TTF_SUBCLASS;
            tool.lpszText = const_cast<wchar_t*>(L"");
            SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
        SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, 800);
        SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 30000);
    }

    SetWindowSubclass(box(form::Box::data), resultBoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
    ACCEL f2{FVIRTKEY, VK_F2, openSpectrumId};
    accelerators_ = CreateAcceleratorTableW(&f2, 1);

    layOut();
    logic_.Form_Load();
    ShowWindow(window_, show);
    UpdateWindow(window_);
    SetFocus(control(logic_.initialFocus())); // the selected unit option
    return true;
}

int CalculatorWindow::run()
{
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // Ctrl+F1 in the result box shows its tooltip; the next key or
        // click hides it again.
        if (msg.message == WM_KEYDOWN || msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN)
            hideResultTooltip();
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1 && GetKeyState(VK_CONTROL) < 0 &&
            msg.hwnd == box(form::Box::data)) {
            showResultTooltip();
            continue;
        }
        if (spectrum_ && spectrum_->dialogMessage(msg))
            continue;
        if (accelerators_ && (msg.hwnd == window_ || IsChild(window_, msg.hwnd)) &&
            TranslateAcceleratorW(window_, accelerators_, &msg))
            continue;
        // The dialog manager gives Tab, the arrow keys in the option groups
        // and Enter their usual meaning.
        if (IsDialogMessageW(window_, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return int(msg.wParam);
}

LRESULT CalculatorWindow::handle(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l));
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(w) == WA_INACTIVE)
            hideResultTooltip();
        if (focus_.activation(window_, w))
            return 0;
        return DefWindowProcW(window_, message, w, l);
    case WM_GETMINMAXINFO: {
        // Never smaller than the layout it must show.
        const SIZE min =
            frameAround(scaled(form::minimumSizeTwips.width), scaled(form::minimumSizeTwips.height), windowStyle);
        reinterpret_cast<MINMAXINFO*>(l)->ptMinTrackSize = {min.cx, min.cy};
        return 0;
    }
    case 0x02E0: { // WM_DPICHANGED: positions and fonts follow the monitor
        dpi_ = HIWORD(w);
        const RECT* suggested = reinterpret_cast<const RECT*>(l);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        layOut();
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window_, message, w, l);
    }
}

void CalculatorWindow::onCommand(int id, int code, HWND from)
{
    if (id == openSpectrumId) {
        openSpectrum();
        return;
    }
    if (id == IDOK) { // Enter, from the dialog manager
        const int focused = GetDlgCtrlID(GetFocus()) - firstControlId;
        if (focused >= 0 && focused < int(form::controls.size()))
            logic_.enterPressed(std::size_t(focused));
        return;
    }
    const int row = id - firstControlId;
    if (row < 0 || row >= int(form::controls.size()))
        return;
    const form::Control& c = form::controls[std::size_t(row)];
    switch (c.kind) {
    case form::Kind::Button:
        if (code == BN_CLICKED)
            logic_.Command1_Click();
        break;
    case form::Kind::Option:
        if (code == BN_CLICKED && SendMessageW(from, BM_GETCHECK, 0, 0) == BST_CHECKED)
            logic_.optionClicked(c.group, std::int16_t(c.index));
        break;
    case form::Kind::TextBox:
        if (code == EN_CHANGE && !fixingText_) {
            keepSingleLine(from);
            if (from == box(form::Box::Fc))
                logic_.crystalChanged();
        }
        break;
    default:
        break;
    }
}

void CalculatorWindow::keepSingleLine(HWND edit)
{
    std::wstring& last = lastTexts_[edit];
    const std::wstring text = windowText(edit);
    DWORD caret = 0;
    SendMessageW(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    std::u16string u16(text.begin(), text.end());
    int cursor = int(caret);
    form::keepFirstLine(std::u16string(last.begin(), last.end()), u16, cursor);
    last.assign(u16.begin(), u16.end());
    if (u16.size() == text.size())
        return;
    fixingText_ = true;
    SetWindowTextW(edit, last.c_str());
    SendMessageW(edit, EM_SETSEL, WPARAM(cursor), LPARAM(cursor));
    fixingText_ = false;
}

void CalculatorWindow::layOut()
{
    for (auto& [points, font] : fonts_)
        DeleteObject(font);
    fonts_.clear();
    auto fontOf = [&](double points) {
        HFONT& font = fonts_[points];
        if (!font)
            font = chineseFont(MulDiv(int(points * 100), dpi_, 7200));
        return font;
    };
    for (std::size_t row = 0; row < form::controls.size(); ++row) {
        const form::Control& c = form::controls[row];
        const form::Rect r = form::absoluteTwips(c);
        HWND hwnd = control(row);
        MoveWindow(hwnd, scaled(r.left), scaled(r.top), scaled(form::shownWidthTwips(c)), scaled(r.height), TRUE);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(form::fontPoints(c))), TRUE);
    }
    if (tooltip_)
        SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(fontOf(form::windowFontPoints)), TRUE);
}

bool CalculatorWindow::createNameLabel(const form::Control& box)
{
    // Screen readers name an edit box by the static text right before it.
    // The boxes' captions are their frames', so each box gets a label of its
    // own there: visible, as readers ask, but of no size, so that the stored
    // layout stays as it is.
    return CreateWindowExW(0, L"STATIC", widen(form::accessibleName(box)).c_str(),
                           WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, window_, nullptr,
                           instance_, nullptr) != nullptr;
}

LRESULT CALLBACK CalculatorWindow::resultBoxProc(HWND box, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR self)
{
    if (message == WM_CONTEXTMENU) {
        reinterpret_cast<CalculatorWindow*>(self)->showResultMenu(box, l);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(box, resultBoxProc, 1);
    return DefSubclassProc(box, message, w, l);
}

void CalculatorWindow::showResultMenu(HWND box, LPARAM at)
{
    enum : UINT { undo = 1, cut, copy, paste, erase, selectAll, spectrum };
    DWORD start = 0, end = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const bool selected = start != end;
    HMENU menu = CreatePopupMenu();
    auto add = [menu](UINT id, const std::wstring& text, bool enabled) {
        AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, text.c_str());
    };
    auto separate = [menu] { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); };
    add(undo, L"撤消(&U)", SendMessageW(box, EM_CANUNDO, 0, 0) != 0);
    separate();
    add(cut, L"剪切(&T)", selected);
    add(copy, L"复制(&C)", selected);
    add(paste, L"粘贴(&P)", IsClipboardFormatAvailable(CF_UNICODETEXT) != 0);
    add(erase, L"删除(&D)", selected);
    separate();
    add(selectAll, L"全选(&A)", GetWindowTextLengthW(box) > 0);
    separate();
    add(spectrum, widen(form::spectrumMenuEntry), true);
    POINT p{short(LOWORD(at)), short(HIWORD(at))};
    if (at == -1) { // Shift+F10 or the menu key: under the box's corner
        RECT r{};
        GetWindowRect(box, &r);
        p = {r.left, r.bottom};
    }
    SetFocus(box);
    const auto chosen = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, p.x, p.y, 0, window_, nullptr));
    DestroyMenu(menu);
    switch (chosen) {
    case undo:
        SendMessageW(box, EM_UNDO, 0, 0);
        break;
    case cut:
        SendMessageW(box, WM_CUT, 0, 0);
        break;
    case copy:
        SendMessageW(box, WM_COPY, 0, 0);
        break;
    case paste:
        SendMessageW(box, WM_PASTE, 0, 0);
        break;
    case erase:
        SendMessageW(box, WM_CLEAR, 0, 0);
        break;
    case selectAll:
        SendMessageW(box, EM_SETSEL, 0, -1);
        break;
    case spectrum:
        openSpectrum();
        break;
    default:
        break;
    }
}

void CalculatorWindow::openSpectrum()
{
    if (!spectrum_) {
        auto window = std::make_unique<SpectrumWindow>(instance_, window_);
        if (!window->create()) {
            showError("无法创建频谱窗口。");
            return;
        }
        spectrum_ = std::move(window);
        if (const auto& last = logic_.lastCalculated())
            spectrum_->calculated(*last);
    }
    spectrum_->show();
}

void CalculatorWindow::calculated(const form::Calculated& calculation)
{
    if (spectrum_)
        spectrum_->calculated(calculation);
}

HWND CalculatorWindow::control(std::size_t row) const { return GetDlgItem(window_, idOf(row)); }

std::string CalculatorWindow::text(form::Box which) const { return narrow(windowText(box(which))); }

void CalculatorWindow::setText(form::Box which, std::string_view text)
{
    SetWindowTextW(box(which), widen(text).c_str());
}

void CalculatorWindow::showFromStart(form::Box which)
{
    SendMessageW(box(which), EM_SETSEL, 0, 0);
    SendMessageW(box(which), EM_SCROLLCARET, 0, 0);
}

std::string CalculatorWindow::unitCaption() const { return narrow(windowText(control(form::unitLabelRow))); }

void CalculatorWindow::setUnitCaption(std::string_view caption)
{
    SetWindowTextW(control(form::unitLabelRow), widen(caption).c_str());
}

void CalculatorWindow::selectOption(int array, int index)
{
    for (std::size_t row = 0; row < form::controls.size(); ++row)
        if (const form::Control& c = form::controls[row]; c.kind == form::Kind::Option && c.group == array)
            SendMessageW(control(row), BM_SETCHECK, c.index == index ? BST_CHECKED : BST_UNCHECKED, 0);
}

TTTOOLINFOW CalculatorWindow::resultTool(bool byKey) const
{
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = byKey ? 0 : TTF_IDISHWND;
    tool.hwnd = window_;
    tool.uId = byKey ? keyboardTipId : reinterpret_cast<UINT_PTR>(box(form::Box::data));
    return tool;
}

void CalculatorWindow::showResultTooltip()
{
    if (!tooltip_ || tooltipText_.empty())
        return;
    RECT r;
    GetWindowRect(box(form::Box::data), &r);
    TTTOOLINFOW tool = resultTool(true);
    SendMessageW(tooltip_, TTM_TRACKPOSITION, 0, MAKELPARAM(r.left, r.bottom));
    SendMessageW(tooltip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    keyTipShown_ = true;
}

void CalculatorWindow::hideResultTooltip()
{
    if (!keyTipShown_)
        return;
    TTTOOLINFOW tool = resultTool(true);
    SendMessageW(tooltip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    keyTipShown_ = false;
}

void CalculatorWindow::setResultTooltip(std::string_view text)
{
    if (!tooltip_)
        return;
    tooltipText_ = widen(text);
    for (const bool byKey : {false, true}) {
        TTTOOLINFOW tool = resultTool(byKey);
        tool.lpszText = tooltipText_.data();
        SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void CalculatorWindow::announceResult(std::string_view)
{
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, box(form::Box::data), OBJID_CLIENT, CHILDID_SELF);
}

// Standard Windows controls carry no accessible description of their own.
void CalculatorWindow::setDescription(form::Box, std::string_view) {}

void CalculatorWindow::showError(std::string_view message)
{
    MessageBoxW(window_, widen(message).c_str(), widen(form::errorTitle).c_str(), MB_OK | MB_ICONWARNING);
}

void CalculatorWindow::focusBox(form::Box which) { focus_.focus(box(which)); }

} // namespace win32
