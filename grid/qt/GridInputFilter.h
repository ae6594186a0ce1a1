#pragma once

#include <QObject>

class CMemorixView;
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
    explicit GridInputFilter(CMemorixView& view);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool OnListKey(QKeyEvent& key);
    bool OnEditorKey(QKeyEvent& key);
    void OnButtonDown(QMouseEvent& mouse);
    void OnMouseMove(QMouseEvent& mouse);
    void OnDoubleClick(QMouseEvent& mouse);

    CMemorixView& m_view;
};
