#include "DocumentTestSupport.h"

#include "support/ModelChoice.h"

#include <cstdlib>

void DocumentTest::SetUp()
{
    setenv("TMPDIR", scratch.dir.c_str(), 1);
    const char* bin = std::getenv("MEMORIX_BIN_DIR");
    ASSERT_TRUE(strings.Load(std::string(bin ? bin : ".") + "/MEMORIXEnu.so")) << strings.Error();
    app = std::make_unique<CMemorixApp>(AppServices{messages, strings, settings, testsupport::BuiltCatalogue()});
}

void DocumentTest::TearDown()
{
    app.reset();
}

void DocumentTest::ChooseModel(int modelId)
{
    testsupport::ChooseModel(*app, strings, modelId);
}

void DocumentTest::SelectDevice(std::uint8_t code, std::int32_t start, std::int32_t end)
{
    DeviceInfoArray devices = Devices();
    for (stDeviceInfo& device : devices) {
        if (device.Id == code) {
            device.StartAddr = start;
            device.EndAddr = end;
            device.Selected = 1;
        }
    }
    app->Plc().m_aDeviceInfo = devices;
}

void DocumentTest::SelectBank(std::int16_t bankNo, std::int32_t start, std::int32_t end)
{
    BankInfoArray banks = Banks();
    for (_SBankInfo& bank : banks) {
        if (bank.BankNo == bankNo) {
            bank.StartAddr = start;
            bank.EndAddr = end;
            bank.Selected = 1;
        }
    }
    app->Plc().m_aBankInfo = banks;
    DeviceInfoArray devices = Devices();
    for (stDeviceInfo& device : devices) {
        if (device.Id == DeviceCode::FL)
            device.Selected = 1;
    }
    app->Plc().m_aDeviceInfo = devices;
}

void DocumentTest::Unselect(std::uint8_t code)
{
    DeviceInfoArray devices = Devices();
    for (stDeviceInfo& device : devices) {
        if (device.Id == code)
            device.Selected = 0;
    }
    app->Plc().m_aDeviceInfo = devices;
}

CMemorixDoc* DocumentTest::NewDocument()
{
    app->SetStartMode(START_NEW);
    return app->NewDocument(host);
}

CMemorixDoc* DocumentTest::Open(const std::string& path)
{
    return app->OpenDocumentFile(path, host);
}

void DocumentTest::Fill(CMemorixDoc& doc, std::uint8_t code, std::int16_t bank, std::uint8_t value)
{
    const CEditData* block = doc.FindBlock(code, bank);
    ASSERT_NE(block, nullptr);
    std::vector<std::uint8_t> bytes(block->Data.size());
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(value + i);
    doc.WriteBlockBytes(0, bytes.data(), static_cast<std::int32_t>(bytes.size()), code, bank);
}

DeviceInfoArray DocumentTest::Devices() const
{
    DeviceInfoArray devices;
    devices = app->Plc().m_aDeviceInfo;
    return devices;
}

BankInfoArray DocumentTest::Banks() const
{
    BankInfoArray banks;
    banks = app->Plc().m_aBankInfo;
    return banks;
}
