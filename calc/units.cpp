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
constexpr std::array<std::string_view, 2> dataModes{"serial", "parallel"};
constexpr std::array<std::string_view, 2> chips{"ad9851", "ad9850"};

const Unit* unitAt(std::int16_t mode1) noexcept
{
    return (mode1 >= 0 && mode1 < std::int16_t(units.size())) ? &units[std::size_t(mode1)] : nullptr;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) noexcept
{
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

template <class Names, class Name>
std::optional<std::int16_t> indexOfName(const Names& names, std::string_view wanted, Name name) noexcept
{
    for (std::size_t i = 0; i < names.size(); ++i)
        if (sameIgnoringCase(name(names[i]), wanted))
            return std::int16_t(i);
    return std::nullopt;
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

std::optional<std::int16_t> unitFromName(std::string_view name) noexcept
{
    return indexOfName(units, name, [](const Unit& u) { return u.caption; });
}

std::optional<std::int16_t> dataModeFromName(std::string_view name) noexcept
{
    return indexOfName(dataModes, name, [](std::string_view m) { return m; });
}

std::optional<std::int16_t> chipFromName(std::string_view name) noexcept
{
    return indexOfName(chips, name, [](std::string_view c) { return c; });
}

std::string formatMilliHz(std::uint64_t milliHz, std::int16_t mode1)
{
    return trimmedFixedPoint(milliHz, std::size_t(3 + unitPowerOfTen(mode1)));
}

} // namespace calc
