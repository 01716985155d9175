// A menu item or toolbar button that stands for one command id.
#pragma once

#include <functional>

#include <QAction>

#include "framework/command_ids.h"

class QMenu;

namespace framework {

class CommandTarget;

class CommandAction : public QAction {
    Q_OBJECT
public:
    CommandAction(CommandId id, const QString& text, QObject* parent);
    CommandId id() const { return id_; }

private:
    CommandId id_;
};

// The command id an action carries, or 0 for any other action.
CommandId CommandIdOf(const QAction* action);

// How built menus and toolbars reach the program: `trigger` runs when an
// action is triggered, `aboutToShow` before a popup menu opens (to refresh
// its items). The main frame gives its own (MdiFrame::Hooks()).
struct CommandHooks {
    std::function<void(CommandId)> trigger;
    std::function<void(QMenu*)> aboutToShow;
};

// Gives each command action among `actions` the state its update handlers
// on the target's route give it.
void UpdateActions(const QList<QAction*>& actions, CommandTarget& target);

}  // namespace framework
