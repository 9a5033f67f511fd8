#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel placeholder(QStringLiteral("Kibiki: the practice window is being built."));
    placeholder.setWindowTitle(QStringLiteral("Kibiki"));
    placeholder.resize(480, 120);
    placeholder.show();
    return app.exec();
}
