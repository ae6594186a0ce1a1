#include "ui/frame/TrendWindow.h"

#include "app/CMemorixApp.h"
#include "codec/ValueCodec.h"
#include "document/CMemorixDoc.h"
#include "document/IDocumentHost.h"
#include "resources/IStringTable.h"
#include "resources/ResourceIds.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/IFileDialogs.h"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QToolButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>
#include <fstream>
#include <span>

namespace {

constexpr qint64 kSecondMs = 1000;
// The time axis spans at least this much, so that the first samples do not
// fill it from edge to edge.
constexpr qint64 kShortestSpanMs = kSecondMs;
// What the time axis spans before the first sample.
constexpr qint64 kEmptySpanMs = 60 * kSecondMs;

} // namespace

TrendWindow::TrendWindow(CMemorixApp& app, CMainFrame& frame, std::vector<TrendCell> cells)
    : QWidget(&frame, Qt::Window)
    , m_app(app)
    , m_frame(frame)
    , m_cells(std::move(cells))
{
    setObjectName(QStringLiteral("trendWindow"));
    const IStringTable& strings = app.Strings();
    const auto text = [&](int id) { return QString::fromStdString(strings.LoadString(id)); };
    setWindowTitle(text(res::IDS_TREND_TITLE));
    resize(720, 420);

    m_chart = new QChart;
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_timeAxis = new QDateTimeAxis;
    m_timeAxis->setFormat(QStringLiteral("HH:mm:ss"));
    m_timeAxis->setTitleText(text(res::IDS_TREND_TIME_AXIS));
    m_valueAxis = new QValueAxis;
    m_valueAxis->setLabelFormat(QStringLiteral("%.10g")); // 400, not 400.0; reals as they come
    m_chart->addAxis(m_timeAxis, Qt::AlignBottom);
    m_chart->addAxis(m_valueAxis, Qt::AlignLeft);
    for (const TrendCell& cell : m_cells) {
        auto* series = new QLineSeries;
        series->setName(QString::fromStdString(cell.label));
        m_chart->addSeries(series);
        series->attachAxis(m_timeAxis);
        series->attachAxis(m_valueAxis);
        m_series.push_back(series);
    }
    m_view = new QChartView(m_chart, this);
    m_view->setRenderHint(QPainter::Antialiasing);

    m_notice = new QLabel(text(res::IDS_TREND_NOT_MONITORING), this);
    m_notice->setObjectName(QStringLiteral("trendNotice"));
    m_pause = new QToolButton(this);
    m_pause->setObjectName(QStringLiteral("trendPause"));
    m_pause->setText(text(res::IDS_TREND_PAUSE));
    m_pause->setCheckable(true);
    auto* clear = new QToolButton(this);
    clear->setObjectName(QStringLiteral("trendClear"));
    clear->setText(text(res::IDS_TREND_CLEAR));
    auto* csv = new QToolButton(this);
    csv->setObjectName(QStringLiteral("trendCsv"));
    csv->setText(text(res::IDS_TREND_EXPORT_CSV));
    auto* png = new QToolButton(this);
    png->setObjectName(QStringLiteral("trendPng"));
    png->setText(text(res::IDS_TREND_EXPORT_PNG));
    connect(clear, &QToolButton::clicked, this, &TrendWindow::Clear);
    connect(csv, &QToolButton::clicked, this, &TrendWindow::OnExportCsv);
    connect(png, &QToolButton::clicked, this, &TrendWindow::OnExportPicture);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pause);
    buttons->addWidget(clear);
    buttons->addWidget(csv);
    buttons->addWidget(png);
    buttons->addStretch();
    buttons->addWidget(m_notice);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_view, 1);
    Redraw();
}

bool TrendWindow::IsPaused() const
{
    return m_pause->isChecked();
}

std::vector<double> TrendWindow::LastValues() const
{
    return m_samples.empty() ? std::vector<double>() : m_samples.back().values;
}

void TrendWindow::SetMonitoring(bool monitoring)
{
    m_notice->setVisible(!monitoring);
}

