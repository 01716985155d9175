// What the editor's dialogs ask of the main frame: the work-memory probe and
// the windows that follow a palette change made by a dialog. The main frame
// implements it and installs itself while it exists; without an installed
// host the probe passes and the announcements go nowhere.
#pragma once

#include <vector>

#include <QString>

#include "dialogs/color_choice.h"

class CGradientDlg;
class CPelmarkDoc;
class QWidget;

// One named colour of the colour dictionary.
struct NamedColor {
    QString name;
    ChosenColor color;
};

class DialogHost {
public:
    // The host the dialogs talk to, or null.
    static DialogHost* Installed();
    static void Install(DialogHost* host);
    // Clears the installed host when it is `host` (a later one stays).
    static void Uninstall(DialogHost* host);

    // The work-memory probe: 0 when the memory is short (the user was told).
    virtual int ProbeWorkMemory(int mode) = 0;
    // The active view removes the palette entries no layer uses.
    virtual void DeleteUnusedColors() = 0;
    // The colour palette bar reloads the palette.
    virtual void PaletteChanged() = 0;
    // The active view repaints.
    virtual void RepaintActiveView() = 0;
    // The layer palette takes the document and the composite is rebuilt.
    virtual void LayersChanged(CPelmarkDoc* doc) = 0;
    // The plug-in windows hear that the active image changed.
    virtual void ImageDrawn() = 0;
    // One pen stamp at an image point on the active view, clipped to the
    // image; repaint: its box is repainted at once.
    virtual void PlotOnActiveView(int /*x*/, int /*y*/, bool /*repaint*/) {}
    // The active view after an edit: mode 0 fully (palettes, every layer),
    // mode 1 recomposes the whole image; both repaint.
    virtual void RefreshActiveViewMode(int /*mode*/) {}
    // The tool palette repaints its current tool and settings.
    virtual void RefreshToolPalette() = 0;
    // Whether a canvas view is active.
    virtual bool HasActiveView() { return false; }
    // The application's preset menu shows the four grid presets again.
    virtual void RefreshGridPresetMenu() {}
    // After the settings changed: the active view takes the current grid
    // preset as at its activation, its document's edit mode ends, and the
    // plug-in windows hear the grid size.
    virtual void ApplyGridSettingsToActiveView() {}
    // The main window takes input again (or not) after a dialog that
    // disabled it.
    virtual void EnableMainWindow(bool /*enabled*/) {}
    // The gradient dialog takes the document and is shown beside a dialog
    // (the main window stays enabled); the dialog, or null when there is none.
    virtual CGradientDlg* ShowGradientDialogFor(CPelmarkDoc*) { return nullptr; }
    // The gradient dialog and the colour palette bar take input beside the
    // window-modal `dialog` that is open (they belong to the main window,
    // which the dialog blocks); null gives them back to the main window.
    virtual void LendToolWindows(QWidget* /*dialog*/) {}

    // The colour dictionary, in file order; the index of an entry is its
    // row in the colour edit dialog's list. Without a dictionary: empty,
    // and adding or deleting answers false.
    virtual std::vector<NamedColor> ColorDictionary() { return {}; }
    // Appends an entry (the dictionary is then marked changed); false when
    // it was refused (a comma or line break in the name) or memory is short.
    virtual bool AddColorDictionaryEntry(const NamedColor&) { return false; }
    virtual bool DeleteColorDictionaryEntry(int) { return false; }
    // Whether the colour edit dialog shows its dictionary part (1) or not
    // (0); the colour palette bar keeps it between runs.
    virtual int ColorDictionaryMode() { return 0; }
    virtual void SetColorDictionaryMode(int) {}

protected:
    ~DialogHost() = default;
};
