// QelPortavo's one export: finds the serial line settings under which the
// unit of a session block's port answers.

#include "autoset/AutoSetRun.h"
#include "autoset/COuvAuto.h"
#include "autoset/CombinationWalk.h"
#include "autoset/Combinations.h"
#include "autoset/ResourceIds.h"
#include "autoset/ResourceLibrary.h"

#include "contract/AutoSetBlock.h"
#include "contract/CommExports.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include <array>
#include <cstdio>
#include <cstring>

#define PORTAVO_API extern "C" __attribute__((visibility("default")))

namespace {

using namespace comm::autoset;

std::string ResourceFolder(int language, int version, int size)
{
    std::array<std::uint8_t, comm::kSessionBlockSize> scratch{};
    PutU16(scratch.data(), kLanguageOffset, static_cast<std::uint16_t>(language));
    PutU16(scratch.data(), kVersionOffset, static_cast<std::uint16_t>(version));
    std::array<char, 261> path{};
    if (QelTeskUserIF_256(scratch.data(), path.data(), size) == 0)
        return {};
    path.back() = '\0';
    return path.data();
}

QApplication* Application()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance());
}

void ShowNotFound(const std::string& text)
{
    if (Application()) {
        QMessageBox box(QMessageBox::NoIcon, QString(), QString::fromLocal8Bit(text.c_str()), QMessageBox::Ok,
                        QApplication::activeWindow());
        box.setObjectName(QStringLiteral("PortavoResourceMissing"));
        box.exec();
    } else {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
}

int ShowProgress(const portavo::ResourceLibrary& resources, std::uint8_t* block, std::uint8_t* settings)
{
    // A caller without windows (the command line) still gets the full scan;
    // with windows the dialog needs its dialog resource.
    if (!Application())
        return portavo::WalkWithoutWindow(block, settings);
    const PortavoDialog* dialog = resources.Dialog(portavo::kDialogAutoSet);
    if (!dialog)
        return portavo::kDialogFailed;
    QPointer<portavo::COuvAuto> progress =
        new portavo::COuvAuto(block, portavo::kProbeRequest, dialog, resources, QApplication::activeWindow());
    const int answer = progress->Run();
    if (progress) {
        progress->CopySettings(settings);
        delete progress;
    }
    return answer;
}

} // namespace

PORTAVO_API int PortavoAutoSet(std::uint32_t /*reserved*/, std::uint8_t* block)
{
    if (!block)
        return portavo::kResultNotFound;
    portavo::ResourceLibrary resources;
    portavo::ResourceLookup lookup;
    lookup.folder = ResourceFolder;
    lookup.notFound = ShowNotFound;
    resources.Load(GetI16(block, kLanguageOffset), GetI16(block, kVersionOffset), lookup);
    return portavo::RunAutoSet(
        block, [&resources](std::uint8_t* b, std::uint8_t* settings) { return ShowProgress(resources, b, settings); });
}
