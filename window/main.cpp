// ad9851-calc: the AD9851 tuning-word calculator window.

#include "window/startup.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    prepareApplication(app);
    return runCalculator(app);
}
