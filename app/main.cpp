#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Kavolt"));
    w.resize(1024, 768);
    w.show();
    return app.exec();
}
