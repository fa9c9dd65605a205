#include "console/form1.h"

#include "console/outputbox.h"

#include <QCoreApplication>
#include <QPushButton>

// Positions and sizes in pixels (15 twips each). The controls are placed by
// hand, not by a layout: nothing moves when the window is resized.
namespace {
constexpr QSize clientSize{602, 684};
constexpr QRect outputBoxGeometry{16, 8, 569, 601};
constexpr QRect startButtonGeometry{32, 632, 121, 33};
constexpr QRect exitButtonGeometry{432, 632, 121, 33};
} // namespace

Form1::Form1(QWidget *parent)
    : QWidget(parent)
    , txtOutput(new OutputBox(this))
    , btnStart(new QPushButton(QStringLiteral("Start"), this))
    , btnExit(new QPushButton(QStringLiteral("Exit"), this))
    , log(*txtOutput)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    resize(clientSize);

    txtOutput->setObjectName(QStringLiteral("txtOutput"));
    txtOutput->setGeometry(outputBoxGeometry);
    btnStart->setObjectName(QStringLiteral("btnStart"));
    btnStart->setGeometry(startButtonGeometry);
    btnExit->setObjectName(QStringLiteral("btnExit"));
    btnExit->setGeometry(exitButtonGeometry);

    connect(btnStart, &QPushButton::clicked, this, &Form1::btnStart_Click);
    connect(btnExit, &QPushButton::clicked, this, &Form1::btnExit_Click);
}

void Form1::btnExit_Click()
{
    QCoreApplication::exit(0);
}
