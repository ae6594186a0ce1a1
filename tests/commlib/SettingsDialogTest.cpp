// The settings dialogs of QelTeskCMSet 3 and 14, driven through the exports
// as the program calls them: profiles are added and edited, and impossible
// values keep the dialog open with the reason shown in it.

#include "support/CommSession.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace commtest;

namespace {

// Runs steps on the modal dialog once it is up.
void WhenModal(std::function<void(QDialog&)> steps)
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
}

template <typename T>
T& Child(QDialog& dialog, const char* name)
{
    T* child = dialog.findChild<T*>(QLatin1String(name));
    if (!child)
        throw std::runtime_error(std::string("no child ") + name);
    return *child;
}

void ClickOk(QDialog& dialog)
{
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

void Screenshot(QDialog& dialog, const QString& name)
{
    const QString folder = QStringLiteral(COMMLIB_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    EXPECT_TRUE(dialog.grab().save(folder + "/" + name + ".png"));
}

} // namespace

TEST(SettingsDialogTest, ANewProfileIsEditedRefusedUntilSoundAndChosen)
{
    UseFreshSettingsFolder();
    std::vector<std::string> refusals;
    WhenModal([&](QDialog& d) {
        Child<QPushButton>(d, "new").click();
        Child<QLineEdit>(d, "port").setText("0");
        ClickOk(d);
        refusals.push_back(Child<QLabel>(d, "error").text().toStdString());
        Child<QLineEdit>(d, "port").setText("1600");
        Child<QLineEdit>(d, "timeout").setText("0");
        ClickOk(d);
        refusals.push_back(Child<QLabel>(d, "error").text().toStdString());
        Child<QLineEdit>(d, "timeout").setText("500");
        Child<QComboBox>(d, "kind").setCurrentIndex(1);
        Child<QComboBox>(d, "serialDevice").setCurrentText("/dev/ttyNOSUCH7");
        EXPECT_FALSE(Child<QSpinBox>(d, "parallel").isVisibleTo(&d)) << "a serial line has one request at a time";
        ClickOk(d);
        refusals.push_back(Child<QLabel>(d, "error").text().toStdString());
        Screenshot(d, "comm_settings_refused");
        Child<QComboBox>(d, "kind").setCurrentIndex(0);
        Child<QLineEdit>(d, "name").setText("Line hall 2");
        EXPECT_TRUE(Child<QSpinBox>(d, "parallel").isVisibleTo(&d));
        EXPECT_EQ(Child<QSpinBox>(d, "parallel").value(), 4);
        Child<QSpinBox>(d, "parallel").setValue(6);
        ClickOk(d);
    });
    std::int32_t connection = 0, out = 5;
    char name[comm::kConnectionNameSize] = "Simulator";
    const int result = QelTeskCMSet_3(nullptr, L"Memorix", nullptr, L"Memorix", 0, comm::Settings::kCommSettingsList32,
                                      5, comm::Settings::kCommSettingsList16, 18, &connection, &out, name, 1, 0);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(refusals,
              (std::vector<std::string>{"The TCP port must be 1 to 65535.", "The timeout must be 1 to 60000 ms.",
                                        "The serial device \"/dev/ttyNOSUCH7\" does not exist."}));
    EXPECT_EQ(connection, 1);
    EXPECT_STREQ(name, "Line hall 2");
    EXPECT_EQ(out, 0);
    const auto saved = commlib::ProfileStore::Load(1);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->port, 1600);
    EXPECT_EQ(saved->timeoutMs, 500);
    EXPECT_EQ(saved->kind, commlib::LinkKind::Tcp);
    EXPECT_EQ(saved->parallel, 6);

    // The online settings show the chosen profile; OK keeps an edit, Cancel does not.
    WhenModal([&](QDialog& d) {
        EXPECT_EQ(Child<QLineEdit>(d, "port").text(), "1600");
        EXPECT_EQ(d.findChild<QObject*>(QStringLiteral("profiles")), nullptr);
        Child<QLineEdit>(d, "host").setText("localhost");
        Screenshot(d, "online_settings");
        ClickOk(d);
    });
    std::uint8_t block[comm::kSessionBlockSize] = {};
    EXPECT_EQ(QelTeskCMSet_14(nullptr, "Memorix", "Memorix", 0, 6300, block, &connection, name, 50), 0);
    EXPECT_EQ(commlib::ProfileStore::Load(1)->host, "localhost");
    WhenModal([](QDialog& d) {
        Child<QLineEdit>(d, "host").setText("10.0.0.9");
        d.reject();
    });
    EXPECT_EQ(QelTeskCMSet_14(nullptr, "Memorix", "Memorix", 0, 6300, block, &connection, name, 50), 1091);
    EXPECT_EQ(commlib::ProfileStore::Load(1)->host, "localhost");

    // Confirmed with an initialised session, the session counts as online.
    char app[comm::kAppNameSize] = "Memorix";
    ASSERT_EQ(QelTeskUserIF_41(block, app), 0);
    std::uint8_t word[2];
    EXPECT_EQ(QelTeskMsg_91(block, 1, 9, 0, 0xFFFF, 1, word), 1002);
    WhenModal([](QDialog& d) { ClickOk(d); });
    EXPECT_EQ(QelTeskCMSet_3(block, L"Memorix", nullptr, L"Memorix", 0, comm::Settings::kCommSettingsList32, 5,
                             comm::Settings::kCommSettingsList16, 18, &connection, &out, name, 1, 1),
              1);
    EXPECT_NE(QelTeskMsg_91(block, 1, 9, 0, 0xFFFF, 1, word), 1002);
}
