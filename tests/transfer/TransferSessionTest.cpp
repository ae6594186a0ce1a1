// The transfer session and the document's read and write against the
// simulator: a user's read-edit-write path for each protocol family, and the
// faults a transfer can meet on the way.

#include "FakeCommHost.h"
#include "support/SimulatorProcess.h"
#include "support/CommSession.h"
#include "support/FakeUnit.h"

#include "document/DocumentTestSupport.h"
#include "support/RunProcess.h"

#include "catalogue/CPlcDatabase.h"
#include "support/TestCatalogue.h"
#include "transfer/CommLog.h"
#include "transfer/FixedText.h"
#include "resources/ResourceIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>

using namespace commtest;
using namespace transfertest;

namespace {

constexpr std::uint8_t DT = 21, WR = 18, LD = 22, FL = 49;

// Holding registers of the simulator read with mbpoll (DT is the device the
// register window shows first).
std::vector<int> Mbpoll(int port, int reference, int count)
{
    std::ostringstream cmd;
    cmd << "mbpoll -m tcp -p " << port << " -a 1 -0 -1 -t 4 -r " << reference << " -c " << count << " 127.0.0.1 2>&1";
    std::vector<int> values;
    FILE* pipe = popen(cmd.str().c_str(), "r");
    if (!pipe)
        return values;
    char line[256];
    while (fgets(line, sizeof line, pipe)) {
        int ref = 0, value = 0;
        if (std::sscanf(line, "[%d]: %d", &ref, &value) == 2)
            values.push_back(value);
    }
    pclose(pipe);
    return values;
}

// DT 0-299 of the simulator, in requests mbpoll can make.
std::vector<int> Mbpoll300(int port)
{
    std::vector<int> values;
    for (int first = 0; first < 300; first += 100) {
        const std::vector<int> part = Mbpoll(port, first, 100);
        values.insert(values.end(), part.begin(), part.end());
    }
    return values;
}

class TransferSessionTest : public DocumentTest {
protected:
    void SetUp() override
    {
        DocumentTest::SetUp();
        UseFreshSettingsFolder();
        app->GetComm().SetHost(&comm);
        app->GetComm().SetSleep([](std::uint32_t) {});
    }
    void TearDown() override
    {
        app->GetComm().SetHost(nullptr);
        DocumentTest::TearDown();
    }

    // A blank document of model 35 with DT 0-9, WR 0-9 and LD 0-9, filled.
    CMemorixDoc* BlankDocumentOf35()
    {
        ChooseModel(35);
        SelectDevice(DT, 0, 9);
        SelectDevice(WR, 0, 9);
        SelectDevice(LD, 0, 9);
        app->SetStartMode(START_NEW);
        CMemorixDoc* doc = NewDocument();
        if (doc) {
            Fill(*doc, DT, 0, 10);
            Fill(*doc, WR, 0, 20);
            Fill(*doc, LD, 0, 30);
        }
        return doc;
    }

    // A new document of the model with these device ranges, each filled; the
    // document before it is closed unsaved.
    CMemorixDoc* DocumentWith(int model, const std::vector<Selection::Range>& ranges)
    {
        if (CMemorixDoc* old = app->GetActiveDoc()) {
            old->SetModifiedFlag(false);
            app->CloseDocument();
        }
        ChooseModel(model);
        for (const Selection::Range& range : ranges)
            SelectDevice(static_cast<std::uint8_t>(range.key), range.start, range.end);
        CMemorixDoc* doc = NewDocument();
        if (doc)
            for (const Selection::Range& range : ranges)
                Fill(*doc, static_cast<std::uint8_t>(range.key), 0, static_cast<std::uint8_t>(10 + range.key));
        return doc;
    }

    // Command 200 as the application runs it.
    bool ReadCommand()
    {
        if (app->GetComm().PrepareUpload() != TransferOutcome::Done)
            return false;
        if (CMemorixDoc* doc = app->GetActiveDoc())
            return doc->LoadFromPlc();
        app->SetStartMode(START_READ_PLC);
        return app->NewDocument(host) != nullptr;
    }

