// The gradient dialog (modeless dialog 134): writes a run of palette entries
// from a start colour to an end colour. The main frame creates it hidden at
// start and shows it for a document.
#pragma once

#include <QPointer>

#include "framework/dialog.h"

class CPelmarkDoc;

class CGradientDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 134;
    CGradientDlg();

    // The document the dialog works on (set before it is shown).
    void SetDocument(CPelmarkDoc* doc) { doc_ = doc; }
    CPelmarkDoc* Document() const { return doc_; }

    // Set while the gradient was started from the palette editor.
    static bool& StartedFromPaletteEditor();
    // The palette editor that started the gradient (null otherwise).
    void SetOwnerEditor(QWidget* editor) { ownerEditor_ = editor; }
    QWidget* OwnerEditor() const { return ownerEditor_; }

private:
    CPelmarkDoc* doc_ = nullptr;
    QPointer<QWidget> ownerEditor_;
};
