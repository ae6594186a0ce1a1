#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>

class CMemorixView;
class GridSelection;
class QKeyEvent;
class QMouseEvent;

// The grid view's keyboard and mouse, looked at before the table sees them:
// the keys of the list (movement, editing, the clipboard and undo), the keys
// of an open editor (Enter, Tab, Esc) and its loss of the focus, and the
// mouse's press, drag and release on the cells. The table's own handling of
// keys and clicks never runs, so its hidden current index never moves.
class GridInputFilter final : public QObject {
    Q_OBJECT

public:
    // The filter moves the view's selection; both must outlive it.
    GridInputFilter(CMemorixView& view, GridSelection& selection);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OnListKey(QKeyEvent& key);
    bool OnEditorKey(QKeyEvent& key);
    void OnButtonDown(QMouseEvent& mouse);
    void OnMouseMove(QMouseEvent& mouse);
    void OnDoubleClick(QMouseEvent& mouse);
    // One step of a drag at a global point; true when the point lies above
    // or below the list and the range grew by a row.
    bool DragTo(const QPoint& global);
    void OnAutoScroll();
    // Enter, F2 or typing on the list: the range ends and the editor opens
    // on the current cell, its row scrolled into view.
    void EditCurrentCell();

    CMemorixView& m_view;
    GridSelection& m_selection;
    // While the button is held above or below the list, the range keeps
    // growing a row at a time even when the mouse stays still.
    QTimer m_autoScroll;
    QPoint m_ptDrag;
};
