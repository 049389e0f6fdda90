#pragma once
// What the window does, without a toolkit: the four event handlers and the
// behaviour around them.  A toolkit adapter implements View and calls the
// handlers when its controls report the events.

#include "calc/state.h"
#include "form/layout.h"
#include "form/spectrum_window.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace form {

// The controls as the handlers use them.
class View {
public:
    virtual ~View() = default;
    virtual std::string text(Box box) const = 0;
    virtual void setText(Box box, std::string_view text) = 0;
    // Scrolls a box to the start of its text and puts the cursor there.
    virtual void showFromStart(Box box) = 0;
    virtual std::string unitCaption() const = 0; // modeshow
    virtual void setUnitCaption(std::string_view caption) = 0;
    // Shows `index` of option array 1 or 2 as selected, without raising
    // its click: the handlers raise what they need themselves.
    virtual void selectOption(int array, int index) = 0;
    virtual void setResultTooltip(std::string_view text) = 0;
    // Tells assistive technology that the result box shows a new value.
    virtual void announceResult(std::string_view text) = 0;
    virtual void setDescription(Box box, std::string_view text) = 0;
    virtual void showError(std::string_view message) = 0;
    // Puts the keyboard focus on a box, for when the window has it again.
    virtual void focusBox(Box box) = 0;
    // A calculation succeeded: the spectrum window, open or not, follows it.
    virtual void calculated(const Calculated& /*calculation*/) {}
};

class Calculator {
public:
    explicit Calculator(View& view) : view_(view) {}

    // The four handlers.  None lets an error out: each is shown through
    // View::showError and the window goes on.
    void Form_Load();
    void Option1_Click(std::int16_t index);
    void Option2_Click(std::int16_t index);
    void Command1_Click();

    // The user selected member `index` of option array `group` (1 or 2):
    // runs that array's handler.
    void optionClicked(int group, std::int16_t index);

    // Enter was pressed in the control at `row` of the table.  In the
    // frequency and crystal boxes and on the button it calculates, as a
    // click on the button does; elsewhere it does nothing.
    void enterPressed(std::size_t row);

    // The row of the control that has the focus when the window opens: the
    // first of the tab order that takes it, the selected unit option.
    std::size_t initialFocus() const;

    // The crystal box's text changed: the frequency box's range follows it.
    void crystalChanged() { describeInputs(); }

    const calc::CalcState& state() const noexcept { return state_; }
    // The last successful calculation; nullopt before the first.
    const std::optional<Calculated>& lastCalculated() const noexcept { return lastCalculated_; }

private:
    template <class Handler>
    void dispatch(Handler&& handler);
    void describeInputs();
    std::string wordTooltip(std::uint32_t word) const;

    View& view_;
    calc::CalcState state_;
    std::optional<Calculated> lastCalculated_;
};

// For a single-line box: text inserted with line breaks keeps its first
// line only, and a paste that begins with empty lines keeps its first line
// that has text.  `before` is the box's text before the change; it held no
// line break, so any break came with the text just inserted, which ends at
// `cursor` and starts where `before` and `text` part.  The inserted text
// loses its leading breaks, then everything from its first break up to the
// cursor.  Anything else with a break (text set from code) ends at its
// first break.
void keepFirstLine(std::u16string_view before, std::u16string& text, int& cursor);

} // namespace form
