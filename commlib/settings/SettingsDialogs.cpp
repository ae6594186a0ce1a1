#include "commlib/settings/SettingsDialogs.h"

#include "commlib/core/AnsiText.h"
#include "commlib/settings/CommSettingsDialog.h"

#include <QApplication>

#include <memory>

namespace commlib {
namespace {

// A caller without Qt gets an application object for the time of the call.
std::unique_ptr<QApplication> EnsureApplication()
{
    if (QApplication::instance())
        return nullptr;
    static int argc = 1;
    static char name[] = "QelTeskCMSet";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

bool Run(const QString& title, bool choose, std::int32_t* connection, char* connectionName, int nameSize)
{
    if (!connection || !connectionName || nameSize <= 0)
        return false;
    auto app = EnsureApplication();
    CommSettingsDialog dialog(title, *connection & 0xFFFF, choose, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *connection = dialog.Connection();
    CopyToBuffer(dialog.ConnectionName().toLocal8Bit().toStdString(), connectionName,
                 static_cast<std::size_t>(nameSize));
    return true;
}

} // namespace

bool RunCommSettings(const wchar_t* title, std::int32_t* connection, char* connectionName)
{
    return Run(title ? QString::fromWCharArray(title) : QString(), true, connection, connectionName, 50);
}

bool RunOnlineSettings(const char* title, std::int32_t* connection, char* connectionName, int nameSize)
{
    return Run(title ? QString::fromLocal8Bit(title) : QString(), false, connection, connectionName, nameSize);
}

} // namespace commlib
