#include "ui/app/main_menu_bar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace tamble {

MainMenuBar BuildMainMenuBar(QMenuBar& bar, QObject* context, const std::function<void(MainCommand)>& run)
{
    MainMenuBar built;
    for (const Menu& menu : MainMenus()) {
        if (menu.command) {
            // A menu that is a command itself.
            auto* item = bar.addAction(menu.caption);
            item->setObjectName(menu.objectName);
            if (!menu.shortcut.isEmpty())
                item->setShortcut(QKeySequence(menu.shortcut));
            const MainCommand command = *menu.command;
            QObject::connect(item, &QAction::triggered, context, [run, command] { run(command); });
            built.actions[command] = item;
            continue;
        }
        QMenu* m = bar.addMenu(menu.caption);
        m->setObjectName(menu.objectName);
        m->menuAction()->setObjectName(menu.objectName);
        m->menuAction()->setVisible(!menu.hidden);
        built.menus[menu.objectName] = m;
        for (const MenuEntry& entry : menu.entries) {
            if (!entry.command) {
                m->addSeparator();
                continue;
            }
            QAction* item = m->addAction(entry.caption);
            const MainCommand command = *entry.command;
            if (!entry.shortcut.isEmpty())
                item->setShortcut(QKeySequence(entry.shortcut));
            QObject::connect(item, &QAction::triggered, context, [run, command] { run(command); });
            built.actions[command] = item;
        }
    }
    return built;
}

} // namespace tamble
