// The yardstick: a bare Qt 6 Widgets window with one label, the least a Qt program can show.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("bare"));
    label.setWindowTitle(QStringLiteral("Bare Qt"));
    label.resize(640, 480);
    label.show();
    return app.exec();
}
