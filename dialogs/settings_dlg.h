// The settings dialog (dialog 218 "参数设置", Ctrl+K): the general
// preferences and the four grid presets, one tab per preset. The dialog
// works on a copy of the presets and the current preset: OK commits and
// writes them, Cancel and the close box leave the store, the views and the
// settings file as they were.
#pragma once

#include "dialogs/color_choice.h"
#include "framework/dialog.h"
#include "view/grid_presets.h"

class ColorButton;
class QTabBar;

class CSettingsDlg : public framework::Dialog {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 218;
    static constexpr int kAntiAliasId = 1103;
    static constexpr int kMoveStepId = 1102;
    static constexpr int kKeepWindowSizeId = 1078;
    static constexpr int kReopenFilesId = 1100;
    static constexpr int kTabId = 1161;
    static constexpr int kMainWidthId = 1081;
    static constexpr int kMainHeightId = 1082;
    static constexpr int kMainColorId = 1112;
    static constexpr int kMainSnapId = 1104;
    static constexpr int kSubWidthId = 1084;
    static constexpr int kSubHeightId = 1085;
    static constexpr int kSubColorId = 1113;
    static constexpr int kSubSnapId = 1088;

    explicit CSettingsDlg(QWidget* parent = nullptr);

    // Reads the settings (LoadSettings); fill: the controls show them.
    void LoadSettings(int fill);

    // The presets being edited and the preset of the tab shown.
    const grid::GridPresets& EditedPresets() const { return presets_; }
    int EditedPreset() const { return current_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void DeclareCommands(framework::CommandTable& table) override;

private:
    void OnTabChanged(int tab);
    void OnColorButton(bool sub);
    // The current preset takes the size fields and snapping boxes.
    void TakeGridControls();
    // The grid controls and colour buttons show the current preset.
    void ShowGridControls();
    int CellField(int id) const;

    grid::GridPresets presets_{};
    int current_ = 1;
    QTabBar* tabs_ = nullptr;
    ColorButton* mainColor_ = nullptr;
    ColorButton* subColor_ = nullptr;
};
