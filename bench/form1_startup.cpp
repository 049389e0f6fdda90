// The calculator's own start-up, leaving once the window has first painted.

#include "bench/quit_after_paint.h"
#include "window/calculator_window.h"
#include "window/startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    prepareApplication(app);
    window::CalculatorWindow form;
    form.load();
    new QuitAfterPaint(&form);
    form.show();
    return app.exec();
}
