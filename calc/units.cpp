#include "calc/units.h"

#include "calc/text_format.h"

#include <algorithm>
#include <array>

namespace calc {

namespace {

struct Unit {
    std::string_view caption;
    std::int32_t factor;
    int powerOfTen;
};
constexpr std::array<Unit, 3> units{{{"Hz", 1, 0}, {"KHz", 1000, 3}, {"MHz", 1000000, 6}}};

const Unit* unitAt(std::int16_t mode1) noexcept
{
    return (mode1 >= 0 && mode1 < std::int16_t(units.size())) ? &units[std::size_t(mode1)] : nullptr;
}

} // namespace

std::optional<std::string_view> unitCaption(std::int16_t mode1) noexcept
{
    if (const Unit* u = unitAt(mode1))
        return u->caption;
    return std::nullopt;
}

std::optional<std::int32_t> unitFactor(std::int16_t mode1) noexcept
{
    if (const Unit* u = unitAt(mode1))
        return u->factor;
    return std::nullopt;
}

int unitPowerOfTen(std::int16_t mode1) noexcept
{
    const Unit* u = unitAt(mode1);
    return u ? u->powerOfTen : 0;
}

std::string formatMilliHz(std::uint64_t milliHz, std::int16_t mode1)
{
    return trimmedFixedPoint(milliHz, std::size_t(3 + unitPowerOfTen(mode1)));
}

} // namespace calc
