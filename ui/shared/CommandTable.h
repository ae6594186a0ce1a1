#pragma once

// The program's commands by id: what each does and when it is enabled. Menus
// and tool bars are built from the language library's resources and take
// their actions from here, so a command exists once however many places show it.

#include "resources/ResourceAbi.h"

#include <QObject>

#include <functional>
#include <map>

class CResourceHandle;
class QAction;
class QMenuBar;
class QMenu;
class QToolBar;
class QWidget;

class CommandTable final : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;
    using EnableRule = std::function<bool()>;

    CommandTable(const CResourceHandle& resources, QWidget* owner);

    // A command without an enable rule is always enabled; an id without a
    // handler stays disabled.
    void Add(int id, Handler handler, EnableRule enabled = {});
    QAction* Action(int id);
    void Trigger(int id);
    bool IsEnabled(int id);

    // Applies every enable rule to its action.
    void UpdateEnabled();
    // While suspended (a transfer runs) every command is disabled.
    void Suspend(bool suspended);

    void BuildMenuBar(const MxMenuResource& menu, QMenuBar& bar);
    void FillToolBar(const MxToolBarResource& buttons, QToolBar& bar);

    // Called when a menu is about to show the item of this id (the recent-file list).
    void SetMenuHook(int id, std::function<void(QMenu& menu, QAction* placeholder)> hook);

private:
    struct Command {
        Handler handler;
        EnableRule enabled;
    };

    QAction* MakeAction(int id, const QString& menuText);

    const CResourceHandle& m_resources;
    QWidget* m_owner;
    std::map<int, Command> m_commands;
    std::map<int, QAction*> m_actions;
    bool m_suspended = false;
    std::map<int, std::function<void(QMenu&, QAction*)>> m_menuHooks;
};
