#include "grid/GridTestSupport.h"
#include "ui/view/GridModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace codec;
using gridtest::Block;
using gridtest::Counting;

namespace {

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
    model.Reset(Block(Counting(100), 100), {RADIX_HEX, UNIT_16BIT, 8}, "DT");
    model.Reset(Block(Counting(37), 0, 2), {RADIX_BIN, UNIT_8BIT, 3}, "TS");
    model.ReloadData(Block(Counting(37, 500), 0, 2));
    model.ReloadData(Block(Counting(12), 0, 2));
    model.Reset(Block(Counting(9)), {RADIX_FLOAT, UNIT_8BIT, 16}, "DT");
    model.Reset({}, {}, {});
    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_modelFaults.isEmpty()) << g_modelFaults.join('\n').toStdString();
}

// New bytes of the same shape change the cells only: the table keeps its
// column widths. Another shape rebuilds the table with the same setting.
TEST(GridModel, ReloadChangesCellsOrRebuildsWhenTheShapeChanged)
{
    GridModel model;
    model.Reset(Block(Counting(100)), {RADIX_DEC, UNIT_16BIT, 8}, "DT");
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.ReloadData(Block(Counting(100, 1000)));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), "1000");
    model.ReloadData(Block(Counting(20)));
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.FormatCell(0, 0), "DT     0");
}
