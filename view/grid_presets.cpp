#include "view/grid_presets.h"

#include <algorithm>

#include <QStringList>

#include "framework/application.h"

namespace grid {

namespace {
GridSettings g_settings;
// The application generation the settings were read for (0: never).
unsigned g_loadedFor = 0;

const QString kSettingsSection = QStringLiteral("Settings");
const QString kGridSection = QStringLiteral("Grid");

QString PresetKey(bool sub, int index) {
    return (sub ? QStringLiteral("SubSnap%1") : QStringLiteral("MainSnap%1")).arg(index);
}

void ApplyValue(const std::array<int, 6>& v, GridPreset& p, bool sub) {
    int& width = sub ? p.subWidth : p.mainWidth;
    int& height = sub ? p.subHeight : p.mainHeight;
    std::array<int, 3>& color = sub ? p.subColor : p.mainColor;
    const int bit = sub ? 2 : 1;
    width = ClampGridCell(v[0]);
    height = ClampGridCell(v[1]);
    color = {ClampGridComponent(v[2]), ClampGridComponent(v[3]), ClampGridComponent(v[4])};
    if (v[5]) p.enabled |= bit;
    else p.enabled &= ~bit;
}

int ColorComponent(const std::array<int, 3>& color, int component) {
    return component >= 0 && component <= 2 ? color[size_t(component)] : component;
}
}  // namespace

int ClampGridCell(int size) { return std::clamp(size, 1, kMaxGridCell); }
int ClampGridComponent(int value) { return std::clamp(value, 0, 255); }
int ClampPresetIndex(int index) { return std::clamp(index, 0, kPresetCount - 1); }

std::optional<std::array<int, 6>> ParseGridPresetValue(const QString& text) {
    QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 6) return std::nullopt;
    std::array<int, 6> values{};
    for (int i = 0; i < 6; ++i) {
        bool ok = false;
        values[size_t(i)] = parts[i].trimmed().toInt(&ok);
        if (!ok) return std::nullopt;
    }
    return values;
}

std::array<int, 6> GridPresetValues(const GridPreset& p, bool sub) {
    const std::array<int, 3>& c = sub ? p.subColor : p.mainColor;
    return {ClampGridCell(sub ? p.subWidth : p.mainWidth),
            ClampGridCell(sub ? p.subHeight : p.mainHeight),
            ClampGridComponent(c[0]),
            ClampGridComponent(c[1]),
            ClampGridComponent(c[2]),
            (p.enabled & (sub ? 2 : 1)) ? 1 : 0};
}

QString GridPresetMenuText(int index) {
    EnsureGridSettingsLoaded();
    const GridPreset& p = g_settings.presets[size_t(ClampPresetIndex(index))];
    return QStringLiteral("%1.  %2,%3  %4,%5")
        .arg(index + 1)
        .arg(p.mainWidth)
        .arg(p.mainHeight)
        .arg(p.subWidth)
        .arg(p.subHeight);
}

GridSettings& GetGridSettings() { return g_settings; }

bool ReadGridPreset(bool sub, int index) {
    framework::Application* app = framework::Application::Instance();
    if (!app || index < 0 || index >= kPresetCount) return false;
    auto v = ParseGridPresetValue(app->GetProfileString(kGridSection, PresetKey(sub, index)));
    if (!v) return false;
    ApplyValue(*v, g_settings.presets[size_t(index)], sub);
    return true;
}

void LoadGridSettings() {
    framework::Application* app = framework::Application::Instance();
    g_settings = GridSettings{};
    g_loadedFor = app ? framework::Application::SettingsGeneration() : 0;
    if (!app) return;
    g_settings.current = ClampPresetIndex(app->GetProfileInt(kSettingsSection, QStringLiteral("Kankyou_Grid"), 1));
    for (int i = 0; i < kPresetCount; ++i) ReadGridPreset(false, i);
    if (app->GetProfileInt(kSettingsSection, QStringLiteral("Main_Grid_Disp"), 0)) g_settings.displayFlags |= 1;
    for (int i = 0; i < kPresetCount; ++i) ReadGridPreset(true, i);
    if (app->GetProfileInt(kSettingsSection, QStringLiteral("Sub_Grid_Disp"), 0)) g_settings.displayFlags |= 2;
}

