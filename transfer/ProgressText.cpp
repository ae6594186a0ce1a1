#include "transfer/ICommHost.h"

std::string ProgressText(const TransferProgress& progress)
{
    std::string text = progress.writing ? "Writing " : "Reading ";
    text += progress.device;
    if (progress.bank >= 0)
        text += " bank " + std::to_string(progress.bank);
    text += " " + std::to_string(progress.startAddr) + "-" + std::to_string(progress.endAddr);
    text += " ... " + std::to_string(progress.percent) + "%";
    return text;
}
