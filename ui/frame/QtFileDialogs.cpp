#include "ui/frame/QtFileDialogs.h"

#include "ui/shared/ResourceFilter.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The extension of a filter's first pattern ("Text files (*.txt)" gives
// "txt"), or fallback when the filter has none.
QString FilterSuffix(const QString& nameFilter, const QString& fallback)
{
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("\\*\\.([^ ;)*?]+)")).match(nameFilter);
    return match.hasMatch() ? match.captured(1) : fallback;
}

} // namespace

bool QtFileDialogs::GetOpenFileName(const std::string& filter, int& filterIndex, std::string& path)
{
    const QString filters = QtFilterFromResource(filter);
    QString selected = QtFilterAt(filters, filterIndex);
    const QString chosen = QFileDialog::getOpenFileName(m_parent, QString(), QString(), filters, &selected);
    if (chosen.isEmpty())
        return false;
    path = chosen.toStdString();
    filterIndex = ResourceFilterIndex(filters, selected);
    return true;
}

bool QtFileDialogs::GetSaveFileName(SaveFileRequest& request)
{
    const QString filters = QtFilterFromResource(request.filter);
    QFileDialog dialog(m_parent, QString(), QString::fromStdString(request.proposedName), filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QString defaultSuffix = QString::fromStdString(request.defaultExtension).remove(0, 1);
    dialog.setDefaultSuffix(defaultSuffix);
    if (request.preselectFilter && request.filterIndex >= 1) {
        dialog.selectNameFilter(QtFilterAt(filters, request.filterIndex));
        dialog.setDefaultSuffix(FilterSuffix(dialog.selectedNameFilter(), defaultSuffix));
    }
    // A bare file name gets the extension of the filter the user chose.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, defaultSuffix](const QString& filter) {
        dialog.setDefaultSuffix(FilterSuffix(filter, defaultSuffix));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    request.chosenPath = dialog.selectedFiles().front().toStdString();
    request.filterIndex = ResourceFilterIndex(filters, dialog.selectedNameFilter());
    return true;
}
