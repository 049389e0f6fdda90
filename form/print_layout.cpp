// print_layout: where each control of the window stands, for the scripts
// that drive the window on a virtual display.  One line per control, in the
// order of the control table:
//   NAME LEFT TOP WIDTH HEIGHT
// in pixels at the layout's own scale (96 dpi), measured from the top-left
// corner of the window's client area.

#include "form/layout.h"

#include <cstdio>
#include <string>

int main()
{
    const auto px = [](int twips) { return form::toPixels(twips, form::layoutDpi); };
    std::string out;
    for (const form::Control& c : form::controls) {
        const form::Rect r = form::absoluteTwips(c);
        out += std::string(c.name) + ' ' + std::to_string(px(r.left)) + ' ' + std::to_string(px(r.top)) + ' ' +
               std::to_string(px(r.width)) + ' ' + std::to_string(px(r.height)) + '\n';
    }
    const bool ok = std::fputs(out.c_str(), stdout) >= 0 && std::fflush(stdout) == 0;
    if (!ok)
        std::fputs("print_layout: cannot write standard output\n", stderr);
    return ok ? 0 : 1;
}
