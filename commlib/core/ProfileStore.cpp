#include "commlib/core/ProfileStore.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace commlib {
namespace {

QString Group(int number)
{
    return QStringLiteral("Profiles/%1").arg(number);
}

QSettings& Settings()
{
    static QSettings settings(QSettings::NativeFormat, QSettings::UserScope, ProfileStore::kOrganization,
                              ProfileStore::kApplication);
    settings.sync();
    return settings;
}

} // namespace

std::optional<Profile> ProfileStore::Load(int number)
{
    QSettings& s = Settings();
    s.beginGroup(Group(number));
    const bool stored = s.contains(QStringLiteral("Kind"));
    Profile p;
    if (stored) {
        p.name = s.value("Name").toString().toStdString();
        p.kind = s.value("Kind").toString() == QLatin1String("rtu") ? LinkKind::Rtu : LinkKind::Tcp;
        p.host = s.value("Host", QString::fromStdString(p.host)).toString().toStdString();
        p.port = s.value("Port", p.port).toInt();
        p.serialDevice = s.value("SerialDevice").toString().toStdString();
        p.baud = s.value("Baud", p.baud).toInt();
        const QString parity = s.value("Parity", QStringLiteral("N")).toString();
        p.parity = parity.isEmpty() ? '?' : parity.at(0).toLatin1();
        p.dataBits = s.value("DataBits", p.dataBits).toInt();
        p.stopBits = s.value("StopBits", p.stopBits).toInt();
        p.unit = s.value("Unit", p.unit).toInt();
        p.timeoutMs = s.value("TimeoutMs", p.timeoutMs).toInt();
        p.mapFile = s.value("MapFile").toString().toStdString();
        p.family = s.value("Family", p.family).toInt();
        p.model = s.value("Model", p.model).toInt();
        // Profiles stored before the setting existed get the default.
        p.parallel = s.value("ParallelRequests", p.parallel).toInt();
    }
    s.endGroup();
    if (!stored && number != 0)
        return std::nullopt;
    return p;
}

void ProfileStore::Save(int number, const Profile& p)
{
    QSettings& s = Settings();
    s.beginGroup(Group(number));
    s.setValue("Name", QString::fromStdString(p.name));
    s.setValue("Kind", p.kind == LinkKind::Rtu ? QStringLiteral("rtu") : QStringLiteral("tcp"));
    s.setValue("Host", QString::fromStdString(p.host));
    s.setValue("Port", p.port);
    s.setValue("SerialDevice", QString::fromStdString(p.serialDevice));
    s.setValue("Baud", p.baud);
    s.setValue("Parity", QString(QChar::fromLatin1(p.parity)));
    s.setValue("DataBits", p.dataBits);
    s.setValue("StopBits", p.stopBits);
    s.setValue("Unit", p.unit);
    s.setValue("TimeoutMs", p.timeoutMs);
    s.setValue("MapFile", QString::fromStdString(p.mapFile));
    s.setValue("Family", p.family);
    s.setValue("Model", p.model);
    s.setValue("ParallelRequests", p.parallel);
    s.endGroup();
    s.sync();
}

void ProfileStore::Remove(int number)
{
    QSettings& s = Settings();
    s.remove(Group(number));
    s.sync();
}

std::vector<int> ProfileStore::Numbers()
{
    QSettings& s = Settings();
    s.beginGroup(QStringLiteral("Profiles"));
    std::vector<int> numbers{0};
    for (const QString& key : s.childGroups()) {
        bool ok = false;
        const int n = key.toInt(&ok);
        if (ok && n > 0 && n <= 65535)
            numbers.push_back(n);
    }
    s.endGroup();
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace commlib
