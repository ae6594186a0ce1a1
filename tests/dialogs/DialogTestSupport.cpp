#include "DialogTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include <cstdlib>

namespace dialogtest {
namespace {

// One QApplication for the whole program, off screen unless a platform was chosen.
class QtEnvironment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        m_app = std::make_unique<QApplication>(m_argc, m_argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[14] = "dialogs_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace

void Fixture::SetUp()
{
    const char* dir = std::getenv("MEMORIX_BIN_DIR");
    ASSERT_TRUE(resources.Load(std::string(dir && *dir ? dir : MEMORIX_DEFAULT_BIN_DIR) + "/MEMORIXEnu.so"))
        << resources.Error();
}

CMemorixApp& Fixture::MakeApp(const std::string& catalogue)
{
    if (!app)
        app = std::make_unique<CMemorixApp>(AppServices{messages, resources, settings, catalogue});
    return *app;
}

void SaveScreenshot(QWidget& widget, const QString& name)
{
    const QString folder = QStringLiteral(MEMORIX_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(widget.grab().save(folder + "/" + name + ".png")) << name.toStdString();
}

void ClickCheckBox(QListWidget& list, int row)
{
    list.scrollToItem(list.item(row));
    QStyleOptionViewItem option;
    option.initFrom(list.viewport());
    option.rect = list.visualItemRect(list.item(row));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect box = list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
}

void ClickEntry(QListWidget& list, int row)
{
    list.scrollToItem(list.item(row));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier, list.visualItemRect(list.item(row)).center());
}

void ClickIndicator(QWidget& button)
{
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(4, button.height() / 2));
}

void Activate(QWidget& window)
{
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

} // namespace dialogtest
