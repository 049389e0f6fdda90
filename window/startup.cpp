#include "window/startup.h"

#include "ad9851/version.h"
#include "window/form1.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
    const QStringList songStyle{QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                                QStringLiteral("AR PL SungtiL GB"), QStringLiteral("Noto Serif CJK SC"),
                                QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei")};
    QFont::insertSubstitutions(QStringLiteral("SimSun"), songStyle);
    QFont::insertSubstitutions(QStringLiteral("宋体"), songStyle);

    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/ad9851-calc-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/ad9851-calc-32.png"), QSize(32, 32));
    QApplication::setWindowIcon(icon);
}

int runCalculator(QApplication& app)
{
    Form1 form;
    form.load();
    form.show();
    return app.exec();
}
