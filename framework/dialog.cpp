#include "framework/dialog.h"

#include <algorithm>
#include <climits>

#include <QAbstractSlider>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTextEdit>

#include "framework/data_exchange.h"

namespace framework {

namespace {

Dialog::ModalDriver& modalDriver() {
    static Dialog::ModalDriver driver;
    return driver;
}

// Plug-in libraries carry their own copy of this library; the driver set in
// the program is published on the application object so that the dialogs of
// a loaded plug-in are driven by it too.
constexpr char kPublishedDriver[] = "kavolt.modalDriver";

Dialog::ModalDriver publishedDriver() {
    if (!QCoreApplication::instance()) return {};
    auto* driver = reinterpret_cast<Dialog::ModalDriver*>(
        QCoreApplication::instance()->property(kPublishedDriver).value<quintptr>());
    return driver ? *driver : Dialog::ModalDriver();
}

// Decimal number with optional sign, blanks around it allowed.
bool parseInt(const QString& text, bool isSigned, int& out) {
    QString t = text.trimmed();
    if (t.isEmpty()) return false;
    bool ok = false;
    if (isSigned) {
        qlonglong v = t.toLongLong(&ok, 10);
        if (!ok || v < INT_MIN || v > INT_MAX) return false;
        out = int(v);
    } else {
        if (t.startsWith(u'-') || t.startsWith(u'+')) return false;
        qulonglong v = t.toULongLong(&ok, 10);
        if (!ok || v > UINT_MAX) return false;
        out = int(unsigned(v));
    }
    return true;
}

void setButtonChecked(QAbstractButton* button, bool checked) {
    if (button->isChecked() == checked) return;
    QButtonGroup* group = button->group();
    bool exclusive = group && group->exclusive();
    bool autoExclusive = button->autoExclusive();
    // Clearing the checked button of an exclusive group needs the group open.
    if (!checked) {
        if (exclusive) group->setExclusive(false);
        button->setAutoExclusive(false);
    }
    button->setChecked(checked);
    if (!checked) {
        button->setAutoExclusive(autoExclusive);
        if (exclusive) group->setExclusive(true);
    }
}

}  // namespace

Dialog::Dialog(int templateId, QWidget* parent)
    : QDialog(parent), MessageWindow(this), templateId_(templateId) {}

Dialog::~Dialog() {
    ReleaseHandle();
    KillAllTimers();
}

void Dialog::CreateControls(const std::vector<ControlTemplate>& controls) {
    QButtonGroup* radioGroup = nullptr;
    std::vector<int>* radioIds = nullptr;
    for (const ControlTemplate& control : controls) {
        QWidget* w = nullptr;
        switch (control.kind) {
        case ControlKind::Label: w = new QLabel(control.text, this); break;
        case ControlKind::Edit: w = new QLineEdit(control.text, this); break;
        case ControlKind::MultiLineEdit: w = new QPlainTextEdit(control.text, this); break;
        case ControlKind::PushButton: w = new QPushButton(control.text, this); break;
        case ControlKind::DefPushButton: {
            auto* b = new QPushButton(control.text, this);
            b->setDefault(true);
            w = b;
            break;
        }
        case ControlKind::CheckBox: w = new QCheckBox(control.text, this); break;
        case ControlKind::TriStateCheckBox: {
            auto* b = new QCheckBox(control.text, this);
            b->setTristate(true);
            w = b;
            break;
        }
        case ControlKind::Radio: w = new QRadioButton(control.text, this); break;
        case ControlKind::GroupBox: w = new QGroupBox(control.text, this); break;
        case ControlKind::ComboBox: w = new QComboBox(this); break;
        case ControlKind::EditComboBox: {
            auto* c = new QComboBox(this);
            c->setEditable(true);
            c->setEditText(control.text);
            w = c;
            break;
        }
        case ControlKind::ListBox: w = new QListWidget(this); break;
        case ControlKind::Slider: w = new QSlider(Qt::Horizontal, this); break;
        case ControlKind::SpinBox: {
            auto* s = new QSpinBox(this);
            s->setRange(INT_MIN, INT_MAX);
            w = s;
            break;
        }
        case ControlKind::HScrollBar: w = new QScrollBar(Qt::Horizontal, this); break;
        case ControlKind::VScrollBar: w = new QScrollBar(Qt::Vertical, this); break;
        }
        if (!control.rect.isNull()) w->setGeometry(control.rect);
        if (control.disabled) w->setEnabled(false);
        if (control.hidden) w->hide();
        if (control.id > 0) RegisterControl(control.id, w);

        if (control.kind == ControlKind::Radio && control.id > 0) {
            if (control.group || !radioGroup) {
                radioGroup = new QButtonGroup(this);
                buttonGroups_.push_back(radioGroup);
                radioGroups_.emplace_back();
                radioIds = &radioGroups_.back();
            }
            radioGroup->addButton(static_cast<QRadioButton*>(w));
            radioIds->push_back(control.id);
        } else if (control.kind != ControlKind::Label && control.kind != ControlKind::GroupBox) {
            radioGroup = nullptr;  // any other control ends the group
        }
    }
}

void Dialog::RegisterControl(int id, QWidget* control) {
    if (id <= 0 || !control) return;
    if (QWidget* old = GetDlgItem(id); old && old != control) old->removeEventFilter(this);
    controls_[id] = control;
    connectNotifications(id, control);
}

void Dialog::connectNotifications(int id, QWidget* control) {
    control->installEventFilter(this);
    auto notify = [this, id](Notify code) { return [this, id, code] { NotifyControl(id, code); }; };
    if (auto* b = qobject_cast<QAbstractButton*>(control)) {
        connect(b, &QAbstractButton::clicked, this, notify(Notify::Command));
        if (auto* p = qobject_cast<QPushButton*>(b); p && id == IDOK && !p->isDefault()) {
            bool anyDefault = false;
            for (QPushButton* other : findChildren<QPushButton*>())
                anyDefault = anyDefault || other->isDefault();
            if (!anyDefault) p->setDefault(true);
        }
    } else if (auto* e = qobject_cast<QLineEdit*>(control)) {
        connect(e, &QLineEdit::textChanged, this, notify(Notify::Changed));
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(control)) {
        connect(pe, &QPlainTextEdit::textChanged, this, notify(Notify::Changed));
    } else if (auto* te = qobject_cast<QTextEdit*>(control)) {
        connect(te, &QTextEdit::textChanged, this, notify(Notify::Changed));
    } else if (auto* c = qobject_cast<QComboBox*>(control)) {
        connect(c, &QComboBox::activated, this, notify(Notify::SelChange));
        if (c->isEditable()) connect(c, &QComboBox::editTextChanged, this, notify(Notify::Changed));
    } else if (auto* l = qobject_cast<QListWidget*>(control)) {
        connect(l, &QListWidget::currentRowChanged, this, notify(Notify::SelChange));
        connect(l, &QListWidget::itemDoubleClicked, this, notify(Notify::DblClk));
    } else if (auto* sp = qobject_cast<QSpinBox*>(control)) {
        connect(sp, &QSpinBox::valueChanged, this, notify(Notify::Changed));
    } else if (auto* sl = qobject_cast<QAbstractSlider*>(control)) {
        connect(sl, &QAbstractSlider::valueChanged, this, notify(Notify::Scroll));
    }
}

bool Dialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (int id = GetDlgCtrlID(qobject_cast<QWidget*>(watched)))
            NotifyControl(id, event->type() == QEvent::FocusIn ? Notify::SetFocus : Notify::KillFocus);
    }
    return QDialog::eventFilter(watched, event);
}

