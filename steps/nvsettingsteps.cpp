#include "console/form1.h"

void Form1::TestNvTempOffset()
{
    log.refresh();
}

void Form1::TestNvRelayPulse()
{
    log.refresh();
}

void Form1::TestNvUserCode()
{
    log.refresh();
}

