#pragma once

// Go To, Find (with Find Next and Find Previous) and Fill on the document
// shown in the main frame. Find remembers the last search for F3 and
// Shift+F3, and Find All's matches stay marked in the grid until the next
// search or another document.

#include "grid/CellRange.h"
#include "grid/GridFind.h"
#include "ui/dialogs/CFindDlg.h"

#include <QObject>

#include <optional>
#include <string>

class CMainFrame;
class CMemorixApp;

class FindController final : public QObject {
    Q_OBJECT

public:
    FindController(CMemorixApp& app, CMainFrame& frame);

    void OnGoTo();
    void OnFind();
    void OnFindNext(bool forward);
    void OnFill();
    // Forgets the marks (another document, or the document closed).
    void Reset();
    // The view was created again: it gets the marks.
    void AttachView();

    const FoundCells& Found() const { return m_found; }

    // What the dialogs call; the texts they show (empty: nothing to say).
    std::string GoToCheck(const std::string& text);
    std::string FindNext(const FindRequest& request);
    std::string FindAllMatches(const FindRequest& request);
    std::string FillCheck(const std::string& text, const CellRange& range);

private:
    std::optional<FindPattern> Pattern(const FindRequest& request, std::string& reason) const;
    // Remembers the request for F3 and gives its pattern; none (with the reason
    // to show, or none without a document) when there is nothing to look for.
    std::optional<FindPattern> Begin(const FindRequest& request, std::string& reason);
    void MoveTo(std::uint8_t deviceCode, std::int16_t bank, std::size_t byteOffset);

    CMemorixApp& m_app;
    CMainFrame& m_frame;
    FindRequest m_last;
    bool m_searched = false;
    FoundCells m_found;
};
