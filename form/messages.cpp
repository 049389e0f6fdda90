#include "form/messages.h"

#include "calc/limits.h"
#include "calc/text_format.h"

namespace form {

std::string errorMessage(const calc::CalcError& error)
{
    switch (error.problem()) {
    case calc::Problem::CrystalOutOfRange:
        return "晶振频率超出范围。\n晶振频率必须在 " + std::to_string(calc::minCrystalMHz) + " 到 " +
               std::to_string(calc::maxCrystalMHz) + " MHz 之间（取最接近的整数 MHz，.5 取偶数），请修改“晶振频率”。";
    case calc::Problem::FrequencyUnreadable:
        return "输出频率的数值太大，无法读取。\n请修改“频率设置”。";
    case calc::Problem::FrequencyTooHigh:
        return "输出频率过高。\n输出频率必须低于系统时钟（晶振频率的 6 倍）的一半，最高为 " + error.limit() +
               "，请修改“频率设置”。";
    case calc::Problem::FrequencyNegative:
        return "输出频率不能为负数。\n请在“频率设置”中输入 0 或正数。";
    case calc::Problem::InvalidSetting: // the window has no such settings
    case calc::Problem::InvalidWord:
        break;
    }
    return unexpectedErrorMessage(error);
}

std::optional<Box> boxToFix(const calc::CalcError& error)
{
    switch (error.problem()) {
    case calc::Problem::CrystalOutOfRange:
        return Box::Fc;
    case calc::Problem::FrequencyUnreadable:
    case calc::Problem::FrequencyTooHigh:
    case calc::Problem::FrequencyNegative:
        return Box::F;
    case calc::Problem::InvalidSetting:
    case calc::Problem::InvalidWord:
        break;
    }
    return std::nullopt;
}

std::string unexpectedErrorMessage(const std::exception& error) { return std::string("计算出错：") + error.what(); }

std::string resultTooltip(const calc::WordDetails& details, std::string_view load, bool serial)
{
    return "实际输出频率：" + calc::formatHz(details.actualMilliHz) + " Hz\n与要求频率之差：" +
           calc::formatDeviationHz(details.deviationHz) + " Hz\n频率步进：" + calc::formatStepHz(details.stepMicroHz) +
           " Hz\n40 位装载序列（" + (serial ? "串行" : "并行") + "，相位 0，不掉电，6 倍频）：" + std::string(load) +
           "\n按 F2 或右键菜单中的“频谱…”查看输出频谱";
}

std::string frequencyDescription(std::string_view unit, std::string_view limit)
{
    if (limit.empty())
        return std::string(unit) + "，0 到系统时钟的一半";
    return std::string(unit) + "，0 到 " + std::string(limit);
}

std::string crystalDescription()
{
    return "MHz，" + std::to_string(calc::minCrystalMHz) + " 到 " + std::to_string(calc::maxCrystalMHz);
}

std::string resultDescription() { return "计算结果：一行 C 数组初始化，可复制到固件中"; }

} // namespace form
