// The user's read-edit-write path over a serial line (two pseudo-terminals
// joined by socat), for a model of each protocol family.

#include "FakeCommHost.h"
#include "support/PtyPair.h"
#include "support/SimulatorProcess.h"
#include "support/CommSession.h"

#include "document/DocumentTestSupport.h"
#include "resources/ResourceIds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>
#include <unistd.h>

using namespace commtest;
using namespace transfertest;

namespace {

class RtuTransferTest : public DocumentTest {
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
    FakeCommHost comm;
};

} // namespace

TEST_F(RtuTransferTest, BothFamiliesReadEditAndWriteOverASerialLine)
{
    for (const char* model : {"35", "1792"}) {
        SCOPED_TRACE(model);
        PtyPair line;
        ASSERT_TRUE(line.Ready());
        SimulatorProcess sim({"--model", model, "--rtu", line.Sim(), "--baud", "115200", "--parity", "E"});
        ASSERT_TRUE(sim.Started()) << sim.Log();
        commlib::Profile p = commlib::DefaultProfile();
        p.name = "Serial";
        p.kind = commlib::LinkKind::Rtu;
        p.serialDevice = line.App();
        p.baud = 115200;
        p.parity = 'E';
        commlib::ProfileStore::Save(0, p);

        app->CloseDocument();
        comm.choose = Selection{{{21, 0, 99}, {18, 0, 9}, {49, 0, 9}}, {{1, 0, 9}}};
        ASSERT_EQ(app->GetComm().PrepareUpload(), TransferOutcome::Done);
        app->SetStartMode(START_READ_PLC);
        CMemorixDoc* doc = app->NewDocument(host);
        ASSERT_NE(doc, nullptr);
        const std::uint8_t bytes[4] = {1, 2, 3, 4};
        for (const CEditData& block : EditDataArray(doc->Blocks()))
            doc->WriteBlockBytes(4, bytes, 4, block.Id, block.BankNo);
        const EditDataArray written = doc->Blocks();
        ASSERT_EQ(doc->WriteToPlc(), TransferOutcome::Done);

        // Read the same ranges again: the PLC holds what was written.
        for (const CEditData& block : EditDataArray(doc->Blocks())) {
            const std::uint8_t zero[4] = {};
            doc->WriteBlockBytes(4, zero, 4, block.Id, block.BankNo);
        }
        ASSERT_EQ(app->GetComm().PrepareUpload(), TransferOutcome::Done);
        ASSERT_TRUE(doc->LoadFromPlc());
        EXPECT_EQ(doc->Blocks(), written);
    }
}
