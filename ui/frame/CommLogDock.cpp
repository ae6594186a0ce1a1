#include "ui/frame/CommLogDock.h"

#include "app/CMemorixApp.h"
#include "platform/AtomicFileWriter.h"
#include "resources/IStringTable.h"
#include "resources/ResourceIds.h"
#include "transfer/CommLog.h"
#include "ui/frame/CMainFrame.h"
#include "ui/frame/IFileDialogs.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

constexpr int kPollMs = 250;

} // namespace

CommLogDock::CommLogDock(CMemorixApp& app, CMainFrame& frame)
    : QDockWidget(&frame)
    , m_app(app)
    , m_frame(frame)
{
    const auto text = [&app](int id) { return QString::fromStdString(app.Strings().LoadString(id)); };
    setObjectName(QStringLiteral("commLogDock"));
    setWindowTitle(text(res::IDS_COMM_LOG_TITLE));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    m_lines = new QPlainTextEdit(body);
    m_lines->setObjectName(QStringLiteral("commLogLines"));
    m_lines->setReadOnly(true);
    m_lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_lines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // The heading and as many entries as the log keeps.
    m_lines->setMaximumBlockCount(static_cast<int>(transfer::CommLog::kCapacity) + 1);
    m_lines->setPlainText(QString::fromStdString(transfer::LogHeading()));
    layout->addWidget(m_lines);
    auto* buttons = new QHBoxLayout;
    auto* clear = new QPushButton(text(res::IDS_COMM_LOG_CLEAR), body);
    clear->setObjectName(QStringLiteral("commLogClear"));
    auto* save = new QPushButton(text(res::IDS_COMM_LOG_SAVE), body);
    save->setObjectName(QStringLiteral("commLogSave"));
    buttons->addStretch();
    buttons->addWidget(clear);
    buttons->addWidget(save);
    layout->addLayout(buttons);
    setWidget(body);
    connect(clear, &QPushButton::clicked, this, &CommLogDock::Clear);
    connect(save, &QPushButton::clicked, this, &CommLogDock::OnSave);
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &CommLogDock::Follow);
    frame.addDockWidget(Qt::BottomDockWidgetArea, this);
    hide();
}

void CommLogDock::Toggle()
{
    if (isVisible()) {
        hide();
        m_poll.stop();
        return;
    }
    show();
    Follow();
    m_poll.start();
}

void CommLogDock::Follow()
{
    const std::vector<transfer::CommLogEntry> entries = m_app.RequestLog().Since(m_shown);
    if (entries.empty())
        return;
    QScrollBar* bar = m_lines->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    for (const transfer::CommLogEntry& entry : entries)
        m_lines->appendPlainText(QString::fromStdString(transfer::FormatLogEntry(entry)));
    m_shown = entries.back().serial;
    if (atEnd)
        bar->setValue(bar->maximum());
}

void CommLogDock::Clear()
{
    Follow(); // what came before the click goes too
    m_app.RequestLog().Clear();
    m_lines->setPlainText(QString::fromStdString(transfer::LogHeading()));
}

std::string CommLogDock::Text() const
{
    return m_lines->toPlainText().toStdString() + "\n";
}

bool CommLogDock::SaveTo(const std::string& path) const
{
    const std::string text = Text();
    platform::AtomicFileWriter writer;
    return writer.Begin(path) && writer.Write(text.data(), text.size()) && writer.Commit();
}

void CommLogDock::OnSave()
{
    Follow();
    SaveFileRequest request;
    request.proposedName = "communication-log.txt";
    request.filter = m_app.Strings().LoadString(res::IDS_COMM_LOG_FILTER);
    request.defaultExtension = "txt";
    if (m_frame.FileDialogs().GetSaveFileName(request) && !SaveTo(request.chosenPath))
        m_frame.statusBar()->showMessage(QString::fromStdString(m_app.Strings().LoadString(res::IDS_FILE_WRITE_ERROR)));
}
