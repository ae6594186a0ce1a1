#pragma once

#include <QStyledItemDelegate>

class ChangeMarks;
class GridModel;
struct FoundCells;
namespace compare {
class Comparison;
}
class GridSelection;

// Draws every cell of the grid itself: the row labels on the button colour,
// the values in the cell font, and the grid's own selection (the current cell
// or a range) in the highlight colour, with a dotted border while the table
// has the keyboard focus. The table's own selection drawing is never used.
class GridDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    // Both must outlive the delegate.
    GridDelegate(const GridModel& model, const GridSelection& selection, QObject* parent = nullptr);

    // Marks the cells against a comparison (null: none): a differing cell on
    // a warm background (a bar at its left edge when selected), a cell the
    // other side does not hold hatched. The tool tip of a marked cell tells
    // the other side's value, or that it was not compared; the texts are the
    // language library's, otherValue with "%s" for the value.
    void SetComparison(const compare::Comparison* comparison, QString otherValue, QString notCompared);

    // Marks the cells that hold a match of Find All (null: none).
    void SetFoundCells(const FoundCells* found) { m_found = found; }

    // Marks the words monitoring saw change (null: none) on a background
    // that fades as the change ages.
    void SetChangeMarks(const ChangeMarks* marks) { m_changes = marks; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // A cell whose text is wider than the cell shows it cut, with an elision
    // mark; its tool tip is the whole text. Other cells have no tool tip.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // Space between a cell's left edge and its text, and between the right
    // edge and a right-aligned value (clear of the focus border), in pixels.
    static constexpr int kTextInset = 2;
    static constexpr int kValueInset = 1;

private:
    // Where a cell's text goes.
    QRect TextRect(const QRect& cell, const QModelIndex& index) const;

    const GridModel& m_model;
    const GridSelection& m_selection;
    const compare::Comparison* m_comparison = nullptr;
    const FoundCells* m_found = nullptr;
    const ChangeMarks* m_changes = nullptr;
    QString m_otherValue;
    QString m_notCompared;
};
