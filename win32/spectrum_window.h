#pragma once
// The spectrum window on plain Win32: a top-level window of real Windows
// controls laid out by the toolkit-free description in form/, joined to its
// handler; the plot painted with GDI for the window's current size.

#include "form/spectrum_window.h"
#include "win32/system.h"

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

namespace win32 {

class SpectrumWindow : private form::SpectrumView {
public:
    // A window that `owner` owns: it stays above it and closes with it.
    SpectrumWindow(HINSTANCE instance, HWND owner);
    SpectrumWindow(const SpectrumWindow&) = delete;
    SpectrumWindow& operator=(const SpectrumWindow&) = delete;
    ~SpectrumWindow() override;

    // Creates the window and its controls, hidden; false when Windows
    // refuses.
    bool create();
    // Shows the window and brings it to the front.
    void show();
    // The main window calculated: the window follows it.
    void calculated(const form::Calculated& calculation) { logic_.calculated(calculation); }
    // Gives Tab, Enter and Escape their usual meaning in this window; true
    // when `msg` was handled so.
    bool dialogMessage(MSG& msg);

private:
    friend LRESULT CALLBACK objectWindowProc<SpectrumWindow>(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK plotProc(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handle(UINT message, WPARAM w, LPARAM l);
    bool createControls();
    HWND createControl(const form::SpectrumControl& entry);
    void onCommand(int id, int code);
    void layOut(); // positions and fonts at the current size and DPI
    void fitColumns();
    void paintPlot(HWND plot);
    // A box's text is applied when the user is done with it: Enter, or
    // the focus leaving it with a changed text.
    void applyBox(std::size_t index);
    void save(form::SpectrumId button, std::string_view fileName, const wchar_t* filter, const std::string& contents);
    // Ctrl+C in the table copies the selected rows (all when none is)
    // with the headings, tab-separated, as the table shows them.
    void copyTable();
    HWND control(form::SpectrumId id) const { return controls_[form::spectrumIndex(id)]; }

    // form::SpectrumView
    std::string text(form::SpectrumId box) const override;
    form::FilterChoice filterChoice() const override;
    void setEnabled(form::SpectrumId id, bool enabled) override;
    void showTable(const std::vector<std::string>& columns, const std::vector<std::vector<std::string>>& rows) override;
    void plotChanged() override;
    void showStatus(std::string_view text) override;
    void showTitle(std::string_view text) override;
    void showError(std::string_view message) override;
    void focus(form::SpectrumId id) override;

    HINSTANCE instance_;
    HWND owner_;
    HWND window_ = nullptr;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    int fontDpi_ = 0; // the DPI font_ was made for
    FocusKeeper focus_;
    std::array<HWND, form::spectrumControls.size()> controls_{};        // by index in the control table
    std::array<std::wstring, form::spectrumControls.size()> applied_{}; // the boxes' texts last applied
    std::wstring placeholder_; // shown in the plot's place while there is no plot
    form::SpectrumWindow logic_{*this};
};

} // namespace win32
