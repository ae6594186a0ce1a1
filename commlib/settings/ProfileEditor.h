#pragma once

// The fields of one connection profile. Read() refuses values that cannot
// work and says why.

#include "commlib/core/Profile.h"

#include <QWidget>

class QComboBox;
class QFormLayout;
class QLineEdit;
class QSpinBox;

namespace commlib {

class ProfileEditor : public QWidget {
    Q_OBJECT
public:
    explicit ProfileEditor(QWidget* parent = nullptr);

    void Show(const Profile& profile);
    // False with the reason in error when a value is not acceptable.
    bool Read(Profile& profile, QString& error) const;

signals:
    // The connection kind shown changed: serial line or network.
    void SerialShown(bool serial);

private:
    void ShowLinkRows();

    QFormLayout* m_form;
    QLineEdit* m_name;
    QComboBox* m_kind;
    QLineEdit* m_host;
    QLineEdit* m_port;
    QSpinBox* m_parallel;
    QComboBox* m_serialDevice;
    QComboBox* m_baud;
    QComboBox* m_parity;
    QComboBox* m_dataBits;
    QComboBox* m_stopBits;
    QLineEdit* m_unit;
    QLineEdit* m_timeout;
    QLineEdit* m_mapFile;
    QComboBox* m_family;
    QLineEdit* m_model;
};

} // namespace commlib
