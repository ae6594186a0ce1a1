#include "GuiTestSupport.h"

#include "ui/shared/CommandTable.h"
#include "document/CMemorixDoc.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/GridModel.h"

#include "platform/qt/QtSettingsStore.h"
#include "support/ModelChoice.h"
#include "support/RunProcess.h"

#include <fstream>

#include <QAction>
#include <QFileInfo>
#include <QComboBox>
#include <QMenuBar>
#include <QMimeData>
#include <QTableView>
#include <QTest>
#include <QUrl>

using guitest::FrameTest;

namespace {

// Chooses an item of a data tool bar box as the user would.
void Choose(CMainFrame& frame, int box, int index)
{
    QComboBox* combo = frame.DataToolBar().Box(box);
    ASSERT_NE(combo, nullptr) << box;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

QString Cell(CMainFrame& frame, int row, int column)
{
    const QAbstractItemModel* model = frame.findChild<QTableView*>(CMemorixView::kListName)->model();
    return model->data(model->index(row, column)).toString();
}

int Columns(CMainFrame& frame)
{
    return frame.findChild<QTableView*>(CMemorixView::kListName)->model()->columnCount();
}

void Drop(CMainFrame& frame, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &drop);
}

} // namespace

TEST_F(FrameTest, StartsEmptyWithItsMenusAndWithoutTheDataToolBar)
{
    CMainFrame& frame = Frame();
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_EQ(frame.windowTitle(), "Memorix");
    EXPECT_EQ(frame.size(), QSize(750, 600));
    EXPECT_FALSE(frame.DataToolBar().isVisible());
    EXPECT_GE(frame.menuBar()->actions().size(), 4);
    CommandTable& commands = frame.Commands();
    for (int always : {57600, 57601, 57664, 200, 815, 816})
        EXPECT_TRUE(commands.IsEnabled(always)) << always;
    for (int withDocument : {57602, 57603, 57604, 508, 1000, 201})
        EXPECT_FALSE(commands.IsEnabled(withDocument)) << withDocument;
    dialogtest::SaveScreenshot(frame, "main-window-after-start");
}

TEST_F(FrameTest, DisplaySettingsComeBackAtTheNextStart)
{
    settings.SetUserInt("Config", "DispRadix", 2);
    settings.SetUserInt("Config", "DispDataUnit", 2);
    settings.SetUserInt("Config", "DispColumnCount", 4);
    EXPECT_EQ(Frame().DataToolBar().Box(205)->currentIndex(), 2);
    EXPECT_EQ(Frame().DataToolBar().Box(206)->currentData().toInt(), 2);
    EXPECT_EQ(Frame().DataToolBar().Box(208)->currentIndex(), 3);

    NewDocument(1792, {{DeviceCode::DT, {0, 99}}});
    Choose(Frame(), 205, 3);  // hexadecimal
    Choose(Frame(), 208, 15); // 16 columns
    app->GetActiveDoc()->SetModifiedFlag(false);
    Frame().close();
    mainFrame.reset(); // the settings are written as the window goes

    EXPECT_EQ(settings.GetUserInt("Config", "DispRadix", -1), 3);
    EXPECT_EQ(settings.GetUserInt("Config", "DispDataUnit", -1), 2);
    EXPECT_EQ(settings.GetUserInt("Config", "DispColumnCount", -1), 16);
    EXPECT_EQ(Frame().DataToolBar().Box(205)->currentIndex(), 3) << "the next window starts with them";
    EXPECT_EQ(Frame().DataToolBar().Box(208)->currentIndex(), 15);
}

TEST_F(FrameTest, ASecondStartWithTheSameSettingsFolderKeepsTheDisplaySettings)
{
    setenv("XDG_CONFIG_HOME", scratch.Path("user").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", scratch.Path("system").c_str(), 1);
    app.reset();
    for (int run = 0; run < 2; ++run) {
        platform::QtSettingsStore store; // what the program itself uses
        CMemorixApp program(AppServices{messages, resources, store, testsupport::BuiltCatalogue()});
        CMainFrame window(program, resources, &dialogs);
        if (run == 0) {
            testsupport::ChooseModel(program, resources, 1792);
            DeviceInfoArray devices;
            devices = program.Plc().m_aDeviceInfo;
            devices[0].Selected = 1;
            program.Plc().m_aDeviceInfo = devices;
            program.SetStartMode(START_NEW);
            ASSERT_NE(window.NewDocument(), nullptr);
            Choose(window, 205, 1);  // octal
            Choose(window, 206, 3);  // 64-bit
            Choose(window, 208, 11); // 12 columns
            continue;
        }
        EXPECT_EQ(window.DataToolBar().Box(205)->currentIndex(), 1);
        EXPECT_EQ(window.DataToolBar().Box(206)->currentData().toInt(), 3);
        EXPECT_EQ(window.DataToolBar().Box(208)->currentIndex(), 11);
    }
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(scratch.Path("user/Varnholt/Memorix.conf"))));
}

