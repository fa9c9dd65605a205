#include "console/form1.h"

void Form1::TestEnableDisable()
{
    log.refresh();
}

void Form1::TestSetBuzzer()
{
    log.refresh();
}

void Form1::TestGetBuzzer()
{
    log.refresh();
}

void Form1::TestPcReset()
{
    log.refresh();
}

void Form1::TestPowerModule()
{
    log.refresh();
}

