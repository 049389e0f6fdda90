// Writes the window icon's pixels as a C++ header, so that the window builds
// its icon from raw pixels instead of decoding an image file at start-up
// (decoding one makes Qt scan and load its image-format plugins first).
//   icon_header OUTPUT.h ICON.png...
// Each square image of N pixels becomes `iconPixelsN`: its pixels as
// 0xAARRGGBB (not premultiplied), row by row from the top left.

#include <QImage>
#include <QString>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

bool writeImage(std::ostream& out, const char* path)
{
    const QImage image = QImage(QString::fromLocal8Bit(path)).convertToFormat(QImage::Format_ARGB32);
    if (image.isNull() || image.width() != image.height()) {
        std::cerr << "icon_header: " << path << " is not a square image it can read\n";
        return false;
    }
    const int size = image.width();
    out << "inline constexpr std::uint32_t iconPixels" << size << '[' << size << " * " << size << "] = {\n";
    int count = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%08X,", image.pixel(x, y));
            out << (count % 8 == 0 ? "    " : " ") << hex;
            if (++count % 8 == 0)
                out << '\n';
        }
    }
    if (count % 8 != 0)
        out << '\n';
    out << "};\n";
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: icon_header OUTPUT.h ICON.png...\n";
        return 2;
    }
    std::ostringstream header;
    header << "#pragma once\n"
              "// Generated at build time by icon_header from the icon PNGs; do not edit.\n"
              "// Pixels as 0xAARRGGBB, row by row from the top left.\n"
              "#include <cstdint>\n";
    for (int i = 2; i < argc; ++i) {
        if (!writeImage(header, argv[i]))
            return 1;
    }
    // Written only when every image was read, so that no half header stays.
    std::ofstream out(argv[1]);
    out << header.str();
    out.close();
    if (!out) {
        std::cerr << "icon_header: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
