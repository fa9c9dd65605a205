// How long the buzzer sounds during a run: the time it takes to count a
// 32-bit counter from 0 up to and including 268,435,455. A busy count, not
// a timed wait, so its length is the machine's.
#pragma once

void buzzerPause();
