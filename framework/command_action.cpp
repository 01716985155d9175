#include "framework/command_action.h"

#include "framework/cmd_ui.h"
#include "framework/command.h"

namespace framework {

CommandAction::CommandAction(CommandId id, const QString& text, QObject* parent)
    : QAction(text, parent), id_(id) {}

CommandId CommandIdOf(const QAction* action) {
    auto* command = qobject_cast<const CommandAction*>(action);
    return command ? command->id() : 0;
}

void UpdateActions(const QList<QAction*>& actions, CommandTarget& target) {
    for (QAction* action : actions) {
        CommandId id = CommandIdOf(action);
        if (id == 0) continue;
        target.QueryCommandState(id).ApplyTo(*action);
    }
}

}  // namespace framework
