#include "binding/libraryloader.h"
#include "console/form1.h"
#include "console/loadfailuredialog.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    modHeader::setLoadFailureReporter(showLoadFailureDialog);

    Form1 form;
    form.show();
    return QApplication::exec();
}
