#pragma once

// The comparison of the document with a data file or with the PLC: it starts
// from File > Compare with File and PLC > Compare with PLC, is drawn by the
// grid view, moves the cursor from difference to difference (F8, Shift+F8),
// takes the other side's values into the selection, and shows its result in a
// status bar pane. It lasts until the user ends it (Esc in the grid or the
// command again) or the document is replaced, closed or moved to another model.

#include "compare/BlockCompare.h"

#include <QObject>

#include <optional>
#include <string>

class CMainFrame;
class CMemorixDoc;
class CMemorixApp;
class QLabel;

class CompareController final : public QObject {
    Q_OBJECT

public:
    CompareController(CMemorixApp& app, CMainFrame& frame, QLabel& pane);

    bool IsComparing() const { return m_comparison.has_value(); }
    const compare::Comparison* Comparison() const { return m_comparison ? &*m_comparison : nullptr; }

    // The commands; each compare command ends a running comparison instead.
    void OnCompareWithFile();
    void OnCompareWithPlc();
    void OnNextDifference(bool forward);
    void OnTakeOtherValue();
    void End();

    // After the document's data changed through the view (an edit, a paste,
    // undo): the shown block is compared again.
    void OnDocumentChanged();
    // The view was created again: it gets the marks.
    void AttachView();

private:
    // A compare command ends a running comparison; otherwise it works on the
    // document once an open edit has ended. Null: nothing to do.
    CMemorixDoc* BeginCommand();
    void Start(compare::Comparison comparison, std::string otherModel);
    void ShowResult();

    CMemorixApp& m_app;
    CMainFrame& m_frame;
    QLabel& m_pane;
    std::optional<compare::Comparison> m_comparison;
    std::string m_otherModel; // empty when the models are the same
};