    bool Shown(int stringId) const
    {
        for (const auto& m : messages.Shown())
            if (m.stringId == stringId)
                return true;
        return false;
    }
    // The text of the last library error shown.
    std::string LibraryMessage() const
    {
        std::string text;
        for (const auto& m : messages.Shown())
            if (m.stringId == 0 && m.icon == platform::MsgIcon::Exclamation)
                text = m.text;
        return text;
    }
    bool LibraryErrorShown() const
    {
        for (const auto& m : messages.Shown())
            if (m.stringId == 0 && m.icon == platform::MsgIcon::Exclamation && !m.text.empty())
                return true;
        return false;
    }

    FakeCommHost comm;
};

void SetWord(CMemorixDoc& doc, std::uint8_t code, std::int16_t bank, int word, std::uint16_t value)
{
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value & 0xFF), static_cast<std::uint8_t>(value >> 8)};
    doc.WriteBlockBytes(word * 2, bytes, 2, code, bank);
}

std::uint16_t Word(const CMemorixDoc& doc, std::uint8_t code, std::int16_t bank, int word)
{
    const CEditData* block = doc.FindBlock(code, bank);
    if (!block || block->Data.size() < static_cast<std::size_t>(word * 2 + 2))
        return 0xDEAD;
    return static_cast<std::uint16_t>(block->Data[word * 2] | block->Data[word * 2 + 1] << 8);
}

} // namespace