void EnsureGridSettingsLoaded() {
    if (framework::Application::Instance() && g_loadedFor != framework::Application::SettingsGeneration())
        LoadGridSettings();
}

void WriteGridPreset(bool sub, int index, const std::array<int, 6>& v) {
    framework::Application* app = framework::Application::Instance();
    if (!app || index < 0 || index >= kPresetCount) return;
    app->WriteProfileString(kGridSection, PresetKey(sub, index),
                            QStringLiteral("%1,%2,%3,%4,%5,%6")
                                .arg(v[0])
                                .arg(v[1])
                                .arg(v[2])
                                .arg(v[3])
                                .arg(v[4])
                                .arg(v[5]));
}

void SaveGridPresets() {
    EnsureGridSettingsLoaded();
    for (int i = 0; i < kPresetCount; ++i) WriteGridPreset(false, i, GridPresetValues(g_settings.presets[size_t(i)], false));
    for (int i = 0; i < kPresetCount; ++i) WriteGridPreset(true, i, GridPresetValues(g_settings.presets[size_t(i)], true));
}

void CommitGridPresets(const GridPresets& presets, int current) {
    EnsureGridSettingsLoaded();
    for (int i = 0; i < kPresetCount; ++i) {
        GridPreset& p = g_settings.presets[size_t(i)];
        p = presets[size_t(i)];
        ApplyValue(GridPresetValues(p, false), p, false);
        ApplyValue(GridPresetValues(p, true), p, true);
    }
    StoreCurrentPreset(current);
    SaveGridPresets();
}

void SaveGridDisplayFlags() {
    EnsureGridSettingsLoaded();
    if (framework::Application* app = framework::Application::Instance()) {
        app->WriteProfileInt(kSettingsSection, QStringLiteral("Main_Grid_Disp"), (g_settings.displayFlags & 1) ? 1 : 0);
        app->WriteProfileInt(kSettingsSection, QStringLiteral("Sub_Grid_Disp"), (g_settings.displayFlags & 2) ? 1 : 0);
    }
}

void SetGridDisplayFlags(int flags) {
    EnsureGridSettingsLoaded();
    g_settings.displayFlags = flags & 3;
    SaveGridDisplayFlags();
}

int ToggleCurrentSnap(int bit) {
    EnsureGridSettingsLoaded();
    GridPreset& p = g_settings.presets[size_t(g_settings.current)];
    p.enabled ^= bit;
    WriteGridPreset(false, g_settings.current, GridPresetValues(p, false));
    WriteGridPreset(true, g_settings.current, GridPresetValues(p, true));
    return p.enabled;
}

void StoreCurrentPreset(int preset) {
    EnsureGridSettingsLoaded();
    g_settings.current = ClampPresetIndex(preset);
    if (framework::Application* app = framework::Application::Instance())
        app->WriteProfileInt(kSettingsSection, QStringLiteral("Kankyou_Grid"), g_settings.current);
}

namespace {
const GridPreset& Current() {
    EnsureGridSettingsLoaded();
    return g_settings.Current();
}
}  // namespace

int GetMainGridWidth() { return Current().mainWidth; }
int GetMainGridHeight() { return Current().mainHeight; }
int GetSubGridWidth() { return Current().subWidth; }
int GetSubGridHeight() { return Current().subHeight; }
int GetGridDisplayFlags() {
    EnsureGridSettingsLoaded();
    return g_settings.displayFlags;
}
int GetGridEnableFlags() { return Current().enabled; }
int GetMainGridColor(int component) { return ColorComponent(Current().mainColor, component); }
int GetSubGridColor(int component) { return ColorComponent(Current().subColor, component); }

}  // namespace grid
