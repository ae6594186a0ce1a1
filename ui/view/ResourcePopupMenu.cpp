#include "ui/view/ResourcePopupMenu.h"

#include <QAction>
#include <QMenu>

std::unique_ptr<QMenu> BuildPopupMenu(const MxMenuResource& menu, QWidget* parent,
                                      std::function<void(int id)> onCommand)
{
    std::uint32_t first = 0;
    while (first < menu.count && !(menu.items[first].flags & MX_MENU_POPUP))
        ++first;
    if (first == menu.count)
        return nullptr;

    auto popup = std::make_unique<QMenu>(parent);
    popup->setObjectName(QStringLiteral("popup%1").arg(menu.id));
    const std::uint16_t depth = menu.items[first].depth + 1;
    for (std::uint32_t i = first + 1; i < menu.count && menu.items[i].depth >= depth; ++i) {
        const MxMenuItem& item = menu.items[i];
        if (item.depth != depth || (item.flags & MX_MENU_POPUP))
            continue; // nested popups do not occur in the context menus
        if (item.flags & MX_MENU_SEPARATOR) {
            popup->addSeparator();
            continue;
        }
        const QString text = QString::fromUtf8(item.text ? item.text : "");
        QAction* action = popup->addAction(text.section(QLatin1Char('\t'), 0, 0));
        const QString shortcut = text.section(QLatin1Char('\t'), 1);
        if (!shortcut.isEmpty())
            action->setShortcut(QKeySequence(shortcut)); // shown only; the keys are handled elsewhere
        action->setShortcutContext(Qt::WidgetShortcut);
        const int id = static_cast<int>(item.commandId);
        action->setObjectName(QStringLiteral("command%1").arg(id));
        action->setData(id);
        QObject::connect(action, &QAction::triggered, popup.get(), [onCommand, id] { onCommand(id); });
    }
    return popup;
}

QAction* FindMenuCommand(const QMenu& menu, int id)
{
    for (QAction* action : menu.actions()) {
        if (!action->isSeparator() && action->data().toInt() == id)
            return action;
    }
    return nullptr;
}
