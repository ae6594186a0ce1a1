#include "model/CatalogueLimits.h"

#include <initializer_list>

namespace {

std::string ModelRow(const stPLC& model)
{
    return "MPLC row of model " + std::to_string(model.Id) + ": ";
}

std::string DeviceRow(const stDeviceInst& device)
{
    return "MDevice row of model " + std::to_string(device.PlcId) + ", device " + std::to_string(device.Id) + " ("
           + device.Name + "): ";
}

std::string ModelFault(const stPLC& model)
{
    if (model.DefaultPatternNo > limits::kMaxPatternNo)
        return ModelRow(model) + "DefaultPatternNo " + std::to_string(model.DefaultPatternNo) + " is not 0 to "
               + std::to_string(limits::kMaxPatternNo);
    if (model.FLBankNum > limits::kMaxFLBanks)
        return ModelRow(model) + std::to_string(model.FLBankNum) + " FL banks; a model has at most "
               + std::to_string(limits::kMaxFLBanks);
    int pattern = 1;
    for (const std::int32_t size :
         {model.DataRegSize1, model.DataRegSize2, model.DataRegSize3, model.DataRegSize4, model.DataRegSize5}) {
        if (size < 0 || size > limits::kMaxAddress + 1)
            return ModelRow(model) + "DataRegSize" + std::to_string(pattern) + " " + std::to_string(size)
                   + " is not 0 to " + std::to_string(limits::kMaxAddress + 1);
        ++pattern;
    }
    return {};
}

std::string DeviceFault(const stDeviceInst& device)
{
    if (device.DataSize < 1 || device.DataSize > limits::kMaxWordsPerAddress)
        return DeviceRow(device) + "DataSize " + std::to_string(device.DataSize) + " is not 1 to "
               + std::to_string(limits::kMaxWordsPerAddress) + " words per address (or the column is missing)";
    if (device.MinValue < 0 || device.MaxValue > limits::kMaxAddress)
        return DeviceRow(device) + "the addresses " + std::to_string(device.MinValue) + " to "
               + std::to_string(device.MaxValue) + " are not within 0 to " + std::to_string(limits::kMaxAddress);
    if (device.MinValue > device.MaxValue)
        return DeviceRow(device) + "MinValue " + std::to_string(device.MinValue) + " is above MaxValue "
               + std::to_string(device.MaxValue);
    return {};
}

} // namespace

std::string CatalogueModelFault(const stPLC& model, const std::vector<stDeviceInst>& devices)
{
    if (std::string fault = ModelFault(model); !fault.empty())
        return fault;
    for (const stDeviceInst& device : devices) {
        if (std::string fault = DeviceFault(device); !fault.empty())
            return fault;
    }
    return {};
}
