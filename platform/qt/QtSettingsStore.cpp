#include "platform/qt/QtSettingsStore.h"

#include "platform/ProgramFolder.h"

#include <QFileInfo>
#include <QSettings>
#include <QString>

namespace platform {
namespace {

const char kOrganization[] = "Varnholt";
const char kApplication[] = "Memorix";

QString KeyOf(std::string_view section, std::string_view name)
{
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + QLatin1Char('/')
           + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QtSettingsStore::QtSettingsStore()
    : m_user(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, kOrganization, kApplication))
    , m_machine(
          std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::SystemScope, kOrganization, kApplication))
{
    // A user value must never be answered from the machine file, nor the machine
    // key from an organization-wide file.
    m_user->setFallbacksEnabled(false);
    m_machine->setFallbacksEnabled(false);
    // Without a machine file in the configuration folders, the one an
    // installation put beside the program stands in for it.
    if (!QFileInfo::exists(m_machine->fileName())) {
        const QString installed = QString::fromStdString(ProgramFolder()) + QStringLiteral("/Memorix.conf");
        if (QFileInfo::exists(installed))
            m_machine = std::make_unique<QSettings>(installed, QSettings::IniFormat);
    }
}

QtSettingsStore::~QtSettingsStore() = default;

int QtSettingsStore::GetUserInt(std::string_view section, std::string_view name, int defaultValue) const
{
    const QVariant value = m_user->value(KeyOf(section, name));
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : defaultValue;
}

void QtSettingsStore::SetUserInt(std::string_view section, std::string_view name, int value)
{
    m_user->setValue(KeyOf(section, name), value);
    m_user->sync();
}

std::string QtSettingsStore::GetUserString(std::string_view section, std::string_view name,
                                           std::string_view defaultValue) const
{
    const QVariant value = m_user->value(KeyOf(section, name));
    if (!value.isValid())
        return std::string(defaultValue);
    return value.toString().toStdString();
}

void QtSettingsStore::SetUserString(std::string_view section, std::string_view name, std::string_view value)
{
    m_user->setValue(KeyOf(section, name), ToQString(value));
    m_user->sync();
}

void QtSettingsStore::RemoveUserValue(std::string_view section, std::string_view name)
{
    m_user->remove(KeyOf(section, name));
    m_user->sync();
}

bool QtSettingsStore::MachineKeyExists() const
{
    return QFileInfo::exists(m_machine->fileName());
}

std::optional<std::string> QtSettingsStore::GetMachineString(std::string_view name) const
{
    if (!MachineKeyExists())
        return std::nullopt;
    m_machine->sync(); // pick up an installation that wrote the file while we run
    const QVariant value = m_machine->value(ToQString(name));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdString();
}

std::string QtSettingsStore::UserFileName() const
{
    return m_user->fileName().toStdString();
}

} // namespace platform
