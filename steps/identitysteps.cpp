#include "console/form1.h"

void Form1::GetTextMessages()
{
    log.refresh();
}

void Form1::TestBoardInfo()
{
    log.refresh();
}

void Form1::TestTempTickle()
{
    log.refresh();
}

