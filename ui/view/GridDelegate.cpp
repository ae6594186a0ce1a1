#include "ui/view/GridDelegate.h"

#include "ui/view/ChangeMarks.h"

#include "ui/view/GridModel.h"
#include "ui/view/GridSelection.h"
#include "codec/ValueCodec.h"
#include "grid/GridCompare.h"
#include "grid/GridFind.h"
#include "resources/FormatText.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <QPolygon>
#include <QWidget>

namespace {

// The dots of the focus border: one on every second pixel along each marked
// side, just inside the cell (the grid lines lie outside option.rect).
QPolygon BorderDots(const QRect& cell, const GridSelection::Mark& mark)
{
    QPolygon dots;
    const int left = cell.left();
    const int right = cell.right();
    const int top = cell.top();
    const int bottom = cell.bottom();
    for (int y = top; y <= bottom; y += 2) {
        if (mark.left)
            dots << QPoint(left, y);
        if (mark.right)
            dots << QPoint(right, y);
    }
    for (int x = left; x <= right; x += 2) {
        if (mark.top)
            dots << QPoint(x, top);
        if (mark.bottom)
            dots << QPoint(x, bottom);
    }
    return dots;
}

// A differing cell's colour: strong enough to be seen on the highlight, and
// mixed into the base colour for the background, so that the text keeps the
// contrast of the palette, light or dark.
const QColor kDifferent(232, 72, 48);
// A match of Find All.
const QColor kFound(240, 190, 30);
// Changed by the PLC while monitoring.
const QColor kChanged(60, 170, 90);

QColor Mix(const QColor& base, const QColor& tint, double share)
{
    return QColor::fromRgbF(static_cast<float>(base.redF() * (1 - share) + tint.redF() * share),
                            static_cast<float>(base.greenF() * (1 - share) + tint.greenF() * share),
                            static_cast<float>(base.blueF() * (1 - share) + tint.blueF() * share));
}

} // namespace

void GridDelegate::SetComparison(const compare::Comparison* comparison, QString otherValue, QString notCompared)
{
    m_comparison = comparison;
    m_otherValue = std::move(otherValue);
    m_notCompared = std::move(notCompared);
}

