#pragma once

// The start-up choice shown by the first File New of a run: a new blank
// document, a data file to open, or the data read from the PLC. The dialog
// only returns the choice; the application carries it out.
//
// DoModal() (and Result() after open()/show()) gives START_NEW (10),
// START_OPEN (11) or START_READ_PLC (12) on OK, and IDCANCEL (2) for Cancel,
// Escape or the close box.

#include "ui/shared/ResourceDialog.h"

#include <array>

class QRadioButton;

class CStartUpDlg final : public ResourceDialog {
    Q_OBJECT

public:
    explicit CStartUpDlg(const CResourceHandle& resources, QWidget* parent = nullptr);

    // 0 new, 1 open, 2 read from the PLC.
    int m_nChoice = 0;

protected:
    void OnInitDialog() override;
    void OnOK() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads the radio buttons into m_nChoice, or writes m_nChoice to them.
    void UpdateData(bool save);
    void Choose(int choice);

    std::array<QRadioButton*, 3> m_radios{};
};
