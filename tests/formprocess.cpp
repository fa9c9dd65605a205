// The tester window in a process of its own, for tests of what ends the
// process. The first argument says what happens once the event loop runs:
//   start  click Start; when the run returns, print "run ended" and quit
//   exit   click Exit
//   close  close the window
// A dialog that opens meanwhile (the report of a missing library or
// function) is printed as "dialog: <text>" and dismissed, as an operator would.
#include "binding/libraryloader.h"
#include "console/form1.h"
#include "console/loadfailuredialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    modHeader::setLoadFailureReporter(showLoadFailureDialog);
    Form1 form;
    form.show();

    QTimer dialogWatch;
    dialogWatch.callOnTimeout([] {
        if (auto *dialog = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            std::printf("dialog: %s\n", qPrintable(dialog->text()));
            std::fflush(stdout);
            dialog->done(0);
        }
    });
    dialogWatch.start(20);

    const QString action = QApplication::arguments().value(1);
    QTimer::singleShot(0, &form, [&] {
        if (action == u"start") {
            form.findChild<QPushButton *>(QStringLiteral("btnStart"))->click();
            std::printf("run ended\n");
            QCoreApplication::exit(0);
        } else if (action == u"exit") {
            form.findChild<QPushButton *>(QStringLiteral("btnExit"))->click();
        } else if (action == u"close") {
            form.close();
        } else {
            std::fprintf(stderr, "usage: formprocess start|exit|close\n");
            QCoreApplication::exit(2);
        }
    });
    const int status = QApplication::exec();
    std::printf("event loop ended\n");
    return status;
}
