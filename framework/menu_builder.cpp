#include "framework/menu_builder.h"

#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QToolBar>

namespace framework {

namespace {

bool isMnemonicChar(QChar c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

CommandAction* makeAction(CommandId id, const QString& text, QObject* parent,
                          const CommandHooks& hooks) {
    auto* action = new CommandAction(id, text, parent);
    if (hooks.trigger)
        QObject::connect(action, &QAction::triggered, action,
                         [trigger = hooks.trigger, id] { trigger(id); });
    return action;
}

QMenu* makePopup(const MenuItem& item, QWidget* parent, const CommandHooks& hooks) {
    auto* menu = new QMenu(MnemonicText(item.text), parent);
    if (hooks.aboutToShow)
        QObject::connect(menu, &QMenu::aboutToShow, menu,
                         [show = hooks.aboutToShow, menu] { show(menu); });
    AppendMenuItems(menu, item.items, hooks);
    return menu;
}

void collectAccelerators(const std::vector<MenuItem>& items, std::vector<Accelerator>& out) {
    for (const MenuItem& item : items) {
        if (item.type == MenuItem::Popup) {
            collectAccelerators(item.items, out);
        } else if (item.type == MenuItem::Command) {
            QKeySequence keys = AcceleratorOf(item.text);
            if (!keys.isEmpty()) out.push_back({keys, item.id});
        }
    }
}

}  // namespace

MenuItem MenuCommand(CommandId id, const QString& text) {
    return MenuItem{MenuItem::Command, id, text, {}};
}

MenuItem MenuSeparator() { return MenuItem{}; }

MenuItem MenuPopup(const QString& text, std::vector<MenuItem> items) {
    return MenuItem{MenuItem::Popup, 0, text, std::move(items)};
}

QString MnemonicText(const QString& text) {
    if (text.contains(u'&')) return text;
    qsizetype end = text.indexOf(u'\t');
    if (end < 0) end = text.size();
    for (qsizetype i = 0; i + 2 < end; ++i) {
        if (text[i] == u'(' && isMnemonicChar(text[i + 1]) && text[i + 2] == u')') {
            QString out = text;
            out.insert(i + 1, u'&');
            return out;
        }
    }
    return text;
}

QKeySequence AcceleratorOf(const QString& text) {
    qsizetype tab = text.indexOf(u'\t');
    if (tab < 0) return {};
    QString keys = text.mid(tab + 1).trimmed();
    if (keys.isEmpty()) return {};
    QKeySequence sequence = QKeySequence::fromString(keys, QKeySequence::PortableText);
    if (sequence.isEmpty() || sequence[0] == QKeyCombination(Qt::Key_unknown)) return {};
    return sequence;
}

std::vector<Accelerator> AcceleratorsOf(const std::vector<MenuItem>& items) {
    std::vector<Accelerator> out;
    collectAccelerators(items, out);
    return out;
}

void AppendMenuItems(QMenu* menu, const std::vector<MenuItem>& items, const CommandHooks& hooks) {
    for (const MenuItem& item : items) {
        switch (item.type) {
        case MenuItem::Separator: menu->addSeparator(); break;
        case MenuItem::Popup: menu->addMenu(makePopup(item, menu, hooks)); break;
        case MenuItem::Command:
            menu->addAction(makeAction(item.id, MnemonicText(item.text), menu, hooks));
            break;
        }
    }
}

void BuildMenuBar(QMenuBar* bar, const std::vector<MenuItem>& items, const CommandHooks& hooks) {
    // clear() deletes the bar's own plain actions but not its menus.
    std::vector<QPointer<QMenu>> old;
    for (QAction* action : bar->actions())
        if (QMenu* menu = action->menu(); menu && menu->parent() == bar) old.emplace_back(menu);
    bar->clear();
    for (const QPointer<QMenu>& menu : old) delete menu.data();
    for (const MenuItem& item : items) {
        switch (item.type) {
        case MenuItem::Separator: bar->addSeparator(); break;
        case MenuItem::Popup: bar->addMenu(makePopup(item, bar, hooks)); break;
        case MenuItem::Command:
            bar->addAction(makeAction(item.id, MnemonicText(item.text), bar, hooks));
            break;
        }
    }
}

CommandAction* AddMenuCommand(QMenu* menu, CommandId id, const QString& text,
                              const CommandHooks& hooks) {
    CommandAction* action = makeAction(id, MnemonicText(text), menu, hooks);
    menu->addAction(action);
    return action;
}

int RemoveMenuCommands(QMenu* menu, CommandId first, CommandId last) {
    int removed = 0;
    for (QAction* action : menu->actions()) {
        CommandId id = CommandIdOf(action);
        if (id == 0 || id < first || id > last) continue;
        menu->removeAction(action);
        if (action->parent() == menu) delete action;
        ++removed;
    }
    return removed;
}

CommandAction* FindCommandAction(const QWidget* container, CommandId id) {
    if (!container) return nullptr;
    for (QAction* action : container->actions()) {
        if (CommandIdOf(action) == id) return static_cast<CommandAction*>(action);
        if (QMenu* sub = action->menu())
            if (CommandAction* found = FindCommandAction(sub, id)) return found;
    }
    return nullptr;
}

IconSource IconStrip(const QPixmap& strip, QSize imageSize) {
    return [strip, imageSize](int image) -> QIcon {
        if (image < 0 || imageSize.isEmpty()) return {};
        int x = image * imageSize.width();
        if (x + imageSize.width() > strip.width() || imageSize.height() > strip.height()) return {};
        return QIcon(strip.copy(x, 0, imageSize.width(), imageSize.height()));
    };
}

void BuildToolBar(QToolBar* bar, const std::vector<ToolButton>& buttons, const IconSource& icons,
                  const CommandHooks& hooks) {
    for (const ToolButton& button : buttons) {
        if (button.id == 0) {
            bar->addSeparator();
            continue;
        }
        QString tip = button.tip;
        if (qsizetype nl = tip.indexOf(u'\n'); nl >= 0) tip = tip.mid(nl + 1);
        CommandAction* action = makeAction(button.id, tip, bar, hooks);
        if (icons) action->setIcon(icons(button.image));
        if (!tip.isEmpty()) action->setToolTip(tip);
        bar->addAction(action);
    }
}

}  // namespace framework