TEST_F(FrameTest, EachDataBoxChangesTheGrid)
{
    NewDocument(1792, {{DeviceCode::DT, {0, 99}}, {DeviceCode::WR, {0, 15}}});
    const std::vector<std::uint8_t> text = {'M',  'e',  'm',  'o',  'r',  'i',  'x',  '!',
                                            0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x3F};
    app->GetActiveDoc()->WriteBlockBytes(0, text.data(), static_cast<std::int32_t>(text.size()), DeviceCode::DT, 0);
    Frame().UpdateAllViews();
    CMainFrame& frame = Frame();
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_TRUE(frame.DataToolBar().isVisible());

    Choose(frame, 207, 1); // DT
    ASSERT_EQ(frame.GetSelectedDeviceCode(), DeviceCode::DT);
    EXPECT_EQ(Cell(frame, 0, 1), "654D");
    EXPECT_EQ(Columns(frame), 10) << "label, 8 cells, text";
    EXPECT_EQ(Cell(frame, 0, 9), "Memorix!");
    EXPECT_EQ(frame.StatusText(2).trimmed().toStdString(), "DT     0 -     99");
    dialogtest::SaveScreenshot(frame, "grid-hex-16bit");

    Choose(frame, 205, 2); // decimal
    Choose(frame, 206, 2); // 32-bit
    EXPECT_EQ(Cell(frame, 0, 1), "1869440333");
    EXPECT_EQ(Columns(frame), 9) << "no text column in decimal";
    dialogtest::SaveScreenshot(frame, "grid-dec-32bit");

    Choose(frame, 208, 3); // 4 columns
    EXPECT_EQ(Columns(frame), 5);

    Choose(frame, 205, 4); // single real: the unit box offers 32 bits only
    EXPECT_EQ(frame.DataToolBar().Box(206)->count(), 1);
    EXPECT_EQ(frame.GetDataUnit(), 2);
    EXPECT_EQ(Cell(frame, 0, 4), "1.5");
    Choose(frame, 208, 7);
    dialogtest::SaveScreenshot(frame, "grid-single-real");

    Choose(frame, 207, 0); // WR: another block
    EXPECT_EQ(frame.GetSelectedDeviceCode(), DeviceCode::WR);
    EXPECT_EQ(Cell(frame, 0, 1), "0.0");
}

TEST_F(FrameTest, OpeningAFileWithThreeBanksListsTheFileRegisterThreeTimes)
{
    const std::string path =
        MakeFile("banks.ldtx", 34, {{DeviceCode::WR, {0, 9}}}, {{0, {0, 9}}, {1, {0, 9}}, {2, {0, 9}}});
    dialogs.openPath = path;
    Trigger(57601);
    ASSERT_NE(app->GetActiveDoc(), nullptr);
    QComboBox* devices = Frame().DataToolBar().Box(207);
    QStringList names;
    for (int i = 0; i < devices->count(); ++i)
        names << devices->itemText(i);
    EXPECT_EQ(names, (QStringList{"WR", "FL", "FL", "FL"}));
    EXPECT_EQ(Frame().windowTitle(), "banks.ldtx - Memorix");
    EXPECT_EQ(Frame().RecentFiles().Files().front(), path);
    EXPECT_EQ(dialogs.lastFilter, resources.LoadString(937) + resources.LoadString(936) + resources.LoadString(935));

    Choose(Frame(), 207, 2);
    EXPECT_TRUE(Frame().DataToolBar().Box(211)->isEnabled());
    EXPECT_EQ(Frame().DataToolBar().Box(211)->count(), 3);
}

TEST_F(FrameTest, CancelAtTheSavePromptKeepsTheDocument)
{
    app->SetFirstNew(false);
    const std::string other = MakeFile("other.ldtx", 1792, {{DeviceCode::DT, {0, 9}}});
    NewDocument(1792, {{DeviceCode::WR, {0, 9}}});
    CMemorixDoc* document = app->GetActiveDoc();

    messages.ScriptAnswer(platform::MsgAnswer::Cancel);
    Trigger(57601); // File Open asks first
    EXPECT_EQ(app->GetActiveDoc(), document);
    EXPECT_EQ(messages.Shown().back().stringId, 61699);

    messages.ScriptAnswer(platform::MsgAnswer::Cancel);
    Drop(Frame(), {QString::fromStdString(other)});
    EXPECT_EQ(app->GetActiveDoc(), document) << "a dropped file waits for the prompt too";

    Drop(Frame(), {QString::fromStdString(other), QString::fromStdString(other)});
    EXPECT_EQ(app->GetActiveDoc(), document) << "several files are ignored";

    messages.ScriptAnswer(platform::MsgAnswer::No);
    Drop(Frame(), {QString::fromStdString(other)});
    ASSERT_NE(app->GetActiveDoc(), nullptr);
    EXPECT_EQ(app->GetActiveDoc()->GetPathName(), other);
}

TEST_F(FrameTest, CsvCommandsMoveTheShownBlockThroughFiles)
{
    NewDocument(1792, {{DeviceCode::WR, {0, 5}}});
    EXPECT_TRUE(Frame().Commands().IsEnabled(209));
    const std::string in = scratch.Path("in.csv");
    {
        std::ofstream(in, std::ios::binary) << "0001,0002,0003\r\n";
    }
    dialogs.openPath = in;
    Trigger(209);
    EXPECT_EQ(Cell(Frame(), 0, 3), "0003");
    EXPECT_TRUE(app->GetUndoMap().CanUndo(Frame())) << "an import can be undone";

    dialogs.savePath = scratch.Path("out.csv");
    Trigger(210);
    EXPECT_EQ(testsupport::ReadWholeFile(scratch.Path("out.csv")).substr(0, 20), "0001,0002,0003,0000,");
    EXPECT_EQ(dialogs.lastFilter, resources.LoadString(930));
}
