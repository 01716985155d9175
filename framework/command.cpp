#include "framework/command.h"

#include "framework/cmd_ui.h"

namespace framework {

CommandTable& CommandTable::On(CommandId id, Handler handler) {
    return OnNotify(id, Notify::Command, std::move(handler));
}

CommandTable& CommandTable::OnRange(CommandId first, CommandId last, RangeHandler handler) {
    return OnNotifyRange(first, last, Notify::Command, std::move(handler));
}

CommandTable& CommandTable::OnUpdate(CommandId id, UpdateHandler handler) {
    return OnUpdateRange(id, id, std::move(handler));
}

CommandTable& CommandTable::OnUpdateRange(CommandId first, CommandId last, UpdateHandler handler) {
    if (handler && first <= last)
        entries_.push_back({first, last, true, Notify::Command, nullptr, std::move(handler)});
    return *this;
}

CommandTable& CommandTable::OnNotify(CommandId id, Notify code, Handler handler) {
    if (!handler) return *this;
    return OnNotifyRange(id, id, code, [h = std::move(handler)](CommandId) { h(); });
}

CommandTable& CommandTable::OnNotifyRange(CommandId first, CommandId last, Notify code,
                                          RangeHandler handler) {
    if (handler && first <= last)
        entries_.push_back({first, last, false, code, std::move(handler), nullptr});
    return *this;
}

CommandTable::RangeHandler CommandTable::FindHandler(CommandId id, Notify code) const {
    for (const Entry& e : entries_)
        if (!e.update && e.code == code && id >= e.first && id <= e.last) return e.handler;
    return {};
}

CommandTable::UpdateHandler CommandTable::FindUpdateHandler(CommandId id) const {
    for (const Entry& e : entries_)
        if (e.update && id >= e.first && id <= e.last) return e.updateHandler;
    return {};
}

CommandTarget::CommandTarget() = default;
CommandTarget::~CommandTarget() = default;

void CommandTarget::DeclareCommands(CommandTable&) {}

const CommandTable& CommandTarget::Commands() {
    if (!table_) {
        table_ = std::make_unique<CommandTable>();
        DeclareCommands(*table_);
    }
    return *table_;
}

bool CommandTarget::DispatchOwn(CommandRequest& request) {
    const CommandTable& table = Commands();
    switch (request.kind) {
    case CommandRequest::Execute: {
        // A copy: the handler may destroy this target.
        CommandTable::RangeHandler handler = table.FindHandler(request.id, request.code);
        if (!handler) return false;
        handler(request.id);
        return true;
    }
    case CommandRequest::Update: {
        CommandTable::UpdateHandler handler = table.FindUpdateHandler(request.id);
        if (!handler || !request.ui) return false;
        handler(*request.ui);
        return true;
    }
    case CommandRequest::Probe:
        return bool(table.FindHandler(request.id, request.code));
    }
    return false;
}

bool CommandTarget::RouteCommand(CommandRequest& request) { return DispatchOwn(request); }

bool CommandTarget::ExecuteCommand(CommandId id) {
    CmdUI test(id);
    CommandRequest update{CommandRequest::Update, id, Notify::Command, &test};
    RouteCommand(update);
    if (test.EnableChanged() && !test.IsEnabled()) return false;
    CommandRequest run{CommandRequest::Execute, id, Notify::Command, nullptr};
    return RouteCommand(run);
}

CmdUI CommandTarget::QueryCommandState(CommandId id) {
    CmdUI ui(id);
    CommandRequest update{CommandRequest::Update, id, Notify::Command, &ui};
    RouteCommand(update);
    if (!ui.EnableChanged()) ui.Enable(HasCommandHandler(id));
    return ui;
}

bool CommandTarget::HasCommandHandler(CommandId id) {
    CommandRequest probe{CommandRequest::Probe, id, Notify::Command, nullptr};
    return RouteCommand(probe);
}

}  // namespace framework
