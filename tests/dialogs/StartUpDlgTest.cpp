// The start-up choice: its results and the keyboard ring of its radio buttons.

#include "app/CMemorixApp.h"
#include "ui/frame/CStartUpDlg.h"
#include "resources/ResourceIds.h"

#include "DialogTestSupport.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

class StartUpDialog : public dialogtest::Fixture {};

TEST_F(StartUpDialog, OkAtOnceStartsANewDocument)
{
    CStartUpDlg dlg(resources);
    QTimer::singleShot(0, &dlg, [&] {
        EXPECT_TRUE(dlg.Control<QRadioButton>(res::IDC_STARTUP_NEW)->isChecked());
        dialogtest::SaveScreenshot(dlg, "start-up");
        dlg.Control<QPushButton>(res::IDOK)->click();
    });
    EXPECT_EQ(dlg.DoModal(), START_NEW);
}

TEST_F(StartUpDialog, UpAndDownMoveRoundTheRingAndEscapeCancels)
{
    CStartUpDlg dlg(resources);
    dlg.open();
    dialogtest::Activate(dlg);
    dlg.Control<QRadioButton>(res::IDC_STARTUP_NEW)->setFocus();
    // From the first button: Up wraps to the third, Down wraps back to the first, Down goes on.
    for (const auto& [key, id] : {std::pair{Qt::Key_Up, res::IDC_STARTUP_READ},
                                  {Qt::Key_Down, res::IDC_STARTUP_NEW},
                                  {Qt::Key_Down, res::IDC_STARTUP_OPEN}}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_TRUE(dlg.Control<QRadioButton>(id)->isChecked()) << id;
        EXPECT_TRUE(dlg.Control<QRadioButton>(id)->hasFocus()) << id;
    }
    EXPECT_EQ(dlg.m_nChoice, 1);
    // Each push button picks the radio button beside it.
    dlg.Control<QPushButton>(res::IDC_STARTUP_READ_BUTTON)->click();
    EXPECT_EQ(dlg.m_nChoice, 2);
    EXPECT_TRUE(dlg.Control<QRadioButton>(res::IDC_STARTUP_READ)->hasFocus());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(dlg.Result(), res::IDCANCEL);
    dlg.open();
    QTest::keyClick(&dlg, Qt::Key_Return);
    EXPECT_EQ(dlg.Result(), START_READ_PLC);
}

} // namespace
