// A dialog laid out from a dialog resource: placement, names, radio groups and
// result codes.

#include "ui/shared/ResourceDialog.h"
#include "resources/ResourceIds.h"

#include "DialogTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

const MxControlResource kControls[] = {
    {res::IDC_STATIC, MX_CTL_STATIC, "&Name:", 7, 7, 40, 8},
    {10, MX_CTL_EDIT, "", 50, 5, 80, 12},
    {11, MX_CTL_RADIOBUTTON, "One", 7, 24, 60, 10},
    {12, MX_CTL_RADIOBUTTON, "Two", 7, 36, 60, 10},
    {13, MX_CTL_CHECKBOX, "Check", 7, 48, 60, 10},
    {14, MX_CTL_RADIOBUTTON, "Three", 80, 24, 60, 10},
    {res::IDOK, MX_CTL_DEFPUSHBUTTON, "OK", 100, 80, 50, 14},
    {res::IDC_STATIC, MX_CTL_STATIC, "Salt && &pepper", 7, 85, 80, 8},
};
const MxDialogResource kDialog = {900, "Generic", 220, 100, kControls, std::size(kControls)};
const MxResourceTable kTable = {MX_RESOURCE_ABI_VERSION, "Tst", nullptr, 0, nullptr, 0, nullptr, 0, &kDialog, 1};

TEST(DialogResource, ControlsArePlacedInDialogUnitsAndOkAndCancelEndTheDialog)
{
    const CResourceHandle table(&kTable);
    ResourceDialog dlg(table, 900);
    const QSize units = dlg.BaseUnits();
    EXPECT_EQ(dlg.MapDialogRect(4, 8, 40, 80),
              QRect(units.width(), units.height(), 10 * units.width(), 10 * units.height()));
    EXPECT_EQ(dlg.size(), dlg.MapDialogRect(0, 0, 220, 100).size());
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        const MxControlResource& c = kControls[i];
        EXPECT_EQ(dlg.Controls()[i].widget->objectName(), QString::number(c.id));
        EXPECT_EQ(dlg.Controls()[i].widget->geometry(), dlg.MapDialogRect(c.x, c.y, c.cx, c.cy)) << c.id;
    }
    EXPECT_EQ(dlg.findChild<QWidget*>("10"), dlg.Control<QLineEdit>(10));
    EXPECT_EQ(dlg.Control<QRadioButton>(10), nullptr) << "a control of another kind is not returned";
    // A label's mnemonic leads to the next control; one with nothing after it shows its plain text.
    const auto labels = dlg.findChildren<QLabel*>();
    EXPECT_EQ(labels[0]->buddy(), dlg.Control<QLineEdit>(10));
    EXPECT_EQ(labels[1]->text(), "Salt & pepper");

    // The check box between the radio buttons ends the first group.
    dlg.show();
    for (const int id : {11, 14, 12})
        dialogtest::ClickIndicator(*dlg.Control<QRadioButton>(id));
    EXPECT_FALSE(dlg.Control<QRadioButton>(11)->isChecked());
    EXPECT_TRUE(dlg.Control<QRadioButton>(14)->isChecked());

    // OK and Cancel end the dialog with the program's codes; exec() keeps Qt's.
    auto* ok = dlg.Control<QPushButton>(res::IDOK);
    EXPECT_TRUE(ok->isDefault());
    dlg.hide();
    dlg.open();
    ok->click();
    EXPECT_EQ(std::make_tuple(dlg.isVisible(), dlg.Result(), dlg.result()), std::make_tuple(false, 1, 1));
    dlg.open();
    EXPECT_EQ(dlg.Result(), 0);
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_EQ(std::make_tuple(dlg.isVisible(), dlg.Result(), dlg.result()), std::make_tuple(false, 2, 0));
    QTimer::singleShot(0, &dlg, &QWidget::close);
    EXPECT_EQ(dlg.DoModal(), res::IDCANCEL);
}

} // namespace
