// What the editor's dialogs ask of the main frame: the work-memory probe and
// the windows that follow a palette change made by a dialog. The main frame
// implements it and installs itself while it exists; without an installed
// host the probe passes and the announcements go nowhere.
#pragma once

class CPelmarkDoc;

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
    // The tool palette repaints its current tool and settings.
    virtual void RefreshToolPalette() = 0;

protected:
    ~DialogHost() = default;
};
