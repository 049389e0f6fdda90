// The least a Qt Widgets program with the calculator's controls does to
// show them, leaving once the window has first painted.

#include "bench/quit_after_paint.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(833, 505);
    auto* f1 = new QGroupBox(" AD9851 计算软件 KOVA TARELMIN", &window);
    f1->setGeometry(224, 96, 585, 385);
    auto* f5 = new QGroupBox("数据模式", f1);
    f5->setGeometry(248, 264, 185, 89);
    (new QRadioButton("并行", f5))->setGeometry(16, 56, 97, 25);
    (new QRadioButton("串行", f5))->setGeometry(16, 24, 105, 25);
    auto* f4 = new QGroupBox("晶振频率", f1);
    f4->setGeometry(40, 264, 169, 89);
    (new QLineEdit("20", f4))->setGeometry(16, 24, 73, 41);
    (new QLabel("MHz", f4))->setGeometry(96, 24, 65, 41);
    (new QPushButton("计算", f1))->setGeometry(472, 48, 73, 305);
    auto* f3 = new QGroupBox("对应值", f1);
    f3->setGeometry(40, 160, 393, 81);
    (new QLineEdit("Text1", f3))->setGeometry(16, 24, 353, 41);
    auto* f2 = new QGroupBox("频率设置", f1);
    f2->setGeometry(40, 40, 393, 105);
    (new QLineEdit("10", f2))->setGeometry(16, 48, 249, 41);
    (new QRadioButton("MHz", f2))->setGeometry(120, 16, 65, 25);
    (new QRadioButton("KHz", f2))->setGeometry(64, 16, 57, 25);
    (new QRadioButton("Hz", f2))->setGeometry(8, 16, 65, 25);
    (new QLabel("KHz", f2))->setGeometry(288, 48, 65, 41);
    new QuitAfterPaint(&window);
    window.show();
    return app.exec();
}
