#include "model/DeviceModel.h"
#include "model/DeviceNames.h"

#include <gtest/gtest.h>

TEST(DeviceNames, EveryCodeHasItsTwoLetterNameAndBack)
{
    const std::pair<std::uint8_t, const char*> known[] = {
        {12, "CS"}, {13, "CE"}, {18, "WR"}, {19, "WL"}, {21, "DT"}, {22, "LD"}, {27, "TS"}, {28, "TE"}, {49, "FL"},
    };
    for (const auto& [code, name] : known) {
        EXPECT_EQ(DeviceTwoLetterName(code), name);
        EXPECT_EQ(DeviceCodeFromTwoLetterName(name), code);
    }
    EXPECT_EQ(DeviceCodeFromTwoLetterName("fl"), DeviceCode::FL);
}

TEST(DeviceNames, UnknownCodesAndNamesHaveNone)
{
    for (int code : {0, 1, 20, 48, 50, 255})
        EXPECT_EQ(DeviceTwoLetterName(static_cast<std::uint8_t>(code)), "") << code;
    for (const char* name : {"", "D", "DTX", "XY"})
        EXPECT_FALSE(DeviceCodeFromTwoLetterName(name).has_value()) << name;
}
