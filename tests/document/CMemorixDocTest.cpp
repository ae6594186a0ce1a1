#include "DocumentTestSupport.h"

#include "resources/ResourceIds.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using platform::MsgAnswer;

TEST_F(DocumentTest, WriteBlockBytesStaysInsideItsBlock)
{
    ChooseModel(1792);
    SelectDevice(DeviceCode::WR, 0, 9); // 20 bytes
    CMemorixDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    doc->SetModifiedFlag(false);
    const std::uint8_t bytes[4] = {1, 2, 3, 4};

    doc->WriteBlockBytes(20, bytes, 4, DeviceCode::WR, 0);
    doc->WriteBlockBytes(-2, bytes, 4, DeviceCode::WR, 0);
    doc->WriteBlockBytes(0, bytes, 4, DeviceCode::DT, 0);
    doc->WriteBlockBytes(0, bytes, 4, DeviceCode::WR, 1);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->FindBlock(DeviceCode::WR, 0)->Data, std::vector<std::uint8_t>(20, 0));

    doc->WriteBlockBytes(18, bytes, 4, DeviceCode::WR, 0);
    EXPECT_TRUE(doc->IsModified());
    const std::vector<std::uint8_t>& data = doc->FindBlock(DeviceCode::WR, 0)->Data;
    ASSERT_EQ(data.size(), 20u);
    EXPECT_EQ(data[18], 1);
    EXPECT_EQ(data[19], 2);
}

TEST_F(DocumentTest, ABlankDocumentHasOneZeroBlockPerSelectedRangeAndBank)
{
    ChooseModel(34); // three FL banks
    SelectDevice(DeviceCode::DT, 10, 19);
    SelectBank(0, 0, 99);
    SelectBank(2, 100, 149);
    CMemorixDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);

    ASSERT_EQ(doc->Blocks().size(), 3u);
    EXPECT_EQ(doc->Blocks()[0].Id, DeviceCode::DT);
    EXPECT_EQ(doc->Blocks()[1].BankNo, 0);
    EXPECT_EQ(doc->Blocks()[2].BankNo, 2);
    EXPECT_EQ(doc->Blocks()[2].Data.size(), 100u);
    EXPECT_EQ(doc->FindBlock(DeviceCode::FL, 1), nullptr);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), "Untitled1");
    ASSERT_EQ(host.opened.size(), 1u);
    EXPECT_EQ(host.opened[0].modelName, "MB-64F3");
    EXPECT_EQ(host.opened[0].devices.size(), Devices().size());
}

TEST_F(DocumentTest, NothingSelectedMeansNoDocument)
{
    ChooseModel(1792);
    EXPECT_EQ(NewDocument(), nullptr);
    EXPECT_EQ(app->GetActiveDoc(), nullptr);
    EXPECT_TRUE(host.opened.empty());
    EXPECT_EQ(host.closed, 1);
}

