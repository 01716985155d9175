#include "twain_test_fixture.h"

#include <QComboBox>
#include <QCoreApplication>

namespace kvtest {

std::vector<MemHandle> TwainSourceTest::received;

namespace {

class ConnectionFilter : public QObject {
public:
    ConnectionFilter(twain::CTwainSource& source, QWidget* window) : source_(source), window_(window) {}
    bool eventFilter(QObject*, QEvent* event) override {
        return source_.IsSourceEnabled() && source_.ProcessEvent(window_, event);
    }

private:
    twain::CTwainSource& source_;
    QWidget* window_;
};

}  // namespace

void TwainSourceTest::SetUp() {
    ASSERT_TRUE(backend.ok());
    ASSERT_EQ(source.Load(), 1);
    recorder.Wrap(source.Functions());
    window = std::make_unique<QMainWindow>();
    window->show();
    filter = std::make_unique<ConnectionFilter>(source, window.get());
    QCoreApplication::instance()->installEventFilter(filter.get());
    received.clear();
}

void TwainSourceTest::TearDown() {
    QCoreApplication::instance()->removeEventFilter(filter.get());
    source.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (MemHandle h : received) MemFree(h);
    received.clear();
}

void TwainSourceTest::Collect(MemHandle dib, intptr_t, intptr_t) { received.push_back(dib); }

int TwainSourceTest::Acquire() { return source.Acquire(window.get(), &TwainSourceTest::Collect, 0, 0); }

void TwainSourceTest::Choose(int id, const QString& text) {
    auto* combo = Dialog()->Item<QComboBox>(id);
    ASSERT_NE(combo, nullptr);
    int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    Dialog()->NotifyControl(id, framework::Notify::SelChange);
}

void TwainSourceTest::Type(int id, const QString& text) { Dialog()->SetDlgItemText(id, text); }

void TwainSourceTest::Press(int id) {
    Dialog()->ClickButton(id);
    QCoreApplication::sendPostedEvents();
}

Picture TwainSourceTest::Scan(const std::vector<std::pair<int, QString>>& controls,
                              const std::vector<std::pair<std::string, std::string>>& options) {
    size_t before = received.size();
    EXPECT_EQ(Acquire(), twain::TWRC_SUCCESS);
    if (!Dialog()) return {};
    for (const auto& [id, text] : controls) {
        if (twain::CSourceDialog::kModeId == id || twain::CSourceDialog::kDepthId == id)
            Choose(id, text);
        else
            Type(id, text);
    }
    for (const auto& [name, value] : options) EXPECT_EQ(source.SetOptionText(name, value), 0) << name;
    Press(twain::CSourceDialog::kScanId);
    EXPECT_FALSE(source.IsSourceEnabled());
    if (received.size() != before + 1) return {};
    return DibPicture(received.back());
}

}  // namespace kvtest
