#include "ui/dialogs/CPlcUpDownMsgDlg.h"

#include "transfer/CTesknetComm.h"
#include "transfer/ICommHost.h"
#include "resources/CResourceHandle.h"
#include "resources/ResourceIds.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace {

bool g_bBeep = true; // the first dialog of the run beeps

} // namespace

CPlcUpDownMsgDlg::CPlcUpDownMsgDlg(const CResourceHandle& resources, QWidget* parent)
    : ResourceDialog(resources, res::IDD_TRANSFER_CONFIRM, parent)
    , m_resources(resources)
{
    // No Close item: the user answers Yes or No.
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint) & ~Qt::WindowCloseButtonHint
                   & ~Qt::WindowSystemMenuHint);
    m_connection = RequireControl<QLabel>(res::IDC_CONNECTION_TEXT);
    m_connection->setWordWrap(true);
    connect(RequireControl<QPushButton>(res::IDC_ONLINE_SETTINGS_BUTTON), &QPushButton::clicked, this, [this] {
        if (m_pSession)
            m_pSession->OnlineSettings();
        RefreshConnectionText();
    });
    connect(RequireControl<QPushButton>(res::IDC_COMM_SETTINGS_BUTTON), &QPushButton::clicked, this, [this] {
        if (m_pSession)
            m_pSession->CommSettings();
        RefreshConnectionText();
    });
}

void CPlcUpDownMsgDlg::SetMode(int mode, CTesknetComm* session)
{
    m_nMode = static_cast<std::uint8_t>(mode);
    m_pSession = session;
}

bool CPlcUpDownMsgDlg::BeepPending()
{
    return g_bBeep;
}

void CPlcUpDownMsgDlg::ResetBeepForTest()
{
    g_bBeep = true;
}

void CPlcUpDownMsgDlg::OnInitDialog()
{
    if (m_pSession)
        setWindowTitle(QString::fromStdString(m_pSession->Host().ApplicationName()));
    RefreshConnectionText();
    const bool writing = m_nMode == 1;
    const QIcon icon = style()->standardIcon(writing ? QStyle::SP_MessageBoxWarning : QStyle::SP_MessageBoxQuestion);
    QLabel* iconLabel = RequireControl<QLabel>(res::IDC_TRANSFER_ICON);
    iconLabel->setPixmap(icon.pixmap(iconLabel->size().boundedTo(QSize(32, 32))));
    QLabel* question = RequireControl<QLabel>(res::IDC_TRANSFER_QUESTION);
    question->setWordWrap(true);
    question->setText(
        QString::fromStdString(m_resources.LoadString(writing ? res::IDS_CONFIRM_WRITE : res::IDS_CONFIRM_READ)));
}

void CPlcUpDownMsgDlg::RefreshConnectionText()
{
    m_connection->setText(m_pSession ? QString::fromStdString(m_pSession->GetConnectionText()) : QString());
}

void CPlcUpDownMsgDlg::paintEvent(QPaintEvent* event)
{
    ResourceDialog::paintEvent(event);
    if (g_bBeep) {
        g_bBeep = false;
        QApplication::beep();
    }
}
