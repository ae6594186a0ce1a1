#include "GuiTestSupport.h"

#include "ui/shared/CommandTable.h"
#include "ui/shared/ResourceDialog.h"
#include "document/CMemorixDoc.h"
#include "resources/ResourceIds.h"

#include <QCheckBox>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using guitest::FrameTest;
using guitest::WhenModal;

namespace {

int DialogId(QWidget& widget)
{
    auto* dialog = qobject_cast<ResourceDialog*>(&widget);
    return dialog ? dialog->DialogId() : 0;
}

void ClickOk(QWidget& dialog)
{
    auto* ok = qobject_cast<ResourceDialog*>(&dialog)->Control<QPushButton>(1);
    ASSERT_NE(ok, nullptr);
    ok->click();
}

} // namespace

TEST_F(FrameTest, TheFirstFileNewOffersTheStartUpDialogOnlyOnce)
{
    int seen = 0;
    WhenModal([&](QWidget& dialog) {
        seen = DialogId(dialog);
        qobject_cast<QDialog*>(&dialog)->reject();
    });
    Trigger(57600);
    EXPECT_EQ(seen, 300);
    EXPECT_EQ(app->GetActiveDoc(), nullptr);
    EXPECT_FALSE(app->IsFirstNew());

    WhenModal([&](QWidget& dialog) {
        seen = DialogId(dialog);
        qobject_cast<QDialog*>(&dialog)->reject();
    });
    Trigger(57600);
    EXPECT_EQ(seen, 400) << "straight to the PLC selection";
    EXPECT_EQ(app->GetActiveDoc(), nullptr);
}

TEST_F(FrameTest, ANewDocumentComesFromTheStartUpPlcAndRangeDialogs)
{
    std::vector<int> shown;
    WhenModal([&](QWidget& startUp) {
        shown.push_back(DialogId(startUp));
        WhenModal([&](QWidget& plc) {
            shown.push_back(DialogId(plc));
            WhenModal([&](QWidget& ranges) {
                shown.push_back(DialogId(ranges));
                auto* all = qobject_cast<ResourceDialog*>(&ranges)->Control<QCheckBox>(504);
                ASSERT_NE(all, nullptr);
                all->click();
                ClickOk(ranges);
            });
            ClickOk(plc); // the first-run choice: model 1792
        });
        ClickOk(startUp); // "new" is preselected
    });
    Trigger(57600);
    EXPECT_EQ(shown, (std::vector<int>{300, 400, 500}));
    ASSERT_NE(app->GetActiveDoc(), nullptr);
    EXPECT_EQ(app->Plc().m_nPLCId, 1792);
    EXPECT_EQ(app->GetActiveDoc()->Blocks().size(), 9u);
    EXPECT_TRUE(Frame().DataToolBar().isVisibleTo(&Frame()));
    EXPECT_EQ(Frame().windowTitle(), "Untitled1 - Memorix");
    EXPECT_TRUE(Frame().Commands().IsEnabled(57603));
}

TEST_F(FrameTest, ChangingThePlcCarriesRangesOverOrRestoresEverything)
{
    // A catalogue of the test's own, so that it can go away half-way.
    const std::string catalogue = scratch.Path("Memorix.db");
    ASSERT_TRUE(QFile::copy(QString::fromStdString(testsupport::BuiltCatalogue()), QString::fromStdString(catalogue)));
    app.reset();
    MakeApp(catalogue);
    NewDocument(33, {{DeviceCode::FL, {100, 199}}});

    const auto chooseModel = [&](int row, bool removeCatalogue) {
        WhenModal([=](QWidget& plc) {
            auto* models = qobject_cast<ResourceDialog*>(&plc)->Control<QListWidget>(402);
            ASSERT_NE(models, nullptr);
            models->setCurrentRow(row);
            if (removeCatalogue)
                QFile::remove(QString::fromStdString(catalogue));
            ClickOk(plc);
        });
    };

    messages.ScriptAnswer(platform::MsgAnswer::Yes);
    chooseModel(2, false); // series 2, third model: MB-64F3 with three banks
    Trigger(1000);
    EXPECT_EQ(app->Plc().m_nPLCId, 34);
    ASSERT_NE(app->GetActiveDoc()->FindBlock(DeviceCode::FL, 0), nullptr);
    EXPECT_EQ(app->GetActiveDoc()->FindBlock(DeviceCode::FL, 0)->StartAddr, 100);
    EXPECT_EQ(Frame().StatusText(3), "MB-64F3");

    const DeviceInfoArray devicesBefore = [&] {
        DeviceInfoArray d;
        d = app->Plc().m_aDeviceInfo;
        return d;
    }();
    messages.ScriptAnswer(platform::MsgAnswer::Yes);
    chooseModel(3, true); // MB-64F8, but the catalogue is gone when the lists are rebuilt
    Trigger(1000);
    EXPECT_EQ(app->Plc().m_nPLCId, 34);
    EXPECT_EQ(app->Plc().m_strPLCName, "MB-64F3");
    EXPECT_EQ(app->Plc().m_FLBankNum, 3);
    EXPECT_EQ(app->Plc().m_wLdtFormat, 2048);
    DeviceInfoArray devicesAfter;
    devicesAfter = app->Plc().m_aDeviceInfo;
    EXPECT_EQ(devicesAfter.size(), devicesBefore.size());
}

TEST_F(FrameTest, FileNewWithAnotherModelLeavesTheOpenDocumentUntilTheNewOneIsMade)
{
    NewDocument(1792, {{DeviceCode::DT, {0, 99}}});
    app->SetFirstNew(false);
    CMemorixDoc* const open = app->GetActiveDoc();
    open->SetModifiedFlag(false); // no save prompt
    const PlcChoice before = app->Plc();

    QStringList offered;
    bool banksShown = false;
    WhenModal([&](QWidget& plc) {
        auto& dialog = *qobject_cast<ResourceDialog*>(&plc);
        auto* series = dialog.Control<QListWidget>(res::IDC_SERIES_LIST);
        auto* models = dialog.Control<QListWidget>(res::IDC_MODEL_LIST);
        series->setCurrentRow(1);
        const QList<QListWidgetItem*> found = models->findItems("MB-64F3", Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1);
        if (found.size() != 1) {
            qobject_cast<QDialog*>(&plc)->reject();
            return;
        }
        models->setCurrentItem(found[0]);
        WhenModal([&](QWidget& ranges) {
            auto& rangeDialog = *qobject_cast<ResourceDialog*>(&ranges);
            auto* devices = rangeDialog.Control<QListWidget>(res::IDC_DEVICE_LIST);
            for (int i = 0; i < devices->count(); ++i) {
                offered << devices->item(i)->text().section(' ', 0, 0);
                EXPECT_EQ(devices->item(i)->checkState(), Qt::Unchecked) << "the new model's defaults";
            }
            banksShown = rangeDialog.Control<QListWidget>(res::IDC_BANK_LIST)->isVisibleTo(&ranges);
            qobject_cast<QDialog*>(&ranges)->reject();
        });
        ClickOk(plc);
    });
    Trigger(57600);

    EXPECT_FALSE(offered.isEmpty());
    EXPECT_TRUE(banksShown) << "the banked model's bank list";
    EXPECT_EQ(app->GetActiveDoc(), open) << "cancelled: the document stays";
    EXPECT_TRUE(app->Plc() == before) << "and so does its PLC";
    EXPECT_EQ(Frame().windowTitle(), "Untitled1 - Memorix");
}
