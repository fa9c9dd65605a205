// The floor for the tester's start-up and memory: the same window, 602x684,
// titled "Form1", with the same three controls at the same places, and
// nothing else (no device library, no steps, no handlers).
#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Form1"));
    window.resize(602, 684);

    auto *output = new QPlainTextEdit(&window);
    output->setReadOnly(true);
    output->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    output->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    output->setGeometry(16, 8, 569, 601);
    (new QPushButton(QStringLiteral("Start"), &window))->setGeometry(32, 632, 121, 33);
    (new QPushButton(QStringLiteral("Exit"), &window))->setGeometry(432, 632, 121, 33);

    window.show();
    return QApplication::exec();
}
