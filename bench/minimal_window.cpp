// The least a Qt Widgets program with the calculator's controls does to
// show them, leaving once the window has first painted.

#include "bench/quit_after_paint.h"
#include "form/layout.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>

namespace {
int px(int twips) { return form::toPixels(twips, form::layoutDpi); }
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(px(form::openingSizeTwips.width), px(form::openingSizeTwips.height));
    std::array<QWidget*, form::controls.size()> widgets{};
    for (std::size_t row = 0; row < form::controls.size(); ++row) {
        const form::Control& c = form::controls[row];
        QWidget* in = c.container == form::windowName ? &window : widgets[form::row(c.container)];
        const QString text = QString::fromUtf8(c.text.data(), qsizetype(c.text.size()));
        QWidget* w = nullptr;
        switch (c.kind) {
        case form::Kind::Frame:
            w = new QGroupBox(text, in);
            break;
        case form::Kind::Option:
            w = new QRadioButton(text, in);
            break;
        case form::Kind::TextBox:
            w = new QLineEdit(text, in);
            break;
        case form::Kind::Label:
            w = new QLabel(text, in);
            break;
        case form::Kind::Button:
            w = new QPushButton(text, in);
            break;
        }
        w->setGeometry(px(c.left), px(c.top), px(c.width), px(c.height));
        widgets[row] = w;
    }
    new QuitAfterPaint(&window);
    window.show();
    return app.exec();
}