QWidget* Dialog::GetDlgItem(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second.data();
}

int Dialog::GetDlgCtrlID(const QWidget* control) const {
    if (!control) return 0;
    for (const auto& [id, w] : controls_)
        if (w.data() == control) return id;
    return 0;
}

void Dialog::SetDlgItemText(int id, const QString& text) {
    QWidget* w = GetDlgItem(id);
    if (!w) return;
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(text);
    else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) pe->setPlainText(text);
    else if (auto* te = qobject_cast<QTextEdit*>(w)) te->setPlainText(text);
    else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(text);
    else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(text);
    else if (auto* c = qobject_cast<QComboBox*>(w)) {
        if (c->isEditable()) c->setEditText(text);
        else if (int i = c->findText(text); i >= 0) c->setCurrentIndex(i);
    } else if (auto* s = qobject_cast<QSpinBox*>(w)) {
        bool ok = false;
        int v = text.trimmed().toInt(&ok);
        if (ok) s->setValue(v);
    } else {
        w->setWindowTitle(text);
    }
}

QString Dialog::GetDlgItemText(int id) const {
    QWidget* w = GetDlgItem(id);
    if (!w) return {};
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) return pe->toPlainText();
    if (auto* te = qobject_cast<QTextEdit*>(w)) return te->toPlainText();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
    if (auto* s = qobject_cast<QSpinBox*>(w)) return QString::number(s->value());
    return w->windowTitle();
}

