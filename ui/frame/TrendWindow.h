#pragma once

// The values of a few cells over time while the PLC is monitored: one line
// per cell in the cell's radix and unit, the last ten minutes by default,
// with pause, clear, and export of the samples (CSV) and of the picture (PNG).
// Each sample is what the document holds after a monitor cycle.

#include "codec/CodecCodes.h"

#include <QWidget>

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class CMemorixApp;
class CMainFrame;
class QChart;
class QChartView;
class QDateTimeAxis;
class QLabel;
class QLineSeries;
class QToolButton;
class QValueAxis;

struct TrendCell {
    std::uint8_t device = 0;
    std::int16_t bank = 0;
    std::size_t offset = 0; // of the cell's bytes in the block
    codec::Radix radix = codec::RADIX_DEC;
    codec::Unit unit = codec::UNIT_16BIT;
    std::string label; // device and address
};

class TrendWindow final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxCells = 8;
    static constexpr qint64 kDefaultSpanMs = 10 * 60 * 1000;

    TrendWindow(CMemorixApp& app, CMainFrame& frame, std::vector<TrendCell> cells);

    const std::vector<TrendCell>& Cells() const { return m_cells; }
    std::size_t SampleCount() const { return m_samples.size(); }
    bool IsPaused() const;
    // The values of the last sample, in cell order.
    std::vector<double> LastValues() const;

    // Takes the cells' values from the document as of time (ms since the epoch).
    void AddSample(qint64 time);
    void SetMonitoring(bool monitoring);
    void Clear();
    bool ExportCsv(const std::string& path) const;
    bool ExportPicture(const std::string& path);

private:
    struct Sample {
        qint64 time;
        std::vector<double> values;
    };
    void Redraw();
    void OnExportCsv();
    void OnExportPicture();

    CMemorixApp& m_app;
    CMainFrame& m_frame;
    std::vector<TrendCell> m_cells;
    std::deque<Sample> m_samples;
    qint64 m_spanMs = kDefaultSpanMs;
    QChart* m_chart = nullptr;
    QChartView* m_view = nullptr;
    QDateTimeAxis* m_timeAxis = nullptr;
    QValueAxis* m_valueAxis = nullptr;
    std::vector<QLineSeries*> m_series;
    QLabel* m_notice = nullptr;
    QToolButton* m_pause = nullptr;
};
