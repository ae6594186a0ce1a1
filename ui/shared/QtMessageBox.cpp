#include "ui/shared/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace {

QMessageBox::Icon IconOf(platform::MsgIcon icon)
{
    switch (icon) {
    case platform::MsgIcon::Information: return QMessageBox::Information;
    case platform::MsgIcon::Exclamation: return QMessageBox::Warning;
    case platform::MsgIcon::Question: return QMessageBox::Question;
    case platform::MsgIcon::Stop: return QMessageBox::Critical;
    case platform::MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(platform::MsgButtons buttons)
{
    switch (buttons) {
    case platform::MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case platform::MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case platform::MsgButtons::Ok: break;
    }
    return QMessageBox::Ok;
}

} // namespace

QtMessageBox::QtMessageBox(QString title)
    : m_title(std::move(title))
{
}

platform::MsgAnswer QtMessageBox::Show(const platform::MessageRequest& request)
{
    QWidget* parent = m_parent ? m_parent : QApplication::activeWindow();
    QMessageBox box(IconOf(request.icon), m_title, QString::fromStdString(request.text), ButtonsOf(request.buttons),
                    parent);
    box.setObjectName(QStringLiteral("message%1").arg(request.stringId));
    switch (box.exec()) {
    case QMessageBox::Yes: return platform::MsgAnswer::Yes;
    case QMessageBox::No: return platform::MsgAnswer::No;
    case QMessageBox::Cancel:
    case QMessageBox::Escape: return platform::MsgAnswer::Cancel;
    default: return request.buttons == platform::MsgButtons::Ok ? platform::MsgAnswer::Ok : platform::MsgAnswer::Cancel;
    }
}
