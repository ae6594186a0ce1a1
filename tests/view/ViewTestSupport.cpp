#include "ViewTestSupport.h"

#include "catalogue/CPlcDatabase.h"
#include "core/DeviceLists.h"
#include "grid/qt/GridModel.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QTableView>

#include <cstdlib>

namespace viewtest {

namespace {

// One QApplication for the whole test program, off screen unless a platform
// was chosen. It goes before the program ends: Qt's own statics must outlive it.
class QtEnvironment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[11] = "view_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

void FakeGridFrame::UpdateDataToolbar(const DataToolbarUpdate& update)
{
    toolbarUpdates.push_back(update);
    if (update.unit && radix == codec::RADIX_FLOAT)
        unit = codec::UNIT_32BIT;
    else if (update.unit && radix == codec::RADIX_DOUBLE)
        unit = codec::UNIT_64BIT;
}

void ViewTest::SetUp()
{
    setenv("TMPDIR", scratch.dir.c_str(), 1); // the undo snapshots
    const char* bin = std::getenv("MEMORIX_BIN_DIR");
    ASSERT_TRUE(strings.Load(std::string(bin ? bin : ".") + "/MEMORIXEnu.so")) << strings.Error();
    app = std::make_unique<CMemorixApp>(AppServices{messages, strings, settings, testsupport::BuiltCatalogue()});
}

void ViewTest::TearDown()
{
    view.reset();
    app.reset();
}

CMemorixDoc& ViewTest::NewDocument(bool banked)
{
    const int modelId = banked ? 34 : 1792;
    CPlcDatabase db(messages, app->CataloguePath());
    EXPECT_EQ(db.DBConnect(true), 1);
    stPLC model;
    EXPECT_EQ(db.GetDBPLCRec(model, modelId), 1);
    DeviceInfoArray devices;
    BankInfoArray banks;
    EXPECT_TRUE(BuildDeviceLists(db, modelId, model.FLBankNum, strings, devices, banks));
    auto select = [](auto& record, std::int32_t start, std::int32_t end) {
        record.StartAddr = start;
        record.EndAddr = end;
        record.Selected = 1;
    };
    for (stDeviceInfo& device : devices) {
        if (device.Id == DeviceCode::DT)
            select(device, 0, 99);
        else if (device.Id == DeviceCode::TS && !banked)
            select(device, 10, 29);
        else if (device.Id == DeviceCode::FL && banked)
            device.Selected = 1;
    }
    for (_SBankInfo& bank : banks) {
        if (bank.BankNo == 0)
            select(bank, 0, 63);
        else if (bank.BankNo == 1)
            select(bank, 100, 131);
    }
    app->m_nPLCId = model.Id;
    app->SetFLBankNum(DeviceCode::FL, model.FLBankNum);
    app->SetDeviceInfo(devices);
    app->SetBankInfo(banks);
    app->m_nStartMode = START_NEW;
    CMemorixDoc* doc = app->NewDocument(host);
    EXPECT_NE(doc, nullptr);
    return *doc;
}

CMemorixView& ViewTest::MakeView()
{
    view = std::make_unique<CMemorixView>(*app, frame);
    view->SetDispDevStrings(Devices());
    view->resize(800, 400);
    view->OnInitialUpdate();
    return *view;
}

void ViewTest::Write(std::uint8_t code, std::int16_t bank, const std::vector<std::uint8_t>& bytes)
{
    app->GetActiveDoc()->WriteBlockBytes(0, bytes.data(), static_cast<std::int32_t>(bytes.size()), code, bank);
}

DeviceInfoArray ViewTest::Devices() const
{
    DeviceInfoArray devices;
    app->GetDeviceInfo(devices);
    return devices;
}

std::vector<int> ViewTest::Widths() const
{
    std::vector<int> widths;
    const QHeaderView& header = *view->List().horizontalHeader();
    for (int i = 0; i < header.count(); ++i)
        widths.push_back(header.sectionSize(i));
    return widths;
}

QStringList ViewTest::Headers() const
{
    QStringList texts;
    for (int i = 0; i < view->Model().columnCount(); ++i)
        texts << view->Model().headerData(i, Qt::Horizontal).toString();
    return texts;
}

void SaveScreenshot(QWidget& widget, const QString& name)
{
    const QString folder = QStringLiteral(MEMORIX_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(widget.grab().save(folder + "/" + name + ".png")) << name.toStdString();
}

} // namespace viewtest
