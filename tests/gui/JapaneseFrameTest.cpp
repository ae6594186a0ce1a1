// The main window with the Japanese language library and code page 932, as an
// installation set to Japanese starts it.

#include "GuiTestSupport.h"

#include "document/CMemorixDoc.h"
#include "ui/view/CMemorixView.h"
#include "platform/CodePages.h"
#include "resources/ResourceIds.h"
#include "ui/shared/ResourceDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QMenuBar>
#include <QTableView>
#include <QTest>

#include <cstdlib>

namespace {

class JapaneseFrame : public guitest::FrameTest {
protected:
    void SetUp() override
    {
        guitest::FrameTest::SetUp();
        const char* dir = std::getenv("MEMORIX_BIN_DIR");
        ASSERT_TRUE(resources.Load(std::string(dir && *dir ? dir : MEMORIX_DEFAULT_BIN_DIR) + "/MEMORIXJpn.so"))
            << resources.Error();
        ASSERT_TRUE(platform::SelectAnsiCodePage(platform::kCodePageJapanese));
    }
    void TearDown() override
    {
        guitest::FrameTest::TearDown();
        platform::SelectAnsiCodePage(platform::kCodePageWestern);
    }
};

QString Cell(CMainFrame& frame, int row, int column)
{
    const QAbstractItemModel* model = frame.findChild<QTableView*>(CMemorixView::kListName)->model();
    return model->data(model->index(row, column)).toString();
}

} // namespace

TEST_F(JapaneseFrame, ShowsShiftJisTextInJapaneseMenus)
{
    NewDocument(1792, {{DeviceCode::DT, {0, 99}}, {DeviceCode::WR, {0, 15}}});
    // "日本語ﾃｷｽﾄ" as a Japanese Windows program writes it, then a lone lead byte.
    const std::vector<std::uint8_t> text = {0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA, 0xC3, 0xB7,
                                            0xBD, 0xC4, 0x00, 0x00, 0x00, 0x00, 0x00, 0x82};
    app->GetActiveDoc()->WriteBlockBytes(0, text.data(), static_cast<std::int32_t>(text.size()), DeviceCode::DT, 0);
    Frame().UpdateAllViews();
    CMainFrame& frame = Frame();
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));

    QComboBox* device = frame.DataToolBar().Box(207);
    ASSERT_NE(device, nullptr);
    device->setCurrentIndex(1);
    emit device->activated(1);
    ASSERT_EQ(frame.GetSelectedDeviceCode(), DeviceCode::DT);
    EXPECT_EQ(Cell(frame, 0, 9), QString::fromUtf8("日本語ﾃｷｽﾄ......"));
    EXPECT_EQ(frame.menuBar()->actions().at(0)->text(), QString::fromUtf8("ファイル(&F)"));
    EXPECT_EQ(frame.DataToolBar().Box(205)->currentText(), QString::fromUtf8("16 進数"));
    dialogtest::SaveScreenshot(frame, "ja-main-window");

    bool seen = false;
    guitest::WhenModal([&](QWidget& dialog) {
        auto* resourceDialog = qobject_cast<ResourceDialog*>(&dialog);
        seen = resourceDialog != nullptr && resourceDialog->DialogId() == res::IDD_DEVICE_SELECT;
        EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("デバイスの選択"));
        dialogtest::SaveScreenshot(dialog, "ja-device-dialog");
        qobject_cast<QDialog*>(&dialog)->reject();
    });
    Trigger(res::ID_DEVICE_SELECT);
    EXPECT_TRUE(seen);
}

// The transfer question's layout from the Japanese library, filled in as the
// program fills it (the dialog's own class sets these same controls).
TEST_F(JapaneseFrame, TransferQuestionFitsItsDialog)
{
    ResourceDialog dialog(resources, res::IDD_TRANSFER_CONFIRM);
    auto* question = dialog.Control<QLabel>(res::IDC_TRANSFER_QUESTION);
    auto* connection = dialog.Control<QLabel>(res::IDC_CONNECTION_TEXT);
    ASSERT_NE(question, nullptr);
    ASSERT_NE(connection, nullptr);
    question->setText(QString::fromStdString(resources.LoadString(res::IDS_CONFIRM_WRITE)));
    connection->setText(QStringLiteral("Modbus TCP 127.0.0.1:1502"));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (const ResourceDialog::ControlEntry& entry : dialog.Controls()) {
        auto* button = qobject_cast<QPushButton*>(entry.widget);
        if (button != nullptr) {
            EXPECT_GE(button->width(), button->sizeHint().width() - 4) << button->text().toStdString();
        }
    }
    dialogtest::SaveScreenshot(dialog, "ja-transfer-confirm");
}