void Dialog::SetDlgItemInt(int id, int value, bool isSigned) {
    if (auto* s = Item<QSpinBox>(id)) {
        s->setValue(value);
        return;
    }
    SetDlgItemText(id, isSigned ? QString::number(value) : QString::number(unsigned(value)));
}

int Dialog::GetDlgItemInt(int id, bool* ok, bool isSigned) const {
    if (auto* s = Item<QSpinBox>(id)) {
        if (ok) *ok = true;
        return s->value();
    }
    int value = 0;
    bool parsed = GetDlgItem(id) && parseInt(GetDlgItemText(id), isSigned, value);
    if (ok) *ok = parsed;
    return parsed ? value : 0;
}

void Dialog::CheckDlgButton(int id, int check) {
    auto* b = Item<QAbstractButton>(id);
    if (!b) return;
    if (auto* c = qobject_cast<QCheckBox*>(b); c && c->isTristate()) {
        c->setCheckState(check == 2 ? Qt::PartiallyChecked : check ? Qt::Checked : Qt::Unchecked);
        return;
    }
    if (!b->isCheckable()) b->setCheckable(true);
    setButtonChecked(b, check != 0);
}

int Dialog::IsDlgButtonChecked(int id) const {
    auto* b = Item<QAbstractButton>(id);
    if (!b) return 0;
    if (auto* c = qobject_cast<QCheckBox*>(b)) {
        switch (c->checkState()) {
        case Qt::Checked: return 1;
        case Qt::PartiallyChecked: return 2;
        default: return 0;
        }
    }
    return b->isChecked() ? 1 : 0;
}

void Dialog::CheckRadioButton(int firstId, int lastId, int checkId) {
    for (const auto& [id, w] : controls_) {
        if (id < firstId || id > lastId || id == checkId) continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w.data())) setButtonChecked(b, false);
    }
    if (checkId >= firstId && checkId <= lastId)
        if (auto* b = Item<QAbstractButton>(checkId)) {
            if (!b->isCheckable()) b->setCheckable(true);
            setButtonChecked(b, true);
        }
}

int Dialog::GetCheckedRadioButton(int firstId, int lastId) const {
    for (const auto& [id, w] : controls_) {
        if (id < firstId || id > lastId) continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w.data()); b && b->isChecked()) return id;
    }
    return 0;
}

void Dialog::MakeRadioGroup(std::initializer_list<int> ids) {
    auto* group = new QButtonGroup(this);
    std::vector<int> members;
    for (int id : ids) {
        auto* b = Item<QAbstractButton>(id);
        if (!b) continue;
        if (QButtonGroup* old = b->group()) old->removeButton(b);
        for (auto& g : radioGroups_) g.erase(std::remove(g.begin(), g.end(), id), g.end());
        b->setCheckable(true);
        group->addButton(b);
        members.push_back(id);
    }
    buttonGroups_.push_back(group);
    radioGroups_.push_back(std::move(members));
}

