// The user's path: the communication settings dialog detects the line
// settings of a unit on a serial line, OK keeps them in the profile, and the
// profile then reads the unit.

#include "AutoSetCaller.h"

#include "contract/CommExports.h"
#include "commlib/core/ProfileStore.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace autosettest;

namespace {

int RunSettingsDialog(std::int32_t& connection, const std::function<void(QDialog&)>& steps)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, steps] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            steps(*dialog);
        }
    });
    timer->start(10);
    std::int32_t out = 0;
    char name[comm::kConnectionNameSize] = {};
    return QelTeskCMSet_3(nullptr, L"Memorix", nullptr, L"Memorix", 0, comm::Settings::kCommSettingsList32, 5,
                          comm::Settings::kCommSettingsList16, 18, &connection, &out, name, 1, 0);
}

void Select(QDialog& dialog, int number)
{
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("profiles"));
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->data(Qt::UserRole).toInt() == number)
            list->setCurrentRow(row);
}

TEST(DetectLineSettings, TheProfileThenReadsTheUnit)
{
    UseFreshFolders();
    SerialUnit unit(115200, 'E');
    ASSERT_TRUE(unit.Started());
    SaveSerialProfile(2, unit.Device(), 150); // saved at 9600 bit/s, no parity

    // Before: the profile does not reach the unit.
    std::array<std::uint8_t, comm::kSessionBlockSize> block{};
    char app[comm::kAppNameSize] = "Memorix";
    ASSERT_EQ(QelTeskUserIF_41(block.data(), app), 0);
    ASSERT_EQ(QelTeskUserIF_8(nullptr, block.data()), 0);
    std::uint8_t out28[28] = {}, out48[48] = {};
    EXPECT_EQ(QelTeskOnline_5(block.data(), 2, out28, out48, "", ""), 1021);
    ASSERT_EQ(QelTeskUserIF_14(block.data()), 0);

    std::int32_t connection = 0;
    QString detected;
    const int result = RunSettingsDialog(connection, [&](QDialog& d) {
        Select(d, 2);
        d.findChild<QPushButton*>(QStringLiteral("detectLine"))->click();
        detected = d.findChild<QLabel*>(QStringLiteral("detected"))->text();
        QDir().mkpath(AUTOSET_SCREENSHOT_DIR);
        d.grab().save(QStringLiteral(AUTOSET_SCREENSHOT_DIR "/comm_settings_line_detected.png"));
        d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    ASSERT_EQ(result, 1);
    EXPECT_EQ(connection, 2);
    EXPECT_TRUE(detected.contains(QStringLiteral("115200"))) << detected.toStdString();

    const auto profile = commlib::ProfileStore::Load(2);
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->baud, 115200);
    EXPECT_EQ(profile->parity, 'E');
    EXPECT_EQ(profile->serialDevice, unit.Device());

    // After: the same session reads the unit through the profile.
    ASSERT_EQ(QelTeskUserIF_8(nullptr, block.data()), 0);
    ASSERT_EQ(QelTeskOnline_5(block.data(), 2, out28, out48, "", ""), 0);
    std::vector<std::uint8_t> words(20);
    EXPECT_EQ(QelTeskMsg_91(block.data(), 2, comm::ProtocolDevice::DT, 0, 0xFFFF, 10, words.data()), 0);
    QelTeskUserIF_14(block.data());
}

TEST(DetectLineSettings, CancelKeepsTheStoredProfile)
{
    UseFreshFolders();
    SerialUnit unit(19200, 'O');
    ASSERT_TRUE(unit.Started());
    SaveSerialProfile(3, unit.Device(), 150);
    std::int32_t connection = 3;
    QString detected;
    const int result = RunSettingsDialog(connection, [&](QDialog& d) {
        d.findChild<QPushButton*>(QStringLiteral("detectLine"))->click();
        detected = d.findChild<QLabel*>(QStringLiteral("detected"))->text();
        d.reject();
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(detected.contains(QStringLiteral("19200"))) << detected.toStdString();
    const auto profile = commlib::ProfileStore::Load(3);
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->baud, 9600);
    EXPECT_EQ(profile->parity, 'N');
}

} // namespace
