#include "form/calculator.h"

#include "calc/calculation.h"
#include "calc/control_byte.h"
#include "calc/crystal.h"
#include "calc/details.h"
#include "calc/errors.h"
#include "calc/text_format.h"
#include "calc/units.h"
#include "calc/window_word.h"
#include "form/messages.h"
#include "runtime/text_normal.h"

#include <algorithm>
#include <exception>

namespace form {

template <class Handler>
void Calculator::dispatch(Handler&& handler)
{
    try {
        handler();
    } catch (const calc::CalcError& e) {
        view_.showError(errorMessage(e));
        if (const auto box = boxToFix(e))
            view_.focusBox(*box); // where the message says to type
    } catch (const std::exception& e) {
        view_.showError(unexpectedErrorMessage(e));
    }
}

void Calculator::Form_Load()
{
    dispatch([&] {
        state_.mode1 = calc::KHz;
        state_.mode2 = calc::Serial;
        // Selecting an option raises its click, before the next step.
        view_.selectOption(1, calc::KHz);
        Option1_Click(calc::KHz);
        view_.selectOption(2, calc::Serial);
        Option2_Click(calc::Serial);
        view_.setDescription(Box::Fc, crystalDescription());
        view_.setDescription(Box::data, resultDescription());
    });
}

void Calculator::Option1_Click(std::int16_t index)
{
    dispatch([&] {
        state_.mode1 = index;
        if (const auto caption = calc::unitCaption(index))
            view_.setUnitCaption(*caption);
        describeInputs();
    });
}

void Calculator::Option2_Click(std::int16_t index)
{
    dispatch([&] { state_.mode2 = index; });
}

void Calculator::Command1_Click()
{
    dispatch([&] {
        // Read in this order: the frequency, the crystal, the frequency again
        // for the comment, the unit caption.  The result box is written
        // last, and only when the calculation succeeds.  The numbers are
        // read from their plain forms; the comment repeats the box as typed.
        const std::string frequency = rt::plainNumberText(view_.text(Box::F));
        const std::string crystal = rt::plainNumberText(view_.text(Box::Fc));
        const std::string comment = view_.text(Box::F);
        const std::string unit = view_.unitCaption();
        std::string line;
        const std::uint32_t word = calc::calculate(state_, {frequency, crystal, comment, unit}, line);
        const std::string tooltip = wordTooltip(word);
        view_.setResultTooltip(tooltip);
        // The figures also reach those who use no mouse.
        view_.setDescription(Box::data, resultDescription() + "\n" + tooltip);
        view_.setText(Box::data, line);
        view_.showFromStart(Box::data); // a long line would show its end
        view_.announceResult(line);
        lastCalculated_ = Calculated{word, state_.Fc1, frequency, unit};
        view_.calculated(*lastCalculated_);
    });
}

void Calculator::optionClicked(int group, std::int16_t index)
{
    if (group == 1)
        Option1_Click(index);
    else if (group == 2)
        Option2_Click(index);
}

void Calculator::enterPressed(std::size_t row)
{
    if (row == form::row(Box::F) || row == form::row(Box::Fc) || row == buttonRow)
        Command1_Click();
}

std::size_t Calculator::initialFocus() const
{
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].group == 1 && controls[i].index == state_.mode1)
            return i;
    return row(tabOrder().front()->name);
}

void Calculator::describeInputs()
{
    std::string limit;
    try {
        limit =
            calc::windowFrequencyLimit(calc::readCrystalMHz(rt::plainNumberText(view_.text(Box::Fc))), state_.mode1);
    } catch (const calc::CalcError&) {
        // no usable crystal yet: the range is said without its number
    }
    view_.setDescription(Box::F, frequencyDescription(view_.unitCaption(), limit));
}

std::string Calculator::wordTooltip(std::uint32_t word) const
{
    // The crystal and the frequency in Hz as the calculation just read them.
    const calc::WordDetails details = calc::windowWordDetails(word, state_.Fc1, state_.F1);
    const calc::ControlByte control{0, false, true}; // phase 0, running, 6x multiplier
    std::string load;
    calc::appendByteList(load, calc::loadBytes(control, word, state_.mode2));
    return resultTooltip(details, load, calc::isSerial(state_.mode2));
}

void keepFirstLine(std::u16string_view before, std::u16string& text, int& cursor)
{
    const auto isBreak = [](char16_t c) { return c == u'\n' || c == u'\r'; };
    const auto first = std::ranges::find_if(text, isBreak);
    if (first == text.end())
        return;
    // Where the inserted text starts: the end of what the text kept of
    // `before` in front of it.
    const auto parted = std::ranges::mismatch(before, text).in2;
    const auto start = std::size_t(std::min(parted - text.begin(), std::ptrdiff_t(cursor)));
    std::size_t blank = start;
    while (blank < std::size_t(cursor) && isBreak(text[blank]))
        ++blank;
    text.erase(start, blank - start);
    cursor -= int(blank - start);

    const int from = int(std::ranges::find_if(text, isBreak) - text.begin());
    if (cursor > from) {
        text.erase(std::size_t(from), std::size_t(cursor - from));
        cursor = from;
    }
    const auto next = std::ranges::find_if(text, isBreak);
    if (next != text.end()) {
        text.erase(next, text.end());
        cursor = std::min(cursor, int(text.size()));
    }
}

} // namespace form
