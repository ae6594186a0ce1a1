#pragma once

// The About box: the program's name and the registered owner and
// organization of this installation. DoModal() returns IDOK (1).

#include "ui/shared/ResourceDialog.h"

class CMemorixApp;

class CAboutDlg final : public ResourceDialog {
    Q_OBJECT

public:
    CAboutDlg(CMemorixApp& app, const CResourceHandle& resources, QWidget* parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    CMemorixApp& m_app;
};
