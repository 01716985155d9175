#include "dialogs/menu_presets.h"

#include <QFile>

#include "platform/message_box.h"

int ReadMenuTxt(const QString& directory, std::vector<SizePreset>& presets) {
    QFile file(directory + QStringLiteral("menu.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        presets.clear();
        ShowMessageBox(nullptr, "not file", "Kavolt", MB_BTN_OK | MB_ICON_WARNING);
        return 0;
    }
    const QByteArray bytes = file.readAll();
    presets = ParseMenuPresets(std::string_view(bytes.constData(), size_t(bytes.size())));
    return int(presets.size());
}
