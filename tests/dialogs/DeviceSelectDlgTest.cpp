// The choice of devices, banks and ranges, driven through the dialog's
// widgets: lists built from the catalogue or given, the range fields, the
// bank list of a banked file register, select-all and the rules of OK.

#include "ui/dialogs/CDeviceSelectDlg.h"
#include "ui/dialogs/CEditRange.h"
#include "resources/ResourceIds.h"

#include "DialogTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

class DeviceSelectDialog : public dialogtest::Fixture {
protected:
    void Open(int series, int model, std::uint8_t banks, const DeviceInfoArray& devices = {},
              const BankInfoArray& bankList = {}, const std::string& name = "")
    {
        dlg = std::make_unique<CDeviceSelectDlg>(MakeApp().Services(), resources);
        dlg->SetInitData(series, model, name, banks, devices, bankList);
        dlg->open();
        dialogtest::Activate(*dlg);
    }

    QListWidget& Devices() { return *dlg->Control<QListWidget>(res::IDC_DEVICE_LIST); }
    QListWidget& Banks() { return *dlg->Control<QListWidget>(res::IDC_BANK_LIST); }
    CEditRange& Start() { return *dlg->Control<CEditRange>(res::IDC_RANGE_START); }
    CEditRange& End() { return *dlg->Control<CEditRange>(res::IDC_RANGE_END); }
    QString Text(const QListWidget& list, int row) { return list.item(row)->text(); }
    static bool Checked(const QListWidget& list, int row) { return list.item(row)->checkState() == Qt::Checked; }
    static void Click(QListWidget& list, int row) { dialogtest::ClickEntry(list, row); }
    static void Space(QListWidget& list, int row)
    {
        list.setCurrentRow(row);
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Space);
    }
    // Types into a range field as a user does: the focus enters (selecting the text), then the keys.
    static void Type(CEditRange& field, const QString& keys)
    {
        field.setFocus();
        QTest::keyClicks(&field, keys);
    }
    void Ok() { dlg->Control<QPushButton>(res::IDOK)->click(); }

    DeviceInfoArray DeviceResult() const
    {
        DeviceInfoArray devices;
        dlg->GetDeviceList(devices);
        return devices;
    }
    BankInfoArray BankResult() const
    {
        BankInfoArray banks;
        dlg->GetBankList(banks);
        return banks;
    }

    std::unique_ptr<CDeviceSelectDlg> dlg;
};

constexpr int kDT = 2; // the device rows of the catalogue's models: WR WL DT LD FL TS TE CS CE
constexpr int kFL = 4;

TEST_F(DeviceSelectDialog, DataRegistersEndAtTheModelDefaultWhileTheFieldTakesUpToMaxValue)
{
    Open(1, 1792, 0);
    int series = 0, model = 0;
    std::string name;
    std::uint8_t banks = 9;
    dlg->GetResult(series, model, name, banks);
    EXPECT_EQ(std::make_tuple(series, model, name, banks),
              std::make_tuple(1, 1792, std::string("CA-100"), std::uint8_t{0}));
    EXPECT_EQ(dlg->Control<QLabel>(res::IDC_DEVICE_MODEL_NAME)->text(), "CA-100");
    ASSERT_EQ(Devices().count(), 9);
    EXPECT_EQ(Text(Devices(), 0), " WR          0-   511  (0 -    511)");
    // No banks: no bank list, and the dialog keeps the template's size.
    EXPECT_FALSE(Banks().isVisible());
    EXPECT_EQ(dlg->size(), dlg->MapDialogRect(0, 0, 250, 180).size());

    Click(Devices(), kDT);
    EXPECT_EQ(Text(Devices(), kDT), " DT          0- 32767  (0 -  65535)");
    EXPECT_EQ(dlg->Control<QLabel>(res::IDC_RANGE_LIMITS)->text(), "(0 - 65535)");
    Type(End(), "655359x-");
    EXPECT_EQ(End().text(), "65535") << "a digit beyond MaxValue is ignored, and anything but digits";
    QTest::keyClicks(&End(), "\b\b");
    QApplication::clipboard()->setText("40");
    End().paste();
    EXPECT_EQ(End().text(), "655") << "65540 is beyond MaxValue";
    QApplication::clipboard()->setText("7");
    End().paste();
    EXPECT_EQ(End().text(), "6557");
    Devices().setFocus();
    EXPECT_EQ(Text(Devices(), kDT), " DT          0-  6557  (0 -  65535)");

    // Select-all: every device with its default range; unselect-all keeps the ranges.
    auto& selectAll = *dlg->Control<QCheckBox>(res::IDC_SELECT_ALL_DEVICES);
    dialogtest::ClickIndicator(selectAll);
    EXPECT_TRUE(selectAll.isChecked());
    EXPECT_EQ(Text(Devices(), kDT), " DT          0- 32767  (0 -  65535)");
    for (int i = 0; i < Devices().count(); ++i)
        EXPECT_TRUE(Checked(Devices(), i)) << i;
    Type(Start(), "9");
    dialogtest::ClickIndicator(selectAll);
    EXPECT_EQ(Text(Devices(), kDT), " DT          9- 32767  (0 -  65535)");
    for (int i = 0; i < Devices().count(); ++i)
        EXPECT_FALSE(Checked(Devices(), i)) << i;
}

