#include "model/RangeRules.h"

#include <utility>

namespace {

// 32-bit arithmetic that wraps like the machine does instead of overflowing.
std::int32_t Mul(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

std::int32_t Add(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t Sub(std::int32_t a, std::int32_t b)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// Signed division truncating toward zero; b > 0 here, so only INT32_MIN / 1 is near an edge.
std::int32_t Div(std::int32_t a, std::int32_t b)
{
    return a / b;
}

} // namespace

ConvertedRange ConvertDeviceRange(std::int32_t start, std::int32_t end, std::int32_t oldSize, std::int32_t newSize)
{
    if (oldSize == newSize || oldSize < 1 || newSize < 1)
        return {start, end, 0};

    const std::int32_t a = oldSize;
    const std::int32_t b = newSize;
    const std::int32_t firstWord = Mul(start, a);
    const std::int32_t wordCount = Mul(Add(Sub(end, start), 1), a);

    const std::int32_t q = Div(firstWord, b);
    const std::int32_t r = Sub(firstWord, Mul(q, b));
    const std::int32_t twoW = Mul(2, wordCount);
    const std::int32_t twoB = Mul(2, b);
    const std::int32_t m = twoW % twoB;
    const std::int32_t c = m > 0 ? Sub(m, Mul(2, r)) : 0;
    // The last division runs on the unsigned value: a negative 2W + c gives an
    // end far above any address, which clamping later turns into MaxValue.
    const std::uint32_t tail = static_cast<std::uint32_t>(Add(twoW, c)) / static_cast<std::uint32_t>(twoB);
    const std::int32_t newEnd = Add(Add(Sub(q, 1), r), static_cast<std::int32_t>(tail));
    return {q, newEnd, r};
}

ConvertedRange ScaleBankRange(std::int32_t start, std::int32_t end, std::int32_t oldSize, std::int32_t newSize)
{
    if (oldSize == newSize || oldSize < 1 || newSize < 1)
        return {start, end, 0};
    return {Div(Mul(start, oldSize), newSize), Div(Mul(end, oldSize), newSize), 0};
}

void ClampToDevice(std::int32_t& start, std::int32_t& end, std::int32_t minValue, std::int32_t maxValue)
{
    if (!(minValue < start && start < maxValue))
        start = minValue;
    if (!(minValue < end && end < maxValue))
        end = maxValue;
}

std::int32_t DefaultEndOf(const stDeviceInst& device, const stPLC& model)
{
    if (device.Id == DeviceCode::DT)
        return Sub(model.DefaultDataRegSize, 1);
    return device.MaxValue;
}

stDeviceInfo MakeDeviceInfo(const stDeviceInst& device, std::int32_t defaultEnd, std::int32_t endAddr)
{
    stDeviceInfo info;
    info.PlcId = device.PlcId;
    info.Id = device.Id;
    info.DispOrder = device.DispOrder;
    info.Name = device.Name;
    info.StartAddr = device.MinValue;
    info.EndAddr = endAddr;
    info.MinValue = device.MinValue;
    info.MaxValue = device.MaxValue;
    info.DataSize = device.DataSize;
    info.Selected = 0;
    info.DefaultEnd = defaultEnd;
    info.Current = 0;
    return info;
}

_SBankInfo MakeBankInfo(const stDeviceInst& fileRegister, std::int16_t bankNo, std::string name)
{
    _SBankInfo bank;
    bank.PlcId = fileRegister.PlcId;
    bank.Id = fileRegister.Id;
    bank.BankNo = bankNo;
    bank.Name = std::move(name);
    bank.StartAddr = fileRegister.MinValue;
    bank.EndAddr = fileRegister.MaxValue;
    bank.MinValue = fileRegister.MinValue;
    bank.MaxValue = fileRegister.MaxValue;
    bank.DataSize = fileRegister.DataSize;
    bank.Selected = 0;
    bank.DefaultEnd = fileRegister.MaxValue;
    bank.Current = 0;
    return bank;
}
