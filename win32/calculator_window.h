#pragma once
// The calculator's window on plain Win32: real Windows controls at the
// stored positions, scaled to the monitor's DPI, joined to the handlers of
// the toolkit-free description in form/.

#include "form/calculator.h"
#include "win32/spectrum_window.h"
#include "win32/system.h"

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace win32 {

class CalculatorWindow : private form::View {
public:
    explicit CalculatorWindow(HINSTANCE instance);
    CalculatorWindow(const CalculatorWindow&) = delete;
    CalculatorWindow& operator=(const CalculatorWindow&) = delete;
    ~CalculatorWindow() override;

    // Creates the window and its controls, runs the load handler and shows
    // the window; false when Windows refuses.
    bool create(int show);
    // Runs the message loop until the window is closed; the exit code.
    int run();

private:
    friend LRESULT CALLBACK objectWindowProc<CalculatorWindow>(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK resultBoxProc(HWND box, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR self);
    // The result box's context menu at `at` (screen; -1 from the keyboard):
    // the edit box's own entries, then the spectrum.
    void showResultMenu(HWND box, LPARAM at);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    void onCommand(int id, int code, HWND control);
    void layOut();                                  // positions and fonts at the current DPI
    bool createNameLabel(const form::Control& box); // false when Windows refuses
    // The result box's tooltip: the tool for the pointer, or the one that
    // Ctrl+F1 shows and the next key or click hides.
    TTTOOLINFOW resultTool(bool byKey) const;
    void showResultTooltip();
    void hideResultTooltip();
    void keepSingleLine(HWND edit);
    // Shows the spectrum window (F2 anywhere in the window), made on first
    // use with the last calculation.
    void openSpectrum();
    HWND control(std::size_t row) const;
    HWND box(form::Box which) const { return control(form::row(which)); }
    int scaled(int twips) const { return MulDiv(twips, dpi_, 1440); }

    // form::View
    std::string text(form::Box which) const override;
    void setText(form::Box which, std::string_view text) override;
    void showFromStart(form::Box which) override;
    std::string unitCaption() const override;
    void setUnitCaption(std::string_view caption) override;
    void selectOption(int array, int index) override;
    void setResultTooltip(std::string_view text) override;
    void announceResult(std::string_view text) override;
    void setDescription(form::Box which, std::string_view text) override;
    void showError(std::string_view message) override;
    void focusBox(form::Box which) override;
    void calculated(const form::Calculated& calculation) override;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    HWND tooltip_ = nullptr;
    std::wstring tooltipText_;
    bool keyTipShown_ = false;
    int dpi_ = 96;
    std::map<double, HFONT> fonts_; // by point size, at the current DPI
    bool fixingText_ = false;
    FocusKeeper focus_;
    std::map<HWND, std::wstring> lastTexts_;   // each text box's text after its last change
    HACCEL accelerators_ = nullptr;            // F2
    std::unique_ptr<SpectrumWindow> spectrum_; // nullptr before F2 first opened it
    form::Calculator logic_{*this};
};

} // namespace win32
