#include <QApplication>

#include "framework/application.h"
#include "framework/mdi_frame.h"

namespace {

class KavoltApp : public framework::Application {
public:
    bool InitInstance() override {
        auto* frame = new framework::MdiFrame;
        frame->setWindowTitle(QStringLiteral("Kavolt"));
        frame->resize(1024, 768);
        SetMainFrame(frame);
        frame->show();
        return true;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    KavoltApp app;
    return app.Run();
}
