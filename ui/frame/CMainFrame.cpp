#include "ui/frame/CMainFrame.h"

#include "app/CMemorixApp.h"
#include "ui/frame/CAppCommands.h"
#include "ui/frame/TransferRunner.h"
#include "ui/frame/CompareController.h"
#include "ui/frame/FindController.h"
#include "ui/frame/MonitorController.h"
#include "ui/frame/CommLogDock.h"
#include "ui/shared/CommandTable.h"
#include "ui/frame/QtFileDialogs.h"
#include "document/CMemorixDoc.h"
#include "ui/view/CMemorixView.h"
#include "platform/ISettingsStore.h"
#include "resources/CResourceHandle.h"
#include "resources/ResourceIds.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolBar>

namespace {

constexpr const char* kConfig = "Config";
constexpr int kFrameWidth = 750;
constexpr int kFrameHeight = 600;
constexpr int kPaneMinimum[4] = {0, 60, 120, 80};
// The status bar panes: the current cell, the shown block's range, the model.
constexpr int kPaneCell = 1;
constexpr int kPaneRange = 2;
constexpr int kPaneModel = 3;

} // namespace

CMainFrame::CMainFrame(CMemorixApp& app, const CResourceHandle& resources, IFileDialogs* dialogs)
    : m_app(app)
    , m_resources(resources)
    , m_recentFiles(app.Settings())
{
    setObjectName(QStringLiteral("mainFrame"));
    if (!dialogs) {
        m_ownDialogs = std::make_unique<QtFileDialogs>(this);
        dialogs = m_ownDialogs.get();
    }
    m_fileDialogs = dialogs;

    resize(kFrameWidth, kFrameHeight);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move((area.width() - kFrameWidth) / 2, (area.height() - kFrameHeight) / 2);
    }
    setAcceptDrops(true);
    platform::ISettingsStore& settings = m_app.Settings();
    m_settings.radix = settings.GetUserInt(kConfig, "DispRadix", 3);
    m_settings.unit = settings.GetUserInt(kConfig, "DispDataUnit", 1);
    m_settings.columns = settings.GetUserInt(kConfig, "DispColumnCount", 8);

    m_commands = new CommandTable(resources, this);
    m_appCommands = std::make_unique<CAppCommands>(app, *this);
    auto* comparePane = new QLabel(this);
    comparePane->setObjectName(QStringLiteral("comparePane"));
    m_compare = new CompareController(app, *this, *comparePane);
    RegisterCompareCommands();
    m_find = new FindController(app, *this);
    RegisterFindCommands();
    auto* monitorPane = new QLabel(this);
    monitorPane->setObjectName(QStringLiteral("monitorPane"));
    m_monitor = new MonitorController(app, *this, *monitorPane);
    m_commLog = new CommLogDock(app, *this);
    RegisterMonitorCommands();
    if (const MxMenuResource* menu = resources.FindMenu(res::IDR_MAINFRAME))
        m_commands->BuildMenuBar(*menu, *menuBar());

    auto* standard = addToolBar(QString::fromStdString(resources.LoadString(res::IDS_TOOLBAR_STANDARD)));
    standard->setObjectName(QStringLiteral("59392"));
    if (const MxToolBarResource* buttons =
            resources.FindToolBar(app.HiColorIcons() ? res::IDR_MAINFRAME_256 : res::IDR_MAINFRAME))
        m_commands->FillToolBar(*buttons, *standard);

    m_dataToolBar = new CDataToolBar(app, resources, m_settings, this);
    m_dataToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // A row of its own, so that all five boxes fit the window's width.
    addToolBarBreak();
    addToolBar(m_dataToolBar);
    connect(m_dataToolBar, &CDataToolBar::BoxChosen, this, &CMainFrame::OnBoxChosen);
    m_dataToolBar->addSeparator();
    m_dataToolBar->addWidget(new QLabel(
        QString::fromStdString(resources.LoadString(res::IDS_MONITOR_INTERVAL)) + QStringLiteral(" "), m_dataToolBar));
    m_dataToolBar->addWidget(&m_monitor->IntervalBox());

    statusBar()->setObjectName(QStringLiteral("59393"));
    statusBar()->addPermanentWidget(monitorPane);
    statusBar()->addPermanentWidget(comparePane);
    for (int pane = 1; pane < 4; ++pane) {
        m_panes[pane] = new QLabel(this);
        m_panes[pane]->setObjectName(QStringLiteral("pane%1").arg(pane));
        m_panes[pane]->setFixedWidth(kPaneMinimum[pane]);
        statusBar()->addPermanentWidget(m_panes[pane]);
    }

    m_dataToolBar->hide();
    DataToolbarUpdate update;
    update.radix = update.unit = update.columns = true;
    update.deviceIndex = update.bankIndex = 0;
    m_dataToolBar->UpdateDataToolbar(update);
    m_commands->UpdateEnabled();
    UpdateTitle();
}

