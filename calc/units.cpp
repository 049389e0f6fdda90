#include "calc/units.h"

#include <algorithm>
#include <array>

namespace calc {

namespace {
struct Unit {
    std::string_view caption;
    double factor;
};
constexpr std::array<Unit, 3> units{{{"Hz", 1.0}, {"KHz", 1000.0}, {"MHz", 1000000.0}}};

bool sameIgnoringCase(std::string_view a, std::string_view b) noexcept
{
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}
} // namespace

std::optional<std::string_view> unitCaption(std::int16_t mode1) noexcept
{
    if (mode1 < 0 || mode1 >= std::int16_t(units.size()))
        return std::nullopt;
    return units[std::size_t(mode1)].caption;
}

double unitFactor(std::int16_t mode1) noexcept
{
    if (mode1 < 0 || mode1 >= std::int16_t(units.size()))
        return 1.0;
    return units[std::size_t(mode1)].factor;
}

std::optional<std::int16_t> unitFromName(std::string_view name) noexcept
{
    for (std::size_t i = 0; i < units.size(); ++i)
        if (sameIgnoringCase(units[i].caption, name))
            return std::int16_t(i);
    return std::nullopt;
}

} // namespace calc
