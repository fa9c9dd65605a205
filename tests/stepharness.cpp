#include "stepharness.h"

#include "binding/modheader.h"
#include "form1probe.h"
#include "screencheck.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// Text standing in the log before the step, written without a refresh, so
// that the screen is out of date until the step refreshes the box.
const QString earlierText = u"earlier line\r\n"_s;
} // namespace

StepHarness::StepHarness()
{
    SoftBoard::reset();
    modHeader::WD_Open(modHeader::lngDevHandle);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("the window was not shown");
}

StepOutcome StepHarness::run(QStringView step)
{
    OutputBox &box = Form1Probe::output(form);
    box.setText(u"stale"_s);
    box.repaint();
    box.setText(earlierText);
    modHeader::lngLastStatus = -999; // a value no step leaves behind
    const auto callsBefore = static_cast<std::size_t>(softboard_trace_count());

    if (!Form1Probe::runStep(form, step))
        qFatal("no step called %s", qPrintable(step.toString()));

    StepOutcome outcome;
    const QString text = box.text();
    outcome.earlierTextKept = text.startsWith(earlierText);
    outcome.added = text.mid(earlierText.size());
    outcome.lastStatus = modHeader::lngLastStatus;
    outcome.calls = SoftBoard::trace();
    outcome.calls.erase(outcome.calls.begin(),
                        outcome.calls.begin() + static_cast<std::ptrdiff_t>(callsBefore));
    outcome.screenShowsLog = screenIsCurrent(box);
    return outcome;
}
