#pragma once

// View > Communication Log: a dock listing each request the communication
// libraries made (time, connection, function, device and addresses, words,
// duration, result), newest last, as many as the log keeps; Clear and Save.
// It follows the application's log while it is shown.

#include <QDockWidget>
#include <QTimer>

#include <cstdint>
#include <string>

class CMainFrame;
class CMemorixApp;
class QPlainTextEdit;

class CommLogDock final : public QDockWidget {
    Q_OBJECT

public:
    CommLogDock(CMemorixApp& app, CMainFrame& frame);

    void Toggle();
    void Clear();
    // The lines shown, heading first, as Save writes them.
    std::string Text() const;
    bool SaveTo(const std::string& path) const;

private:
    void Follow();
    void OnSave();

    CMemorixApp& m_app;
    CMainFrame& m_frame;
    QPlainTextEdit* m_lines = nullptr;
    QTimer m_poll;
    std::uint64_t m_shown = 0; // serial of the last entry shown
};
