#include "framework/data_exchange.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QListWidget>

#include "framework/application.h"
#include "framework/dialog.h"
#include "platform/message_box.h"

namespace framework {

DataExchange::DataExchange(Dialog& dialog, bool saveAndValidate)
    : dialog_(dialog), saving_(saveAndValidate) {}

void DataExchange::Text(int id, QString& value) {
    if (!active()) return;
    if (saving_) value = dialog_.GetDlgItemText(id);
    else dialog_.SetDlgItemText(id, value);
}

void DataExchange::Text(int id, int& value) {
    if (!active()) return;
    if (!saving_) {
        dialog_.SetDlgItemInt(id, value);
        return;
    }
    bool ok = false;
    int read = dialog_.GetDlgItemInt(id, &ok);
    if (!ok) {
        Fail(id, QStringLiteral("请输入一个整数。"));
        return;
    }
    value = read;
}

void DataExchange::Text(int id, unsigned& value) {
    if (!active()) return;
    if (!saving_) {
        dialog_.SetDlgItemInt(id, int(value), false);
        return;
    }
    bool ok = false;
    int read = dialog_.GetDlgItemInt(id, &ok, false);
    if (!ok) {
        Fail(id, QStringLiteral("请输入一个正整数。"));
        return;
    }
    value = unsigned(read);
}

void DataExchange::Check(int id, int& value) {
    if (!active()) return;
    if (saving_) value = dialog_.IsDlgButtonChecked(id);
    else dialog_.CheckDlgButton(id, value);
}

void DataExchange::Check(int id, bool& value) {
    int v = value ? 1 : 0;
    Check(id, v);
    if (saving_ && active()) value = v != 0;
}

void DataExchange::Radio(int id, int& index) {
    if (!active()) return;
    std::vector<int> group = dialog_.RadioGroupOf(id);
    if (group.empty()) group.push_back(id);
    if (saving_) {
        index = -1;
        for (size_t i = 0; i < group.size(); ++i)
            if (dialog_.IsDlgButtonChecked(group[i])) {
                index = int(i);
                break;
            }
    } else {
        for (size_t i = 0; i < group.size(); ++i)
            dialog_.CheckDlgButton(group[i], int(i) == index ? 1 : 0);
    }
}

void DataExchange::ComboIndex(int id, int& index) {
    if (!active()) return;
    auto* combo = dialog_.Item<QComboBox>(id);
    if (!combo) return;
    if (saving_) index = combo->currentIndex();
    else combo->setCurrentIndex(index);
}

void DataExchange::ListIndex(int id, int& index) {
    if (!active()) return;
    auto* list = dialog_.Item<QListWidget>(id);
    if (!list) return;
    if (saving_) index = list->currentRow();
    else list->setCurrentRow(index);
}

void DataExchange::SliderPos(int id, int& position) {
    if (!active()) return;
    auto* slider = dialog_.Item<QAbstractSlider>(id);
    if (!slider) return;
    if (saving_) position = slider->value();
    else slider->setValue(position);
}

void DataExchange::MinMax(int id, long long value, long long min, long long max) {
    if (!active() || !saving_) return;
    if (value < min || value > max)
        Fail(id, QStringLiteral("请输入一个介于 %1 和 %2 之间的整数。").arg(min).arg(max));
}

void DataExchange::Fail(int id, const QString& message) {
    if (failed_) return;
    failed_ = true;
    if (!message.isEmpty()) {
        Application* app = Application::Instance();
        QString caption = app ? app->AppName() : QString();
        ShowMessageBox(dialog_.WindowHandle(), message.toUtf8().constData(),
                       caption.toUtf8().constData(), MB_BTN_OK | MB_ICON_WARNING);
    }
    dialog_.GotoDlgCtrl(id);
}

}  // namespace framework
