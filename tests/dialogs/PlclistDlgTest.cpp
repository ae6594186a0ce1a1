// The choice of series and model: preselection, what OK stores in the
// application and the settings, change mode, and unusual catalogues.

#include "ui/dialogs/CPlclistDlg.h"
#include "resources/ResourceIds.h"

#include "DialogTestSupport.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

namespace {

class PlcListDialog : public dialogtest::Fixture {
protected:
    void Open(bool changeMode = false)
    {
        CMemorixApp& a = MakeApp();
        dlg = std::make_unique<CPlclistDlg>(a.Services(), a.Plc(), resources);
        dlg->SetChangeMode(changeMode);
        dlg->open();
    }
    QListWidget& Series() { return *dlg->Control<QListWidget>(res::IDC_SERIES_LIST); }
    QListWidget& Models() { return *dlg->Control<QListWidget>(res::IDC_MODEL_LIST); }
    QCheckBox& Remember() { return *dlg->Control<QCheckBox>(res::IDC_REMEMBER_PLC); }
    QPushButton& Ok() { return *dlg->Control<QPushButton>(res::IDOK); }

    static QStringList Texts(const QListWidget& list)
    {
        QStringList texts;
        for (int i = 0; i < list.count(); ++i)
            texts << list.item(i)->text();
        return texts;
    }
    static QString Current(const QListWidget& list) { return list.currentItem() ? list.currentItem()->text() : ""; }
    static void Click(QListWidget& list, const QString& text)
    {
        dialogtest::ClickEntry(list, list.row(list.findItems(text, Qt::MatchExactly).value(0)));
    }

    // Series, model, name, 16-bit CPU, FL banks, legacy format and first legacy text.
    std::tuple<int, int, std::string, int, int, int, std::string> AppPlc() const
    {
        return {app->Plc().m_nPLCSeriesNo, app->Plc().m_nPLCId,     app->Plc().m_strPLCName, app->Plc().m_Is16bitCPUFlg,
                app->Plc().m_FLBankNum,    app->Plc().m_wLdtFormat, app->Plc().m_strLdtText1};
    }
    int Setting(const char* name) const { return settings.GetUserInt("Config", name, -1); }