CMainFrame::~CMainFrame()
{
    m_monitor->Stop(true, false);
    platform::ISettingsStore& settings = m_app.Settings();
    settings.SetUserInt(kConfig, "DispRadix", m_settings.radix);
    settings.SetUserInt(kConfig, "DispDataUnit", m_settings.unit);
    settings.SetUserInt(kConfig, "DispColumnCount", m_settings.columns);
}

void CMainFrame::CreateView()
{
    DestroyView();
    m_view = new CMemorixView(m_app, *this, this);
    m_view->setObjectName(QStringLiteral("view"));
    connect(m_view, &CMemorixView::CommandStateChanged, m_commands, &CommandTable::UpdateEnabled);
    connect(m_view, &CMemorixView::CommandStateChanged, m_compare, &CompareController::OnDocumentChanged);
    connect(m_view, &CMemorixView::FrameCommand, m_commands, &CommandTable::Trigger);
    connect(m_view, &CMemorixView::EscapePressed, m_compare, &CompareController::End);
    connect(m_view, &CMemorixView::EditRefused, this, [this] {
        statusBar()->showMessage(QString::fromStdString(m_resources.LoadString(res::IDS_MONITOR_READ_ONLY)), 5000);
    });
    m_compare->AttachView();
    m_monitor->AttachView();
    m_find->AttachView();
    setCentralWidget(m_view);
}

void CMainFrame::DestroyView()
{
    if (!m_view)
        return;
    QWidget* view = takeCentralWidget();
    m_view = nullptr;
    view->hide();
    view->deleteLater();
}

CMemorixDoc* CMainFrame::NewDocument()
{
    CreateView();
    return ShowDocument(m_app.NewDocument(*this));
}

CMemorixDoc* CMainFrame::OpenDocument(const std::string& path)
{
    CreateView();
    return ShowDocument(m_app.OpenDocumentFile(path, *this));
}

CMemorixDoc* CMainFrame::ShowDocument(CMemorixDoc* document)
{
    if (!document)
        DestroyView();
    else
        m_view->OnInitialUpdate();
    UpdateTitle();
    m_commands->UpdateEnabled();
    return document;
}

void CMainFrame::CloseDocument()
{
    m_monitor->Stop(true, false);
    m_app.CloseDocument();
    DestroyView();
    UpdateTitle();
    m_commands->UpdateEnabled();
}

void CMainFrame::OpenDroppedFile(const std::string& path)
{
    if (!m_app.CanReplaceDocument())
        return;
    CloseDocument();
    OpenDocument(path);
}

TransferRunner& CMainFrame::Transfers()
{
    return m_appCommands->Transfers();
}

void CMainFrame::UpdateTitle()
{
    const QString program = QString::fromStdString(m_resources.LoadString(res::IDS_APP_TITLE));
    const CMemorixDoc* document = m_app.GetActiveDoc();
    setWindowTitle(document ? QString::fromStdString(document->GetTitle()) + QStringLiteral(" - ") + program : program);
}

void CMainFrame::DocumentOpened(const DeviceInfoArray& devices, const BankInfoArray& banks,
                                const std::string& modelName)
{
    m_monitor->Stop(true, false);
    m_compare->End();
    m_find->Reset();
    DataToolbarUpdate update;
    update.radix = update.unit = update.columns = true;
    update.deviceIndex = update.bankIndex = 0;
    update.devices = &devices;
    update.banks = &banks;
    update.show = true;
    UpdateDataToolbar(update);
    SetDispDevStrings(devices);
    SetStatusText(kPaneModel, modelName, true);
}

