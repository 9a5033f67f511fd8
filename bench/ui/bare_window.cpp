// The yardstick: a bare Qt 6 Widgets window with one label, the least a Qt program can show.
// The label echoes each key with a running count, right-aligned as the trainer's miss counter
// is, so every press repaints it and changes its last digit in the same place.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

namespace {

class EchoLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void keyPressEvent(QKeyEvent* pEvent) override {
        setText(QStringLiteral("%1 %2").arg(pEvent->text()).arg(++m_nKeys));
    }

private:
    int m_nKeys = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    EchoLabel label(QStringLiteral("bare"));
    label.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label.setWindowTitle(QStringLiteral("Bare Qt"));
    label.resize(640, 480);
    label.show();
    return app.exec();
}
