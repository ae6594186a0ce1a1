#include "ui/frame/CAboutDlg.h"

#include "app/CMemorixApp.h"
#include "resources/LanguageLoader.h"
#include "resources/ResourceIds.h"

#include <QLabel>

#include <string>

CAboutDlg::CAboutDlg(CMemorixApp& app, const CResourceHandle& resources, QWidget* parent)
    : ResourceDialog(resources, res::IDD_ABOUTBOX, parent)
    , m_app(app)
{
}

void CAboutDlg::OnInitDialog()
{
    std::string owner;
    std::string organization;
    GetRegisteredUser(m_app.Settings(), owner, organization);
    // A language library without these fields simply does not show them.
    if (auto* label = Control<QLabel>(res::IDC_ABOUT_OWNER))
        label->setText(QString::fromStdString(owner));
    if (auto* label = Control<QLabel>(res::IDC_ABOUT_ORGANIZATION))
        label->setText(QString::fromStdString(organization));
}
