#pragma once

// The question before every read from and write to the PLC: it names the
// connection that will be used, lets the user change the communication or
// online settings on the spot, and answers Yes (6) or No (7). Escape is No;
// the window has no Close button. The first such dialog of a run beeps once
// when it is first painted; later ones are silent.

#include "ui/shared/ResourceDialog.h"

#include <cstdint>

class CTesknetComm;
class QLabel;

class CPlcUpDownMsgDlg final : public ResourceDialog {
    Q_OBJECT

public:
    static constexpr int IDYES = 6;
    static constexpr int IDNO = 7;

    explicit CPlcUpDownMsgDlg(const CResourceHandle& resources, QWidget* parent = nullptr);

    // mode 0 read, 1 write; called before the modal run.
    void SetMode(int mode, CTesknetComm* session);
    int Mode() const { return m_nMode; }

    // Whether the beep of this run is still to come (tests).
    static bool BeepPending();
    static void ResetBeepForTest();

protected:
    void OnInitDialog() override;
    void OnOK() override { EndDialog(IDYES); }
    void OnCancel() override { EndDialog(IDNO); }
    void paintEvent(QPaintEvent* event) override;

private:
    void RefreshConnectionText();

    const CResourceHandle& m_resources;
    std::uint8_t m_nMode = 0;
    CTesknetComm* m_pSession = nullptr;
    QLabel* m_connection = nullptr;
};
