#include "window/messages.h"

#include "calc/diagnosis.h"

QString errorMessage(const rt::Error& error, const calc::CalcState& state)
{
    const calc::Diagnosis d = calc::diagnose(error, state);
    switch (d.problem) {
    case calc::Problem::CrystalOutOfRange:
        return QStringLiteral("晶振频率超出范围。\n晶振频率必须在 %1 到 %2 MHz 之间"
                              "（按四舍五入取整数 MHz），请修改“晶振频率”。")
            .arg(calc::minCrystalMHz)
            .arg(calc::maxCrystalMHz);
    case calc::Problem::FrequencyTooHigh:
        if (!d.halfClock.empty())
            return QStringLiteral("输出频率过高。\n输出频率必须低于系统时钟（晶振频率的 6 倍）的一半，"
                                  "即低于 %1，请修改“频率设置”。")
                .arg(QString::fromStdString(d.halfClock));
        return QStringLiteral("输出频率过高。\n输出频率必须低于系统时钟（晶振频率的 6 倍）的一半，"
                              "请修改“频率设置”。");
    case calc::Problem::FrequencyNegative:
        return QStringLiteral("输出频率不能为负数。\n请在“频率设置”中输入 0 或正数。");
    case calc::Problem::Unexpected:
        break;
    }
    return QStringLiteral("计算出错：%1").arg(QString::fromUtf8(error.what()));
}

QString unexpectedErrorMessage(const std::exception& error)
{
    return QStringLiteral("计算出错：%1").arg(QString::fromUtf8(error.what()));
}
