#include "view/grid_presets.h"

#include <algorithm>

#include <QStringList>

#include "framework/application.h"

namespace grid {

namespace {
GridSettings g_settings;
bool g_loaded = false;

void ApplyValue(const std::array<int, 6>& v, int* width, int* height, std::array<int, 3>* color,
                int* enabled, int bit) {
    *width = std::max(1, v[0]);
    *height = std::max(1, v[1]);
    *color = {v[2], v[3], v[4]};
    if (v[5]) *enabled |= bit;
}
}  // namespace

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

GridSettings& GetGridSettings() { return g_settings; }

void LoadGridSettings() {
    framework::Application* app = framework::Application::Instance();
    GridSettings s;
    if (app) {
        const QString settings = QStringLiteral("Settings");
        const QString gridSection = QStringLiteral("Grid");
        s.current = std::clamp(app->GetProfileInt(settings, QStringLiteral("Kankyou_Grid"), 1), 0,
                               kPresetCount - 1);
        for (int i = 0; i < kPresetCount; ++i) {
            GridPreset& p = s.presets[size_t(i)];
            QString mainKey = QStringLiteral("MainSnap%1").arg(i);
            QString subKey = QStringLiteral("SubSnap%1").arg(i);
            if (auto v = ParseGridPresetValue(app->GetProfileString(gridSection, mainKey)))
                ApplyValue(*v, &p.mainWidth, &p.mainHeight, &p.mainColor, &p.enabled, 1);
            if (auto v = ParseGridPresetValue(app->GetProfileString(gridSection, subKey)))
                ApplyValue(*v, &p.subWidth, &p.subHeight, &p.subColor, &p.enabled, 2);
        }
        if (app->GetProfileInt(settings, QStringLiteral("Main_Grid_Disp"), 0)) s.displayFlags |= 1;
        if (app->GetProfileInt(settings, QStringLiteral("Sub_Grid_Disp"), 0)) s.displayFlags |= 2;
    }
    g_settings = s;
    g_loaded = app != nullptr;
}

void EnsureGridSettingsLoaded() {
    if (!g_loaded) LoadGridSettings();
}

}  // namespace grid
