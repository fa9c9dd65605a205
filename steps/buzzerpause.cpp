#include "steps/buzzerpause.h"

#include <cstdint>

void buzzerPause()
{
    // The counter is volatile so that every one of the 268,435,456 steps
    // really happens: an optimiser may not drop or shorten the empty loop.
    volatile std::int32_t counter = 0;
    while (counter <= 0x0FFFFFFF)
        counter = counter + 1;
}
