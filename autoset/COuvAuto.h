#pragma once

// The progress dialog of the line-settings scan (dialog 129): it works on a
// copy of the caller's block and tries one combination per tick of its
// 100 ms timer on the caller's thread, until the unit answers, the
// combinations run out or the user cancels.

#include "autoset/ResourceLibrary.h"

#include "contract/CommContract.h"

#include <QDialog>

#include <array>
#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace portavo {

class COuvAuto : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTimerId = 10000;
    static constexpr int kTimerPeriodMs = 100;
    static constexpr int kFoundPauseMs = 2000;

    // dialog: resource 129 of the language library (its caption and labels);
    // strings: where 42 and 43 come from.
    COuvAuto(const std::uint8_t* block, const std::uint8_t* request, const PortavoDialog* dialog,
             const ResourceLibrary& strings, QWidget* parent = nullptr);
    ~COuvAuto() override;

    // 1 found, 2 cancelled, -1 nothing answered.
    int Run();

    // The dialog's copy of the settings record (200 bytes).
    const std::uint8_t* Settings() const { return m_block.data() + 102; }
    void CopySettings(std::uint8_t* out) const;
    int Position() const { return m_nPosition; }
    int Failures() const { return m_nFailures; }
    int TimerId() const { return m_nTimerId; }

    void reject() override; // Cancel and Escape: 2

private:
    void ShowPosition(int position);
    void UpdateControls();
    void StartTimer();
    void StopTimer();
    void OnTimer();

    std::array<std::uint8_t, comm::kSessionBlockSize> m_block{};
    std::array<std::uint8_t, 8> m_request{};
    int m_nPosition = 0;
    int m_nFailures = 0;
    int m_nTimerId = 0;
    std::uint16_t m_options = 0;
    bool m_bFound = false;
    const ResourceLibrary& m_strings;

    QTimer* m_timer = nullptr;
    QLabel* m_title = nullptr;
    QLabel* m_kind = nullptr;
    QLabel* m_port = nullptr;
    QLabel* m_baud = nullptr;
    QLabel* m_dataLength = nullptr;
    QLabel* m_parity = nullptr;
    QLabel* m_stopBits = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_cancel = nullptr;
    QString m_baudText;
};

} // namespace portavo
