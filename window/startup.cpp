#include "window/startup.h"

#include "ad9851/version.h"
#include "resources/icons/icon_pixels.h"
#include "window/calculator_window.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QTranslator>

namespace {
QImage pixelImage(const std::uint32_t* pixels, int size)
{
    return QImage(reinterpret_cast<const uchar*>(pixels), size, size, QImage::Format_ARGB32);
}
} // namespace

void prepareApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("ad9851-calc"));
    QApplication::setApplicationDisplayName(QStringLiteral("AD9851 计算软件"));
    QApplication::setApplicationVersion(QStringLiteral(AD9851_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("ad9851-calc"));

    // Locale 2052: Chinese (PRC), for the program and Qt's own dialogs.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto* qtTexts = new QTranslator(&app);
    if (qtTexts->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtTexts);

    // The captions ask for SimSun (宋体).  Where it is missing, as on Linux,
    // a Song-style CJK font draws them instead.
    const QStringList songStyle{QStringLiteral("AR PL UMing CN"),   QStringLiteral("AR PL UMing TW"),
                                QStringLiteral("AR PL SungtiL GB"), QStringLiteral("Noto Serif CJK SC"),
                                QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")};
    QFont::insertSubstitutions(QStringLiteral("SimSun"), songStyle);
    QFont::insertSubstitutions(QStringLiteral("宋体"), songStyle);

    // Built from raw pixels: decoding an image file would make Qt load all
    // its image-format plugins before the window can show.
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(pixelImage(iconPixels16, 16)));
    icon.addPixmap(QPixmap::fromImage(pixelImage(iconPixels32, 32)));
    icon.addPixmap(QPixmap::fromImage(pixelImage(iconPixels48, 48)));
    icon.addPixmap(QPixmap::fromImage(pixelImage(iconPixels64, 64)));
    QApplication::setWindowIcon(icon);
}

int runCalculator(QApplication& app)
{
    window::CalculatorWindow form;
    form.load();
    form.show();
    return app.exec();
}
