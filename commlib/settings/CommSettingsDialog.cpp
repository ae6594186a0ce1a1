#include "commlib/settings/CommSettingsDialog.h"

#include "commlib/core/ProfileStore.h"
#include "commlib/settings/LineDetection.h"
#include "commlib/settings/ProfileEditor.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace commlib {

CommSettingsDialog::CommSettingsDialog(const QString& title, int connection, bool chooseProfile, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(chooseProfile ? QStringLiteral("CommSettingsDialog") : QStringLiteral("OnlineSettingsDialog"));
    const QString what = chooseProfile ? tr("Communication settings") : tr("Online settings");
    setWindowTitle(title.isEmpty() ? what : title + QStringLiteral(" - ") + what);

    const std::vector<int> numbers = ProfileStore::Numbers();
    for (int n : numbers)
        if (auto p = ProfileStore::Load(n))
            m_profiles[n] = *p;
    m_current = m_profiles.count(connection) ? connection : 0;
    if (!m_profiles.count(m_current))
        m_profiles[0] = DefaultProfile();

    m_editor = new ProfileEditor(this);
    m_error = new QLabel(this);
    m_error->setObjectName(QStringLiteral("error"));
    m_error->setStyleSheet(QStringLiteral("color: #b00000"));
    m_error->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CommSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CommSettingsDialog::reject);

    auto* right = new QVBoxLayout;
    right->addWidget(m_editor);
    if (chooseProfile) {
        // Finds the baud rate and parity under which the unit of a serial
        // profile answers, and puts them into the profile.
        m_detect = new QPushButton(tr("Detect line settings"), this);
        m_detect->setObjectName(QStringLiteral("detectLine"));
        m_detected = new QLabel(this);
        m_detected->setObjectName(QStringLiteral("detected"));
        m_detected->setWordWrap(true);
        right->addWidget(m_detect, 0, Qt::AlignLeft);
        right->addWidget(m_detected);
        connect(m_detect, &QPushButton::clicked, this, &CommSettingsDialog::DetectLine);
        connect(m_editor, &ProfileEditor::SerialShown, m_detect, &QWidget::setVisible);
    }
    right->addStretch();

    auto* top = new QHBoxLayout;
    if (chooseProfile) {
        auto* left = new QVBoxLayout;
        m_list = new QListWidget(this);
        m_list->setObjectName(QStringLiteral("profiles"));
        auto* add = new QPushButton(tr("&New"), this);
        add->setObjectName(QStringLiteral("new"));
        m_delete = new QPushButton(tr("&Delete"), this);
        m_delete->setObjectName(QStringLiteral("delete"));
        auto* row = new QHBoxLayout;
        row->addWidget(add);
        row->addWidget(m_delete);
        left->addWidget(m_list);
        left->addLayout(row);
        top->addLayout(left);
        connect(add, &QPushButton::clicked, this, &CommSettingsDialog::AddProfile);
        connect(m_delete, &QPushButton::clicked, this, &CommSettingsDialog::DeleteProfile);
        connect(m_list, &QListWidget::currentRowChanged, this, &CommSettingsDialog::Select);
    }
    top->addLayout(right);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_error);
    layout->addWidget(buttons);

    m_editor->Show(m_profiles[m_current]);
    if (m_detect)
        m_detect->setVisible(m_profiles[m_current].kind == LinkKind::Rtu);
    if (m_list)
        Refill();
}

QString CommSettingsDialog::ConnectionName() const
{
    auto it = m_profiles.find(m_current);
    return it == m_profiles.end() ? QString() : QString::fromStdString(it->second.name);
}

void CommSettingsDialog::Refill()
{
    const QSignalBlocker block(m_list);
    m_list->clear();
    int row = 0;
    for (const auto& [number, profile] : m_profiles) {
        m_list->addItem(QStringLiteral("%1  %2").arg(number).arg(QString::fromStdString(profile.name)));
        m_list->item(m_list->count() - 1)->setData(Qt::UserRole, number);
        if (number == m_current)
            row = m_list->count() - 1;
    }
    m_list->setCurrentRow(row);
    m_delete->setEnabled(m_current != 0);
}

bool CommSettingsDialog::Keep()
{
    QString error;
    Profile profile;
    if (!m_editor->Read(profile, error)) {
        m_error->setText(error);
        adjustSize();
        return false;
    }
    m_error->clear();
    m_profiles[m_current] = profile;
    return true;
}

void CommSettingsDialog::Select(int row)
{
    if (row < 0)
        return;
    const int number = m_list->item(row)->data(Qt::UserRole).toInt();
    if (number == m_current)
        return;
    if (!Keep()) {
        Refill(); // stay on the profile with the bad value
        return;
    }
    m_current = number;
    m_editor->Show(m_profiles[m_current]);
    if (m_detected)
        m_detected->clear();
    Refill();
}

void CommSettingsDialog::AddProfile()
{
    if (!Keep())
        return;
    int number = 1;
    while (m_profiles.count(number))
        ++number;
    Profile profile = DefaultProfile();
    profile.name = tr("Connection %1").arg(number).toStdString();
    m_profiles[number] = profile;
    m_current = number;
    m_editor->Show(profile);
    Refill();
}

void CommSettingsDialog::DeleteProfile()
{
    if (m_current == 0)
        return;
    m_profiles.erase(m_current);
    m_removed.push_back(m_current);
    m_current = 0;
    m_error->clear();
    m_editor->Show(m_profiles[0]);
    Refill();
}

void CommSettingsDialog::DetectLine()
{
    if (!Keep())
        return;
    m_detected->clear();
    const LineDetection detection = DetectLineSettings(m_current, m_profiles[m_current]);
    if (detection.found) {
        m_profiles[m_current] = detection.profile;
        m_editor->Show(detection.profile);
    }
    m_detected->setText(QString::fromStdString(detection.message));
    adjustSize();
}

void CommSettingsDialog::accept()
{
    if (!Keep())
        return;
    for (int number : m_removed)
        ProfileStore::Remove(number);
    for (const auto& [number, profile] : m_profiles)
        ProfileStore::Save(number, profile);
    QDialog::accept();
}

} // namespace commlib