TEST_F(DeviceSelectDialog, OkWantsADeviceThenSwapsAReversedRangeAndMarksTheCurrentDevice)
{
    Open(1, 1792, 0);
    Click(Devices(), kDT);
    Ok();
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].stringId, res::IDS_NO_DEVICE_SELECTED);
    EXPECT_EQ(messages.Shown()[0].icon, platform::MsgIcon::Exclamation);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(Devices().hasFocus());

    QTest::keyClick(&Devices(), Qt::Key_Space);
    Type(Start(), "100");
    QTest::keyClick(&Start(), Qt::Key_Tab);
    EXPECT_EQ(Text(Devices(), kDT), " DT        100- 32767  (0 -  65535)");
    // Enter in the field: OK takes the typed end before it checks the ranges.
    QTest::keyClicks(&End(), "50");
    QTest::keyClick(&End(), Qt::Key_Return);
    EXPECT_EQ(dlg->Result(), res::IDOK);
    const DeviceInfoArray devices = DeviceResult();
    for (std::size_t i = 0; i < devices.size(); ++i) {
        const stDeviceInfo& d = devices[i];
        EXPECT_EQ(std::make_tuple(d.Selected, d.Current), i == kDT ? std::make_tuple(1, 1) : std::make_tuple(0, 0));
    }
    EXPECT_EQ(std::make_tuple(devices[kDT].StartAddr, devices[kDT].EndAddr), std::make_tuple(50, 100));
}

TEST_F(DeviceSelectDialog, BankedFileRegisterHasItsOwnListUnderTheDevices)
{
    Open(2, 34, 3);
    // The bank list sits under the device list; what follows it moves down and the dialog grows.
    const QRect devices = Devices().geometry();
    EXPECT_EQ(Banks().geometry(), QRect(devices.x(), devices.bottom() + 11, devices.width(), 55));
    EXPECT_EQ(dlg->height(), dlg->MapDialogRect(0, 0, 250, 180).height() + 65);
    EXPECT_EQ(dlg->Control<QPushButton>(res::IDCANCEL)->y(), dlg->MapDialogRect(193, 159, 50, 14).y() + 65);
    EXPECT_EQ(Banks().count(), 0) << "an ordinary device shows no banks";
    EXPECT_FALSE(Banks().isEnabled());

    EXPECT_EQ(Text(Devices(), kFL), " FL    ");
    Click(Devices(), kFL);
    ASSERT_EQ(Banks().count(), 3);
    EXPECT_EQ(Text(Banks(), 1), " Bank 1      0- 32767  (0 -  32767)");

    // Checking the device checks all its banks; unchecking the last bank unchecks the device.
    dialogtest::ClickCheckBox(Devices(), kFL);
    EXPECT_TRUE(Checked(Banks(), 0) && Checked(Banks(), 1) && Checked(Banks(), 2));
    Click(Banks(), 2);
    dialogtest::SaveScreenshot(*dlg, "device-selection-banked");
    dialogtest::ClickCheckBox(Banks(), 0);
    Space(Banks(), 2);
    EXPECT_TRUE(Checked(Devices(), kFL));
    Space(Banks(), 1);
    EXPECT_FALSE(Checked(Devices(), kFL));
    dialogtest::ClickCheckBox(Banks(), 1);
    EXPECT_TRUE(Checked(Devices(), kFL));

    // The range fields edit the selected bank; OK swaps its reversed range and marks it current.
    Click(Banks(), 2);
    Type(Start(), "200");
    Type(End(), "100");
    Ok();
    EXPECT_EQ(dlg->Result(), res::IDOK);
    const BankInfoArray banks = BankResult();
    EXPECT_EQ(std::make_tuple(banks[0].Selected, banks[1].Selected, banks[2].Selected), std::make_tuple(0, 1, 0));
    EXPECT_EQ(std::make_tuple(banks[0].Current, banks[1].Current, banks[2].Current), std::make_tuple(0, 0, 1));
    EXPECT_EQ(std::make_tuple(banks[2].StartAddr, banks[2].EndAddr), std::make_tuple(100, 200));
}

TEST_F(DeviceSelectDialog, GivenListsAreShownAsTheyAreAtTheirCurrentEntries)
{
    const DeviceInfoArray devices = {{34, 18, 1, "WR", 4, 9, 0, 511, 1, 1, 511, 0},
                                     {34, 49, 5, "FL", 0, 32767, 0, 32767, 1, 1, 32767, 1}};
    const BankInfoArray banks = {{34, 49, 0, "Bank 0", 30, 20, 0, 32767, 1, 0, 32767, 0},
                                 {34, 49, 1, "Bank 1", 10, 20, 0, 32767, 1, 1, 32767, 1}};
    Open(2, 34, 2, devices, banks, "Given name");
    EXPECT_EQ(dlg->Control<QLabel>(res::IDC_DEVICE_MODEL_NAME)->text(), "Given name");
    ASSERT_EQ(Devices().count(), 2);
    EXPECT_EQ(Text(Devices(), 0), " WR          4-     9  (0 -    511)");
    EXPECT_EQ(std::make_tuple(Devices().currentRow(), Banks().currentRow()), std::make_tuple(1, 1));
    EXPECT_EQ(std::make_tuple(Checked(Devices(), 0), Checked(Banks(), 0), Checked(Banks(), 1)),
              std::make_tuple(true, false, true));
    EXPECT_EQ(Start().text() + "/" + End().text(), "10/20");

    // OK puts a reversed bank range right even while the bank list shows no banks.
    Click(Devices(), 0);
    EXPECT_EQ(Banks().count(), 0);
    Ok();
    EXPECT_EQ(dlg->Result(), res::IDOK);
    const BankInfoArray result = BankResult();
    EXPECT_EQ(std::make_tuple(result[0].StartAddr, result[0].EndAddr, result[1].Current), std::make_tuple(20, 30, 1));
}

} // namespace
