#include "calc/clock_plan.h"

#include "calc/errors.h"
#include "calc/exact_number.h"
#include "calc/spectrum_table.h"
#include "calc/text_format.h"
#include "calc/tuner.h"
#include "calc/units.h"
#include "runtime/number.h"
#include "runtime/text_normal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace calc {

namespace {

// One end of a band, in mHz.
std::uint64_t readBandEnd(std::string_view text, std::int16_t mode1, std::string_view band)
{
    const rt::WrittenNumber written = rt::readWrittenNumber(text);
    const std::string quoted = "band \"" + std::string(band) + "\"";
    if (!written.isWholeText(text))
        throw CalcError(Problem::InvalidSetting, quoted + ": \"" + std::string(text) + "\" is not a number");
    if (written.negative && !written.isZero())
        throw CalcError(Problem::InvalidSetting, quoted + " must not go below 0");
    const auto scale = std::uint64_t(unitPowerOfTen(mode1)) + 3;
    // Beyond 10^15 Hz lies no component of any clock the chips take.
    if (decimalMagnitude(written) + std::int64_t(scale) > 18)
        throw CalcError(Problem::InvalidSetting, quoted + " is too high");
    const ExactNumber end = toExact(written, scale + 1);
    return static_cast<std::uint64_t>(rt::roundedQuotient(end.numerator * rt::powerOfTen(scale), end.denominator()));
}

std::uint64_t milliHzOf(const rt::BigInt& numerator, std::uint64_t fractionDigits)
{
    return static_cast<std::uint64_t>(rt::roundedQuotient(numerator * 1000, rt::powerOfTen(fractionDigits)));
}

// The nearest component to the output, and the strongest in the band.
void judgeSpectrum(const Spectrum& spectrum, const PlanSettings& settings, const SystemClock& clock,
                   ClockCandidate& candidate)
{
    const NearestComponent nearest = nearestComponent(spectrum, clock);
    candidate.nearest = nearest.component;
    candidate.distanceMilliHz = nearest.distanceMilliHz;
    if (!settings.band)
        return;
    double worst = -std::numeric_limits<double>::infinity();
    for (const SpectralComponent& c : spectrum.components)
        if (c.kind != ComponentKind::Fundamental && c.milliHz >= settings.band->lowMilliHz &&
            c.milliHz <= settings.band->highMilliHz)
            worst = std::max(worst, c.filteredDbc.value_or(c.levelDbc));
    candidate.worstInBandDbc = worst;
}

// True when `a` ranks before `b`.
bool ranksBefore(const ClockCandidate& a, const ClockCandidate& b)
{
    if (a.worstInBandDbc && b.worstInBandDbc && *a.worstInBandDbc != *b.worstInBandDbc)
        return *a.worstInBandDbc < *b.worstInBandDbc;
    if (a.distanceMilliHz != b.distanceMilliHz)
        return a.distanceMilliHz > b.distanceMilliHz;
    return std::abs(a.details.deviationHz) < std::abs(b.details.deviationHz);
}

} // namespace

NearestComponent nearestComponent(const Spectrum& spectrum, const SystemClock& clock)
{
    const SpectralComponent& output = spectrum.output();
    NearestComponent nearest;
    std::uint64_t nearestSteps = std::numeric_limits<std::uint64_t>::max();
    for (const SpectralComponent& c : spectrum.components) {
        if (c.kind == ComponentKind::Fundamental)
            continue;
        const std::uint64_t apart = c.steps > output.steps ? c.steps - output.steps : output.steps - c.steps;
        if (apart < nearestSteps || (apart == nearestSteps && std::abs(c.order) < std::abs(nearest.component.order))) {
            nearestSteps = apart;
            nearest.component = c;
        }
    }
    nearest.distanceMilliHz = stepsMilliHz(nearestSteps, clock);
    return nearest;
}

