#include "ui/dialogs/CValueDlg.h"

#include <QLabel>
#include <QLineEdit>

CValueDlg::CValueDlg(const CResourceHandle& resources, int dialogId, int editId, int messageId, Check check,
                     QWidget* parent)
    : ResourceDialog(resources, dialogId, parent)
    , m_editId(editId)
    , m_messageId(messageId)
    , m_check(std::move(check))
{
}

std::string CValueDlg::Text() const
{
    const auto* edit = Control<QLineEdit>(m_editId);
    return edit ? edit->text().toStdString() : std::string();
}

void CValueDlg::OnOK()
{
    const std::string reason = m_check ? m_check(Text()) : std::string();
    if (reason.empty()) {
        EndDialog(1);
        return;
    }
    if (auto* message = Control<QLabel>(m_messageId)) {
        message->setWordWrap(true);
        message->setText(QString::fromStdString(reason));
    }
    if (auto* edit = Control<QLineEdit>(m_editId)) {
        edit->setFocus();
        edit->selectAll();
    }
}
