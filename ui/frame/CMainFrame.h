#pragma once

// The main window: menu bar and standard tool bar from the language library,
// the data tool bar, the status bar with its four panes, and the grid view of
// the one open document in the client area. It is the document's host and the
// grid's frame, and it keeps the display settings between runs.

#include "ui/frame/CDataToolBar.h"
#include "ui/frame/RecentFileList.h"
#include "document/IDocumentHost.h"
#include "ui/view/IGridFrame.h"

#include <QMainWindow>

#include <array>
#include <memory>

class CMemorixApp;
class CMemorixDoc;
class CMemorixView;
class CResourceHandle;
class CAppCommands;
class CompareController;
class FindController;
class MonitorController;
class TransferRunner;
class CommLogDock;
class CommandTable;
class IFileDialogs;
class QLabel;

class CMainFrame final : public QMainWindow, public IDocumentHost, public IGridFrame {
    Q_OBJECT
public:
    // dialogs: the file dialogs to use (the Qt ones when null).
    CMainFrame(CMemorixApp& app, const CResourceHandle& resources, IFileDialogs* dialogs = nullptr);
    ~CMainFrame() override;

    CommandTable& Commands() { return *m_commands; }
    CDataToolBar& DataToolBar() { return *m_dataToolBar; }
    CMemorixView* View() const { return m_view; }
    IFileDialogs& FileDialogs() { return *m_fileDialogs; }
    const CResourceHandle& Resources() const { return m_resources; }
    const DisplaySettings& Settings() const { return m_settings; }
    RecentFileList& RecentFiles() { return m_recentFiles; }
    CompareController& Compare() { return *m_compare; }
    FindController& Find() { return *m_find; }
    MonitorController& Monitor() { return *m_monitor; }
    CommLogDock& CommLog() { return *m_commLog; }
    // Runs a job that talks to the PLC off the window's thread, with Cancel.
    TransferRunner& Transfers();
    // Shows the block of this device and bank, choosing it in the data tool bar.
    void ShowBlock(std::uint8_t deviceCode, std::int16_t bank);

    // Creates a document by the application's start mode, or opens a file, with
    // a view in the client area; null (and no view) when it fails.
    CMemorixDoc* NewDocument();
    CMemorixDoc* OpenDocument(const std::string& path);
    void CloseDocument();
    // The data file handed over by a drop or the command line: after the save
    // prompt, the open document makes way for it.
    void OpenDroppedFile(const std::string& path);
    void UpdateTitle();

    // IDocumentHost: what happened to the document decides which boxes,
    // panes and views change.
    void DocumentOpened(const DeviceInfoArray& devices, const BankInfoArray& banks,
                        const std::string& modelName) override;
    void DocumentClosed() override;
    void BlocksReplaced(const DeviceInfoArray& devices, const BankInfoArray& banks) override;
    void ModelChanged(const DeviceInfoArray& devices, const std::string& modelName) override;
    bool EndEdit(bool withMessages) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    bool ShowSaveDialog(SaveFileRequest& request) override;
    void AddToRecentFileList(const std::string& path) override;

    // IGridFrame
    void UpdateDataToolbar(const DataToolbarUpdate& update) override;
    void ShowDataToolbar(bool show) override;
    void SetStatusText(int pane, std::string_view text, bool fit) override;
    std::uint8_t GetSelectedDeviceCode() const override;
    std::uint16_t GetSelectedBank() const override;
    std::optional<int> SelectedRadixIndex() const override;
    std::optional<int> SelectedUnitData() const override;
    std::optional<int> SelectedColumnIndex() const override;
    const MxMenuResource* FindMenu(int id) const override;

    // The settings the view's box handlers store.
    void SetRadix(int radix) override { m_settings.radix = radix; }
    void SetDataUnit(int unit) override { m_settings.unit = unit; }
    void SetColumnCount(int count) override { m_settings.columns = count; }
    int GetDataUnit() const override { return m_settings.unit; }
    void RefillBankCombo(int index) override;

    QString StatusText(int pane) const;

    // The view's updates, when there is a view.
    void ResetFromCombos();
    void SetDispDevStrings(const DeviceInfoArray& devices);
    void UpdateAllViews();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateView();
    void RegisterCompareCommands();
    void RegisterFindCommands();
    void RegisterMonitorCommands();
    void DestroyView();
    // The view's first update for a created document, or no view without one.
    CMemorixDoc* ShowDocument(CMemorixDoc* document);
    void OnBoxChosen(int id, int index);

    CMemorixApp& m_app;
    const CResourceHandle& m_resources;
    DisplaySettings m_settings;
    std::unique_ptr<IFileDialogs> m_ownDialogs;
    IFileDialogs* m_fileDialogs = nullptr;
    CommandTable* m_commands = nullptr;
    std::unique_ptr<CAppCommands> m_appCommands;
    CompareController* m_compare = nullptr;
    FindController* m_find = nullptr;
    MonitorController* m_monitor = nullptr;
    CommLogDock* m_commLog = nullptr;
    CDataToolBar* m_dataToolBar = nullptr;
    CMemorixView* m_view = nullptr;
    std::array<QLabel*, 4> m_panes{};
    RecentFileList m_recentFiles;
};