TEST_F(TransferSessionTest, FamilyZeroReadEditWriteWithBankedFileRegisters)
{
    SimulatorProcess sim({"--model", "35"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    SaveTcpProfile(0, sim.Port());
    comm.choose = Selection{{{DT, 0, 99}, {WR, 0, 9}, {FL, 0, 9}}, {{0, 0, 15}, {2, 100, 115}}};

    // No document and no PLC yet: the connected model is taken without a question.
    ASSERT_TRUE(ReadCommand());
    CMemorixDoc* doc = app->GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(comm.confirmations, std::vector<std::string>{"read"});
    EXPECT_NE(comm.connectionTexts[0].find("127.0.0.1:" + std::to_string(sim.Port())), std::string::npos);
    EXPECT_EQ(app->Plc().m_nPLCId, 35);
    EXPECT_FALSE(Shown(res::IDS_READ_OTHER_PLC));
    EXPECT_TRUE(Shown(res::IDS_READ_DONE));
    // The banked FL comes bank by bank, never from its device entry; other blocks carry bank 0.
    ASSERT_EQ(doc->Blocks().size(), 4u);
    // Catalogue order: WR before DT.
    EXPECT_EQ(doc->Blocks()[0].Id, WR);
    EXPECT_EQ(doc->Blocks()[1].Id, DT);
    EXPECT_EQ(doc->Blocks()[1].BankNo, 0);
    EXPECT_EQ(doc->Blocks()[2].Id, FL);
    EXPECT_EQ(doc->Blocks()[2].BankNo, 0);
    EXPECT_EQ(doc->Blocks()[3].BankNo, 2);
    EXPECT_EQ(doc->Blocks()[3].StartAddr, 100);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_FALSE(app->GetComm().IsOnline());
    EXPECT_EQ(comm.waitDepth, 0);
    ASSERT_FALSE(comm.progress_.empty());
    EXPECT_EQ(comm.progress_[0], "Reading WR 0-9 ... 0%");
    // Each block starts with the share moved before it; the libraries' reports follow within it.
    EXPECT_NE(std::find(comm.progress_.begin(), comm.progress_.end(), "Reading FL bank 2 100-115 ... 88%"),
              comm.progress_.end());
    EXPECT_EQ(comm.progress_.back(), "Reading FL bank 2 100-115 ... 100%");

    // Edit and write back; the simulator holds the new values.
    SetWord(*doc, DT, 0, 5, 4660);
    SetWord(*doc, FL, 2, 3, 777);
    doc->WriteToPlc();
    EXPECT_TRUE(Shown(res::IDS_WRITE_DONE));
    EXPECT_EQ(comm.confirmations.back(), "write");
    EXPECT_FALSE(app->GetComm().IsOnline());
    EXPECT_EQ(Mbpoll(sim.Port(), 5, 1), std::vector<int>{4660});

    // Reading again into the open document brings both values back.
    SetWord(*doc, DT, 0, 5, 1);
    SetWord(*doc, FL, 2, 3, 1);
    ASSERT_TRUE(ReadCommand());
    EXPECT_EQ(Word(*app->GetActiveDoc(), DT, 0, 5), 4660);
    EXPECT_EQ(Word(*app->GetActiveDoc(), FL, 2, 3), 777);
}

TEST_F(TransferSessionTest, FamilyOneReadsAndWritesAddressByAddressWithoutBanks)
{
    SimulatorProcess sim({"--model", "1792"});
    ASSERT_TRUE(sim.Started()) << sim.Log();
    SaveTcpProfile(0, sim.Port());
    comm.choose = Selection{{{DT, 10, 19}, {WR, 0, 3}}, {{0, 0, 3}}};
    ASSERT_TRUE(ReadCommand());
    CMemorixDoc* doc = app->GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(app->GetComm().Protocol(), 1);
    EXPECT_EQ(app->Plc().m_nPLCId, 1792);
    for (const CEditData& block : doc->Blocks())
        EXPECT_NE(block.Id, FL) << "family 1 reads no banks";
    ASSERT_NE(doc->FindBlock(DT, 0), nullptr);
    SetWord(*doc, DT, 0, 2, 999); // DT 12
    doc->WriteToPlc();
    EXPECT_TRUE(Shown(res::IDS_WRITE_DONE));
    EXPECT_EQ(Mbpoll(sim.Port(), 12, 1), std::vector<int>{999});
}

// Every enabled model of the catalogue, its unit speaking either family: the
// model check takes the unit for the model it says it is, and a word written
// to it is there afterwards.
TEST_F(TransferSessionTest, EveryEnabledModelPassesTheModelCheckAndTakesAWriteInEitherFamily)
{
    std::vector<int> models;
    {
        CPlcDatabase db(messages, testsupport::BuiltCatalogue());
        ASSERT_EQ(db.DBConnect(true), 1);
        std::vector<stPLCSeries> series;
        db.GetDBPLCSeriesAry(series);
        for (const stPLCSeries& s : series) {
            std::vector<stPLC> inSeries;
            db.GetDBPLCAry(s.PLCSeriesNo, inSeries);
            for (const stPLC& plc : inSeries)
                models.push_back(plc.Id);
        }
        db.DBConnect(false);
    }
    ASSERT_NE(std::find(models.begin(), models.end(), 2560), models.end()) << "a model id above 255 outside series 1";
    ASSERT_NE(std::find(models.begin(), models.end(), 32), models.end());

    messages.AnswerEveryQuestion(platform::MsgAnswer::Yes); // "another model": yes
    comm.choose = Selection{{{DT, 0, 9}}, {}};
    std::uint16_t value = 100;
    for (const int model : models) {
        for (const int family : {0, 1}) {
            SCOPED_TRACE("model " + std::to_string(model) + ", family " + std::to_string(family));
            SimulatorProcess sim({"--model", std::to_string(model), "--family", std::to_string(family)});
            ASSERT_TRUE(sim.Started()) << sim.Log();
            SaveTcpProfile(0, sim.Port());
            messages.ClearShown();
            ASSERT_TRUE(ReadCommand());
            EXPECT_FALSE(Shown(res::IDS_READ_UNKNOWN_PLC));
            EXPECT_EQ(app->Plc().m_nPLCId, model);
            EXPECT_EQ(app->GetComm().Protocol(), family);
            CMemorixDoc* doc = app->GetActiveDoc();
            ASSERT_NE(doc, nullptr);
            SetWord(*doc, DT, 0, 7, ++value);
            EXPECT_EQ(doc->WriteToPlc(), TransferOutcome::Done);
            EXPECT_FALSE(Shown(res::IDS_WRITE_UNKNOWN_PLC));
            EXPECT_EQ(Mbpoll(sim.Port(), 7, 1), std::vector<int>{value}) << "DT 7";
        }
    }
}

TEST_F(TransferSessionTest, DecliningTheConfirmationNeverGoesOnline)
{
    SimulatorProcess sim({"--model", "35"});
    ASSERT_TRUE(sim.Started());
    SaveTcpProfile(0, sim.Port());
    comm.confirm = false;
    EXPECT_EQ(app->GetComm().PrepareUpload(), TransferOutcome::Cancelled);
    EXPECT_EQ(comm.rangeDialogs, 0);
    EXPECT_FALSE(app->GetComm().HasPendingPlc());
    ASSERT_NE(BlankDocumentOf35(), nullptr);
    EXPECT_EQ(app->GetComm().Download(app->GetActiveDoc()->Blocks()), TransferOutcome::Cancelled);
    sim.Stop();
    EXPECT_EQ(sim.Log().find("opened"), std::string::npos) << sim.Log();
}

TEST_F(TransferSessionTest, ARangeChoiceWithNothingSelectedReadsNothing)
{
    SimulatorProcess sim({"--model", "35"});
    ASSERT_TRUE(sim.Started());
    SaveTcpProfile(0, sim.Port());
    comm.choose = Selection{};
    EXPECT_EQ(app->GetComm().PrepareUpload(), TransferOutcome::Cancelled);
    EXPECT_EQ(comm.rangeDialogs, 1);
    EXPECT_FALSE(app->GetComm().HasPendingPlc());
    EXPECT_FALSE(app->GetComm().IsOnline());
    EXPECT_EQ(app->Plc(), PlcChoice{});
}

TEST_F(TransferSessionTest, AnotherModelIsOfferedWithItsOwnListsAndNothingChangesUntilTheReadSucceeds)
{
    CMemorixDoc* doc = BlankDocumentOf35();
    ASSERT_NE(doc, nullptr);
    const EditDataArray blocks = doc->Blocks();
    const PlcChoice plc = app->Plc();
    SimulatorProcess sim({"--model", "1792", "--faults-after", "3", "--drop-after", "3"});
    ASSERT_TRUE(sim.Started());
    SaveTcpProfile(0, sim.Port());

    // No to "another model": nothing read, nothing changed.
    EXPECT_EQ(app->GetComm().PrepareUpload(), TransferOutcome::NotReached);
    EXPECT_TRUE(Shown(res::IDS_READ_OTHER_PLC));
    EXPECT_EQ(comm.rangeDialogs, 0);

    // Yes: the range choice starts from the connected model's devices and defaults.
    messages.ScriptAnswer(platform::MsgAnswer::Yes);
    comm.choose = Selection{{{DT, 0, 9}, {WR, 0, 9}, {LD, 0, 9}}, {}};
    ASSERT_EQ(app->GetComm().PrepareUpload(), TransferOutcome::Done);
    EXPECT_EQ(comm.offered.m_nPLCId, 1792);
    ASSERT_FALSE(comm.offered.m_aDeviceInfo.empty());
    for (const stDeviceInfo& device : comm.offered.m_aDeviceInfo) {
        EXPECT_EQ(device.PlcId, 1792);
        EXPECT_EQ(device.Selected, 0);
        EXPECT_EQ(device.StartAddr, device.MinValue);
        EXPECT_EQ(device.EndAddr, device.DefaultEnd);
    }
    // The PLC is the document's until the data are in.
    EXPECT_EQ(app->Plc(), plc);

    // The upload then fails in a later block: the document and the PLC stay.
    EXPECT_FALSE(doc->LoadFromPlc());
    EXPECT_EQ(app->GetActiveDoc(), doc);
    EXPECT_EQ(doc->Blocks(), blocks);
    EXPECT_EQ(app->Plc(), plc);
    EXPECT_FALSE(app->GetComm().HasPendingPlc());
    EXPECT_FALSE(app->GetComm().IsOnline());
    EXPECT_TRUE(Shown(res::IDS_TRANSFER_FAILED));
    EXPECT_TRUE(LibraryErrorShown());
}

// Each fault of the simulator, met after the first block of a three-block
// read: the read leaves the document, the PLC and the session as they were
// and shows the library's error; a read without a document makes none.
TEST_F(TransferSessionTest, EveryFaultLeavesTheDocumentAndThePlcUnchanged)
{
    const std::vector<std::vector<std::string>> faults = {
        {"--drop-after", "6"}, {"--exception", "4"}, {"--delay", "1500"}, {"--garbage"}};
    CMemorixDoc* doc = BlankDocumentOf35();
    ASSERT_NE(doc, nullptr);
    const EditDataArray blocks = doc->Blocks();
    const PlcChoice plc = app->Plc();
    comm.choose = Selection{{{DT, 0, 9}, {WR, 0, 9}, {LD, 0, 9}}, {}};
    for (const auto& fault : faults) {
        // Identification and the first two blocks (window select and read
        // each) take six requests: the seventh, the third block's, meets the fault.
        std::vector<std::string> args = {"--model", "35", "--faults-after", "6"};
        args.insert(args.end(), fault.begin(), fault.end());
        SimulatorProcess sim(args);
        ASSERT_TRUE(sim.Started()) << fault[0];
        SaveTcpProfile(0, sim.Port(), 500);
        messages.ClearShown();
        comm.progress_.clear();
        EXPECT_FALSE(ReadCommand()) << fault[0];
        ASSERT_FALSE(comm.progress_.empty());
        EXPECT_EQ(comm.progress_.back().rfind("Reading LD", 0), 0u)
            << fault[0] << ": the fault should meet the third block, not " << comm.progress_.back();
        EXPECT_EQ(app->GetActiveDoc(), doc);
        EXPECT_EQ(doc->Blocks(), blocks) << fault[0];
        EXPECT_EQ(app->Plc(), plc) << fault[0];
        EXPECT_FALSE(app->GetComm().IsOnline()) << fault[0];
        EXPECT_TRUE(LibraryErrorShown()) << fault[0];
        EXPECT_TRUE(Shown(res::IDS_TRANSFER_FAILED)) << fault[0];
        EXPECT_EQ(comm.waitDepth, 0);
    }
}

TEST_F(TransferSessionTest, AWriteThatStopsPartWaySaysThePlcHoldsPartOfTheData)
{
    CMemorixDoc* doc = BlankDocumentOf35();
    ASSERT_NE(doc, nullptr);
    SimulatorProcess sim({"--model", "35", "--faults-after", "4", "--exception", "4"});
    ASSERT_TRUE(sim.Started());
    SaveTcpProfile(0, sim.Port());
    EXPECT_EQ(doc->WriteToPlc(), TransferOutcome::Failed);
    EXPECT_EQ(app->GetComm().LastError(), 1104) << "the library's code of Modbus exception 4";
    EXPECT_GE(app->GetComm().BlocksWritten(), 1);
    EXPECT_TRUE(Shown(res::IDS_WRITE_PARTIAL));
    EXPECT_FALSE(Shown(res::IDS_WRITE_DONE));
    EXPECT_FALSE(app->GetComm().IsOnline());
    sim.Stop();
}

// A write that fails within a block has changed the PLC up to its last
// successful request: the message says so and names exactly those addresses,
// whether the failure comes in the first block or a later one. Requests:
// identification, then per block a window select and writes of 123 words.
TEST_F(TransferSessionTest, APartialWriteNamesTheAddressesThePlcNowHolds)
{
    struct Case {
        std::vector<Selection::Range> ranges;
        const char* faultsAfter;
        const char* written; // the last line of the message
        int firstUnwritten;  // DT address the write did not reach
    };
    const Case cases[] = {
        {{{DT, 0, 999}}, "4", "DT 0-245", 246},
        {{{WR, 0, 9}, {DT, 0, 999}}, "6", "WR 0-9, DT 0-245", 246},
        {{{WR, 0, 9}, {DT, 0, 999}}, "3", "WR 0-9", 0},
    };
    for (const Case& c : cases) {
        CMemorixDoc* doc = DocumentWith(35, c.ranges);
        ASSERT_NE(doc, nullptr);
        SimulatorProcess sim({"--model", "35", "--faults-after", c.faultsAfter, "--exception", "4"});
        ASSERT_TRUE(sim.Started());
        SaveTcpProfile(0, sim.Port());
        const std::vector<int> before = Mbpoll300(sim.Port());
        messages.ClearShown();

        EXPECT_EQ(doc->WriteToPlc(), TransferOutcome::Failed) << c.written;
        std::string text;
        for (const auto& m : messages.Shown())
            if (m.stringId == res::IDS_WRITE_PARTIAL)
                text = m.text;
        ASSERT_FALSE(text.empty()) << c.written << ": no partial-data message";
        EXPECT_EQ(text.substr(text.rfind('\n') + 1), c.written);
        EXPECT_FALSE(Shown(res::IDS_WRITE_DONE));

        // The PLC holds what the message names and nothing after it.
        const std::vector<int> after = Mbpoll300(sim.Port());
        ASSERT_EQ(after.size(), 300u);
        ASSERT_EQ(before.size(), 300u);
        for (int address = 0; address < 300; ++address) {
            const int expected = address < c.firstUnwritten ? Word(*doc, DT, 0, address) : before[address];
            ASSERT_EQ(after[address], expected) << c.written << ": DT " << address;
        }
    }
}

// Words per address other than the document's, from the unit's identity or a
// map file, or a data size no descriptor can carry, must never reach a buffer
// or the unit: reading and writing are refused with the library's message
// naming the device, and the unit gets no write request.
TEST_F(TransferSessionTest, SizesThatDisagreeAreRefusedBeforeAnythingMoves)
{
    struct Case {
        const char* what;
        int model;          // the document's and the unit's
        int unitWords;      // DT's words per address in the unit's identity or the map file
        bool mapFile;       // the profile names a map file instead of asking the unit
        int dataSize;       // the written block's data size, 0 for the catalogue's
        const char* detail; // in the library's message
    };
    const Case cases[] = {
        {"identity 2", 35, 2, false, 0, "DT: the PLC has 2 words per address, the data 1 word"},
        {"identity 4", 35, 4, false, 0, "DT: the PLC has 4 words per address, the data 1 word"},
        {"identity 0", 35, 0, false, 0, "DT: 0 words per address"},
        {"identity 2, family 1", 1792, 2, false, 0, "DT: the PLC has 2 words per address, the data 1 word"},
        {"map file 2", 35, 2, true, 0, "DT: the PLC has 2 words per address, the data 1 word"},
        {"data size 129", 1792, 1, false, 129, "DT: the PLC has 1 word per address, the data 129 words"},
    };
    for (const Case& c : cases) {
        commlib::Identity identity;
        identity.family = c.model < 256 ? 0 : 1;
        identity.model = static_cast<std::uint16_t>(c.model);
        commlib::DeviceEntry dt;
        dt.code = comm::ProtocolDevice::DT;
        dt.wordsPerAddress = static_cast<std::uint16_t>(c.mapFile ? 1 : c.unitWords);
        dt.addresses = 16384;
        identity.devices.push_back(dt);
        FakeUnit unit(identity);
        ASSERT_TRUE(unit.Started()) << c.what;
        SaveTcpProfile(0, unit.Port(), 500);
        if (c.mapFile) {
            const std::string map = scratch.Path("dt.map");
            std::ofstream(map) << "DT - 0 999 0 " << c.unitWords << "\n";
            commlib::Profile profile = *commlib::ProfileStore::Load(0);
            profile.mapFile = map;
            profile.family = identity.family;
            profile.model = c.model;
            commlib::ProfileStore::Save(0, profile);
        }

        CMemorixDoc* doc = DocumentWith(c.model, {{DT, 0, 9}});
        ASSERT_NE(doc, nullptr);
        const EditDataArray blocks = doc->Blocks();

        if (c.dataSize == 0) {
            messages.ClearShown();
            comm.choose = Selection{{{DT, 0, 9}}, {}};
            EXPECT_FALSE(ReadCommand()) << c.what;
            EXPECT_EQ(doc->Blocks(), blocks) << c.what;
            EXPECT_NE(LibraryMessage().find(c.detail), std::string::npos) << c.what << ": " << LibraryMessage();
        }

        EditDataArray toWrite = blocks;
        if (c.dataSize != 0) {
            toWrite[0].DataSize = c.dataSize;
            toWrite[0].Data.assign(static_cast<std::size_t>(10 * c.dataSize * 2), 0x5A);
        }
        messages.ClearShown();
        EXPECT_NE(app->GetComm().Download(toWrite), TransferOutcome::Done) << c.what;
        EXPECT_TRUE(app->GetComm().Written().empty()) << c.what;
        EXPECT_NE(LibraryMessage().find(c.detail), std::string::npos) << c.what << ": " << LibraryMessage();
        EXPECT_EQ(unit.Writes(), 0) << c.what;
        EXPECT_EQ(unit.Register(0), 0) << c.what;
        EXPECT_FALSE(app->GetComm().IsOnline()) << c.what;
    }
}

TEST_F(TransferSessionTest, AWriteStopsAtAnEditThatCannotBeCommitted)
{
    CMemorixDoc* doc = BlankDocumentOf35();
    ASSERT_NE(doc, nullptr);
    host.endEditResult = false;
    doc->WriteToPlc();
    EXPECT_TRUE(comm.confirmations.empty());
    EXPECT_TRUE(messages.Shown().empty());
}

TEST(FixedText, BuffersAreReadUpToTheirSizeAndFilledWithACutText)
{
    const char full[4] = {'a', 'b', 'c', 'd'}; // no terminating zero
    EXPECT_EQ(TextOf(full, sizeof full), "abcd");
    const char shortText[6] = {'x', 'y', '\0', 'z', 'z', 'z'};
    EXPECT_EQ(TextOf(shortText, sizeof shortText), "xy");
    const std::vector<char> cut = ZeroedText(std::string(300, 'n'), 200);
    ASSERT_EQ(cut.size(), 200u);
    EXPECT_EQ(cut[198], 'n');
    EXPECT_EQ(cut[199], '\0');
    EXPECT_EQ(CappedFailureWait(500), 500u);
    EXPECT_EQ(CappedFailureWait(0xFFFFFFFFu), kMaxFailureWaitMs);
}

TEST_F(TransferSessionTest, ALongBlockShowsHowFarItHasGot)
{
    SimulatorProcess sim({"--model", "35"});
    ASSERT_TRUE(sim.Started());
    SaveTcpProfile(0, sim.Port());
    comm.choose = Selection{{{DT, 0, 16383}}, {}};
    ASSERT_TRUE(ReadCommand());
    EXPECT_EQ(comm.progress_.front(), "Reading DT 0-16383 ... 0%");
    // Requests in flight on several connections finish in bursts, so not
    // every percent is shown; the middle is.
    EXPECT_NE(std::find_if(comm.progress_.begin(), comm.progress_.end(),
                           [](const std::string& text) {
                               const int percent = std::stoi(text.substr(text.rfind(' ') + 1));
                               return percent >= 30 && percent <= 70;
                           }),
              comm.progress_.end());
    EXPECT_EQ(comm.progress_.back(), "Reading DT 0-16383 ... 100%");
    EXPECT_GT(comm.progressEnds, 0);
}

// Cancel pressed while a transfer runs, at several moments: a read leaves the
// document and the PLC choice as they were; a write says what it had written,
// and the PLC holds exactly that. Stopping is no failure: no error is shown.
TEST_F(TransferSessionTest, AStoppedTransferLeavesTheDocumentOrSaysWhatItWrote)
{
    struct Case {
        bool writing;
        const char* device; // stop at the first progress of this device's block ...
        int percent;        // ... at this share of the whole transfer or later
        bool partial;       // the write reached the PLC before it stopped
    };
    const Case cases[] = {
        {false, "WR", 0, false},
        {false, "DT", 50, false},
        {true, "WR", 0, false},
        {true, "DT", 20, true},
    };
    for (const Case& c : cases) {
        const std::string name =
            std::string(c.writing ? "write" : "read") + " at " + c.device + " " + std::to_string(c.percent) + "%";
        CMemorixDoc* doc = DocumentWith(35, {{WR, 0, 9}, {DT, 0, 7999}});
        ASSERT_NE(doc, nullptr);
        SimulatorProcess sim({"--model", "35"});
        ASSERT_TRUE(sim.Started());
        SaveTcpProfile(0, sim.Port());
        const std::vector<int> before = Mbpoll300(sim.Port());
        const EditDataArray blocksBefore = doc->Blocks();
        messages.ClearShown();
        bool stopped = false;
        comm.onProgress = [&](const TransferProgress& progress) {
            if (!stopped && progress.device == c.device && progress.percent >= c.percent) {
                stopped = true;
                app->GetComm().RequestStop();
            }
        };
        comm.choose = Selection{{{WR, 0, 9}, {DT, 0, 7999}}, {}};

        if (c.writing) {
            EXPECT_EQ(doc->WriteToPlc(), TransferOutcome::Stopped) << name;
        } else {
            ASSERT_EQ(app->GetComm().PrepareUpload(), TransferOutcome::Done) << name;
            EXPECT_FALSE(doc->LoadFromPlc()) << name;
            EXPECT_EQ(doc->Blocks(), blocksBefore) << name;
        }
        comm.onProgress = nullptr;
        EXPECT_TRUE(stopped) << name;
        // A partial write says so in its one message, which starts with the stop.
        bool saysStopped = Shown(res::IDS_TRANSFER_STOPPED);
        for (const auto& m : messages.Shown())
            saysStopped =
                saysStopped || (m.stringId == res::IDS_WRITE_PARTIAL && m.text.find("cancelled") != std::string::npos);
        EXPECT_TRUE(saysStopped) << name;
        EXPECT_FALSE(Shown(res::IDS_TRANSFER_FAILED)) << name;
        EXPECT_FALSE(LibraryErrorShown()) << name;
        EXPECT_EQ(Shown(res::IDS_WRITE_PARTIAL), c.partial) << name;
        EXPECT_FALSE(app->GetComm().IsOnline()) << name;

        // The PLC holds what the message names (all of WR, DT up to where it
        // stopped) and nothing after it.
        int reached = 0;
        for (const WrittenRange& range : app->GetComm().Written())
            if (range.id == DT)
                reached = range.endAddr + 1;
        EXPECT_LT(reached, 8000) << name << ": the write went to its end";
        const std::vector<int> after = Mbpoll300(sim.Port());
        ASSERT_EQ(after.size(), 300u);
        for (int address = 0; address < 300; ++address) {
            const int expected = c.writing && address < reached ? Word(*doc, DT, 0, address) : before[address];
            ASSERT_EQ(after[address], expected) << name << ": DT " << address;
        }
        sim.Stop();
    }
}

// The communication log: each request with its device, addresses, words and
// result, a failure with its code; it keeps the newest entries only.
TEST_F(TransferSessionTest, TheLogHoldsEachRequestWithItsResultAndKeepsTheNewest)
{
    transfer::CommLog log;
    app->GetComm().SetRequestLog(&log);
    CMemorixDoc* doc = DocumentWith(35, {{DT, 0, 299}});
    ASSERT_NE(doc, nullptr);
    {
        SimulatorProcess sim({"--model", "35", "--faults-after", "3", "--exception", "4"});
        ASSERT_TRUE(sim.Started());
        SaveTcpProfile(0, sim.Port(), 1000, 1);
        EXPECT_EQ(doc->WriteToPlc(), TransferOutcome::Failed);
    }
    std::vector<std::string> lines;
    for (const transfer::CommLogEntry& entry : log.Since(0)) {
        const std::string line = transfer::FormatLogEntry(entry);
        lines.push_back(line.substr(line.find('\t') + 1)); // without the time
    }
    app->GetComm().SetRequestLog(nullptr);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const std::string& l) {
                               return l.rfind("0\tWrite multiple registers\tDT 0-122\t123\t", 0) == 0
                                      && l.substr(l.rfind('\t')) == "\tOK";
                           }),
              lines.end());
    // The request that met the exception, with the library's code.
    EXPECT_NE(lines.back().find("\t1104 "), std::string::npos) << lines.back();
    EXPECT_NE(lines.back().find("Write multiple registers\tDT 123-245\t123\t"), std::string::npos) << lines.back();

    transfer::CommLog bounded;
    comm::RequestRecord record;
    for (std::uint32_t i = 0; i < transfer::CommLog::kCapacity + 50; ++i) {
        record.address = i;
        transfer::CommLog::Record(&bounded, &record);
    }
    const std::vector<transfer::CommLogEntry> kept = bounded.Since(0);
    ASSERT_EQ(kept.size(), transfer::CommLog::kCapacity);
    EXPECT_EQ(kept.front().record.address, 50u);
    EXPECT_EQ(bounded.Since(kept.back().serial - 2).size(), 2u);
    bounded.Clear();
    EXPECT_TRUE(bounded.Since(0).empty());
}
