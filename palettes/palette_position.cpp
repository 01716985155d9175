#include "palettes/palette_position.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "framework/application.h"

namespace {
const QString kSettings = QStringLiteral("Settings");
}

std::optional<std::vector<int>> ParseNumberList(const QString& text, int count) {
    std::vector<int> numbers;
    qsizetype i = 0, n = text.size();
    while (int(numbers.size()) < count) {
        if (!numbers.empty()) {
            if (i >= n || text[i] != u',') return std::nullopt;
            ++i;
        }
        while (i < n && text[i].isSpace()) ++i;
        qsizetype start = i;
        if (i < n && (text[i] == u'-' || text[i] == u'+')) ++i;
        qsizetype digits = i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') ++i;
        if (i == digits) return std::nullopt;
        bool ok = false;
        long long value = text.mid(start, i - start).toLongLong(&ok);
        if (!ok || value < INT32_MIN || value > INT32_MAX) return std::nullopt;
        numbers.push_back(int(value));
    }
    return numbers;
}

QString FormatNumberList(const std::vector<int>& numbers) {
    QStringList parts;
    for (int n : numbers) parts.push_back(QString::number(n));
    return parts.join(u',');
}

QRect ClampToScreen(const QRect& rect, const QRect& screen) {
    QRect r = rect;
    int left = std::clamp(r.left(), 0, std::max(0, screen.width() - r.width()));
    int top = std::clamp(r.top(), 0, std::max(0, screen.height() - r.height()));
    r.moveTo(left, top);
    return r;
}

std::optional<std::vector<int>> ReadPositionKey(const QString& key, int count) {
    framework::Application* app = framework::Application::Instance();
    if (!app) return std::nullopt;
    QString value = app->GetProfileString(kSettings, key);
    if (value.isEmpty()) return std::nullopt;
    return ParseNumberList(value, count);
}

void WritePositionKey(const QString& key, const std::vector<int>& numbers) {
    if (framework::Application* app = framework::Application::Instance())
        app->WriteProfileString(kSettings, key, FormatNumberList(numbers));
}

QRect ClampedWindowRect(const QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    QRect r(window->pos(), window->size());
    return ClampToScreen(r, area);
}
