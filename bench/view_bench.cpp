// The cost of the grid view: painting one 800 x 600 screen of it, at the top
// and at the end of the block, for blocks of 100 words (13 rows, less than a
// screen), 1 Ki words (a full screen and more) and 4 Mi words. The view formats
// only the cells it draws, so a full screen costs the same for 1 Ki and 4 Mi.
// Rebuilding the grid (RefreshView) is measured too: it copies the block and
// the table sets up its rows, so that cost grows with the block.
//
// Editing: one cursor move with the repaint of the screen it leaves, and one
// value typed into a cell and committed, on 100 words and on 4 Mi words. The
// commit writes the cell into the document and takes the block's undo
// snapshot (the whole block into a temporary file), so that part grows with
// the block; the commit is split from the snapshot so both show.

#include "app/CMemorixApp.h"
#include "document/CMemorixDoc.h"
#include "document/IDocumentHost.h"
#include "compare/BlockCompare.h"
#include "ui/view/CMemorixView.h"
#include "ui/view/CNumberEdit.h"
#include "ui/view/GridModel.h"
#include "ui/view/IGridFrame.h"
#include "platform/ConsoleMessageBox.h"
#include "platform/MemorySettingsStore.h"
#include "resources/IStringTable.h"

#include "bench/BenchApplication.h"

#include <QApplication>
#include <QKeyEvent>
#include <QImage>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

class NoStrings final : public IStringTable {
public:
    std::string LoadString(int) const override { return {}; }
};

// A frame with the DT block chosen in the default setting.
class BenchFrame final : public IGridFrame {
public:
    std::uint8_t GetSelectedDeviceCode() const override { return device; }
    std::uint16_t GetSelectedBank() const override { return 0; }
    std::optional<int> SelectedRadixIndex() const override { return std::nullopt; }
    std::optional<int> SelectedUnitData() const override { return std::nullopt; }
    std::optional<int> SelectedColumnIndex() const override { return std::nullopt; }
    void ShowDataToolbar(bool) override {}
    void SetStatusText(int, std::string_view, bool) override {}
    void SetRadix(int) override {}
    void SetDataUnit(int) override {}
    void SetColumnCount(int) override {}
    int GetDataUnit() const override { return 1; }
    void UpdateDataToolbar(const DataToolbarUpdate&) override {}
    void RefillBankCombo(int) override {}

    // What the undo history takes as the shown block.
    std::uint8_t device = DeviceCode::DT;
};

// An application whose document holds one DT block of the given number of
// words, and the view over it, shown off screen at 800 x 600.
class Grid {
public:
    explicit Grid(int words)
    {
        EnsureBenchApplication();
        m_app = std::make_unique<CMemorixApp>(AppServices{m_messages, m_strings, m_settings, {}});
        stDeviceInfo dt;
        dt.Id = DeviceCode::DT;
        dt.Name = "DT";
        dt.EndAddr = words - 1;
        dt.MaxValue = words - 1;
        dt.DataSize = 1;
        dt.Selected = 1;
        m_app->Plc().m_aDeviceInfo = {dt};
        m_app->SetStartMode(START_NEW);
        CMemorixDoc* doc = m_app->NewDocument(m_host);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(words) * 2);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<std::uint8_t>(i * 7 + 32);
        doc->WriteBlockBytes(0, bytes.data(), static_cast<std::int32_t>(bytes.size()), DeviceCode::DT, 0);

        m_view = std::make_unique<CMemorixView>(*m_app, m_frame);
        m_view->SetDispDevStrings({dt});
        m_view->resize(800, 600);
        m_view->show();
        m_view->RefreshView();
    }
    ~Grid()
    {
        m_view.reset();
        m_app.reset();
    }
    Grid(const Grid&) = delete;
    Grid& operator=(const Grid&) = delete;

    CMemorixView& View() { return *m_view; }
    BenchFrame& Frame() { return m_frame; }

