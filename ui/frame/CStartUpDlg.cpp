#include "ui/frame/CStartUpDlg.h"

#include "app/CMemorixApp.h"
#include "resources/ResourceIds.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

CStartUpDlg::CStartUpDlg(const CResourceHandle& resources, QWidget* parent)
    : ResourceDialog(resources, res::IDD_STARTUP, parent)
{
    const int radioIds[3] = {res::IDC_STARTUP_NEW, res::IDC_STARTUP_OPEN, res::IDC_STARTUP_READ};
    const int buttonIds[3] = {res::IDC_STARTUP_NEW_BUTTON, res::IDC_STARTUP_OPEN_BUTTON, res::IDC_STARTUP_READ_BUTTON};
    for (int i = 0; i < 3; ++i) {
        m_radios[i] = RequireControl<QRadioButton>(radioIds[i]);
        m_radios[i]->installEventFilter(this);
        connect(m_radios[i], &QRadioButton::clicked, this, [this] { UpdateData(true); });
        connect(RequireControl<QPushButton>(buttonIds[i]), &QPushButton::clicked, this, [this, i] { Choose(i); });
    }
}

void CStartUpDlg::OnInitDialog()
{
    UpdateData(false);
}

void CStartUpDlg::UpdateData(bool save)
{
    if (save) {
        m_nChoice = -1;
        for (int i = 0; i < 3; ++i) {
            if (m_radios[i]->isChecked())
                m_nChoice = i;
        }
    } else {
        for (int i = 0; i < 3; ++i)
            m_radios[i]->setChecked(i == m_nChoice);
    }
}

void CStartUpDlg::Choose(int choice)
{
    m_nChoice = choice;
    UpdateData(false);
    m_radios[choice]->setFocus(Qt::OtherFocusReason);
}

void CStartUpDlg::OnOK()
{
    UpdateData(true);
    switch (m_nChoice) {
    case 0: EndDialog(START_NEW); break;
    case 1: EndDialog(START_OPEN); break;
    case 2: EndDialog(START_READ_PLC); break;
    default: EndDialog(res::IDCANCEL); break;
    }
}

// Up and Down on a radio button move the choice round the ring of three,
// before the buttons' own arrow handling sees the key.
bool CStartUpDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            for (int i = 0; i < 3; ++i) {
                if (watched == m_radios[i]) {
                    Choose(key == Qt::Key_Up ? (i + 2) % 3 : (i + 1) % 3);
                    return true;
                }
            }
        }
    }
    return ResourceDialog::eventFilter(watched, event);
}
