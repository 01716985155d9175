// The gradient dialog (modeless dialog 134 "制作渐变色"): writes a run of
// palette entries of a document from a start colour to an end colour. The
// main frame creates it hidden at start and shows it for a document with
// the main window disabled; the dialog stays usable because its owner holds
// it as a transient window, not as a child.
//
// A click on a swatch takes the document's current colour; a double click
// edits the swatch's colour in the colour editor. OK checks the start and
// count against the document's colour mode first: a refused run shows its
// message and changes nothing (no undo step, no modified mark, the main
// window stays disabled). A run that fits enables the main window, opens
// undo step 701 "生成渐变颜色" and writes the entries, keeping their alpha.
// Cancel, Esc and the close box enable the main window and hide the dialog.
#pragma once

#include <QPointer>

#include "dialogs/color_choice.h"
#include "framework/dialog.h"

class CPelmarkDoc;
class ColorButton;

class CGradientDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 134;
    static constexpr int kStartColorId = 245;  // "开始颜色"
    static constexpr int kEndColorId = 246;    // "结束颜色"
    static constexpr int kStartId = 265;       // "开始位置", 0..255
    static constexpr int kCountId = 268;       // "中间阶层数", 1..256

    // One end of the ramp: its colour, whether the user edited it (1) or
    // took it from the palette (0), and the palette index it came from.
    struct RampEnd {
        ChosenColor color;
        int edited = 0;
        int index = 0;
    };

    CGradientDlg();
    ~CGradientDlg() override;

    // The document the dialog works on (null: none). The frame forgets a
    // closed document through SetDocument(nullptr).
    void SetDocument(CPelmarkDoc* doc) { m_pDoc = doc; }
    CPelmarkDoc* Document() const { return m_pDoc; }
    // The window the dialog stays above while it is shown (it is no child of
    // it, so it keeps its own enabled state).
    void SetTransientOwner(QWidget* owner) { m_pOwner = owner; }
    // Whether the main window was disabled for this showing; OK and Cancel
    // enable it again only then.
    void SetOwnerDisabled(bool disabled) { m_bOwnerDisabled = disabled; }
    bool OwnerDisabled() const { return m_bOwnerDisabled; }

    // Both colours become palette entry 0, the start field the document's
    // current colour index (0 without a document), the count 8; a count that
    // would run past the end of the mode's entries is shortened (16 - start
    // in the 16-colour mode past 8, 256 - start past 248).
    void InitValues();

    // Set while the gradient was started from the palette editor.
    static bool& StartedFromPaletteEditor();
    // The palette editor that started the gradient (null otherwise).
    void SetOwnerEditor(QWidget* editor) { m_pOwnerEditor = editor; }
    QWidget* OwnerEditor() const { return m_pOwnerEditor; }

    const RampEnd& StartColor() const { return m_Start; }
    const RampEnd& EndColor() const { return m_End; }
    int m_nStart = 0;
    int m_nCount = 8;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(framework::DataExchange& dx) override;
    void DeclareCommands(framework::CommandTable& table) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    RampEnd& endOf(int id) { return id == kStartColorId ? m_Start : m_End; }
    ColorButton* buttonOf(int id) const { return id == kStartColorId ? m_pStartButton : m_pEndButton; }
    void showEnds();
    // A click: the document's current colour; a double click: the colour
    // editor on the swatch's colour.
    void OnSwatchClicked(int id);
    void OnSwatchDoubleClicked(int id);
    // Leaving an edit: the fields are checked, then the left one clamped.
    void OnLeaveField(int id);
    void enableOwner();

    QPointer<QWidget> m_pOwner;
    QPointer<QWidget> m_pOwnerEditor;
    CPelmarkDoc* m_pDoc = nullptr;
    bool m_bOwnerDisabled = false;
    RampEnd m_Start;
    RampEnd m_End;
    ColorButton* m_pStartButton = nullptr;
    ColorButton* m_pEndButton = nullptr;
};