void CMainFrame::DocumentClosed()
{
    m_monitor->Stop(true, false);
    m_compare->End();
    m_find->Reset();
    SetStatusText(kPaneCell, "", false);
    SetStatusText(kPaneRange, "", false);
    SetStatusText(kPaneModel, "", true);
    ShowDataToolbar(false);
}

void CMainFrame::BlocksReplaced(const DeviceInfoArray& devices, const BankInfoArray& banks)
{
    m_monitor->Stop(true, false);
    m_compare->End();
    m_find->Reset();
    DataToolbarUpdate update;
    update.deviceIndex = update.bankIndex = 0;
    update.devices = &devices;
    update.banks = &banks;
    update.show = true;
    UpdateDataToolbar(update);
    UpdateAllViews();
}

void CMainFrame::ModelChanged(const DeviceInfoArray& devices, const std::string& modelName)
{
    m_monitor->Stop(true, false);
    m_compare->End();
    m_find->Reset();
    ResetFromCombos();
    SetDispDevStrings(devices);
    SetStatusText(kPaneModel, modelName, true);
    UpdateAllViews();
}

void CMainFrame::UpdateDataToolbar(const DataToolbarUpdate& update)
{
    m_dataToolBar->UpdateDataToolbar(update);
}

void CMainFrame::ShowDataToolbar(bool show)
{
    m_dataToolBar->setVisible(show);
}

void CMainFrame::SetStatusText(int pane, std::string_view text, bool fit)
{
    const QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (pane <= 0 || pane > 3) {
        statusBar()->showMessage(value);
        return;
    }
    QLabel* label = m_panes[static_cast<std::size_t>(pane)];
    if (fit) {
        const QFontMetrics metrics(statusBar()->font());
        const int width = metrics.horizontalAdvance(value) + metrics.averageCharWidth();
        label->setFixedWidth(std::max(width, kPaneMinimum[pane]));
    }
    label->setText(value);
}

QString CMainFrame::StatusText(int pane) const
{
    if (pane <= 0 || pane > 3)
        return statusBar()->currentMessage();
    return m_panes[static_cast<std::size_t>(pane)]->text();
}

bool CMainFrame::EndEdit(bool withMessages)
{
    return m_view ? m_view->EndEdit(withMessages) : false;
}

void CMainFrame::ResetFromCombos()
{
    if (m_view)
        m_view->ResetFromCombos();
}

void CMainFrame::SetDispDevStrings(const DeviceInfoArray& devices)
{
    if (m_view)
        m_view->SetDispDevStrings(devices);
}

void CMainFrame::UpdateAllViews()
{
    if (m_view)
        m_view->OnUpdate();
}

void CMainFrame::BeginWaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CMainFrame::EndWaitCursor()
{
    QApplication::restoreOverrideCursor();
}

bool CMainFrame::ShowSaveDialog(SaveFileRequest& request)
{
    return m_fileDialogs->GetSaveFileName(request);
}

void CMainFrame::AddToRecentFileList(const std::string& path)
{
    m_recentFiles.Add(path);
}

std::uint8_t CMainFrame::GetSelectedDeviceCode() const
{
    return m_dataToolBar->GetSelectedDeviceCode();
}

std::uint16_t CMainFrame::GetSelectedBank() const
{
    return m_dataToolBar->GetSelectedBank();
}

std::optional<int> CMainFrame::SelectedRadixIndex() const
{
    return m_dataToolBar->SelectedRadixIndex();
}

std::optional<int> CMainFrame::SelectedUnitData() const
{
    return m_dataToolBar->SelectedUnitData();
}

std::optional<int> CMainFrame::SelectedColumnIndex() const
{
    return m_dataToolBar->SelectedColumnIndex();
}

const MxMenuResource* CMainFrame::FindMenu(int id) const
{
    return m_resources.FindMenu(id);
}

void CMainFrame::RefillBankCombo(int index)
{
    m_dataToolBar->RefillBankCombo(index);
}

