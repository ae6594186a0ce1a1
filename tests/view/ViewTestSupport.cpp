#include "ViewTestSupport.h"

#include "support/ModelChoice.h"

#include <QApplication>

#include <cstdlib>

namespace viewtest {
namespace {

template <typename Record>
void Select(Record& record, std::int32_t start, std::int32_t end)
{
    record.StartAddr = start;
    record.EndAddr = end;
    record.Selected = 1;
}

} // namespace

void ViewTest::SetUp()
{
    setenv("TMPDIR", scratch.dir.c_str(), 1); // the undo snapshots
    const char* bin = std::getenv("MEMORIX_BIN_DIR");
    ASSERT_TRUE(strings.Load(std::string(bin ? bin : ".") + "/MEMORIXEnu.so")) << strings.Error();
    frame.resources = &strings;
    app = std::make_unique<CMemorixApp>(AppServices{messages, strings, settings, testsupport::BuiltCatalogue()});
}

void ViewTest::TearDown()
{
    view.reset();
    app.reset();
}

CMemorixDoc& ViewTest::NewDocument(bool banked)
{
    testsupport::ChooseModel(*app, strings, banked ? 34 : 1792);
    DeviceInfoArray devices;
    BankInfoArray banks;
    devices = app->Plc().m_aDeviceInfo;
    banks = app->Plc().m_aBankInfo;
    for (stDeviceInfo& device : devices) {
        if (device.Id == DeviceCode::DT)
            Select(device, 0, 99);
        else if (device.Id == DeviceCode::TS && !banked)
            Select(device, 10, 29);
        else if (device.Id == DeviceCode::FL && banked)
            device.Selected = 1;
    }
    if (banked) {
        Select(banks.at(0), 0, 63);
        Select(banks.at(1), 100, 131);
    }
    app->Plc().m_aDeviceInfo = devices;
    app->Plc().m_aBankInfo = banks;
    app->SetStartMode(START_NEW);
    CMemorixDoc* doc = app->NewDocument(host);
    EXPECT_NE(doc, nullptr);
    return *doc;
}

CMemorixView& ViewTest::MakeView()
{
    view = std::make_unique<CMemorixView>(*app, frame);
    DeviceInfoArray devices;
    devices = app->Plc().m_aDeviceInfo;
    view->SetDispDevStrings(devices);
    view->resize(800, 400);
    view->OnInitialUpdate();
    return *view;
}

void ViewTest::Write(std::uint8_t code, const std::vector<std::uint8_t>& bytes)
{
    app->GetActiveDoc()->WriteBlockBytes(0, bytes.data(), static_cast<std::int32_t>(bytes.size()), code, 0);
}

} // namespace viewtest