TEST_F(DocumentTest, SavedFilesOpenWithTheSelectionTakenFromTheirBlocks)
{
    ChooseModel(34);
    SelectDevice(DeviceCode::WR, 5, 9);
    SelectBank(0, 0, 9);
    SelectBank(1, 10, 19);
    SelectBank(2, 20, 29);
    CMemorixDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    Fill(*doc, DeviceCode::FL, 1, 7);
    const std::string path = scratch.Path("three banks.LDTX");
    ASSERT_TRUE(doc->OnSaveDocument(path));
    EXPECT_FALSE(doc->IsModified());
    const EditDataArray saved = doc->Blocks();

    app->CloseDocument();
    EXPECT_EQ(app->Plc().m_nPLCId, 0);
    host.opened.clear();

    doc = Open(path);
    ASSERT_NE(doc, nullptr) << (messages.Shown().empty() ? "" : messages.Shown().back().text);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(doc->GetTitle(), "three banks.LDTX");
    EXPECT_EQ(doc->GetDocFileName(), "three banks.LDTX");
    EXPECT_EQ(app->Plc().m_nPLCId, 34);
    EXPECT_EQ(app->Plc().m_strPLCName, "MB-64F3");
    ASSERT_EQ(doc->Blocks().size(), saved.size());
    EXPECT_EQ(doc->FindBlock(DeviceCode::FL, 1)->Data, saved[2].Data);

    // The device box lists FL once per bank block; the application's list once.
    ASSERT_EQ(host.opened.size(), 1u);
    int fl = 0;
    for (const stDeviceInfo& d : host.opened[0].devices)
        fl += d.Id == DeviceCode::FL;
    EXPECT_EQ(fl, 3);
    EXPECT_EQ(host.opened[0].banks.size(), 3u);
    const BankInfoArray banks = Banks();
    ASSERT_EQ(banks.size(), 3u);
    EXPECT_EQ(banks[1].Name, "Bank 1") << "string 708, as for a new document";
    EXPECT_EQ(banks[1].StartAddr, 10);
    EXPECT_EQ(banks[1].Selected, 1);
    for (const stDeviceInfo& d : Devices()) {
        if (d.Id == DeviceCode::WR) {
            EXPECT_EQ(d.StartAddr, 5);
            EXPECT_EQ(d.Selected, 1);
        }
        if (d.Id == DeviceCode::DT) {
            EXPECT_EQ(d.Selected, 0);
        }
    }
}

TEST_F(DocumentTest, OnlyDataFileExtensionsOpenOrSave)
{
    ChooseModel(1792);
    SelectDevice(DeviceCode::WR, 0, 9);
    CMemorixDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->OnSaveDocument(scratch.Path("data.txt")));
    EXPECT_FALSE(fs::exists(scratch.Path("data.txt")));
    ASSERT_TRUE(doc->OnSaveDocument(scratch.Path("data.ldtx")));
    fs::copy_file(scratch.Path("data.ldtx"), scratch.Path("data.ldt2"));
    app->CloseDocument();

    EXPECT_EQ(Open(scratch.Path("data.ldt2")), nullptr);
    EXPECT_TRUE(messages.Shown().empty()) << "an unknown extension fails without a message";
    EXPECT_EQ(app->Plc().m_nPLCId, 0);
}

TEST_F(DocumentTest, AFailedOpenLeavesNoPlcBehind)
{
    std::ofstream(scratch.Path("bad.ldtx"), std::ios::binary) << std::string(600, '\x01');
    EXPECT_EQ(Open(scratch.Path("bad.ldtx")), nullptr);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].stringId, res::IDS_FILE_NOT_DATA_FILE);
    EXPECT_EQ(app->Plc().m_nPLCId, 0);
    EXPECT_EQ(app->Plc().m_nPLCSeriesNo, 0);
    EXPECT_EQ(app->GetActiveDoc(), nullptr);
}

