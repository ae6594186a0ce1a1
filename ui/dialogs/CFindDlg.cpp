#include "ui/dialogs/CFindDlg.h"

#include "resources/ResourceIds.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QLabel>
#include <QLineEdit>

CFindDlg::CFindDlg(const CResourceHandle& resources, FindRequest start, bool textAllowed, Search findNext,
                   Search findAll, QWidget* parent)
    : ResourceDialog(resources, res::IDD_FIND, parent)
    , m_start(std::move(start))
    , m_textAllowed(textAllowed)
    , m_findNext(std::move(findNext))
    , m_findAll(std::move(findAll))
{
}

void CFindDlg::OnInitDialog()
{
    RequireControl<QLineEdit>(res::IDC_FIND_VALUE)->setText(QString::fromStdString(m_start.text));
    RequireControl<QLineEdit>(res::IDC_FIND_VALUE)->selectAll();
    auto* text = RequireControl<QCheckBox>(res::IDC_FIND_TEXT);
    text->setChecked(m_textAllowed && m_start.isText);
    text->setEnabled(m_textAllowed);
    RequireControl<QRadioButton>(m_start.everyBlock ? res::IDC_FIND_EVERY_BLOCK : res::IDC_FIND_THIS_BLOCK)
        ->setChecked(true);
    RequireControl<QRadioButton>(m_start.forward ? res::IDC_FIND_FORWARD : res::IDC_FIND_BACKWARD)->setChecked(true);
    connect(RequireControl<QPushButton>(res::IDC_FIND_ALL), &QPushButton::clicked, this, [this] {
        if (m_findAll)
            Show(m_findAll(Request()));
    });
}

FindRequest CFindDlg::Request() const
{
    FindRequest request;
    if (const auto* value = Control<QLineEdit>(res::IDC_FIND_VALUE))
        request.text = value->text().toStdString();
    const auto checked = [this](int id) {
        const auto* button = Control<QAbstractButton>(id);
        return button && button->isChecked();
    };
    request.isText = m_textAllowed && checked(res::IDC_FIND_TEXT);
    request.everyBlock = checked(res::IDC_FIND_EVERY_BLOCK);
    request.forward = !checked(res::IDC_FIND_BACKWARD);
    return request;
}

void CFindDlg::OnOK()
{
    if (m_findNext)
        Show(m_findNext(Request()));
}

void CFindDlg::Show(const std::string& message)
{
    if (auto* label = Control<QLabel>(res::IDC_FIND_MESSAGE))
        label->setText(QString::fromStdString(message));
}
