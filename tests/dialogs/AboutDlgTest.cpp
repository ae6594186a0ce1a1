// The About box shows the registered owner and organization as they are.

#include "ui/frame/CAboutDlg.h"
#include "resources/ResourceIds.h"

#include "DialogTestSupport.h"

#include <QLabel>

namespace {

class AboutDialog : public dialogtest::Fixture {};

TEST_F(AboutDialog, ShowsTheRegisteredOwnerAndOrganization)
{
    settings.SetMachineString("RegisteredOwner", "Jane Doe");
    settings.SetMachineString("RegisteredOrganization", "Smith & Sons <b>Works</b>");
    CAboutDlg dlg(MakeApp(), resources);
    dlg.open();
    EXPECT_EQ(dlg.Control<QLabel>(res::IDC_ABOUT_OWNER)->text(), "Jane Doe");
    EXPECT_EQ(dlg.Control<QLabel>(res::IDC_ABOUT_ORGANIZATION)->text(), "Smith & Sons <b>Works</b>");
    EXPECT_EQ(dlg.Control<QLabel>(res::IDC_ABOUT_ORGANIZATION)->textFormat(), Qt::PlainText);
    dialogtest::SaveScreenshot(dlg, "about");
}

} // namespace