GridDelegate::GridDelegate(const GridModel& model, const GridSelection& selection, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_model(model)
    , m_selection(selection)
{
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QRect cell = option.rect;
    const QPalette& palette = option.palette;
    const QPalette::ColorGroup group = option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
    const QString whole = index.data(Qt::DisplayRole).toString();

    painter->save();
    painter->setClipRect(cell);
    painter->setFont(option.font);

    if (index.column() == 0) {
        painter->fillRect(cell, palette.color(group, QPalette::Button));
        painter->setPen(palette.color(group, QPalette::WindowText));
        painter->drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, whole);
        painter->restore();
        return;
    }

    const int row = index.row();
    const int column = index.column() - 1; // data column; N is the text column
    const bool rowText = index.column() == m_model.TextColumn();
    const Qt::Alignment alignment = (rowText ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter;
    const QRect textRect = TextRect(cell, index);
    // A text cut on either side could read as another number: a cut text
    // keeps its start and ends in an elision mark.
    // Laying a text out to elide it costs more than drawing it, so only a
    // text that may not fit is measured.
    const QFontMetrics metrics(option.font);
    const QString text = whole.size() * metrics.maxWidth() > textRect.width()
                             ? metrics.elidedText(whole, Qt::ElideRight, textRect.width())
                             : whole;

    const compare::CellMark compared =
        m_comparison && !rowText ? MarkOfCell(*m_comparison, m_model.Layout(), row, column) : compare::CellMark::Same;
    const GridLayout& layout = m_model.Layout();
    const bool found = m_found && !rowText && layout.HasValue(row, column)
                       && m_found->Overlaps(layout.Block(), layout.CellOffset(row, column),
                                            static_cast<std::size_t>(layout.CellBytes()));
    const double changed =
        m_changes && !rowText && layout.HasValue(row, column)
            ? m_changes->Strength(layout.Block(), layout.CellOffset(row, column),
                                  static_cast<std::size_t>(layout.CellBytes()), ChangeMarks::Clock::now())
            : 0.0;
    GridSelection::Mark mark = m_selection.MarkOf(row, column);
    if (!mark.selected) {
        if (changed > 0)
            painter->fillRect(cell, Mix(palette.color(group, QPalette::Base), kChanged, 0.6 * changed));
        if (found)
            painter->fillRect(cell, Mix(palette.color(group, QPalette::Base), kFound, 0.45));
        if (compared == compare::CellMark::Differs)
            painter->fillRect(cell, Mix(palette.color(group, QPalette::Base), kDifferent, 0.38));
        else if (compared == compare::CellMark::NotCompared)
            painter->fillRect(cell, QBrush(palette.color(group, QPalette::Mid), Qt::BDiagPattern));
        painter->setPen(palette.color(group, QPalette::Text));
        painter->drawText(textRect, alignment | Qt::TextSingleLine, text);
        painter->restore();
        return;
    }

    const bool focused = option.widget && option.widget->hasFocus();
    if (!focused)
        mark = {true, false, false, false, false};
    // The fill leaves the bordered sides' dots free; towards the other cells of
    // a range it runs up to the grid lines.
    const QRect fill = cell.adjusted(mark.left ? 1 : 0, mark.top ? 1 : 0, mark.right ? -1 : 0, mark.bottom ? -1 : 0);
    painter->fillRect(fill, palette.color(group, QPalette::Highlight));
    if (found)
        painter->fillRect(QRect(fill.right() - 2, fill.top(), 3, fill.height()), kFound);
    if (changed > 0)
        painter->fillRect(QRect(fill.left(), fill.bottom() - 2, fill.width(), 3),
                          Mix(palette.color(group, QPalette::Highlight), kChanged, changed));
    if (compared == compare::CellMark::Differs)
        painter->fillRect(QRect(fill.left(), fill.top(), 3, fill.height()), kDifferent);
    else if (compared == compare::CellMark::NotCompared)
        painter->fillRect(fill, QBrush(palette.color(group, QPalette::HighlightedText), Qt::BDiagPattern));
    if (focused) {
        painter->setPen(QPen(Qt::black, 0));
        painter->drawPoints(BorderDots(cell, mark));
    }
    painter->setPen(palette.color(group, QPalette::HighlightedText));
    painter->drawText(textRect, alignment | Qt::TextSingleLine, text);
    painter->restore();
}

QRect GridDelegate::TextRect(const QRect& cell, const QModelIndex& index) const
{
    const bool rowText = index.column() == m_model.TextColumn();
    return cell.adjusted(kTextInset, 0, rowText ? 0 : -kValueInset, 0);
}

bool GridDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                             const QModelIndex& index)
{
    if (!event || !view || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    if (m_comparison && index.isValid() && index.column() > 0 && index.column() != m_model.TextColumn()) {
        const GridLayout& layout = m_model.Layout();
        const int row = index.row();
        const int column = index.column() - 1;
        switch (MarkOfCell(*m_comparison, layout, row, column)) {
        case compare::CellMark::Differs: {
            const std::vector<std::uint8_t> theirs = OtherCellBytes(*m_comparison, layout, row, column);
            const std::string value = codec::FormatCellValue(theirs, layout.Radix(), layout.Unit());
            QToolTip::showText(event->globalPos(),
                               QString::fromStdString(FormatText(m_otherValue.toStdString(), {value})),
                               view->viewport(), option.rect);
            return true;
        }
        case compare::CellMark::NotCompared:
            QToolTip::showText(event->globalPos(), m_notCompared, view->viewport(), option.rect);
            return true;
        case compare::CellMark::Same: break;
        }
    }
    const QString whole = index.isValid() && index.column() > 0 ? index.data(Qt::DisplayRole).toString() : QString();
    const QRect textRect = TextRect(option.rect, index);
    if (!whole.isEmpty() && QFontMetrics(option.font).horizontalAdvance(whole) > textRect.width())
        QToolTip::showText(event->globalPos(), whole, view->viewport(), option.rect);
    else
        QToolTip::hideText();
    return true;
}
