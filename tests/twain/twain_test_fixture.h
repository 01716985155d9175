// A scanner connection under test: the real library with the test backend,
// its calls recorded, a main window whose events go to the connection first
// (as the application's event filter does), and the transfers collected.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QMainWindow>
#include <QObject>

#include "platform/memory.h"
#include "sane_backend.h"
#include "twain/source_dialog.h"
#include "twain/twain_source.h"

namespace kvtest {

class TwainSourceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Acquire with the collecting callback; the source's window is then open.
    int Acquire();
    twain::CSourceDialog* Dialog() const { return source.SourceDialog(); }
    // Chooses a list entry (mode, depth) or types a number, by control id.
    void Choose(int id, const QString& text);
    void Type(int id, const QString& text);
    // Presses 扫描 (or 取消) and lets the posted event arrive.
    void Press(int id);
    // Acquire, the options, 扫描; the picture received (empty when none).
    Picture Scan(const std::vector<std::pair<int, QString>>& controls,
                 const std::vector<std::pair<std::string, std::string>>& options = {});

    static void Collect(MemHandle dib, intptr_t value1, intptr_t value2);
    static std::vector<MemHandle> received;

    SaneTestBackend backend;
    twain::CTwainSource source;
    SaneRecorder recorder;
    std::unique_ptr<QMainWindow> window;
    std::unique_ptr<QObject> filter;
};

}  // namespace kvtest