void TrendWindow::AddSample(qint64 time)
{
    const CMemorixDoc* document = m_app.GetActiveDoc();
    if (IsPaused() || !document)
        return;
    Sample sample{time, {}};
    for (const TrendCell& cell : m_cells) {
        const CEditData* block = document->FindBlock(cell.device, cell.bank);
        const auto bytes = static_cast<std::size_t>(codec::GetCellBytes(cell.unit));
        double value = std::nan("");
        if (block && cell.offset + bytes <= block->Data.size())
            value = codec::CellNumber(std::span(block->Data).subspan(cell.offset, bytes), cell.radix, cell.unit);
        sample.values.push_back(value);
    }
    m_samples.push_back(std::move(sample));
    // What lies beyond the span is dropped: a long watch costs no more.
    while (!m_samples.empty() && m_samples.front().time < time - m_spanMs)
        m_samples.pop_front();
    Redraw();
}

void TrendWindow::Clear()
{
    m_samples.clear();
    Redraw();
}

void TrendWindow::Redraw()
{
    double low = 0;
    double high = 0;
    bool any = false;
    for (std::size_t k = 0; k < m_series.size(); ++k) {
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(m_samples.size()));
        for (const Sample& sample : m_samples) {
            const double value = sample.values[k];
            if (std::isnan(value) || std::isinf(value))
                continue;
            points.append(QPointF(static_cast<double>(sample.time), value));
            low = any ? std::min(low, value) : value;
            high = any ? std::max(high, value) : value;
            any = true;
        }
        m_series[k]->replace(points);
    }
    const qint64 last = m_samples.empty() ? QDateTime::currentMSecsSinceEpoch() : m_samples.back().time;
    const qint64 first = m_samples.empty() ? last - kEmptySpanMs : std::max(m_samples.front().time, last - m_spanMs);
    const qint64 end = std::max(last, first + kShortestSpanMs);
    m_timeAxis->setRange(QDateTime::fromMSecsSinceEpoch(first), QDateTime::fromMSecsSinceEpoch(end));
    // Ticks less than a second apart would all read the same in seconds.
    const qint64 tickSpacing = (end - first) / std::max(m_timeAxis->tickCount() - 1, 1);
    m_timeAxis->setFormat(tickSpacing < kSecondMs ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss"));
    if (!any) {
        low = 0;
        high = 1;
    }
    const double margin = std::max((high - low) * 0.05, 1.0);
    m_valueAxis->setRange(low - margin, high + margin);
    m_valueAxis->applyNiceNumbers(); // round steps, not a fifth of whatever range the values span
}

bool TrendWindow::ExportCsv(const std::string& path) const
{
    std::ofstream out(path, std::ios::binary);
    if (!out)
        return false;
    out << "time";
    for (const TrendCell& cell : m_cells)
        out << ',' << cell.label;
    out << "\r\n";
    for (const Sample& sample : m_samples) {
        out << QDateTime::fromMSecsSinceEpoch(sample.time).toString(Qt::ISODateWithMs).toStdString();
        for (double value : sample.values) {
            out << ',';
            if (!std::isnan(value))
                out << QString::number(value, 'g', 17).toStdString();
        }
        out << "\r\n";
    }
    return static_cast<bool>(out.flush());
}

bool TrendWindow::ExportPicture(const std::string& path)
{
    return m_view->grab().save(QString::fromStdString(path), "PNG");
}

void TrendWindow::OnExportCsv()
{
    SaveFileRequest request;
    request.proposedName = "trend.csv";
    request.filter = m_app.Strings().LoadString(res::IDS_FILTER_CSV);
    request.defaultExtension = "csv";
    if (m_frame.FileDialogs().GetSaveFileName(request))
        ExportCsv(request.chosenPath);
}

void TrendWindow::OnExportPicture()
{
    SaveFileRequest request;
    request.proposedName = "trend.png";
    request.filter = "PNG (*.png)|*.png||";
    request.defaultExtension = "png";
    if (m_frame.FileDialogs().GetSaveFileName(request))
        ExportPicture(request.chosenPath);
}