std::vector<int> Dialog::RadioGroupOf(int id) const {
    for (const auto& group : radioGroups_)
        if (std::find(group.begin(), group.end(), id) != group.end()) return group;
    return {};
}

void Dialog::EnableDlgItem(int id, bool enable) {
    if (QWidget* w = GetDlgItem(id)) w->setEnabled(enable);
}

void Dialog::ShowDlgItem(int id, bool show) {
    if (QWidget* w = GetDlgItem(id)) w->setVisible(show);
}

void Dialog::GotoDlgCtrl(int id) {
    QWidget* w = GetDlgItem(id);
    if (!w) return;
    w->setFocus(Qt::OtherFocusReason);
    if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
}

void Dialog::ClickButton(int id) {
    if (QWidget* w = GetDlgItem(id)) {
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && b->isEnabled()) b->click();
        return;
    }
    NotifyControl(id, Notify::Command);
}

void Dialog::NotifyControl(int id, Notify code) {
    CommandRequest request{CommandRequest::Execute, CommandId(id), code, nullptr};
    DispatchOwn(request);
}

int Dialog::DoModal() {
    if (running_) return -1;
    result_ = IDCANCEL;
    modal_ = true;
    running_ = true;
    OnInitDialog();
    if (running_) {
        ModalDriver driver = CurrentModalDriver();
        if (driver) {
            show();
            driver(*this);
            if (running_) EndDialog(IDCANCEL);
        } else if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            // Nobody could ever answer: a headless run never waits here.
            qWarning("Dialog %d: no modal driver, ending as Cancel", templateId_);
            EndDialog(IDCANCEL);
        } else {
            exec();
            running_ = false;
        }
    }
    modal_ = false;
    OnDestroy();
    return result_;
}

bool Dialog::Create(QWidget* parent, bool visible) {
    if (created_) return true;
    if (parent && parent != parentWidget()) setParent(parent, windowFlags());
    modal_ = false;
    created_ = true;
    OnInitDialog();
    if (visible && created_) show();
    return created_;
}

void Dialog::DestroyWindow() {
    if (!created_) return;
    created_ = false;
    hide();
    KillAllTimers();
    OnDestroy();
}

void Dialog::EndDialog(int result) {
    result_ = result;
    if (modal_) {
        if (!running_) return;
        running_ = false;
        QDialog::done(result);
    } else {
        hide();
    }
}

bool Dialog::UpdateData(bool saveAndValidate) {
    DataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

Dialog::ModalDriver Dialog::SetModalDriver(ModalDriver driver) {
    ModalDriver previous = std::move(modalDriver());
    modalDriver() = std::move(driver);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->setProperty(
            kPublishedDriver, QVariant::fromValue(modalDriver() ? quintptr(&modalDriver()) : quintptr(0)));
    return previous;
}

Dialog::ModalDriver Dialog::CurrentModalDriver() {
    ModalDriver driver = modalDriver();
    return driver ? driver : publishedDriver();
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnDestroy() {}

void Dialog::DeclareCommands(CommandTable& table) {
    table.On(IDOK, [this] { OnOK(); }).On(IDCANCEL, [this] { OnCancel(); });
}

void Dialog::accept() { NotifyControl(IDOK, Notify::Command); }

void Dialog::reject() { NotifyControl(IDCANCEL, Notify::Command); }

void Dialog::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            for (QPushButton* b : findChildren<QPushButton*>()) {
                if (b->isDefault() && b->isVisible()) {
                    if (b->isEnabled()) b->click();
                    return;
                }
            }
            NotifyControl(IDOK, Notify::Command);
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

ScopedModalDriver::ScopedModalDriver(Dialog::ModalDriver driver)
    : previous_(Dialog::SetModalDriver(std::move(driver))) {}

ScopedModalDriver::~ScopedModalDriver() { Dialog::SetModalDriver(std::move(previous_)); }

}  // namespace framework
