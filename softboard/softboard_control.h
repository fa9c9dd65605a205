/*
 * Test control of the software board.
 *
 * The software board is a shared library that stands in for the board maker's
 * device library: same file name ("Brenvik.dll"), same WD_ functions. Besides
 * those it exports the functions below, through which a test (or a person at
 * a debugger) decides what every WD_ call answers, runs code in the middle of
 * a call, and reads back which calls arrived with which arguments.
 *
 * Everything here is plain C so that any test harness can use it.
 */
#ifndef SOFTBOARD_CONTROL_H
#define SOFTBOARD_CONTROL_H

#include <stdint.h>

#if defined(_WIN32)
#  if defined(SOFTBOARD_BUILDING)
#    define SOFTBOARD_EXPORT __declspec(dllexport)
#  else
#    define SOFTBOARD_EXPORT __declspec(dllimport)
#  endif
#else
#  define SOFTBOARD_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The device library's functions, in declaration order. */
typedef enum SbFunction {
    SB_GetDllVersion,
    SB_Open,
    SB_GetComPortNum,
    SB_Close,
    SB_GetErrorInfoMsg,
    SB_GetWDogType,
    SB_GetDeviceInfo,
    SB_GetTempTickle,
    SB_SetPowerOnDlyTimes,
    SB_GetPowerOnDlyTimes,
    SB_SetWdogTimes,
    SB_SetBuzzer,
    SB_GetWdogTimes,
    SB_GetResetCount,
    SB_GetSetNvTempOffset,
    SB_GetSetNvRelayPulse,
    SB_GetSetNvUserCode,
    SB_EnableDisable,
    SB_GetBuzzer,
    SB_EnableDisablePcReset,
    SB_GetSetPowerModule,
    SB_FunctionCount
} SbFunction;

enum {
    SB_MaxArgs = 4,       /* by-value arguments of one call, the handle included */
    SB_MaxValues = 5,     /* by-reference 32-bit integers of one call */
    SB_MaxBuffers = 2,    /* byte buffers of one call (message buffers, user codes) */
    SB_BufferBytes = 257, /* the largest byte buffer: 256 bytes of text and its zero */
    SB_TraceCapacity = 65536 /* calls the trace holds; later calls are not recorded */
};

/* The results the software board's own answers use (any value can also be
 * scripted, see SbAnswer). */
enum {
    SB_ResultOk = 0,
    SB_ResultNotOpen = 1,     /* the board is not open, or the handle is not the open one */
    SB_ResultNoBoard = 2,     /* WD_Open found no board (scenario open-fails) */
    SB_ResultBadArgument = 3, /* a null pointer, or a value the function does not take */
    SB_ResultNoAnswer = 4     /* the board did not answer (scenario calls-fail-after-open) */
};

/* What becomes of one output of a call. */
typedef enum SbOutputMode {
    SB_Board = 0,     /* the board writes its own answer (the default) */
    SB_Value = 1,     /* the scripted value / bytes are written */
    SB_Untouched = 2  /* nothing is written: the caller's preset stays */
} SbOutputMode;

/*
 * A scripted answer. A zero-filled SbAnswer changes nothing: the board
 * answers as it would. The board's own logic always runs (a set call still
 * stores its value); the script then replaces the pieces it names.
 *
 * values:  the call's by-reference 32-bit integers in parameter order
 *          (WD_Open: [0] is the device handle; WD_GetDeviceInfo: [0] status
 *          bits .. [4] diagnostic bits).
 * buffers: the call's byte pointers in parameter order (WD_GetErrorInfoMsg:
 *          [0] MsgBuffer1, [1] MsgBuffer2; WD_GetSetNvUserCode: [0] NewCode,
 *          [1] ReportedCode). With SB_Value, bufferLength[i] bytes of
 *          bufferBytes[i] are written from the buffer's start, at most the
 *          buffer's size (257 for a message buffer, 8 for a user code).
 */
typedef struct SbAnswer {
    int32_t overrideResult; /* nonzero: the call returns `result` */
    int32_t result;
    SbOutputMode valueMode[SB_MaxValues];
    int32_t value[SB_MaxValues];
    SbOutputMode bufferMode[SB_MaxBuffers];
    int32_t bufferLength[SB_MaxBuffers];
    unsigned char bufferBytes[SB_MaxBuffers][SB_BufferBytes];
} SbAnswer;

/* One call as it arrived, recorded in the trace. */
typedef struct SbCall {
    SbFunction function;
    int32_t argCount;
    int32_t args[SB_MaxArgs];            /* by-value arguments in parameter order, the handle first;
                                            WD_EnableDisable's 16-bit value widened */
    int32_t valueCount;
    int32_t valuesOnEntry[SB_MaxValues]; /* by-reference integers as the caller preset them
                                            (0 for a null pointer) */
    int32_t bufferCount;
    int32_t bufferSize[SB_MaxBuffers];   /* 257 for message buffers, 8 for user codes,
                                            0 for a null pointer */
    unsigned char buffersOnEntry[SB_MaxBuffers][SB_BufferBytes];
    int32_t result;                      /* what the call returned */
} SbCall;

typedef void (*SbCallback)(void *context);

/* Back to the default board: closed, default settings, no scripts, no
 * callbacks, an empty trace. The scenario named in SOFTBOARD_SCENARIO, if
 * any, applies again. */
SOFTBOARD_EXPORT void softboard_reset(void);

/* Queue an answer for the next call of `function` (several queue in order). */
SOFTBOARD_EXPORT void softboard_script_next(SbFunction function, const SbAnswer *answer);

/* Answer every call of `function` that finds no queued answer; NULL ends it. */
SOFTBOARD_EXPORT void softboard_script_every(SbFunction function, const SbAnswer *answer);

/* Run `callback(context)` at the start of every call of `function`, before the
 * board answers; NULL removes it. */
SOFTBOARD_EXPORT void softboard_on_call(SbFunction function, SbCallback callback, void *context);

/* The trace: every WD_ call since the last reset, oldest first, up to
 * SB_TraceCapacity calls; once full it records no more until a reset. */
SOFTBOARD_EXPORT int32_t softboard_trace_count(void);
/* Copies entry `index` into *call; returns 0, or -1 when there is no such entry. */
SOFTBOARD_EXPORT int32_t softboard_trace_get(int32_t index, SbCall *call);

/* "WD_Open" for SB_Open, and so on; "" for a value out of range. */
SOFTBOARD_EXPORT const char *softboard_function_name(SbFunction function);

#ifdef __cplusplus
}
#endif

#endif
