#pragma once

// The progress dialog of the line-settings scan (the dialog resource
// `kDialogAutoSet`): it tries one combination per tick of its timer on the
// caller's thread, until the unit answers, the combinations run out or the
// user cancels. It probes through the caller's own session block, the one
// the communication libraries know; a copy would be refused by them as a
// block that was never initialised.

#include "autoset/CombinationWalk.h"
#include "autoset/ResourceLibrary.h"

#include "contract/AutoSetBlock.h"
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

    // block: the caller's session block, which must outlive the dialog;
    // dialog: the language library's dialog resource (its caption and labels);
    // strings: where the searching and found texts come from.
    COuvAuto(std::uint8_t* block, const std::uint8_t* request, const PortavoDialog* dialog,
             const ResourceLibrary& strings, QWidget* parent = nullptr);
    ~COuvAuto() override;

    // 1 found, 2 cancelled, -1 nothing answered.
    int Run();

    // The settings record of the block (the combination tried last, or found).
    const std::uint8_t* Settings() const { return m_block + comm::autoset::kSettingsOffset; }
    void CopySettings(std::uint8_t* out) const;
    int Position() const { return m_walk.Position(); }
    int Failures() const { return m_walk.Failures(); }
    int TimerId() const { return m_nTimerId; }

    void reject() override; // Cancel and Escape: 2

private:
    void ShowPosition();
    void UpdateControls();
    void StartTimer();
    void StopTimer();
    void OnTimer();

    std::uint8_t* m_block;
    std::array<std::uint8_t, 8> m_request{};
    CombinationWalk m_walk;
    int m_nTimerId = 0;
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
