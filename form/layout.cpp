#include "form/layout.h"

#include <algorithm>

namespace form {

const Control& control(std::string_view name) { return controls[row(name)]; }

Rect absoluteTwips(const Control& c)
{
    Rect r{c.left, c.top, c.width, c.height};
    for (std::string_view in = c.container; in != windowName;) {
        const Control& container = control(in);
        r.left += container.left;
        r.top += container.top;
        in = container.container;
    }
    return r;
}

int optionCount(int group)
{
    return int(
        std::ranges::count_if(controls, [&](const Control& c) { return c.kind == Kind::Option && c.group == group; }));
}

int neighbourOption(int group, int index, int step)
{
    const int count = optionCount(group);
    return count == 0 ? index : ((index + step) % count + count) % count;
}

int shownWidthTwips(const Control& c)
{
    int width = c.width;
    if (c.kind != Kind::Option)
        return width;
    for (const Control& other : controls) {
        const bool sameRow =
            other.container == c.container && other.top < c.top + c.height && c.top < other.top + other.height;
        if (other.kind == Kind::Option && sameRow && other.left > c.left)
            width = std::min(width, other.left - c.left);
    }
    return width;
}

std::vector<const Control*> tabOrder()
{
    std::vector<const Control*> order;
    for (const Control& c : controls)
        if (c.kind != Kind::Frame && c.kind != Kind::Label)
            order.push_back(&c);
    std::ranges::sort(order, {}, &Control::tabIndex);
    return order;
}

std::string_view accessibleName(const Control& c)
{
    if (!c.accessibleName.empty())
        return c.accessibleName;
    std::string_view text = c.text;
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace form