private:
    platform::ConsoleMessageBox m_messages{nullptr};
    platform::MemorySettingsStore m_settings;
    NoStrings m_strings;
    NullDocumentHost m_host;
    BenchFrame m_frame;
    std::unique_ptr<CMemorixApp> m_app;
    std::unique_ptr<CMemorixView> m_view;
};

// range(0): words in the block; range(1): 1 to paint the block's last screen.
void BM_PaintScreen(benchmark::State& state)
{
    Grid grid(static_cast<int>(state.range(0)));
    if (state.range(1) != 0)
        grid.View().List().scrollToBottom();
    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        grid.View().render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["rows"] = grid.View().Model().rowCount();
}
BENCHMARK(BM_PaintScreen)
    ->Args({100, 0})
    ->Args({1 << 10, 0})
    ->Args({4 << 20, 0})
    ->Args({4 << 20, 1})
    ->Unit(benchmark::kMicrosecond);

// The same screen of a 4 Mi-word block with a comparison's marks: every 7th
// word differs and the block's last quarter is not compared.
void BM_PaintScreenCompared(benchmark::State& state)
{
    Grid grid(4 << 20);
    CEditData theirs = *grid.View().FindShownBlock();
    theirs.EndAddr = theirs.StartAddr + (theirs.EndAddr - theirs.StartAddr + 1) * 3 / 4 - 1;
    theirs.Data.resize(static_cast<std::size_t>(theirs.EndAddr - theirs.StartAddr + 1) * 2);
    for (std::size_t word = 0; word * 2 < theirs.Data.size(); word += 7)
        theirs.Data[word * 2] ^= 0xFF;
    const compare::Comparison comparison({*grid.View().FindShownBlock()}, {theirs});
    grid.View().SetComparison(&comparison);
    QImage image(800, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        grid.View().render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    grid.View().SetComparison(nullptr);
}
BENCHMARK(BM_PaintScreenCompared)->Unit(benchmark::kMicrosecond);

void BM_RefreshView(benchmark::State& state)
{
    Grid grid(static_cast<int>(state.range(0)));
    for (auto _ : state)
        grid.View().RefreshView();
}
BENCHMARK(BM_RefreshView)->Arg(100)->Arg(4 << 20)->Unit(benchmark::kMicrosecond);

// One move down or up (alternately, in the block's first screen) and the
// repaint it asks for: the two cells the cursor left and entered.
void BM_CursorMoveAndRepaint(benchmark::State& state)
{
    Grid grid(static_cast<int>(state.range(0)));
    CMemorixView& view = grid.View();
    view.SelectCell(5, 3);
    QApplication::processEvents();
    bool down = true;
    for (auto _ : state) {
        view.Navigate(down ? NavKey::Down : NavKey::Up, false, false);
        down = !down;
        // The repaint the move asks for, into the window's backing store.
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CursorMoveAndRepaint)->Arg(100)->Arg(4 << 20)->Unit(benchmark::kMicrosecond);

// Typing one character on a cell (the editor opens with it) and Enter's
// commit: the cell written into the document and redrawn, and with range(1)
// 1 the block's undo snapshot as the program takes it.
void BM_TypeAndCommit(benchmark::State& state)
{
    Grid grid(static_cast<int>(state.range(0)));
    CMemorixView& view = grid.View();
    // Without a snapshot the history is asked for a block that is not there,
    // so the commit does everything else.
    if (state.range(1) == 0)
        grid.Frame().device = 0xFE;
    int digit = 0;
    for (auto _ : state) {
        view.SelectCell(2, 2);
        view.StartEdit(2, 2);
        const QString text(QChar('1' + digit));
        digit = (digit + 1) % 8;
        QKeyEvent key(QEvent::KeyPress, Qt::Key_1 + digit, Qt::NoModifier, text);
        QApplication::sendEvent(&view.NumberEdit(), &key);
        view.EndEdit(true);
    }
}
BENCHMARK(BM_TypeAndCommit)
    ->Args({100, 0})
    ->Args({4 << 20, 0})
    ->Args({100, 1})
    ->Args({4 << 20, 1})
    ->Unit(benchmark::kMicrosecond);

} // namespace
