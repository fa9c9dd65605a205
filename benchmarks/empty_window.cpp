// An empty window of the tester's size and title, for context next to the
// floor: what Qt alone costs to show a top-level window.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Form1"));
    window.resize(602, 684);
    window.show();
    return QApplication::exec();
}
