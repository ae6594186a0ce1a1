#pragma once

#include "resources/ResourceAbi.h"

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QWidget;

// The first popup of a menu resource as a Qt menu (how the grid and its
// editors show their context menus). Each item is an action named
// "command<id>" whose data is the command id; choosing it calls onCommand
// with that id. Null when the resource has no popup.
std::unique_ptr<QMenu> BuildPopupMenu(const MxMenuResource& menu, QWidget* parent,
                                      std::function<void(int id)> onCommand);

// The popup's item with this command id, or null.
QAction* FindMenuCommand(const QMenu& menu, int id);
