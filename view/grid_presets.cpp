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

void StoreGridDisplayFlags(int flags) {
    EnsureGridSettingsLoaded();
    g_settings.displayFlags = flags & 3;
    if (framework::Application* app = framework::Application::Instance()) {
        const QString settings = QStringLiteral("Settings");
        app->WriteProfileInt(settings, QStringLiteral("Main_Grid_Disp"), (flags & 1) ? 1 : 0);
        app->WriteProfileInt(settings, QStringLiteral("Sub_Grid_Disp"), (flags & 2) ? 1 : 0);
    }
}

int ToggleCurrentSnap(int bit) {
    EnsureGridSettingsLoaded();
    GridPreset& p = g_settings.presets[size_t(g_settings.current)];
    p.enabled ^= bit;
    if (framework::Application* app = framework::Application::Instance()) {
        auto value = [](int w, int h, const std::array<int, 3>& c, bool on) {
            return QStringLiteral("%1,%2,%3,%4,%5,%6").arg(w).arg(h).arg(c[0]).arg(c[1]).arg(c[2]).arg(on ? 1 : 0);
        };
        const QString gridSection = QStringLiteral("Grid");
        app->WriteProfileString(gridSection, QStringLiteral("MainSnap%1").arg(g_settings.current),
                                value(p.mainWidth, p.mainHeight, p.mainColor, p.enabled & 1));
        app->WriteProfileString(gridSection, QStringLiteral("SubSnap%1").arg(g_settings.current),
                                value(p.subWidth, p.subHeight, p.subColor, p.enabled & 2));
    }
    return p.enabled;
}

void StoreCurrentPreset(int preset) {
    EnsureGridSettingsLoaded();
    g_settings.current = std::clamp(preset, 0, kPresetCount - 1);
    if (framework::Application* app = framework::Application::Instance())
        app->WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("Kankyou_Grid"), g_settings.current);
}

}  // namespace grid
