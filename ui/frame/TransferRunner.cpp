#include "ui/frame/TransferRunner.h"

#include "resources/IStringTable.h"
#include "resources/ResourceIds.h"
#include "transfer/CTesknetComm.h"
#include "ui/frame/CMainFrame.h"
#include "ui/shared/CommandTable.h"

#include <QEventLoop>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include <thread>
#include <vector>

TransferRunner::TransferRunner(CTesknetComm& comm, CMainFrame& frame, const IStringTable& strings)
    : m_comm(comm)
    , m_frame(frame)
    , m_strings(strings)
{
}

void TransferRunner::Stop()
{
    if (!m_running)
        return;
    if (m_stop)
        m_stop();
    else
        m_comm.RequestStop();
    m_frame.statusBar()->showMessage(QString::fromStdString(m_strings.LoadString(res::IDS_TRANSFER_STOPPING)));
}

TransferOutcome TransferRunner::Run(const std::function<TransferOutcome()>& job, std::function<void()> stop)
{
    m_running = true;
    m_stop = std::move(stop);
    m_frame.Commands().Suspend(true);
    // What could change the document or the connection is out of reach.
    std::vector<QPointer<QWidget>> disabled;
    std::vector<QWidget*> candidates{m_frame.menuBar(), m_frame.centralWidget()};
    for (QToolBar* bar : m_frame.findChildren<QToolBar*>())
        candidates.push_back(bar);
    for (QWidget* widget : candidates) {
        if (widget && widget->isEnabled()) {
            widget->setEnabled(false);
            disabled.emplace_back(widget);
        }
    }
    auto* cancel = new QPushButton(QString::fromStdString(m_strings.LoadString(res::IDS_TRANSFER_CANCEL)));
    cancel->setObjectName(QStringLiteral("transferCancel"));
    m_frame.statusBar()->addPermanentWidget(cancel);
    cancel->show();
    connect(cancel, &QPushButton::clicked, this, &TransferRunner::Stop);
    QShortcut escape(QKeySequence(Qt::Key_Escape), &m_frame);
    connect(&escape, &QShortcut::activated, this, &TransferRunner::Stop);

    QEventLoop loop;
    TransferOutcome result = TransferOutcome::Failed;
    std::thread worker([&] {
        result = job();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();

    delete cancel;
    for (const QPointer<QWidget>& widget : disabled) {
        if (widget)
            widget->setEnabled(true);
    }
    if (QWidget* grid = m_frame.centralWidget())
        grid->setFocus();
    m_running = false;
    m_stop = {};
    m_frame.Commands().Suspend(false);
    return result;
}
