// The commands that start tool and filter plug-ins: the filters (2001 to
// 2030), the text tool, colour tone and negative, the colouring fill, the
// animation maker (34012) and its preview (34027), and the hex tiling view
// (34038).
#pragma once

#include <cstdint>

#include "framework/command_ids.h"

class CPelmarkDoc;

namespace framework {
class CmdUI;
class CommandTable;
}  // namespace framework

namespace plugin_host {

inline constexpr framework::CommandId kMakeAnimationId = 34012;
inline constexpr framework::CommandId kAnimPreviewId = 34027;
inline constexpr framework::CommandId kHexTilingId = 34038;
inline constexpr framework::CommandId kToneChangeId = 32855;
inline constexpr framework::CommandId kToneInvertId = 32856;
// The close message the host sends a plug-in window.
inline constexpr uint32_t kCloseMessage = 0x0010;

// Adds the commands above to a document's table.
void DeclareToolHostCommands(framework::CommandTable& table, CPelmarkDoc* doc);

// A filter by its command id: probe, undo step 578 with the filter's name,
// the main frame locked (the colour palette bar stays usable) for the run.
// Refused while the filter record is held by a run still going.
void OnFilterCommand(CPelmarkDoc* doc, framework::CommandId id);
// Enabled while the command's lock is not set.
void OnUpdateFilterCommand(framework::CmdUI& ui);

// The text tool: refused while it runs; the tool windows are disabled for
// the run; undo step 562 "输入文字". Returns the run's result (0 refused).
int RunTextTool(CPelmarkDoc* doc);
bool TextToolRunning();
// Colour tone (578 "改变色调"), negative (578 "反相", kept whatever
// happens) and the colouring fill (578 "着色", no memory probe).
int RunToneChange(CPelmarkDoc* doc);
int RunToneInvert(CPelmarkDoc* doc);
int RunFillPlugin(CPelmarkDoc* doc);

// Make animation: shows the maker's window again when it is open, else
// starts the maker unless one runs. True while one runs.
void OnMakeAnimation(CPelmarkDoc* doc);
bool AnimMakerRunning();
// Animation preview: toggles the preview of an open maker, else starts the
// maker in preview mode.
void OnAnimPreview(CPelmarkDoc* doc);
// The hex tiling view: a second command closes it.
void OnHexTiling(CPelmarkDoc* doc);
bool HexToolRunning();

}  // namespace plugin_host
