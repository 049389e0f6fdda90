#include "window/messages.h"

#include "calc/limits.h"

QString errorMessage(const calc::CalcError& error)
{
    switch (error.problem()) {
    case calc::Problem::CrystalOutOfRange:
        return QStringLiteral("晶振频率超出范围。\n晶振频率必须在 %1 到 %2 MHz 之间"
                              "（按四舍五入取整数 MHz），请修改“晶振频率”。")
            .arg(calc::minCrystalMHz)
            .arg(calc::maxCrystalMHz);
    case calc::Problem::FrequencyUnreadable:
        return QStringLiteral("输出频率的数值太大，无法读取。\n请修改“频率设置”。");
    case calc::Problem::FrequencyTooHigh:
        return QStringLiteral("输出频率过高。\n输出频率必须低于系统时钟（晶振频率的 6 倍）的一半，"
                              "最高为 %1，请修改“频率设置”。")
            .arg(QString::fromStdString(error.limit()));
    case calc::Problem::FrequencyNegative:
        return QStringLiteral("输出频率不能为负数。\n请在“频率设置”中输入 0 或正数。");
    case calc::Problem::InvalidSetting: // the window has no such settings
    case calc::Problem::InvalidWord:
        break;
    }
    return unexpectedErrorMessage(error);
}

QString resultTooltip(const calc::WordDetails& details, const QString& load, bool serial)
{
    return QStringLiteral("实际输出频率：%1 Hz\n与要求频率之差：%2 Hz\n频率步进：%3 Hz\n"
                          "40 位装载序列（%4，相位 0，不掉电，6 倍频）：%5")
        .arg(QString::fromStdString(calc::formatHz(details.actualMilliHz)),
             QString::fromStdString(calc::formatDeviationHz(details.deviationHz)),
             QString::fromStdString(calc::formatStepHz(details.stepMicroHz)),
             serial ? QStringLiteral("串行") : QStringLiteral("并行"), load);
}

QString frequencyDescription(const QString& unit, const QString& limit)
{
    if (limit.isEmpty())
        return QStringLiteral("%1，0 到系统时钟的一半").arg(unit);
    return QStringLiteral("%1，0 到 %2").arg(unit, limit);
}

QString crystalDescription()
{
    return QStringLiteral("MHz，%1 到 %2").arg(calc::minCrystalMHz).arg(calc::maxCrystalMHz);
}

QString resultDescription() { return QStringLiteral("计算结果：一行 C 数组初始化，可复制到固件中"); }

QString unexpectedErrorMessage(const std::exception& error)
{
    return QStringLiteral("计算出错：%1").arg(QString::fromUtf8(error.what()));
}
