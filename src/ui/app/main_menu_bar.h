#pragma once
// The main window's menu bar built from its menu table: each item runs its command, a menu that is
// a command itself is an item of the bar, and each menu is named by its form name.

#include "program/main_window_rules.h"

#include <QString>
#include <functional>
#include <map>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

namespace tamble {

struct MainMenuBar {
    std::map<MainCommand, QAction*> actions;
    std::map<QString, QMenu*> menus;   // by object name
};

MainMenuBar BuildMainMenuBar(QMenuBar& bar, QObject* context, const std::function<void(MainCommand)>& run);

} // namespace tamble