TEST_F(DocumentTest, SaveWithoutAPathAsksForOneAndProposesTheTitle)
{
    ChooseModel(1792); // 32-bit CPU: only the data file type
    SelectDevice(DeviceCode::WR, 0, 9);
    CMemorixDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    doc->SetTitle("plant.ldt");
    EXPECT_FALSE(doc->SaveDocument()) << "the dialog was cancelled";
    ASSERT_EQ(host.saveRequests.size(), 1u);
    EXPECT_EQ(host.saveRequests[0].proposedName, "plant");
    EXPECT_EQ(host.saveRequests[0].filter, strings.LoadString(res::IDS_FILTER_DATA));
    EXPECT_EQ(host.saveRequests[0].defaultExtension, ".ldtx");
    EXPECT_FALSE(host.saveRequests[0].preselectFilter);

    host.savePath = scratch.Path("plant.ldtx");
    EXPECT_TRUE(doc->SaveDocument());
    EXPECT_EQ(doc->GetPathName(), scratch.Path("plant.ldtx"));
    EXPECT_EQ(doc->GetTitle(), "plant.ldtx");
    EXPECT_EQ(host.recentFiles, std::vector<std::string>{scratch.Path("plant.ldtx")});
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(DocumentTest, SixteenBitModelsOfferBothFileTypesAndRememberTheChoice)
{
    ChooseModel(32);
    SelectDevice(DeviceCode::WR, 0, 9);
    CMemorixDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    doc->SetTitle("line.ldtx");
    app->SetFilterIndex(2);
    host.savePath = scratch.Path("line.ldt");
    host.saveFilterIndex = 2;
    ASSERT_TRUE(doc->SaveDocumentAs());
    EXPECT_EQ(host.saveRequests[0].proposedName, "line.ldtx");
    EXPECT_EQ(host.saveRequests[0].filter,
              strings.LoadString(res::IDS_FILTER_DATA) + strings.LoadString(res::IDS_FILTER_LEGACY_DATA));
    EXPECT_TRUE(host.saveRequests[0].preselectFilter);
    EXPECT_EQ(host.saveRequests[0].filterIndex, 2);
    EXPECT_EQ(app->GetFilterIndex(), 2);
    EXPECT_TRUE(fs::exists(scratch.Path("line.ldt")));
}

TEST_F(DocumentTest, TheSavePromptDecidesWhetherTheDocumentMayClose)
{
    ChooseModel(1792);
    SelectDevice(DeviceCode::WR, 0, 9);
    CMemorixDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);

    messages.ScriptAnswer(MsgAnswer::Cancel);
    EXPECT_FALSE(app->CanReplaceDocument());
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].stringId, res::IDP_ASK_TO_SAVE);
    EXPECT_NE(messages.Shown()[0].text.find("Untitled1"), std::string::npos);
    EXPECT_EQ(messages.Shown()[0].buttons, platform::MsgButtons::YesNoCancel);

    messages.ScriptAnswer(MsgAnswer::No);
    EXPECT_TRUE(doc->SaveModified());

    host.savePath = scratch.Path("kept.ldtx");
    messages.ScriptAnswer(MsgAnswer::Yes);
    EXPECT_TRUE(doc->SaveModified());
    EXPECT_TRUE(fs::exists(scratch.Path("kept.ldtx")));

    messages.ClearShown();
    EXPECT_TRUE(doc->SaveModified()) << "saved: no question";
    EXPECT_TRUE(messages.Shown().empty());

    host.endEditResult = false;
    EXPECT_FALSE(doc->SaveModified()) << "an edit that cannot be committed keeps the document open";
}

TEST_F(DocumentTest, ClosingClearsThePlcAndTheStatusBar)
{
    ChooseModel(34);
    SelectDevice(DeviceCode::WR, 0, 9);
    ASSERT_NE(NewDocument(), nullptr);
    app->CloseDocument();
    EXPECT_EQ(app->GetActiveDoc(), nullptr);
    EXPECT_EQ(app->Plc().m_nPLCId, 0);
    EXPECT_EQ(app->Plc().m_FLBankNum, 0);
    EXPECT_TRUE(Devices().empty());
    EXPECT_GE(host.closed, 1);
}

TEST_F(DocumentTest, LegacySavesAskBeforeLeavingDataOut)
{
    ChooseModel(35); // eight banks: the legacy file holds three
    SelectDevice(DeviceCode::WR, 0, 9);
    SelectDevice(DeviceCode::CS, 0, 9);
    SelectBank(4, 0, 9);
    CMemorixDoc* doc = NewDocument();
    ASSERT_NE(doc, nullptr);

    EXPECT_FALSE(doc->OnSaveDocument(scratch.Path("lossy.ldt")));
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].stringId, res::IDS_FILE_LEGACY_LOSES_DATA);
    EXPECT_NE(messages.Shown()[0].text.find("CS 0-9"), std::string::npos) << messages.Shown()[0].text;
    EXPECT_NE(messages.Shown()[0].text.find("FL bank 4 0-9"), std::string::npos) << messages.Shown()[0].text;
    EXPECT_FALSE(fs::exists(scratch.Path("lossy.ldt")));
    EXPECT_TRUE(doc->IsModified());

    messages.ScriptAnswer(MsgAnswer::Yes);
    EXPECT_TRUE(doc->OnSaveDocument(scratch.Path("lossy.ldt")));
    EXPECT_TRUE(fs::exists(scratch.Path("lossy.ldt")));
}
