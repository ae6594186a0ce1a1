#include "DialogTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>

#include <cstdlib>

namespace dialogtest {

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
