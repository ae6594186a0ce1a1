#include "app/qt/QtFileDialogs.h"

#include "resources/qt/ResourceFilter.h"

#include <QFileDialog>
#include <QFileInfo>

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
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension).remove(0, 1));
    if (request.preselectFilter && request.filterIndex >= 1)
        dialog.selectNameFilter(QtFilterAt(filters, request.filterIndex));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    request.chosenPath = dialog.selectedFiles().front().toStdString();
    request.filterIndex = ResourceFilterIndex(filters, dialog.selectedNameFilter());
    return true;
}
