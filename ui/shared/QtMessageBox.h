#pragma once

#include "platform/MessageBox.h"

#include <QString>

class QWidget;

// Messages in modal message boxes over a parent window (the active window when
// none is set). The box's object name is "message<string number>", so tests can
// find and answer it.
class QtMessageBox final : public platform::IMessageBox {
public:
    explicit QtMessageBox(QString title = QStringLiteral("Memorix"));

    platform::MsgAnswer Show(const platform::MessageRequest& request) override;

    void SetParent(QWidget* parent) { m_parent = parent; }
    void SetTitle(const QString& title) { m_title = title; }

private:
    QWidget* m_parent = nullptr;
    QString m_title;
};
