#include "console/loadfailuredialog.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

void showLoadFailureDialog(const char *reason)
{
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Device library error"),
                          QString::fromLocal8Bit(reason));
}
