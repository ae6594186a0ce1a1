#include "GuiTestSupport.h"

#include "ui/shared/CommandTable.h"
#include "support/ModelChoice.h"
#include "document/CMemorixDoc.h"

#include <QApplication>
#include <QTimer>

#include <cstdlib>

namespace guitest {

bool ScriptedFileDialogs::GetOpenFileName(const std::string& filter, int& filterIndex, std::string& path)
{
    lastFilter = filter;
    if (!openPath)
        return false;
    path = *openPath;
    filterIndex = openFilterIndex;
    return true;
}

bool ScriptedFileDialogs::GetSaveFileName(SaveFileRequest& request)
{
    lastFilter = request.filter;
    if (!savePath)
        return false;
    request.chosenPath = *savePath;
    return true;
}

namespace {

void Poll(std::function<void(QWidget&)> action, int attemptsLeft)
{
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
        action(*modal);
        return;
    }
    if (attemptsLeft <= 0) {
        ADD_FAILURE() << "no modal dialog came up";
        return;
    }
    QTimer::singleShot(10, [action = std::move(action), attemptsLeft] { Poll(action, attemptsLeft - 1); });
}

} // namespace

void WhenModal(std::function<void(QWidget& dialog)> action)
{
    QTimer::singleShot(0, [action = std::move(action)] { Poll(action, 500); });
}

void FrameTest::SetUp()
{
    dialogtest::Fixture::SetUp();
    setenv("TMPDIR", scratch.dir.c_str(), 1);
    MakeApp();
}

void FrameTest::TearDown()
{
    if (mainFrame && app->GetActiveDoc())
        app->GetActiveDoc()->SetModifiedFlag(false);
    mainFrame.reset();
    app.reset();
}

CMainFrame& FrameTest::Frame()
{
    if (!mainFrame)
        mainFrame = std::make_unique<CMainFrame>(*app, resources, &dialogs);
    return *mainFrame;
}

void FrameTest::NewDocument(int modelId, const std::vector<std::pair<std::uint8_t, std::pair<int, int>>>& ranges)
{
    // As the new-document flow does: the open document goes before the new
    // lists are stored (closing it clears the PLC).
    Frame().CloseDocument();
    testsupport::ChooseModel(*app, resources, modelId);
    DeviceInfoArray devices;
    devices = app->Plc().m_aDeviceInfo;
    for (stDeviceInfo& device : devices) {
        for (const auto& [code, range] : ranges) {
            if (device.Id == code) {
                device.StartAddr = range.first;
                device.EndAddr = range.second;
                device.Selected = 1;
            }
        }
    }
    app->Plc().m_aDeviceInfo = devices;
    app->SetStartMode(START_NEW);
    ASSERT_NE(Frame().NewDocument(), nullptr);
}

std::string FrameTest::MakeFile(const std::string& name, int modelId,
                                const std::vector<std::pair<std::uint8_t, std::pair<int, int>>>& ranges,
                                const std::vector<std::pair<std::int16_t, std::pair<int, int>>>& bankRanges)
{
    NewDocument(modelId, ranges);
    BankInfoArray banks;
    banks = app->Plc().m_aBankInfo;
    DeviceInfoArray devices;
    devices = app->Plc().m_aDeviceInfo;
    for (_SBankInfo& bank : banks) {
        for (const auto& [bankNo, range] : bankRanges) {
            if (bank.BankNo == bankNo) {
                bank.StartAddr = range.first;
                bank.EndAddr = range.second;
                bank.Selected = 1;
            }
        }
    }
    if (!bankRanges.empty()) {
        for (stDeviceInfo& device : devices)
            device.Selected |= device.Id == DeviceCode::FL;
        app->Plc().m_aDeviceInfo = devices;
        app->Plc().m_aBankInfo = banks;
        app->GetActiveDoc()->ReconcileBlocks();
    }
    const std::string path = scratch.Path(name);
    EXPECT_TRUE(app->GetActiveDoc()->OnSaveDocument(path));
    Frame().CloseDocument();
    return path;
}

void FrameTest::Trigger(int command)
{
    Frame().Commands().Trigger(command);
}

} // namespace guitest
