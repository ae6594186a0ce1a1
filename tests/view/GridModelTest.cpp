#include "ViewTestSupport.h"

#include "grid/GridTestSupport.h"
#include "grid/qt/GridModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

using namespace codec;

namespace {

QString Text(const GridModel& model, int row, int column)
{
    return model.data(model.index(row, column)).toString();
}

QStringList Headers(const GridModel& model)
{
    QStringList texts;
    for (int i = 0; i < model.columnCount(); ++i)
        texts << model.headerData(i, Qt::Horizontal).toString();
    return texts;
}

// Collects what QAbstractItemModelTester reports.
QStringList g_modelFaults;
void CollectModelFaults(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (QByteArray(context.category) == "qt.modeltest")
        g_modelFaults << message;
}

} // namespace

TEST(GridModel, PassesTheModelTesterThroughResetsAndReloads)
{
    const QtMessageHandler previous = qInstallMessageHandler(CollectModelFaults);
    GridModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.Reset(gridtest::Block(gridtest::Counting(100), 100), {RADIX_HEX, UNIT_16BIT, 8}, "DT");
    model.Reset(gridtest::Block(gridtest::Counting(37), 0, 2), {RADIX_BIN, UNIT_8BIT, 3}, "TS");
    model.ReloadData(gridtest::Block(gridtest::Counting(37, 500), 0, 2));
    model.ReloadData(gridtest::Block(gridtest::Counting(12), 0, 2));
    model.Reset(gridtest::Block(gridtest::Counting(9)), {RADIX_FLOAT, UNIT_8BIT, 16}, "DT");
    model.Reset({}, {}, {});
    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_modelFaults.isEmpty()) << g_modelFaults.join('\n').toStdString();
}

TEST(GridModel, HundredWordsInEightColumns)
{
    GridModel model;
    model.Reset(gridtest::Block(gridtest::Counting(100), 100), {RADIX_HEX, UNIT_16BIT, 8}, "DT");
    ASSERT_EQ(model.rowCount(), 13);
    ASSERT_EQ(model.columnCount(), 10); // label, 8 data, text
    EXPECT_EQ(Text(model, 0, 0), "DT   100");
    EXPECT_EQ(Text(model, 1, 0), "DT   108");
    EXPECT_EQ(Text(model, 12, 0), "DT   196");
    EXPECT_EQ(Text(model, 12, 4), "0064");
    for (int column = 5; column <= 8; ++column)
        EXPECT_EQ(Text(model, 12, column), "") << column;
    EXPECT_EQ(Headers(model), QStringList({"", "+0", "+1", "+2", "+3", "+4", "+5", "+6", "+7", "+0+1+2+3+4+5+6+7"}));
    // Labels centred, values right-aligned, the row text and its header left-aligned.
    auto alignment = [&](int column) { return model.data(model.index(0, column), Qt::TextAlignmentRole).toInt(); };
    EXPECT_EQ(alignment(0), Qt::AlignCenter);
    EXPECT_EQ(alignment(3), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(alignment(9), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(model.headerData(9, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), Qt::AlignCenter);
}

TEST(GridModel, UnitSetsColumnsAndHeaders)
{
    GridModel model;
    const CEditData block = gridtest::Block(gridtest::Counting(100));
    model.Reset(block, {RADIX_HEX, UNIT_8BIT, 8}, "DT");
    EXPECT_EQ(model.columnCount(), 18); // 16 byte columns, still 8 addresses a row
    EXPECT_EQ(Text(model, 1, 0), "DT     8");
    EXPECT_EQ(Headers(model).mid(1, 4), QStringList({"+0", "", "+1", ""}));
    EXPECT_EQ(Headers(model).at(16), "");

    model.Reset(block, {RADIX_DEC, UNIT_32BIT, 8}, "DT");
    EXPECT_EQ(model.columnCount(), 9); // no text column outside hexadecimal
    EXPECT_EQ(model.rowCount(), 7);
    EXPECT_EQ(Text(model, 1, 0), "DT    16");
    EXPECT_EQ(Headers(model).mid(1), QStringList({"+0", "+2", "+4", "+6", "+8", "+10", "+12", "+14"}));
}

TEST(GridModel, ReloadChangesCellsOrRebuildsWhenTheShapeChanged)
{
    GridModel model;
    model.Reset(gridtest::Block(gridtest::Counting(100)), {RADIX_DEC, UNIT_16BIT, 8}, "DT");
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.ReloadData(gridtest::Block(gridtest::Counting(100, 1000)));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(Text(model, 0, 1), "1000");
    model.ReloadData(gridtest::Block(gridtest::Counting(20)));
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(Text(model, 0, 0), "DT     0"); // the prefix stays
}
