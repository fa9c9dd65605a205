// The exported test-control functions declared in softboard_control.h.
#include "softboard/softboard_control.h"

#include "softboard/functions.h"
#include "softboard/instance.h"

#include <mutex>

using softboard::indexOf;
using softboard::instance;
using softboard::isFunction;

extern "C" {

SOFTBOARD_EXPORT void softboard_reset(void)
{
    softboard::Instance &sb = instance();
    const std::lock_guard lock(sb.mutex);
    sb.reset();
}

SOFTBOARD_EXPORT void softboard_script_next(SbFunction function, const SbAnswer *answer)
{
    if (!isFunction(function) || !answer)
        return;
    softboard::Instance &sb = instance();
    const std::lock_guard lock(sb.mutex);
    sb.scripts.queue(function, *answer);
}

SOFTBOARD_EXPORT void softboard_script_every(SbFunction function, const SbAnswer *answer)
{
    if (!isFunction(function))
        return;
    softboard::Instance &sb = instance();
    const std::lock_guard lock(sb.mutex);
    sb.scripts.setEvery(function, answer);
}

SOFTBOARD_EXPORT void softboard_on_call(SbFunction function, SbCallback callback, void *context)
{
    if (!isFunction(function))
        return;
    softboard::Instance &sb = instance();
    const std::lock_guard lock(sb.mutex);
    sb.callbacks[indexOf(function)] =
        callback ? softboard::Callback{callback, context} : softboard::Callback{};
}

SOFTBOARD_EXPORT int32_t softboard_trace_count(void)
{
    softboard::Instance &sb = instance();
    const std::lock_guard lock(sb.mutex);
    return sb.trace.count();
}

SOFTBOARD_EXPORT int32_t softboard_trace_get(int32_t index, SbCall *call)
{
    if (!call)
        return -1;
    softboard::Instance &sb = instance();
    const std::lock_guard lock(sb.mutex);
    return sb.trace.get(index, *call) ? 0 : -1;
}

SOFTBOARD_EXPORT const char *softboard_function_name(SbFunction function)
{
    const softboard::FunctionShape *shape = softboard::shapeOf(function);
    return shape ? shape->name : "";
}

} // extern "C"
