#pragma once

// The application's commands: File New with the start-up dialog and the
// new-document flow, File Open, the recent files, Close, Save, Save As, Exit,
// About, device selection and the change of PLC model. They are registered in
// the main frame's command table with their enable rules.

#include "model/DeviceModel.h"
#include "model/PlcChoice.h"

#include <memory>

class CDeviceSelectDlg;
class FrameCommHost;
class TransferRunner;
class CMainFrame;
class CMemorixApp;
class QAction;
class QMenu;

class CAppCommands {
public:
    CAppCommands(CMemorixApp& app, CMainFrame& frame);
    ~CAppCommands();

    void OnFileNew();
    void OnFileOpen();
    void OnRecentFile(int index);
    void OnDeviceSelection();
    void OnChangePlc();
    void OnAbout();
    void OnCsvImport();
    void OnCsvExport();
    void OnReadFromPlc();
    void OnWriteToPlc();

    // The transfers' worker and its Cancel.
    TransferRunner& Transfers() { return *m_transfers; }

private:
    void Register();
    void RegisterPlcCommands();
    // Start mode 12: reads the PLC into a new document.
    void ReadPlcForNewDocument();
    void NewDocumentFlow();
    // Lets the user choose the devices of a new document of the chosen model.
    bool DeviceSelectionForNew(PlcChoice& choice);
    // Shows the range dialog on the current PLC with these lists; on OK they
    // become the dialog's edited lists.
    bool RunRangeDialog(CDeviceSelectDlg& dialog, const PlcChoice& plc, DeviceInfoArray& devices, BankInfoArray& banks);
    void OpenFileFlow();
    void ShowRecentFiles(QMenu& menu, QAction* placeholder);

    CMemorixApp& m_app;
    CMainFrame& m_frame;
    std::unique_ptr<FrameCommHost> m_commHost;
    std::unique_ptr<TransferRunner> m_transfers;
};
