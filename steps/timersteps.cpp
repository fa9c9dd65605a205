#include "console/form1.h"

void Form1::TestSetPowerOnDly()
{
    log.refresh();
}

void Form1::TestGetPowerOnDly()
{
    log.refresh();
}

void Form1::TestSetWdogTimes()
{
    log.refresh();
}

void Form1::TestGetWdogTimes()
{
    log.refresh();
}

void Form1::TestResetCount()
{
    log.refresh();
}