FrequencyBand readFrequencyBand(std::string_view text, std::int16_t mode1)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        throw CalcError(Problem::InvalidSetting, "band \"" + std::string(text) + "\" must be LO:HI");
    FrequencyBand band{readBandEnd(text.substr(0, colon), mode1, text),
                       readBandEnd(text.substr(colon + 1), mode1, text)};
    if (band.lowMilliHz > band.highMilliHz)
        throw CalcError(Problem::InvalidSetting, "band \"" + std::string(text) + "\" ends below its start");
    return band;
}

std::vector<std::string> splitReferenceList(std::string_view text)
{
    std::vector<std::string> references;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(',', start);
        const std::string_view item =
            rt::trimmedBlanks(text.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (item.empty())
            throw CalcError(Problem::InvalidSetting, "an empty reference in \"" + std::string(text) + "\"");
        references.emplace_back(item);
        if (comma == std::string_view::npos)
            return references;
        start = comma + 1;
    }
}

ClockPlan planClock(const PlanSettings& settings, std::string_view frequency)
{
    checkSpectrumSettings(settings.spectrum);
    std::vector<std::string> crystals;
    if (settings.referencesHz.empty())
        for (int mhz = firstPlanCrystalMHz; mhz <= lastPlanCrystalMHz; ++mhz)
            crystals.push_back(std::to_string(mhz));

    ClockPlan plan;
    const std::size_t count = crystals.empty() ? settings.referencesHz.size() : crystals.size();
    for (std::size_t i = 0; i < count; ++i) {
        TunerSettings tuning;
        tuning.unit = settings.unit;
        tuning.rounding = settings.rounding;
        tuning.clock.chip = settings.chip;
        tuning.clock.multiplier = settings.multiplier;
        if (crystals.empty())
            tuning.clock.referenceHz = settings.referencesHz[i];
        else
            tuning.clock.crystalMHz = crystals[i];
        const Tuner tuner(tuning);
        const SystemClock& clock = tuner.clock();
        if (clock.numerator > rt::BigInt(maxSystemClockHz(clock.chip)) * clock.denominator()) {
            ++plan.aboveMaxClock;
            continue;
        }
        std::optional<Tuned> tuned;
        try {
            tuned = tuner.tune(frequency);
        } catch (const CalcError& e) {
            if (e.problem() != Problem::FrequencyTooHigh)
                throw;
            ++plan.tooSlow;
            continue;
        }
        if (tuned->word == 0) {
            ++plan.tooFast;
            continue;
        }
        ClockCandidate candidate;
        candidate.referenceMilliHz = milliHzOf(clock.referenceNumerator, clock.referenceFractionDigits);
        candidate.clockMilliHz = milliHzOf(clock.numerator, clock.fractionDigits);
        candidate.details = tuner.details(*tuned);
        judgeSpectrum(outputSpectrum(tuned->word, clock, settings.spectrum), settings, clock, candidate);
        plan.candidates.push_back(candidate);
    }
    // No clock that can make the frequency gives it a word: the word 0.
    if (plan.candidates.empty() && plan.tooFast != 0)
        checkOutputWord(0);
    std::ranges::stable_sort(plan.candidates, ranksBefore);
    return plan;
}

std::vector<std::string_view> planColumns(bool band)
{
    std::vector<std::string_view> columns{"ref_hz",       "clock_hz",   "word",    "actual_hz",
                                          "deviation_hz", "nearest_hz", "nearest", "distance_hz"};
    if (band)
        columns.emplace_back("worst_in_band_dbc");
    return columns;
}

std::vector<std::string> candidateTexts(const ClockCandidate& candidate)
{
    std::vector<std::string> texts{trimmedFixedPoint(candidate.referenceMilliHz, 3),
                                   trimmedFixedPoint(candidate.clockMilliHz, 3),
                                   std::to_string(candidate.details.word),
                                   formatHz(candidate.details.actualMilliHz),
                                   formatDeviationHz(candidate.details.deviationHz),
                                   formatHz(candidate.nearest.milliHz),
                                   componentLabel(candidate.nearest),
                                   formatHz(candidate.distanceMilliHz)};
    if (candidate.worstInBandDbc)
        texts.push_back(formatDb(*candidate.worstInBandDbc));
    return texts;
}

} // namespace calc
