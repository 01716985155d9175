// Compiled into every plug-in that links the kit (an interface source of
// kvkit), so each library gets its own object.
#include "plugins/kit/plugin_app.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

CPlugInApp* g_app = nullptr;
int g_constructions = 0;

// Made by the library's static initialisation, destroyed at unload.
struct PlugInAppStaticInit {
    CPlugInApp app;
} g_staticInit;

}  // namespace

CPlugInApp* CPlugInApp::Get() { return g_app; }
int CPlugInApp::Constructions() { return g_constructions; }

CPlugInApp::CPlugInApp() {
    g_app = this;
    ++g_constructions;
}

CPlugInApp::~CPlugInApp() {
    g_app = nullptr;
    // Deferred deletes of the plug-in's objects must run while its code is
    // still loaded.
    if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