void CMainFrame::OnBoxChosen(int id, int index)
{
    if (!m_view)
        return;
    QComboBox* box = m_dataToolBar->Box(id);
    const int itemData = box && index >= 0 ? box->itemData(index).toInt() : 0;
    switch (id) {
    case res::ID_COMBO_RADIX: m_view->OnRadixChanged(index); break;
    case res::ID_COMBO_UNIT:
        if (index >= 0)
            m_view->OnDataUnitChanged(itemData);
        break;
    case res::ID_COMBO_DEVICE: m_view->OnDeviceChanged(static_cast<std::uint8_t>(itemData)); break;
    case res::ID_COMBO_COLUMNS: m_view->OnColumnsChanged(index >= 0 ? index + 1 : 1); break;
    case res::ID_COMBO_BANK: m_view->OnBankChanged(static_cast<std::uint16_t>(itemData)); break;
    default: break;
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_appCommands && m_appCommands->Transfers().IsRunning()) {
        // The transfer stops first; the window stays until it has.
        m_appCommands->Transfers().Stop();
        event->ignore();
        return;
    }
    if (!m_app.CanReplaceDocument()) {
        event->ignore();
        return;
    }
    CloseDocument();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    if (m_appCommands && m_appCommands->Transfers().IsRunning())
        return;
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return; // several files at once are not opened
    event->acceptProposedAction();
    OpenDroppedFile(urls.front().toLocalFile().toStdString());
}

void CMainFrame::RegisterCompareCommands()
{
    const auto documentOpen = [this] { return m_app.GetActiveDoc() != nullptr; };
    const auto comparing = [this] { return m_app.GetActiveDoc() != nullptr && m_compare->IsComparing(); };
    m_commands->Add(
        res::ID_FILE_COMPARE, [this] { m_compare->OnCompareWithFile(); }, documentOpen);
    m_commands->Add(
        res::ID_PLC_COMPARE, [this] { m_compare->OnCompareWithPlc(); }, documentOpen);
    m_commands->Add(
        res::ID_NEXT_DIFFERENCE, [this] { m_compare->OnNextDifference(true); }, comparing);
    m_commands->Add(
        res::ID_PREV_DIFFERENCE, [this] { m_compare->OnNextDifference(false); }, comparing);
    m_commands->Add(
        res::ID_TAKE_OTHER_VALUE, [this] { m_compare->OnTakeOtherValue(); }, comparing);
}

void CMainFrame::ShowBlock(std::uint8_t deviceCode, std::int16_t bank)
{
    const auto choose = [this](int id, int value) {
        QComboBox* box = m_dataToolBar->Box(id);
        const int index = box ? box->findData(value) : -1;
        if (index < 0 || index == box->currentIndex())
            return;
        box->setCurrentIndex(index);
        OnBoxChosen(id, index);
    };
    choose(res::ID_COMBO_DEVICE, deviceCode);
    choose(res::ID_COMBO_BANK, bank);
}

void CMainFrame::RegisterFindCommands()
{
    const auto documentOpen = [this] { return m_app.GetActiveDoc() != nullptr && m_view != nullptr; };
    m_commands->Add(
        res::ID_EDIT_GOTO, [this] { m_find->OnGoTo(); }, documentOpen);
    m_commands->Add(
        res::ID_EDIT_FIND, [this] { m_find->OnFind(); }, documentOpen);
    m_commands->Add(
        res::ID_EDIT_FIND_NEXT, [this] { m_find->OnFindNext(true); }, documentOpen);
    m_commands->Add(
        res::ID_EDIT_FIND_PREV, [this] { m_find->OnFindNext(false); }, documentOpen);
    m_commands->Add(
        res::ID_EDIT_FILL, [this] { m_find->OnFill(); }, documentOpen);
}

void CMainFrame::RegisterMonitorCommands()
{
    const auto documentShown = [this] { return m_app.GetActiveDoc() != nullptr && m_view != nullptr; };
    m_commands->Add(
        res::ID_PLC_MONITOR, [this] { m_monitor->OnMonitor(); }, documentShown);
    m_commands->Add(
        res::ID_PLC_WRITE_SELECTION, [this] { m_monitor->OnWriteSelection(); }, documentShown);
    m_commands->Add(
        res::ID_VIEW_TREND, [this] { m_monitor->OnTrend(); }, documentShown);
    m_commands->Add(res::ID_VIEW_COMM_LOG, [this] { m_commLog->Toggle(); });
    // Checked while monitoring, in the menu and on the tool bar alike.
    m_commands->Action(res::ID_PLC_MONITOR)->setCheckable(true);
}