    std::unique_ptr<CPlclistDlg> dlg;
};

TEST_F(PlcListDialog, FirstRunPreselectsTheDefaultModelAndRemembersIt)
{
    Open();
    // Series 3 has only disabled models and CA-90 is disabled: neither is listed.
    EXPECT_EQ(Texts(Series()), QStringList({"Compact Series A", "Modular Series B", "Compact Series C"}));
    EXPECT_EQ(Texts(Models()), QStringList({"CA-50", "CA-100", "CA-200", "CA-500L"}));
    EXPECT_EQ(Current(Series()) + "/" + Current(Models()), "Compact Series A/CA-100");
    EXPECT_TRUE(Remember().isVisible() && Remember().isChecked());
    EXPECT_EQ(dlg->focusWidget(), &Series());
    EXPECT_TRUE(Models().font().fixedPitch());
    EXPECT_EQ(Models().font().pixelSize(), 12);
    dialogtest::SaveScreenshot(*dlg, "plc-selection");

    app->Plc().m_strLdtText1 = "left over";
    Ok().click();
    EXPECT_EQ(dlg->Result(), res::IDOK);
    EXPECT_EQ(AppPlc(), std::make_tuple(1, 1792, std::string("CA-100"), 0, 0, 0, std::string()));
    EXPECT_EQ(std::make_tuple(Setting("SelectPlcSeries"), Setting("SelectPlcType"), Setting("SelectPlcMemory")),
              std::make_tuple(1, 1792, 1));
}

TEST_F(PlcListDialog, RememberedChoiceIsPreselectedAndUncheckingRememberKeepsIt)
{
    settings.SetUserInt("Config", "SelectPlcSeries", 2);
    settings.SetUserInt("Config", "SelectPlcType", 34);
    Open();
    EXPECT_EQ(Current(Series()) + "/" + Current(Models()), "Modular Series B/MB-64F3");
    Click(Series(), "Compact Series C");
    EXPECT_EQ(Texts(Models()), QStringList({"CC-1000"}));
    Click(Series(), "Modular Series B");
    EXPECT_EQ(Current(Models()), "MB-16S") << "another series starts at its first model";
    Click(Models(), "MB-64F8");
    Ok().click();
    EXPECT_EQ(AppPlc(), std::make_tuple(2, 35, std::string("MB-64F8"), 1, 8, 2048, std::string()));

    Open();
    EXPECT_EQ(Current(Models()), "MB-64F8");
    Click(Series(), "Compact Series C");
    dialogtest::ClickIndicator(Remember());
    Ok().click();
    EXPECT_EQ(app->Plc().m_nPLCId, 2560);
    EXPECT_EQ(std::make_tuple(Setting("SelectPlcSeries"), Setting("SelectPlcType"), Setting("SelectPlcMemory")),
              std::make_tuple(2, 35, 0));
    Open();
    EXPECT_FALSE(Remember().isChecked());

    // A remembered model of another series does not choose a model of this one.
    settings.SetUserInt("Config", "SelectPlcSeries", 1);
    Open();
    EXPECT_EQ(Current(Series()) + "/" + Current(Models()), "Compact Series A/CA-50");
}

class PlcListChangeMode : public PlcListDialog {
protected:
    void SetUp() override
    {
        PlcListDialog::SetUp();
        MakeApp();
        app->Plc().m_nPLCSeriesNo = 2;
        app->Plc().m_nPLCId = 33;
        app->Plc().m_strPLCName = "MB-32L";
        app->Plc().m_Is16bitCPUFlg = 1;
        app->Plc().m_wLdtFormat = 32;
        app->Plc().m_strLdtText1 = "kept";
        settings.SetUserInt("Config", "SelectPlcType", 1794);
    }
};

TEST_F(PlcListChangeMode, OkWithoutAChangeIsCancelAndANewModelKeepsLegacyTextsAndSettings)
{
    const auto before = AppPlc();
    Open(true);
    EXPECT_FALSE(Remember().isVisible());
    EXPECT_EQ(Current(Series()) + "/" + Current(Models()), "Modular Series B/MB-32L");
    Click(Models(), "MB-16S");
    Click(Models(), "MB-32L");
    Ok().click();
    EXPECT_EQ(std::make_tuple(dlg->isVisible(), dlg->Result()), std::make_tuple(false, res::IDCANCEL));
    EXPECT_EQ(AppPlc(), before);

    Open(true);
    Click(Models(), "MB-64F3");
    Ok().click();
    EXPECT_EQ(dlg->Result(), res::IDOK);
    EXPECT_EQ(AppPlc(), std::make_tuple(2, 34, std::string("MB-64F3"), 1, 3, 2048, std::string("kept")));
    EXPECT_EQ(std::make_tuple(Setting("SelectPlcSeries"), Setting("SelectPlcType"), Setting("SelectPlcMemory")),
              std::make_tuple(-1, 1794, -1));
}

// A catalogue with one series and the given models ("id, 'name', series, order, ..., banks, disabled").
std::string OneSeries(const testsupport::Scratch& scratch, const std::string& models)
{
    std::string sql = "CREATE TABLE MPLCSeries (PLCSeriesNo, SeriesName);";
    sql += testsupport::kUntypedTables;
    if (!models.empty())
        sql += "INSERT INTO MPLCSeries VALUES (5, 'Large'); INSERT INTO MPLC (Id, FullName, PLCSeriesNo, DispOrder, "
               "DefaultPatternNo, DataRegSize1, DataRegSize2, DataRegSize3, DataRegSize4, DataRegSize5, "
               "Is16bitCPUFlg, FLBankNum, DisableFlg) VALUES "
               + models + ";";
    return scratch.Db(sql);
}

TEST_F(PlcListDialog, EmptyCatalogueKeepsOkFromProceeding)
{
    testsupport::Scratch scratch;
    MakeApp(OneSeries(scratch, ""));
    Open();
    EXPECT_EQ(Series().count() + Models().count(), 0);
    EXPECT_FALSE(Ok().isEnabled());
    QTest::keyClick(dlg.get(), Qt::Key_Return);
    dlg->accept();
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(std::make_tuple(app->Plc().m_nPLCId, Setting("SelectPlcMemory")), std::make_tuple(0, -1));
}

TEST_F(PlcListDialog, ALoneSeriesOfMoreThanTwentyModelsListsThemAllWithTheFocusOnThem)
{
    testsupport::Scratch scratch;
    std::string models;
    for (int i = 1; i <= 25; ++i) {
        models += (i > 1 ? ", (" : "(") + std::to_string(100 + i) + ", 'M-" + std::to_string(i) + "', 5, "
                  + std::to_string(i) + ", 0, 1, 1, 1, 1, 1, 0, " + std::to_string(i % 3) + ", 0)";
    }
    MakeApp(OneSeries(scratch, models));
    Open();
    ASSERT_EQ(Models().count(), 25);
    EXPECT_EQ(dlg->focusWidget(), &Models());
    Click(Models(), "M-23");
    Ok().click();
    EXPECT_EQ(std::make_tuple(app->Plc().m_nPLCId, app->Plc().m_strPLCName, app->Plc().m_FLBankNum),
              std::make_tuple(123, std::string("M-23"), std::uint8_t{2}));
}

} // namespace
