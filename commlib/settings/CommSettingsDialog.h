#pragma once

// The profile dialog. In choosing mode it lists every profile, lets the user
// add, edit and delete them, and returns the chosen one; otherwise it edits
// only the given profile. Edits are saved on OK; a value that cannot work
// keeps the dialog open with the reason shown in it.

#include "commlib/core/Profile.h"

#include <QDialog>

#include <map>

class QLabel;
class QListWidget;
class QPushButton;

namespace commlib {

class ProfileEditor;

class CommSettingsDialog : public QDialog {
    Q_OBJECT
public:
    CommSettingsDialog(const QString& title, int connection, bool chooseProfile, QWidget* parent = nullptr);

    int Connection() const { return m_current; }
    QString ConnectionName() const;

    void accept() override;

private:
    bool Keep(); // reads the editor into m_profiles; false with the reason shown
    void Select(int row);
    void AddProfile();
    void DeleteProfile();
    void Refill();
    void DetectLine();

    std::map<int, Profile> m_profiles;
    std::vector<int> m_removed;
    int m_current = 0;
    QListWidget* m_list = nullptr;
    ProfileEditor* m_editor;
    QLabel* m_error;
    QPushButton* m_delete = nullptr;
    QPushButton* m_detect = nullptr;
    QLabel* m_detected = nullptr;
};

} // namespace commlib
