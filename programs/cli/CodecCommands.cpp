#include "programs/cli/CliCommand.h"
#include "programs/cli/DisplayOptions.h"
#include "programs/cli/NumberArgs.h"
#include "codec/ValueCodec.h"

#include <cstdio>
#include <ostream>

namespace {

bool ReadCellOptions(CliContext& context, const CliCommand& command, const CliArgs& args, codec::Radix& radix,
                     codec::Unit& unit, int& status)
{
    DisplaySetting setting;
    if (!ReadDisplayOptions(context, command, args, setting, status))
        return false;
    radix = setting.radix;
    unit = setting.unit;
    return true;
}

std::optional<std::vector<std::uint8_t>> HexToBytes(const std::string& hex)
{
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        unsigned value = 0;
        for (std::size_t k = i; k < i + 2; ++k) {
            const char c = hex[k];
            unsigned digit = 0;
            if (c >= '0' && c <= '9')
                digit = static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                digit = static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                digit = static_cast<unsigned>(c - 'A' + 10);
            else
                return std::nullopt;
            value = value * 16 + digit;
        }
        bytes.push_back(static_cast<std::uint8_t>(value));
    }
    return bytes;
}

std::string BytesToHex(const std::vector<std::uint8_t>& bytes)
{
    std::string hex;
    char pair[3];
    for (const std::uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        hex += pair;
    }
    return hex;
}

int RunFormat(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    codec::Radix radix = codec::RADIX_HEX;
    codec::Unit unit = codec::UNIT_16BIT;
    int status = 0;
    if (!ReadCellOptions(context, command, args, radix, unit, status))
        return status;
    if (args.Positional().size() != 1)
        return context.UsageError(command, "give the cell's bytes as one hexadecimal argument");
    const auto bytes = HexToBytes(args.Positional().front());
    const auto cellBytes = static_cast<std::size_t>(codec::GetCellBytes(unit));
    if (!bytes || bytes->size() != cellBytes) {
        return context.UsageError(command, "HEX must be " + std::to_string(cellBytes * 2)
                                               + " hexadecimal digits (the cell's bytes in memory order)");
    }
    context.out << codec::FormatCellValue(*bytes, radix, unit) << '\n';
    return kExitOk;
}

int RunParse(CliContext& context, const CliCommand& command, const CliArgs& args)
{
    codec::Radix radix = codec::RADIX_HEX;
    codec::Unit unit = codec::UNIT_16BIT;
    int status = 0;
    if (!ReadCellOptions(context, command, args, radix, unit, status))
        return status;
    if (args.Positional().size() != 1)
        return context.UsageError(command, "give exactly one TEXT to parse");
    const std::string& text = args.Positional().front();

    if (radix == codec::RADIX_FLOAT || radix == codec::RADIX_DOUBLE) {
        std::uint64_t value = 0;
        const codec::ParseStatus parse = codec::ParseRealText(text, radix, value);
        if (parse == codec::PARSE_BAD_TEXT) {
            context.err << "BAD_TEXT\n";
            return kExitFailure;
        }
        if (parse == codec::PARSE_OUT_OF_RANGE) {
            context.err << "OUT_OF_RANGE\n";
            return kExitFailure;
        }
    }
    std::vector<std::uint8_t> cell;
    if (!codec::ParseCellText(text, radix, unit, cell)) {
        context.err << "INVALID\n";
        return kExitFailure;
    }
    context.out << BytesToHex(cell) << '\n';
    return kExitOk;
}

const std::vector<CliArgs::Option> kDisplayOptions{{"radix"}, {"unit"}};

} // namespace

std::vector<CliCommand> CodecCommands()
{
    return {
        {"format", "format [--radix R] [--unit U] HEX",
         "print the text of one cell whose bytes are given in memory order (3412 is the word 0x1234)", kDisplayOptions,
         RunFormat},
        {"parse", "parse [--radix R] [--unit U] TEXT",
         "convert TEXT as a pasted field and print the cell's bytes in memory order", kDisplayOptions, RunParse},
    };
}
