// Commands by numeric id, and the tables that bind them to handlers.
//
// Every command target (application, main frame, child frame, view,
// document, dialog) has one command table, built on first use by its
// DeclareCommands. An entry takes one id or a range of ids and carries either
// a command handler or an update handler (which decides how the command shows
// in menus and toolbars). For each kind the first entry of the table that
// takes the id wins, so a derived class declares its entries first and then
// calls its base class's DeclareCommands:
//
//   void CanvasView::DeclareCommands(framework::CommandTable& t) {
//       t.OnRange(34002, 34007, this, &CanvasView::OnZoomCommand)
//        .OnUpdateRange(34002, 34007, this, &CanvasView::OnUpdateZoom)
//        .On(1028, [this] { CenterImage(); });
//       framework::View::DeclareCommands(t);
//   }
//
// Dialogs also receive control notifications (text changed, selection
// changed, ...) through the same table; a click is the Command notification.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/command_ids.h"

namespace framework {

class CmdUI;

// What happened to a control or command. Command is a button click, a menu,
// toolbar or accelerator command.
enum class Notify : uint16_t {
    Command = 0,
    Changed,    // edit text or spin box value (also when set by code)
    SelChange,  // combo box item chosen by the user, list current row changed
    DblClk,     // list item double-clicked
    SetFocus,
    KillFocus,
    Scroll,     // slider or scroll bar value (also when set by code)
};

class CommandTable {
public:
    using Handler = std::function<void()>;
    using RangeHandler = std::function<void(CommandId)>;
    using UpdateHandler = std::function<void(CmdUI&)>;

    CommandTable& On(CommandId id, Handler handler);
    CommandTable& OnRange(CommandId first, CommandId last, RangeHandler handler);
    CommandTable& OnUpdate(CommandId id, UpdateHandler handler);
    CommandTable& OnUpdateRange(CommandId first, CommandId last, UpdateHandler handler);
    CommandTable& OnNotify(CommandId id, Notify code, Handler handler);
    CommandTable& OnNotifyRange(CommandId first, CommandId last, Notify code, RangeHandler handler);

    template <class T>
    CommandTable& On(CommandId id, T* object, void (T::*method)()) {
        return On(id, [object, method] { (object->*method)(); });
    }
    template <class T>
    CommandTable& OnRange(CommandId first, CommandId last, T* object, void (T::*method)(CommandId)) {
        return OnRange(first, last, [object, method](CommandId id) { (object->*method)(id); });
    }
    template <class T>
    CommandTable& OnUpdate(CommandId id, T* object, void (T::*method)(CmdUI&)) {
        return OnUpdate(id, [object, method](CmdUI& ui) { (object->*method)(ui); });
    }
    template <class T>
    CommandTable& OnUpdateRange(CommandId first, CommandId last, T* object,
                                void (T::*method)(CmdUI&)) {
        return OnUpdateRange(first, last, [object, method](CmdUI& ui) { (object->*method)(ui); });
    }

    // The handler of the first entry that takes the id with that code, or an
    // empty function. Returned by value, so it stays callable even when the
    // handler destroys the table's owner.
    RangeHandler FindHandler(CommandId id, Notify code = Notify::Command) const;
    UpdateHandler FindUpdateHandler(CommandId id) const;

    size_t size() const { return entries_.size(); }

private:
    struct Entry {
        CommandId first;
        CommandId last;
        bool update;
        Notify code;
        RangeHandler handler;
        UpdateHandler updateHandler;
    };
    std::vector<Entry> entries_;
};

// One command or update request travelling along a route of targets.
struct CommandRequest {
    enum Kind {
        Execute,  // run the command handler
        Update,   // run the update handler with `ui`
        Probe,    // only ask whether a command handler exists
    };
    Kind kind = Execute;
    CommandId id = 0;
    Notify code = Notify::Command;
    CmdUI* ui = nullptr;
};

class CommandTarget {
public:
    CommandTarget();
    virtual ~CommandTarget();
    CommandTarget(const CommandTarget&) = delete;
    CommandTarget& operator=(const CommandTarget&) = delete;

    // Offers the request to this target's route; true when a target took it.
    // The default route is the target's own table; views, frames and the main
    // frame extend it (view -> document; child frame -> view -> itself; main
    // frame -> active child frame -> itself -> application).
    virtual bool RouteCommand(CommandRequest& request);

    // Only this target's own table.
    bool DispatchOwn(CommandRequest& request);

    // Runs a command the way a menu, toolbar or accelerator does: when an
    // update handler on the route disables it, nothing happens. True when a
    // handler ran.
    bool ExecuteCommand(CommandId id);

    // How the command shows: the update handler on the route decides; when
    // none sets the enabled state, the command is enabled exactly when some
    // target on the route has a handler for it.
    CmdUI QueryCommandState(CommandId id);

    bool HasCommandHandler(CommandId id);

    const CommandTable& Commands();

protected:
    // Adds this class's entries; overrides add theirs first and then call the
    // base class. Called once, on the first request.
    virtual void DeclareCommands(CommandTable& table);

private:
    std::unique_ptr<CommandTable> table_;
};

}  // namespace framework
