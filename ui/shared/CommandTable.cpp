#include "ui/shared/CommandTable.h"

#include "resources/CResourceHandle.h"
#include "resources/ResourceIds.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QWidget>

#include <vector>

namespace {

// Stock icons for the tool bar's buttons.
QIcon IconFor(int id)
{
    QStyle* style = QApplication::style();
    switch (id) {
    case res::ID_FILE_NEW: return style->standardIcon(QStyle::SP_FileIcon);
    case res::ID_FILE_OPEN: return style->standardIcon(QStyle::SP_DialogOpenButton);
    case res::ID_FILE_SAVE: return style->standardIcon(QStyle::SP_DialogSaveButton);
    case res::ID_APP_ABOUT: return style->standardIcon(QStyle::SP_MessageBoxInformation);
    case res::ID_EDIT_UNDO: return style->standardIcon(QStyle::SP_ArrowBack);
    case res::ID_EDIT_REDO: return style->standardIcon(QStyle::SP_ArrowForward);
    case res::ID_PLC_READ: return style->standardIcon(QStyle::SP_ArrowDown);
    case res::ID_PLC_WRITE: return style->standardIcon(QStyle::SP_ArrowUp);
    case res::ID_EDIT_CUT: return style->standardIcon(QStyle::SP_DialogDiscardButton);
    case res::ID_EDIT_COPY: return style->standardIcon(QStyle::SP_FileDialogContentsView);
    case res::ID_EDIT_PASTE: return style->standardIcon(QStyle::SP_DialogApplyButton);
    case res::ID_PLC_COMPARE: return style->standardIcon(QStyle::SP_FileDialogInfoView);
    case res::ID_PLC_MONITOR: return style->standardIcon(QStyle::SP_MediaPlay);
    case res::ID_PREV_DIFFERENCE: return style->standardIcon(QStyle::SP_MediaSeekBackward);
    case res::ID_NEXT_DIFFERENCE: return style->standardIcon(QStyle::SP_MediaSeekForward);
    default: return {};
    }
}

} // namespace

CommandTable::CommandTable(const CResourceHandle& resources, QWidget* owner)
    : QObject(owner)
    , m_resources(resources)
    , m_owner(owner)
{
}

void CommandTable::Add(int id, Handler handler, EnableRule enabled)
{
    m_commands[id] = Command{std::move(handler), std::move(enabled)};
    if (QAction* action = m_actions.count(id) ? m_actions[id] : nullptr)
        action->setEnabled(IsEnabled(id));
}

QAction* CommandTable::MakeAction(int id, const QString& menuText)
{
    if (auto it = m_actions.find(id); it != m_actions.end()) {
        if (it->second->text().isEmpty() && !menuText.isEmpty())
            it->second->setText(menuText.section(QLatin1Char('\t'), 0, 0));
        return it->second;
    }
    const QString strings = QString::fromStdString(m_resources.LoadString(id));
    const QString tip = strings.section(QLatin1Char('\n'), 1);
    auto* action = new QAction(IconFor(id), menuText.section(QLatin1Char('\t'), 0, 0), m_owner);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    const QString shortcut = menuText.section(QLatin1Char('\t'), 1);
    if (!shortcut.isEmpty())
        action->setShortcut(QKeySequence(shortcut));
    if (action->text().isEmpty())
        action->setText(tip.isEmpty() ? QString::number(id) : tip);
    action->setToolTip(tip.isEmpty() ? action->text().remove(QLatin1Char('&')) : tip);
    action->setStatusTip(strings.section(QLatin1Char('\n'), 0, 0));
    m_owner->addAction(action);
    connect(action, &QAction::triggered, this, [this, id] { Trigger(id); });
    m_actions[id] = action;
    action->setEnabled(IsEnabled(id));
    return action;
}

QAction* CommandTable::Action(int id)
{
    return MakeAction(id, QString());
}

void CommandTable::Trigger(int id)
{
    if (!IsEnabled(id))
        return;
    m_commands[id].handler();
    UpdateEnabled();
}

void CommandTable::Suspend(bool suspended)
{
    m_suspended = suspended;
    UpdateEnabled();
}

bool CommandTable::IsEnabled(int id)
{
    if (m_suspended)
        return false;
    const auto it = m_commands.find(id);
    if (it == m_commands.end() || !it->second.handler)
        return false;
    return !it->second.enabled || it->second.enabled();
}

void CommandTable::UpdateEnabled()
{
    for (auto& [id, action] : m_actions)
        action->setEnabled(IsEnabled(id));
}

void CommandTable::BuildMenuBar(const MxMenuResource& menu, QMenuBar& bar)
{
    std::vector<QMenu*> open; // the popup at each depth
    for (std::uint32_t i = 0; i < menu.count; ++i) {
        const MxMenuItem& item = menu.items[i];
        const QString text = QString::fromUtf8(item.text ? item.text : "");
        open.resize(item.depth);
        if (item.flags & MX_MENU_POPUP) {
            QMenu* popup = item.depth == 0 ? bar.addMenu(text) : open.back()->addMenu(text);
            connect(popup, &QMenu::aboutToShow, this, [this, popup] {
                UpdateEnabled();
                for (auto& [id, hook] : m_menuHooks) {
                    if (QAction* placeholder = m_actions.count(id) ? m_actions[id] : nullptr;
                        placeholder && popup->actions().contains(placeholder))
                        hook(*popup, placeholder);
                }
            });
            open.push_back(popup);
            continue;
        }
        if (open.empty())
            continue; // a command at the top of a menu bar has no popup to go into
        if (item.flags & MX_MENU_SEPARATOR)
            open.back()->addSeparator();
        else
            open.back()->addAction(MakeAction(static_cast<int>(item.commandId), text));
    }
}

void CommandTable::FillToolBar(const MxToolBarResource& buttons, QToolBar& bar)
{
    for (std::uint32_t i = 0; i < buttons.count; ++i) {
        if (buttons.buttons[i] == 0)
            bar.addSeparator();
        else
            bar.addAction(Action(static_cast<int>(buttons.buttons[i])));
    }
}

void CommandTable::SetMenuHook(int id, std::function<void(QMenu&, QAction*)> hook)
{
    m_menuHooks[id] = std::move(hook);
}
