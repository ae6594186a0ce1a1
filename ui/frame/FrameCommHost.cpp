#include "ui/frame/FrameCommHost.h"

#include "app/CMemorixApp.h"
#include "ui/frame/CMainFrame.h"
#include "ui/dialogs/CDeviceSelectDlg.h"
#include "ui/dialogs/CPlcUpDownMsgDlg.h"
#include "document/CMemorixDoc.h"
#include "model/PlcChoice.h"
#include "resources/CResourceHandle.h"
#include "resources/ResourceIds.h"

#include <QApplication>
#include <QStatusBar>
#include <QThread>

namespace {

constexpr int IDOK = 1;

} // namespace

FrameCommHost::FrameCommHost(CMemorixApp& app, CMainFrame& frame)
    : m_app(app)
    , m_frame(frame)
{
}

std::string FrameCommHost::ApplicationName() const
{
    const std::string title = m_frame.Resources().LoadString(res::IDS_APP_TITLE);
    return title.empty() ? "Memorix" : title;
}

std::string FrameCommHost::DocumentFileName() const
{
    const CMemorixDoc* document = m_app.GetActiveDoc();
    return document ? document->GetDocFileName() : std::string();
}

void* FrameCommHost::MainWindow()
{
    return &m_frame;
}

void* FrameCommHost::ActiveWindow()
{
    QWidget* active = QApplication::activeWindow();
    return active ? active : &m_frame;
}

bool FrameCommHost::ConfirmTransfer(CTesknetComm& session, bool writing)
{
    CPlcUpDownMsgDlg dialog(m_frame.Resources(), &m_frame);
    dialog.SetMode(writing ? 1 : 0, &session);
    return dialog.DoModal() == CPlcUpDownMsgDlg::IDYES;
}

bool FrameCommHost::ChooseRanges(PlcChoice& choice)
{
    CDeviceSelectDlg dialog(m_app.Services(), m_frame.Resources(), &m_frame);
    dialog.SetInitData(choice.m_nPLCSeriesNo, choice.m_nPLCId, std::string(), choice.m_FLBankNum, choice.m_aDeviceInfo,
                       choice.m_aBankInfo);
    if (dialog.DoModal() != IDOK)
        return false;
    DeviceInfoArray devices;
    BankInfoArray banks;
    dialog.GetDeviceList(devices);
    dialog.GetBankList(banks);
    choice.SetDeviceLists(std::move(devices), std::move(banks));
    int seriesNo = choice.m_nPLCSeriesNo;
    int modelId = choice.m_nPLCId;
    std::string name;
    std::uint8_t bankCount = choice.m_FLBankNum;
    dialog.GetResult(seriesNo, modelId, name, bankCount);
    choice.SetIdentity(seriesNo, modelId, name.empty() ? choice.m_strPLCName : std::move(name));
    choice.SetBankCount(bankCount);
    return true;
}

// The data of a transfer move on a worker thread (TransferRunner), which
// calls these too: the window is then left to its own events.
bool FrameCommHost::OnWindowThread() const
{
    return QThread::currentThread() == m_frame.thread();
}

void FrameCommHost::BeginWaitCursor()
{
    if (OnWindowThread())
        m_frame.BeginWaitCursor();
}

void FrameCommHost::EndWaitCursor()
{
    if (OnWindowThread())
        m_frame.EndWaitCursor();
}

void FrameCommHost::Repaint()
{
    if (OnWindowThread())
        m_frame.repaint();
}

void FrameCommHost::ShowProgress(const TransferProgress& progress)
{
    const QString text = QString::fromStdString(ProgressText(progress));
    if (!OnWindowThread()) {
        QMetaObject::invokeMethod(
            &m_frame, [frame = &m_frame, text] { frame->statusBar()->showMessage(text); }, Qt::QueuedConnection);
        return;
    }
    m_frame.statusBar()->showMessage(text);
    m_frame.statusBar()->repaint();
}

void FrameCommHost::EndProgress()
{
    m_frame.statusBar()->clearMessage();
}
