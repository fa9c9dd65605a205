// The software board, reached the way the program reaches it: through the
// binding's modHeader::WD_ functions, which load "Brenvik.dll" by its bare
// name (LD_LIBRARY_PATH points at the build's softboard folder). The control
// functions come from the same library, linked directly.
#include "binding/modheader.h"
#include "softboard/softboard_control.h"

#include <QByteArray>
#include <QList>
#include <QTest>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#if !defined(_WIN32)
#  include <dlfcn.h>
#  include <unistd.h>
#endif

Q_DECLARE_METATYPE(SbFunction)

using namespace modHeader;

namespace {

constexpr std::int32_t Handle = 1;
// What each by-reference integer and byte holds before a call, so that
// "nothing written" can be told from "zero written".
constexpr std::int32_t Preset = 0x5eed;
constexpr char MessagePreset = 'p';
constexpr char CodePreset = '\xee';

const QByteArray infoText = "Software board: simulated watchdog, no hardware attached";

// The outputs of one call, preset. Each buffer is a heap allocation of
// exactly its size, so that AddressSanitizer catches a write past it.
struct Io {
    std::array<std::int32_t, SB_MaxValues> values;
    std::unique_ptr<MessageBuffer> msg1 = std::make_unique<MessageBuffer>();
    std::unique_ptr<MessageBuffer> msg2 = std::make_unique<MessageBuffer>();
    std::unique_ptr<UserCode> newCode = std::make_unique<UserCode>();
    std::unique_ptr<UserCode> reportedCode = std::make_unique<UserCode>();

    Io()
    {
        values.fill(Preset);
        msg1->fill(MessagePreset);
        msg2->fill(MessagePreset);
        newCode->fill(static_cast<std::uint8_t>(CodePreset));
        reportedCode->fill(static_cast<std::uint8_t>(CodePreset));
    }

    QList<std::int32_t> valueList() const { return {values.begin(), values.end()}; }
};

template <typename Buffer>
QByteArray bytesOf(const Buffer &buffer)
{
    return QByteArray(reinterpret_cast<const char *>(buffer.data()), static_cast<qsizetype>(buffer.size()));
}

QByteArray bytesOf(const unsigned char *bytes, std::int32_t size)
{
    return QByteArray(reinterpret_cast<const char *>(bytes), size);
}

template <typename Buffer>
void fill(Buffer &buffer, const QByteArray &bytes)
{
    std::memcpy(buffer.data(), bytes.constData(), buffer.size());
}

// `values` followed by presets up to SB_MaxValues: what a call that writes
// exactly `values` leaves behind.
QList<std::int32_t> padded(QList<std::int32_t> values)
{
    while (values.size() < SB_MaxValues)
        values << Preset;
    return values;
}

// A message buffer holding `text` and its zero, the rest as preset.
QByteArray messageWith(const QByteArray &text)
{
    return (text + '\0').leftJustified(257, MessagePreset);
}

// Calls `function` through the binding with by-value `args` (the handle
// first) and the outputs in `io`.
std::int32_t invoke(SbFunction function, const QList<std::int32_t> &args, Io &io)
{
    auto &v = io.values;
    const auto a = [&args](qsizetype i) { return args.value(i); };
    switch (function) {
    case SB_GetDllVersion:
        return WD_GetDllVersion(v[0]);
    case SB_Open:
        return WD_Open(v[0]);
    case SB_GetComPortNum:
        return WD_GetComPortNum(a(0), v[0]);
    case SB_Close:
        return WD_Close(a(0));
    case SB_GetErrorInfoMsg:
        return WD_GetErrorInfoMsg(*io.msg1, *io.msg2);
    case SB_GetWDogType:
        return WD_GetWDogType(a(0), v[0]);
    case SB_GetDeviceInfo:
        return WD_GetDeviceInfo(a(0), v[0], v[1], v[2], v[3], v[4]);
    case SB_GetTempTickle:
        return WD_GetTempTickle(a(0), v[0], v[1], v[2]);
    case SB_SetPowerOnDlyTimes:
        return WD_SetPowerOnDlyTimes(a(0), a(1), a(2), a(3), v[0]);
    case SB_GetPowerOnDlyTimes:
        return WD_GetPowerOnDlyTimes(a(0), v[0], v[1]);
    case SB_SetWdogTimes:
        return WD_SetWdogTimes(a(0), a(1), a(2), a(3));
    case SB_SetBuzzer:
        return WD_SetBuzzer(a(0), a(1), a(2), a(3));
    case SB_GetWdogTimes:
        return WD_GetWdogTimes(a(0), v[0], v[1], v[2], v[3]);
    case SB_GetResetCount:
        return WD_GetResetCount(a(0), a(1), v[0]);
    case SB_GetSetNvTempOffset:
        return WD_GetSetNvTempOffset(a(0), a(1), a(2), v[0]);
    case SB_GetSetNvRelayPulse:
        return WD_GetSetNvRelayPulse(a(0), a(1), a(2), v[0]);
    case SB_GetSetNvUserCode:
        return WD_GetSetNvUserCode(a(0), a(1), *io.newCode, *io.reportedCode);
    case SB_EnableDisable:
        return WD_EnableDisable(a(0), static_cast<std::int16_t>(a(1)));
    case SB_GetBuzzer:
        return WD_GetBuzzer(a(0), v[0], v[1]);
    case SB_EnableDisablePcReset:
        return WD_EnableDisablePcReset(a(0), a(1), a(2), v[0]);
    case SB_GetSetPowerModule:
        return WD_GetSetPowerModule(a(0), a(1), v[0]);
    case SB_FunctionCount:
        break;
    }
    qFatal("invoke: not a function");
}

// The result of a call and what it left in the by-reference integers.
struct Answer {
    std::int32_t result;
    QList<std::int32_t> values;
};

Answer call(SbFunction function, const QList<std::int32_t> &args)
{
    Io io;
    const std::int32_t result = invoke(function, args, io);
    return {result, io.valueList()};
}

std::int32_t openBoard()
{
    std::int32_t handle = 0;
    return WD_Open(handle);
}

std::int32_t statusBits()
{
    return call(SB_GetDeviceInfo, {Handle}).values[0];
}

// Everything the board reports on an open board without changing anything,
// bar the tickle count that moves at every read.
QList<std::int32_t> boardSettings()
{
    QList<std::int32_t> settings;
    const auto read = [&settings](SbFunction function, const QList<std::int32_t> &args, qsizetype count) {
        const Answer answer = call(function, args);
        settings << answer.result << answer.values.first(count);
    };
    read(SB_GetComPortNum, {Handle}, 1);
    read(SB_GetPowerOnDlyTimes, {Handle}, 2);
    read(SB_GetWdogTimes, {Handle}, 4);
    read(SB_GetResetCount, {Handle, 1}, 1);
    read(SB_GetSetNvTempOffset, {Handle, 0, 0}, 1);
    read(SB_GetSetNvRelayPulse, {Handle, 0, 0}, 1);
    read(SB_GetBuzzer, {Handle}, 2);
    read(SB_GetSetPowerModule, {Handle, 0}, 1);
    read(SB_GetDeviceInfo, {Handle}, 1); // status bits
    Io io;
    settings << WD_GetSetNvUserCode(Handle, 0, *io.newCode, *io.reportedCode);
    for (const std::uint8_t byte : *io.reportedCode)
        settings << byte;
    return settings;
}

SbAnswer valueAnswer(std::int32_t value)
{
    SbAnswer answer{};
    answer.valueMode[0] = SB_Value;
    answer.value[0] = value;
    return answer;
}

SbCall traceEntry(std::int32_t index)
{
    SbCall entry{};
    if (softboard_trace_get(index, &entry) != 0)
        qWarning("no trace entry %d", index);
    return entry;
}

SbCall lastTraceEntry()
{
    return traceEntry(softboard_trace_count() - 1);
}

void setEnvironment(const char *name, const QByteArray &value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

#if !defined(_WIN32)

// Collects what is written to stderr (file descriptor 2, so C stdio and
// anything else alike) while it exists or until text() is called.
class StderrCapture
{
public:
    StderrCapture() : m_file(std::tmpfile())
    {
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        dup2(fileno(m_file), STDERR_FILENO);
    }
    ~StderrCapture()
    {
        restore();
        std::fclose(m_file);
    }
    StderrCapture(const StderrCapture &) = delete;
    StderrCapture &operator=(const StderrCapture &) = delete;

    QByteArray text()
    {
        restore();
        std::rewind(m_file);
        QByteArray text;
        char chunk[4096];
        while (const std::size_t read = std::fread(chunk, 1, sizeof chunk, m_file))
            text.append(chunk, static_cast<qsizetype>(read));
        return text;
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        m_saved = -1;
    }

    std::FILE *m_file;
    int m_saved = -1;
};

// The software board without WD_GetBuzzer, loaded by its path as a library
// instance of its own, with SOFTBOARD_SCENARIO=no-com-port set only while it
// loads. Never unloaded: the board it keeps lives as long as the process.
void *libraryWithoutGetBuzzer()
{
#  if defined(SOFTBOARD_WITHOUT_GETBUZZER_FILE)
    static void *const library = [] {
        qputenv("SOFTBOARD_SCENARIO", "no-com-port");
        void *loaded = dlopen(SOFTBOARD_WITHOUT_GETBUZZER_FILE, RTLD_NOW | RTLD_LOCAL);
        qunsetenv("SOFTBOARD_SCENARIO");
        if (!loaded)
            qWarning("%s", dlerror());
        return loaded;
    }();
    return library;
#  else
    return nullptr;
#  endif
}

#endif

} // namespace

class TestSoftboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    // The default board
    void answersOfOpenBoard_data();
    void answersOfOpenBoard();
    void setThenGet_data();
    void setThenGet();
    void armingAndEnableGovernRequests_data();
    void armingAndEnableGovernRequests();
    void resetCountReadAndCleared();
    void powerModuleToggles();
    void userCodeStoredAndReported();
    void tickleCountMoves();
    void openAndClose();
    void refusedCallsWriteAndChangeNothing_data();
    void refusedCallsWriteAndChangeNothing();
    void nullPointersRefused();
    void programSequenceTwice();

    // Scripts
    void scriptedValues_data();
    void scriptedValues();
    void scriptsQueueInOrder();
    void boardLogicRunsUnderScripts();
    void scriptedBuffers_data();
    void scriptedBuffers();

    // Trace and callbacks
    void traceRecordsCallsAsTheyArrived_data();
    void traceRecordsCallsAsTheyArrived();
    void traceLookupsOutOfRange();
    void traceStopsRecordingWhenFull();
    void callbackRunsInsideTheCall();
    void resetInsideCallback();
    void resetRestoresEverything();

    // Environment and exports
    void scenarios_data();
    void scenarios();
    void traceLines_data();
    void traceLines();
    void exportsOfLibraryWithoutGetBuzzer();
    void scenarioReadWhenLibraryLoads();
};

void TestSoftboard::init()
{
    softboard_reset();
}

void TestSoftboard::cleanup()
{
    qunsetenv("SOFTBOARD_SCENARIO");
    qunsetenv("SOFTBOARD_TRACE");
    softboard_reset();
}

void TestSoftboard::answersOfOpenBoard_data()
{
    QTest::addColumn<SbFunction>("function");
    QTest::addColumn<QList<std::int32_t>>("args");
    QTest::addColumn<std::int32_t>("result");
    QTest::addColumn<QList<std::int32_t>>("values"); // presets follow

    const std::int32_t bad = SB_ResultBadArgument;
    QTest::newRow("dll version") << SB_GetDllVersion << QList<std::int32_t>{} << 0 << QList{0x02030107};
    QTest::newRow("com port") << SB_GetComPortNum << QList{Handle} << 0 << QList{3};
    QTest::newRow("board type") << SB_GetWDogType << QList{Handle} << 0 << QList{5};
    QTest::newRow("device info") << SB_GetDeviceInfo << QList{Handle} << 0 << QList{0, 0x3, 0x0203, 1, 0};
    QTest::newRow("temperature") << SB_GetTempTickle << QList{Handle} << 0 << QList{25, 1, 1};
    QTest::newRow("power-on delays") << SB_GetPowerOnDlyTimes << QList{Handle} << 0 << QList{0, 0};
    QTest::newRow("watchdog times") << SB_GetWdogTimes << QList{Handle} << 0 << QList{0, 0, 0, 120};
    QTest::newRow("reset count") << SB_GetResetCount << QList{Handle, 1} << 0 << QList{2};
    QTest::newRow("temp offset read") << SB_GetSetNvTempOffset << QList{Handle, 0, 99} << 0 << QList{0};
    QTest::newRow("relay pulse read") << SB_GetSetNvRelayPulse << QList{Handle, 0, 99} << 0 << QList{0};
    QTest::newRow("buzzer") << SB_GetBuzzer << QList{Handle} << 0 << QList{0, 0};
    QTest::newRow("power module read") << SB_GetSetPowerModule << QList{Handle, 0} << 0 << QList{1};
    QTest::newRow("power-on delays accepted") << SB_SetPowerOnDlyTimes << QList{Handle, 600, 0, 1} << 0 << QList{0};
    QTest::newRow("pc reset rejected: not armed")
        << SB_EnableDisablePcReset << QList{Handle, 1, 10} << 0 << QList{0x10000};
    QTest::newRow("pc reset cancelled") << SB_EnableDisablePcReset << QList{Handle, 0, 10} << 0 << QList{0};

    QTest::newRow("temp offset: mode 2") << SB_GetSetNvTempOffset << QList{Handle, 2, 5} << bad << QList<std::int32_t>{};
    QTest::newRow("relay pulse: mode -1") << SB_GetSetNvRelayPulse << QList{Handle, -1, 5} << bad << QList<std::int32_t>{};
    QTest::newRow("enable/disable: 0") << SB_EnableDisable << QList{Handle, 0} << bad << QList<std::int32_t>{};
    QTest::newRow("enable/disable: 3") << SB_EnableDisable << QList{Handle, 3} << bad << QList<std::int32_t>{};
    QTest::newRow("pc reset: mode 2") << SB_EnableDisablePcReset << QList{Handle, 2, 10} << bad << QList<std::int32_t>{};
    // The answer has 16 bits for the seconds; bit 16 means "rejected".
    QTest::newRow("pc reset: 65536 seconds")
        << SB_EnableDisablePcReset << QList{Handle, 1, 0x10000} << bad << QList<std::int32_t>{};
    QTest::newRow("pc reset: negative seconds")
        << SB_EnableDisablePcReset << QList{Handle, 1, -1} << bad << QList<std::int32_t>{};
    QTest::newRow("power module: 3") << SB_GetSetPowerModule << QList{Handle, 3} << bad << QList<std::int32_t>{};
    QTest::newRow("user code: mode 2") << SB_GetSetNvUserCode << QList{Handle, 2} << bad << QList<std::int32_t>{};
}

void TestSoftboard::answersOfOpenBoard()
{
    QFETCH(SbFunction, function);
    QFETCH(QList<std::int32_t>, args);
    QFETCH(std::int32_t, result);
    QFETCH(QList<std::int32_t>, values);
    QCOMPARE(openBoard(), SB_ResultOk);

    Io io;
    QCOMPARE(invoke(function, args, io), result);
    QCOMPARE(io.valueList(), padded(values));
    if (result != SB_ResultOk) {
        QCOMPARE(bytesOf(*io.reportedCode), QByteArray(8, CodePreset));
        QCOMPARE(statusBits(), 0); // a refused enable/disable changed nothing
    }
}

void TestSoftboard::setThenGet_data()
{
    QTest::addColumn<SbFunction>("setter");
    QTest::addColumn<QList<std::int32_t>>("setArgs");
    QTest::addColumn<QList<std::int32_t>>("setValues"); // what the set call itself reports
    QTest::addColumn<SbFunction>("getter");
    QTest::addColumn<QList<std::int32_t>>("getArgs");
    QTest::addColumn<QList<std::int32_t>>("getValues");

    const QList<std::int32_t> none;
    QTest::newRow("power-on delays") << SB_SetPowerOnDlyTimes << QList{Handle, 45, 30, 0} << QList{0}
                                     << SB_GetPowerOnDlyTimes << QList{Handle} << QList{45, 30};
    QTest::newRow("watchdog times, arming") << SB_SetWdogTimes << QList{Handle, 600, 0, 1} << none << SB_GetWdogTimes
                                            << QList{Handle} << QList{600, 0, 600, 120};
    QTest::newRow("watchdog times, nv") << SB_SetWdogTimes << QList{Handle, 30, 90, 0} << none << SB_GetWdogTimes
                                        << QList{Handle} << QList{30, 90, 30, 120};
    QTest::newRow("temp offset") << SB_GetSetNvTempOffset << QList{Handle, 1, 11} << QList{11}
                                 << SB_GetSetNvTempOffset << QList{Handle, 0, 0} << QList{11};
    QTest::newRow("temp offset negative") << SB_GetSetNvTempOffset << QList{Handle, 1, -4} << QList{-4}
                                          << SB_GetSetNvTempOffset << QList{Handle, 0, 0} << QList{-4};
    QTest::newRow("relay pulse") << SB_GetSetNvRelayPulse << QList{Handle, 1, 25} << QList{25}
                                 << SB_GetSetNvRelayPulse << QList{Handle, 0, 0} << QList{25};
    QTest::newRow("relay pulse read leaves it") << SB_GetSetNvRelayPulse << QList{Handle, 0, 25} << QList{0}
                                                << SB_GetSetNvRelayPulse << QList{Handle, 0, 0} << QList{0};
    QTest::newRow("buzzer: both times") << SB_SetBuzzer << QList{Handle, 15, 250, 3} << none << SB_GetBuzzer
                                        << QList{Handle} << QList{15, 250};
    QTest::newRow("buzzer: buzz time only") << SB_SetBuzzer << QList{Handle, 15, 250, 1} << none << SB_GetBuzzer
                                            << QList{Handle} << QList{15, 0};
    QTest::newRow("buzzer: nv time only") << SB_SetBuzzer << QList{Handle, 15, 250, 2} << none << SB_GetBuzzer
                                          << QList{Handle} << QList{0, 250};
    QTest::newRow("buzzer: neither") << SB_SetBuzzer << QList{Handle, 15, 250, 0} << none << SB_GetBuzzer
                                     << QList{Handle} << QList{0, 0};
    QTest::newRow("power module off") << SB_GetSetPowerModule << QList{Handle, 2} << QList{1}
                                      << SB_GetSetPowerModule << QList{Handle, 0} << QList{0};
}

void TestSoftboard::setThenGet()
{
    QFETCH(SbFunction, setter);
    QFETCH(QList<std::int32_t>, setArgs);
    QFETCH(QList<std::int32_t>, setValues);
    QFETCH(SbFunction, getter);
    QFETCH(QList<std::int32_t>, getArgs);
    QFETCH(QList<std::int32_t>, getValues);
    QCOMPARE(openBoard(), SB_ResultOk);

    const Answer set = call(setter, setArgs);
    QCOMPARE(set.result, SB_ResultOk);
    QCOMPARE(set.values, padded(setValues));
    const Answer got = call(getter, getArgs);
    QCOMPARE(got.result, SB_ResultOk);
    QCOMPARE(got.values, padded(getValues));
}

void TestSoftboard::armingAndEnableGovernRequests_data()
{
    QTest::addColumn<QList<std::int32_t>>("wdogTimes"); // SetWdogTimes calls, three arguments each
    QTest::addColumn<QList<std::int32_t>>("enableDisable"); // EnableDisable calls
    QTest::addColumn<std::int32_t>("status");
    QTest::addColumn<std::int32_t>("resetAnswer"); // to a reset in 10 seconds
    QTest::addColumn<std::int32_t>("powerOnDelayAnswer");

    const QList<std::int32_t> none;
    QTest::newRow("fresh board") << none << none << 0x0 << 0x10000 << 0;
    QTest::newRow("armed") << QList{600, 0, 1} << none << 0x1 << 10 << 1;
    QTest::newRow("armed, disabled") << QList{600, 0, 1} << QList{1} << 0x9 << 0x10000 << 1;
    QTest::newRow("armed, disabled, enabled") << QList{600, 0, 1} << QList{1, 2} << 0x1 << 10 << 1;
    QTest::newRow("disabled, not armed") << none << QList{1} << 0x8 << 0x10000 << 0;
    QTest::newRow("time set without arming") << QList{300, 0, 0} << none << 0x0 << 0x10000 << 0;
    QTest::newRow("arming flag without time") << QList{0, 0, 1} << none << 0x0 << 0x10000 << 0;
    QTest::newRow("armed, then time zero stops it") << QList{600, 0, 1, 0, 0, 1} << none << 0x0 << 0x10000 << 0;
    QTest::newRow("armed, then new time without flag")
        << QList{600, 0, 1, 300, 0, 0} << none << 0x1 << 10 << 1;
}

void TestSoftboard::armingAndEnableGovernRequests()
{
    QFETCH(QList<std::int32_t>, wdogTimes);
    QFETCH(QList<std::int32_t>, enableDisable);
    QFETCH(std::int32_t, status);
    QFETCH(std::int32_t, resetAnswer);
    QFETCH(std::int32_t, powerOnDelayAnswer);
    QCOMPARE(openBoard(), SB_ResultOk);
    for (qsizetype i = 0; i + 2 < wdogTimes.size(); i += 3)
        QCOMPARE(WD_SetWdogTimes(Handle, wdogTimes[i], wdogTimes[i + 1], wdogTimes[i + 2]), SB_ResultOk);
    for (const std::int32_t value : enableDisable)
        QCOMPARE(WD_EnableDisable(Handle, static_cast<std::int16_t>(value)), SB_ResultOk);

    // Bit 3 tells disabled; bit 20 is never the board's own.
    QCOMPARE(statusBits(), status);
    QCOMPARE(call(SB_EnableDisablePcReset, {Handle, 1, 10}).values[0], resetAnswer);

    const Answer delays = call(SB_SetPowerOnDlyTimes, {Handle, 45, 30, 0});
    QCOMPARE(delays.result, SB_ResultOk);
    QCOMPARE(delays.values[0], powerOnDelayAnswer);
    const QList<std::int32_t> stored = powerOnDelayAnswer == 0 ? QList{45, 30} : QList{0, 0};
    QCOMPARE(call(SB_GetPowerOnDlyTimes, {Handle}).values, padded(stored));
}

void TestSoftboard::resetCountReadAndCleared()
{
    QCOMPARE(openBoard(), SB_ResultOk);
    QCOMPARE(call(SB_GetResetCount, {Handle, 1}).values[0], 2);
    QCOMPARE(call(SB_GetResetCount, {Handle, 1}).values[0], 2);
    QCOMPARE(call(SB_GetResetCount, {Handle, 0}).values[0], 2);
    QCOMPARE(call(SB_GetResetCount, {Handle, 1}).values[0], 0);
}

void TestSoftboard::powerModuleToggles()
{
    QCOMPARE(openBoard(), SB_ResultOk);
    // Each answer is the state before the call.
    QCOMPARE(call(SB_GetSetPowerModule, {Handle, 2}).values[0], 1);
    QCOMPARE(call(SB_GetSetPowerModule, {Handle, 2}).values[0], 0);
    QCOMPARE(call(SB_GetSetPowerModule, {Handle, 0}).values[0], 0);
    QCOMPARE(call(SB_GetSetPowerModule, {Handle, 1}).values[0], 0);
    QCOMPARE(call(SB_GetSetPowerModule, {Handle, 1}).values[0], 1);
    QCOMPARE(call(SB_GetSetPowerModule, {Handle, 0}).values[0], 1);
}

void TestSoftboard::userCodeStoredAndReported()
{
    QCOMPARE(openBoard(), SB_ResultOk);

    Io write;
    fill(*write.newCode, "01234567");
    QCOMPARE(invoke(SB_GetSetNvUserCode, {Handle, 1}, write), SB_ResultOk);
    QCOMPARE(bytesOf(*write.reportedCode), QByteArray("01234567"));
    QCOMPARE(bytesOf(*write.newCode), QByteArray("01234567"));

    // A read reports the stored code and ignores NewCode.
    Io read;
    fill(*read.newCode, "ABCDEFGH");
    QCOMPARE(invoke(SB_GetSetNvUserCode, {Handle, 0}, read), SB_ResultOk);
    QCOMPARE(bytesOf(*read.reportedCode), QByteArray("01234567"));
    QCOMPARE(bytesOf(*read.newCode), QByteArray("ABCDEFGH"));

    Io zeros;
    zeros.newCode->fill(0);
    QCOMPARE(invoke(SB_GetSetNvUserCode, {Handle, 1}, zeros), SB_ResultOk);
    QCOMPARE(bytesOf(*zeros.reportedCode), QByteArray(8, '\0'));
}

void TestSoftboard::tickleCountMoves()
{
    QCOMPARE(openBoard(), SB_ResultOk);
    const std::int32_t first = call(SB_GetDeviceInfo, {Handle}).values[3];
    QCOMPARE(call(SB_GetTempTickle, {Handle}).values[2], first + 1);
    QCOMPARE(call(SB_GetWdogTimes, {Handle}).result, SB_ResultOk); // reports no tickle count
    QCOMPARE(call(SB_GetDeviceInfo, {Handle}).values[3], first + 2);
    QCOMPARE(call(SB_GetTempTickle, {Handle + 1}).result, SB_ResultNotOpen);
    QCOMPARE(call(SB_GetTempTickle, {Handle}).values[2], first + 3);
}

void TestSoftboard::openAndClose()
{
    // These three work on a closed board.
    QCOMPARE(call(SB_GetDllVersion, {}).result, SB_ResultOk);
    Io messages;
    QCOMPARE(WD_GetErrorInfoMsg(*messages.msg1, *messages.msg2), SB_ResultOk);
    QCOMPARE(bytesOf(*messages.msg1), messageWith("No error"));
    QCOMPARE(bytesOf(*messages.msg2), messageWith(infoText));

    const Answer opened = call(SB_Open, {});
    QCOMPARE(opened.result, SB_ResultOk);
    QCOMPARE(opened.values, padded({Handle}));
    QCOMPARE(call(SB_GetComPortNum, {Handle}).result, SB_ResultOk);

    QCOMPARE(WD_Close(Handle), SB_ResultOk);
    QCOMPARE(call(SB_GetComPortNum, {Handle}).result, SB_ResultNotOpen);
    QCOMPARE(WD_Close(Handle), SB_ResultNotOpen);

    // Opening again keeps what the board held.
    QCOMPARE(openBoard(), SB_ResultOk);
    QCOMPARE(WD_SetWdogTimes(Handle, 600, 0, 1), SB_ResultOk);
    QCOMPARE(WD_Close(Handle), SB_ResultOk);
    QCOMPARE(openBoard(), SB_ResultOk);
    QCOMPARE(statusBits(), 0x1);
}

void TestSoftboard::refusedCallsWriteAndChangeNothing_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<SbFunction>("function");
    QTest::addColumn<QList<std::int32_t>>("args"); // those that would change the board if it took them

    struct Row {
        const char *name;
        SbFunction function;
        QList<std::int32_t> args; // without the handle
    };
    const Row rows[] = {
        {"WD_GetComPortNum", SB_GetComPortNum, {}},
        {"WD_Close", SB_Close, {}},
        {"WD_GetWDogType", SB_GetWDogType, {}},
        {"WD_GetDeviceInfo", SB_GetDeviceInfo, {}},
        {"WD_GetTempTickle", SB_GetTempTickle, {}},
        {"WD_SetPowerOnDlyTimes", SB_SetPowerOnDlyTimes, {45, 30, 0}},
        {"WD_GetPowerOnDlyTimes", SB_GetPowerOnDlyTimes, {}},
        {"WD_SetWdogTimes", SB_SetWdogTimes, {77, 88, 1}},
        {"WD_SetBuzzer", SB_SetBuzzer, {15, 250, 3}},
        {"WD_GetWdogTimes", SB_GetWdogTimes, {}},
        {"WD_GetResetCount", SB_GetResetCount, {0}},
        {"WD_GetSetNvTempOffset", SB_GetSetNvTempOffset, {1, 11}},
        {"WD_GetSetNvRelayPulse", SB_GetSetNvRelayPulse, {1, 25}},
        {"WD_GetSetNvUserCode", SB_GetSetNvUserCode, {1}},
        {"WD_EnableDisable", SB_EnableDisable, {1}},
        {"WD_GetBuzzer", SB_GetBuzzer, {}},
        {"WD_EnableDisablePcReset", SB_EnableDisablePcReset, {1, 10}},
        {"WD_GetSetPowerModule", SB_GetSetPowerModule, {2}},
    };
    for (const Row &row : rows)
        QTest::addRow("%s, board closed", row.name) << false << row.function << QList{Handle} + row.args;
    for (const std::int32_t handle : {0, 2}) {
        for (const Row &row : rows)
            QTest::addRow("%s, handle %d", row.name, handle) << true << row.function << QList{handle} + row.args;
    }
}

void TestSoftboard::refusedCallsWriteAndChangeNothing()
{
    QFETCH(bool, open);
    QFETCH(SbFunction, function);
    QFETCH(QList<std::int32_t>, args);

    QCOMPARE(openBoard(), SB_ResultOk);
    const QList<std::int32_t> before = boardSettings();
    if (!open)
        QCOMPARE(WD_Close(Handle), SB_ResultOk);

    Io io;
    QCOMPARE(invoke(function, args, io), SB_ResultNotOpen);
    QCOMPARE(io.valueList(), padded({}));
    QCOMPARE(bytesOf(*io.reportedCode), QByteArray(8, CodePreset));

    if (!open)
        QCOMPARE(openBoard(), SB_ResultOk);
    QCOMPARE(boardSettings(), before);
}

void TestSoftboard::nullPointersRefused()
{
#if defined(_WIN32)
    QSKIP("looks the functions up with dlsym");
#else
    // The binding cannot pass a null pointer, so these go to the library directly.
    void *library = dlopen("Brenvik.dll", RTLD_NOW | RTLD_NOLOAD);
    QVERIFY(library);
    const auto comPort = reinterpret_cast<std::int32_t (*)(std::int32_t, std::int32_t *)>(
        dlsym(library, "WD_GetComPortNum"));
    const auto messages = reinterpret_cast<std::int32_t (*)(char *, char *)>(dlsym(library, "WD_GetErrorInfoMsg"));
    const auto userCode = reinterpret_cast<std::int32_t (*)(std::int32_t, std::int32_t, unsigned char *,
                                                            unsigned char *)>(dlsym(library, "WD_GetSetNvUserCode"));
    const auto open = reinterpret_cast<std::int32_t (*)(std::int32_t *)>(dlsym(library, "WD_Open"));
    dlclose(library);
    QVERIFY(comPort && messages && userCode && open);

    QCOMPARE(open(nullptr), SB_ResultBadArgument);
    QCOMPARE(call(SB_GetComPortNum, {Handle}).result, SB_ResultNotOpen); // still closed
    QCOMPARE(openBoard(), SB_ResultOk);
    QCOMPARE(comPort(Handle, nullptr), SB_ResultBadArgument);

    Io io;
    QCOMPARE(messages(nullptr, io.msg2->data()), SB_ResultBadArgument);
    QCOMPARE(bytesOf(*io.msg2), QByteArray(257, MessagePreset));
    SbCall entry = lastTraceEntry();
    QCOMPARE(entry.bufferSize[0], 0);
    QCOMPARE(entry.bufferSize[1], 257);

    QCOMPARE(userCode(Handle, 1, nullptr, io.reportedCode->data()), SB_ResultBadArgument);
    QCOMPARE(bytesOf(*io.reportedCode), QByteArray(8, CodePreset));
    fill(*io.newCode, "ABCDEFGH");
    QCOMPARE(userCode(Handle, 1, io.newCode->data(), nullptr), SB_ResultBadArgument);
    QCOMPARE(userCode(Handle, 0, io.newCode->data(), io.reportedCode->data()), SB_ResultOk);
    QCOMPARE(bytesOf(*io.reportedCode), QByteArray(8, '\0')); // nothing was stored

    // A scripted value has nowhere to go either.
    const SbAnswer seven = valueAnswer(7);
    softboard_script_next(SB_GetComPortNum, &seven);
    QCOMPARE(comPort(Handle, nullptr), SB_ResultBadArgument);
#endif
}

void TestSoftboard::programSequenceTwice()
{
    struct Step {
        SbFunction function;
        QList<std::int32_t> args;
        QList<std::int32_t> values;    // expected
        QByteArray newCode;            // set before the call
        QByteArray reportedCode;       // expected, when not empty
    };
    const QByteArray zeros(8, '\0');
    const QList<Step> firstRun = {
        {SB_GetDllVersion, {}, {0x02030107}, {}, {}},
        {SB_Open, {}, {Handle}, {}, {}},
        {SB_GetComPortNum, {Handle}, {3}, {}, {}},
        {SB_SetPowerOnDlyTimes, {Handle, 600, 0, 1}, {0}, {}, {}},
        {SB_GetPowerOnDlyTimes, {Handle}, {600, 0}, {}, {}},
        {SB_SetWdogTimes, {Handle, 600, 0, 1}, {}, {}, {}},
        {SB_GetWdogTimes, {Handle}, {600, 0, 600, 120}, {}, {}},
        {SB_GetResetCount, {Handle, 1}, {2}, {}, {}},
        {SB_GetSetNvTempOffset, {Handle, 1, 11}, {11}, {}, {}},
        {SB_GetSetNvTempOffset, {Handle, 1, 0}, {0}, {}, {}},
        {SB_EnableDisable, {Handle, 1}, {}, {}, {}},
        {SB_GetDeviceInfo, {Handle}, {0x9, 0x3, 0x0203, 1, 0}, {}, {}},
        {SB_EnableDisable, {Handle, 2}, {}, {}, {}},
        {SB_GetDeviceInfo, {Handle}, {0x1, 0x3, 0x0203, 2, 0}, {}, {}},
        {SB_GetSetNvRelayPulse, {Handle, 1, 25}, {25}, {}, {}},
        {SB_GetSetNvRelayPulse, {Handle, 1, 0}, {0}, {}, {}},
        {SB_SetBuzzer, {Handle, 15, 250, 3}, {}, {}, {}},
        {SB_GetBuzzer, {Handle}, {15, 250}, {}, {}},
        {SB_SetBuzzer, {Handle, 0, 0, 3}, {}, {}, {}},
        {SB_GetBuzzer, {Handle}, {0, 0}, {}, {}},
        {SB_GetSetNvUserCode, {Handle, 1}, {}, "01234567", "01234567"},
        {SB_GetSetNvUserCode, {Handle, 1}, {}, zeros, zeros},
        {SB_EnableDisablePcReset, {Handle, 1, 10}, {10}, {}, {}},
        {SB_GetSetPowerModule, {Handle, 2}, {1}, {}, {}},
        {SB_GetSetPowerModule, {Handle, 1}, {0}, {}, {}},
        {SB_Close, {Handle}, {}, {}, {}},
    };
    const QList<Step> secondRun = {
        {SB_Open, {}, {Handle}, {}, {}},
        {SB_SetPowerOnDlyTimes, {Handle, 600, 0, 1}, {1}, {}, {}}, // refused: armed since the first run
        {SB_GetPowerOnDlyTimes, {Handle}, {600, 0}, {}, {}},
    };

    for (const QList<Step> &run : {firstRun, secondRun}) {
        for (const Step &step : run) {
            Io io;
            if (!step.newCode.isEmpty())
                fill(*io.newCode, step.newCode);
            const std::int32_t result = invoke(step.function, step.args, io);
            const QByteArray name = softboard_function_name(step.function);
            QCOMPARE(name + " -> " + QByteArray::number(result), name + " -> 0");
            QCOMPARE(io.valueList(), padded(step.values));
            if (!step.reportedCode.isEmpty())
                QCOMPARE(bytesOf(*io.reportedCode), step.reportedCode);
        }
    }
}

void TestSoftboard::scriptedValues_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<std::int32_t>("overrideResult");
    QTest::addColumn<std::int32_t>("scriptedResult");
    QTest::addColumn<QList<std::int32_t>>("modes");
    QTest::addColumn<QList<std::int32_t>>("scriptedValues");
    QTest::addColumn<std::int32_t>("result");
    QTest::addColumn<QList<std::int32_t>>("values"); // of WD_GetWdogTimes

    const QList<std::int32_t> none;
    QTest::newRow("zero answer: the board's own") << true << 0 << 0 << none << none << 0 << QList{0, 0, 0, 120};
    QTest::newRow("result only") << true << 1 << 7 << none << none << 7 << QList{0, 0, 0, 120};
    QTest::newRow("result zero replaces a failure")
        << false << 1 << 0 << none << none << 0 << QList<std::int32_t>{};
    QTest::newRow("result set, not overridden") << true << 0 << 7 << none << none << 0 << QList{0, 0, 0, 120};
    using Modes = QList<std::int32_t>;
    QTest::newRow("one value") << true << 0 << 0 << Modes{SB_Value} << QList{77} << 0 << QList{77, 0, 0, 120};
    QTest::newRow("last value") << true << 0 << 0 << Modes{SB_Board, SB_Board, SB_Board, SB_Value}
                                << QList{0, 0, 0, -5} << 0 << QList{0, 0, 0, -5};
    QTest::newRow("untouched keeps presets") << true << 0 << 0
                                             << Modes{SB_Untouched, SB_Untouched, SB_Board, SB_Untouched} << none
                                             << 0 << QList{Preset, Preset, 0, Preset};
    QTest::newRow("value though the board refuses")
        << false << 0 << 0 << Modes{SB_Value} << QList{5} << std::int32_t(SB_ResultNotOpen) << QList{5};
    QTest::newRow("everything scripted") << true << 1 << -1 << Modes{SB_Value, SB_Value, SB_Value, SB_Value}
                                         << QList{1, 2, 3, 4} << -1 << QList{1, 2, 3, 4};
}

void TestSoftboard::scriptedValues()
{
    QFETCH(bool, open);
    QFETCH(std::int32_t, overrideResult);
    QFETCH(std::int32_t, scriptedResult);
    QFETCH(QList<std::int32_t>, modes);
    QFETCH(QList<std::int32_t>, scriptedValues);
    QFETCH(std::int32_t, result);
    QFETCH(QList<std::int32_t>, values);
    if (open)
        QCOMPARE(openBoard(), SB_ResultOk);

    SbAnswer answer{};
    answer.overrideResult = overrideResult;
    answer.result = scriptedResult;
    for (qsizetype i = 0; i < modes.size(); ++i)
        answer.valueMode[i] = static_cast<SbOutputMode>(modes[i]);
    for (qsizetype i = 0; i < scriptedValues.size(); ++i)
        answer.value[i] = scriptedValues[i];
    softboard_script_next(SB_GetWdogTimes, &answer);

    const Answer scripted = call(SB_GetWdogTimes, {Handle});
    QCOMPARE(scripted.result, result);
    QCOMPARE(scripted.values, padded(values));
    // Used up by that one call.
    QCOMPARE(call(SB_GetWdogTimes, {Handle}).result, open ? SB_ResultOk : SB_ResultNotOpen);
}

void TestSoftboard::scriptsQueueInOrder()
{
    QCOMPARE(openBoard(), SB_ResultOk);
    const SbAnswer first = valueAnswer(10), second = valueAnswer(11), every = valueAnswer(20),
                   replaced = valueAnswer(21), other = valueAnswer(30);
    softboard_script_every(SB_GetComPortNum, &every);
    softboard_script_next(SB_GetComPortNum, &first);
    softboard_script_next(SB_GetComPortNum, &second);
    softboard_script_next(SB_GetWDogType, &other);

    const auto port = [] { return call(SB_GetComPortNum, {Handle}).values[0]; };
    QCOMPARE(call(SB_GetWDogType, {Handle}).values[0], 30); // each function has its own queue
    QCOMPARE(port(), 10);
    QCOMPARE(port(), 11);
    QCOMPARE(port(), 20);
    QCOMPARE(port(), 20);
    softboard_script_every(SB_GetComPortNum, &replaced);
    QCOMPARE(port(), 21);
    softboard_script_every(SB_GetComPortNum, nullptr);
    QCOMPARE(port(), 3);
    QCOMPARE(call(SB_GetWDogType, {Handle}).values[0], 5);

    // Out-of-range functions and a null answer are ignored.
    softboard_script_next(SB_FunctionCount, &first);
    softboard_script_every(SB_FunctionCount, &first);
    softboard_on_call(SB_FunctionCount, [](void *) {}, nullptr);
    softboard_script_next(SB_GetComPortNum, nullptr);
    QCOMPARE(port(), 3);
}

void TestSoftboard::boardLogicRunsUnderScripts()
{
    QCOMPARE(openBoard(), SB_ResultOk);
    SbAnswer failing{};
    failing.overrideResult = 1;
    failing.result = 9;
    softboard_script_next(SB_SetWdogTimes, &failing);
    QCOMPARE(WD_SetWdogTimes(Handle, 600, 0, 1), 9);
    QCOMPARE(call(SB_GetWdogTimes, {Handle}).values, padded({600, 0, 600, 120}));

    // The board refuses (armed); the script makes it look accepted, but
    // nothing is stored.
    const SbAnswer accepted = valueAnswer(0);
    softboard_script_next(SB_SetPowerOnDlyTimes, &accepted);
    QCOMPARE(call(SB_SetPowerOnDlyTimes, {Handle, 45, 30, 0}).values[0], 0);
    QCOMPARE(call(SB_GetPowerOnDlyTimes, {Handle}).values, padded({0, 0}));
}

void TestSoftboard::scriptedBuffers_data()
{
    QTest::addColumn<SbFunction>("function");
    QTest::addColumn<std::int32_t>("buffer");
    QTest::addColumn<std::int32_t>("mode");
    QTest::addColumn<std::int32_t>("length");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("expected"); // the whole buffer after the call
    QTest::addColumn<QByteArray>("other");    // the call's other buffer after the call

    const QByteArray message(257, MessagePreset);
    const QByteArray info = messageWith(infoText);
    const QByteArray error = messageWith("No error");
    const QByteArray code(8, CodePreset);
    const QByteArray zeros(8, '\0');
    const QByteArray alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

    QTest::newRow("message: board's text") << SB_GetErrorInfoMsg << 1 << int(SB_Board) << 3 << QByteArray("xy")
                                           << info << error;
    QTest::newRow("message: 256 bytes without a zero") << SB_GetErrorInfoMsg << 1 << int(SB_Value) << 256
                                                       << QByteArray(256, 'A') << QByteArray(256, 'A') + MessagePreset
                                                       << error;
    QTest::newRow("message: all 257 bytes") << SB_GetErrorInfoMsg << 1 << int(SB_Value) << 257
                                            << QByteArray(257, 'B') << QByteArray(257, 'B') << error;
    QTest::newRow("message: length cut to 257") << SB_GetErrorInfoMsg << 1 << int(SB_Value) << 100000
                                                << QByteArray(257, 'C') << QByteArray(257, 'C') << error;
    QTest::newRow("message: short text, rest as preset")
        << SB_GetErrorInfoMsg << 1 << int(SB_Value) << 3 << QByteArray("hi\0", 3) << messageWith("hi") << error;
    QTest::newRow("message: length 0") << SB_GetErrorInfoMsg << 1 << int(SB_Value) << 0 << QByteArray("hi")
                                       << message << error;
    QTest::newRow("message: negative length") << SB_GetErrorInfoMsg << 1 << int(SB_Value) << -1 << QByteArray("hi")
                                              << message << error;
    QTest::newRow("message: untouched") << SB_GetErrorInfoMsg << 1 << int(SB_Untouched) << 0 << QByteArray()
                                        << message << error;
    QTest::newRow("message 1 scripted, 2 the board's")
        << SB_GetErrorInfoMsg << 0 << int(SB_Value) << 4 << QByteArray("bad\0", 4) << messageWith("bad") << info;

    QTest::newRow("user code: board's code") << SB_GetSetNvUserCode << 1 << int(SB_Board) << 0 << QByteArray()
                                             << zeros << code;
    QTest::newRow("user code: 8 bytes") << SB_GetSetNvUserCode << 1 << int(SB_Value) << 8 << alphabet
                                        << alphabet.left(8) << code;
    QTest::newRow("user code: length cut to 8") << SB_GetSetNvUserCode << 1 << int(SB_Value) << 257 << alphabet
                                                << alphabet.left(8) << code;
    QTest::newRow("user code: 3 bytes, rest as preset")
        << SB_GetSetNvUserCode << 1 << int(SB_Value) << 3 << alphabet << alphabet.left(3) + code.left(5) << code;
    QTest::newRow("user code: untouched") << SB_GetSetNvUserCode << 1 << int(SB_Untouched) << 0 << QByteArray()
                                          << code << code;
    QTest::newRow("user code: NewCode written") << SB_GetSetNvUserCode << 0 << int(SB_Value) << 8
                                                << QByteArray("87654321") << QByteArray("87654321") << zeros;
}

void TestSoftboard::scriptedBuffers()
{
    QFETCH(SbFunction, function);
    QFETCH(std::int32_t, buffer);
    QFETCH(std::int32_t, mode);
    QFETCH(std::int32_t, length);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, expected);
    QFETCH(QByteArray, other);
    QCOMPARE(openBoard(), SB_ResultOk);

    SbAnswer answer{};
    answer.bufferMode[buffer] = static_cast<SbOutputMode>(mode);
    answer.bufferLength[buffer] = length;
    std::memcpy(answer.bufferBytes[buffer], bytes.constData(), std::min<qsizetype>(bytes.size(), SB_BufferBytes));
    softboard_script_next(function, &answer);

    Io io;
    QCOMPARE(invoke(function, {Handle, 0}, io), SB_ResultOk);
    const bool message = function == SB_GetErrorInfoMsg;
    const QByteArray first = message ? bytesOf(*io.msg1) : bytesOf(*io.newCode);
    const QByteArray second = message ? bytesOf(*io.msg2) : bytesOf(*io.reportedCode);
    QCOMPARE(buffer == 0 ? first : second, expected);
    QCOMPARE(buffer == 0 ? second : first, other);
}

void TestSoftboard::traceRecordsCallsAsTheyArrived_data()
{
    QTest::addColumn<SbFunction>("function");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QList<std::int32_t>>("args");
    QTest::addColumn<std::int32_t>("valueCount");
    QTest::addColumn<std::int32_t>("bufferCount");
    QTest::addColumn<std::int32_t>("bufferSize");

    const auto row = [](SbFunction function, const char *name, QList<std::int32_t> args, std::int32_t values,
                        std::int32_t buffers = 0, std::int32_t size = 0) {
        QTest::newRow(name) << function << QByteArray(name) << args << values << buffers << size;
    };
    row(SB_GetDllVersion, "WD_GetDllVersion", {}, 1);
    row(SB_Open, "WD_Open", {}, 1);
    row(SB_GetComPortNum, "WD_GetComPortNum", {Handle}, 1);
    row(SB_Close, "WD_Close", {Handle}, 0);
    row(SB_GetErrorInfoMsg, "WD_GetErrorInfoMsg", {}, 0, 2, 257);
    row(SB_GetWDogType, "WD_GetWDogType", {Handle}, 1);
    row(SB_GetDeviceInfo, "WD_GetDeviceInfo", {Handle}, 5);
    row(SB_GetTempTickle, "WD_GetTempTickle", {Handle}, 3);
    row(SB_SetPowerOnDlyTimes, "WD_SetPowerOnDlyTimes", {Handle, 11, 22, 33}, 1);
    row(SB_GetPowerOnDlyTimes, "WD_GetPowerOnDlyTimes", {Handle}, 2);
    row(SB_SetWdogTimes, "WD_SetWdogTimes", {Handle, 44, 55, 0}, 0);
    row(SB_SetBuzzer, "WD_SetBuzzer", {Handle, 66, 77, 3}, 0);
    row(SB_GetWdogTimes, "WD_GetWdogTimes", {Handle}, 4);
    row(SB_GetResetCount, "WD_GetResetCount", {Handle, 1}, 1);
    row(SB_GetSetNvTempOffset, "WD_GetSetNvTempOffset", {Handle, 1, -9}, 1);
    row(SB_GetSetNvRelayPulse, "WD_GetSetNvRelayPulse", {Handle, 1, 88}, 1);
    row(SB_GetSetNvUserCode, "WD_GetSetNvUserCode", {Handle, 1}, 0, 2, 8);
    row(SB_EnableDisable, "WD_EnableDisable", {Handle, -2}, 0); // a refused negative 16-bit value, widened
    row(SB_GetBuzzer, "WD_GetBuzzer", {Handle}, 2);
    row(SB_EnableDisablePcReset, "WD_EnableDisablePcReset", {Handle, 1, 99}, 1);
    row(SB_GetSetPowerModule, "WD_GetSetPowerModule", {Handle, 2}, 1);
}

void TestSoftboard::traceRecordsCallsAsTheyArrived()
{
    QFETCH(SbFunction, function);
    QFETCH(QByteArray, name);
    QFETCH(QList<std::int32_t>, args);
    QFETCH(std::int32_t, valueCount);
    QFETCH(std::int32_t, bufferCount);
    QFETCH(std::int32_t, bufferSize);
    QCOMPARE(openBoard(), SB_ResultOk);
    QCOMPARE(QByteArray(softboard_function_name(function)), name);

    Io io;
    for (std::int32_t i = 0; i < SB_MaxValues; ++i)
        io.values[i] = Preset + i;
    io.msg1->fill('a');
    io.msg2->fill('b');
    fill(*io.newCode, "newcode!");
    fill(*io.reportedCode, "reported");
    const std::int32_t result = invoke(function, args, io);

    QCOMPARE(softboard_trace_count(), 2);
    const SbCall entry = traceEntry(1);
    QCOMPARE(entry.function, function);
    QCOMPARE(QList<std::int32_t>(entry.args, entry.args + entry.argCount), args);
    QCOMPARE(entry.valueCount, valueCount);
    for (std::int32_t i = 0; i < valueCount; ++i)
        QCOMPARE(entry.valuesOnEntry[i], Preset + i);
    QCOMPARE(entry.bufferCount, bufferCount);
    const QList<QByteArray> presets = bufferSize == 257 ? QList{QByteArray(257, 'a'), QByteArray(257, 'b')}
                                                        : QList<QByteArray>{"newcode!", "reported"};
    for (std::int32_t i = 0; i < bufferCount; ++i) {
        QCOMPARE(entry.bufferSize[i], bufferSize);
        QCOMPARE(bytesOf(entry.buffersOnEntry[i], bufferSize), presets[i]);
    }
    QCOMPARE(entry.result, result);
}

void TestSoftboard::traceStopsRecordingWhenFull()
{
    std::int32_t versionWord = 0;
    for (int call = 0; call < SB_TraceCapacity + 3; ++call)
        QCOMPARE(modHeader::WD_GetDllVersion(versionWord), 0);

    // The calls beyond the capacity are still answered, just not recorded.
    QCOMPARE(versionWord, 0x02030107);
    QCOMPARE(softboard_trace_count(), std::int32_t(SB_TraceCapacity));
    SbCall last{};
    QCOMPARE(softboard_trace_get(SB_TraceCapacity - 1, &last), 0);
    QCOMPARE(last.function, SB_GetDllVersion);
    QCOMPARE(softboard_trace_get(SB_TraceCapacity, &last), -1);

    softboard_reset();
    QCOMPARE(softboard_trace_count(), 0);
}

void TestSoftboard::traceLookupsOutOfRange()
{
    QCOMPARE(openBoard(), SB_ResultOk);
    SbCall entry{};
    entry.result = 1234;
    QCOMPARE(softboard_trace_get(-1, &entry), -1);
    QCOMPARE(softboard_trace_get(1, &entry), -1);
    QCOMPARE(entry.result, 1234);
    QCOMPARE(softboard_trace_get(0, nullptr), -1);
    QCOMPARE(softboard_trace_get(0, &entry), 0);
    QCOMPARE(entry.function, SB_Open);
    QCOMPARE(QByteArray(softboard_function_name(SB_FunctionCount)), QByteArray());
}

void TestSoftboard::callbackRunsInsideTheCall()
{
    QCOMPARE(openBoard(), SB_ResultOk);
    struct Seen {
        std::int32_t traceCount = -1;
        SbCall current{};
        std::int32_t nestedResult = -1;
        std::int32_t nestedType = 0;
    } seen;
    softboard_on_call(
        SB_GetComPortNum,
        [](void *context) {
            auto &seen = *static_cast<Seen *>(context);
            seen.traceCount = softboard_trace_count();
            softboard_trace_get(seen.traceCount - 1, &seen.current);
            seen.nestedResult = WD_GetWDogType(Handle, seen.nestedType); // a call inside the call
            // Answers the call in progress: scripts are taken after the callback.
            SbAnswer answer = valueAnswer(42);
            answer.overrideResult = 1;
            answer.result = 9;
            softboard_script_next(SB_GetComPortNum, &answer);
        },
        &seen);

    std::int32_t port = Preset;
    QCOMPARE(WD_GetComPortNum(Handle, port), 9);
    QCOMPARE(port, 42);
    QCOMPARE(seen.traceCount, 2);
    QCOMPARE(seen.current.function, SB_GetComPortNum);
    QCOMPARE(seen.current.valuesOnEntry[0], Preset);
    QCOMPARE(seen.nestedResult, SB_ResultOk);
    QCOMPARE(seen.nestedType, 5);
    // Each result lands on its own entry, though the nested call came later.
    QCOMPARE(softboard_trace_count(), 3);
    QCOMPARE(traceEntry(1).result, 9);
    QCOMPARE(traceEntry(2).function, SB_GetWDogType);
    QCOMPARE(traceEntry(2).result, SB_ResultOk);

    softboard_on_call(SB_GetComPortNum, nullptr, &seen);
    seen.traceCount = -1;
    QCOMPARE(WD_GetComPortNum(Handle, port), SB_ResultOk);
    QCOMPARE(port, 3);
    QCOMPARE(seen.traceCount, -1);
}

void TestSoftboard::resetInsideCallback()
{
    // No call before: the call below is entry 0 before and after the reset.
    softboard_on_call(
        SB_SetWdogTimes,
        [](void *) {
            softboard_reset();
            std::int32_t version = 0;
            WD_GetDllVersion(version); // the first entry of the new trace
        },
        nullptr);
    QCOMPARE(WD_SetWdogTimes(Handle, 600, 0, 1), SB_ResultNotOpen);
    // The call's own entry went with the reset; its result must not land on
    // the entry that now has its place.
    QCOMPARE(softboard_trace_count(), 1);
    QCOMPARE(traceEntry(0).function, SB_GetDllVersion);
    QCOMPARE(traceEntry(0).result, SB_ResultOk);

    // The reset took the callback with it.
    QCOMPARE(openBoard(), SB_ResultOk);
    QCOMPARE(WD_SetWdogTimes(Handle, 600, 0, 1), SB_ResultOk);
    QCOMPARE(statusBits(), 0x1);
}

void TestSoftboard::resetRestoresEverything()
{
    QCOMPARE(openBoard(), SB_ResultOk);
    const QList<std::int32_t> fresh = boardSettings();

    QCOMPARE(WD_SetWdogTimes(Handle, 600, 5, 1), SB_ResultOk);
    QCOMPARE(WD_EnableDisable(Handle, 1), SB_ResultOk);
    QCOMPARE(call(SB_GetResetCount, {Handle, 0}).result, SB_ResultOk);
    QCOMPARE(call(SB_GetSetNvTempOffset, {Handle, 1, 11}).result, SB_ResultOk);
    QCOMPARE(call(SB_GetSetNvRelayPulse, {Handle, 1, 25}).result, SB_ResultOk);
    QCOMPARE(WD_SetBuzzer(Handle, 15, 250, 3), SB_ResultOk);
    QCOMPARE(call(SB_GetSetPowerModule, {Handle, 2}).result, SB_ResultOk);
    Io code;
    fill(*code.newCode, "01234567");
    QCOMPARE(invoke(SB_GetSetNvUserCode, {Handle, 1}, code), SB_ResultOk);
    QCOMPARE(call(SB_GetDeviceInfo, {Handle}).result, SB_ResultOk);
    QCOMPARE(call(SB_GetTempTickle, {Handle}).result, SB_ResultOk);
    QVERIFY(boardSettings() != fresh);

    bool called = false;
    softboard_on_call(SB_GetWDogType, [](void *context) { *static_cast<bool *>(context) = true; }, &called);
    const SbAnswer next = valueAnswer(10), every = valueAnswer(20);
    softboard_script_next(SB_GetComPortNum, &next);
    softboard_script_every(SB_GetComPortNum, &every);

    softboard_reset();

    QCOMPARE(softboard_trace_count(), 0);
    QCOMPARE(call(SB_GetComPortNum, {Handle}).result, SB_ResultNotOpen); // closed
    QCOMPARE(openBoard(), SB_ResultOk);
    QCOMPARE(call(SB_GetDeviceInfo, {Handle}).values[3], 1); // the tickle count starts over
    QCOMPARE(boardSettings(), fresh); // scripts gone too: the port reads 3
    QCOMPARE(call(SB_GetWDogType, {Handle}).result, SB_ResultOk);
    QVERIFY(!called);
}

void TestSoftboard::scenarios_data()
{
    QTest::addColumn<QByteArray>("scenario"); // null: not set
    QTest::addColumn<std::int32_t>("openResult");
    QTest::addColumn<QList<std::int32_t>>("handle");
    QTest::addColumn<std::int32_t>("portResult");
    QTest::addColumn<QList<std::int32_t>>("port");
    QTest::addColumn<QList<std::int32_t>>("wdogTimes");
    QTest::addColumn<std::int32_t>("messageResult");
    QTest::addColumn<bool>("warned");

    const QList<std::int32_t> none;
    const QList<std::int32_t> idleTimes{0, 0, 0, 120};
    QTest::newRow("not set") << QByteArray() << 0 << QList{Handle} << 0 << QList{3} << idleTimes << 0 << false;
    QTest::newRow("empty") << QByteArray("") << 0 << QList{Handle} << 0 << QList{3} << idleTimes << 0 << false;
    QTest::newRow("open-fails") << QByteArray("open-fails") << std::int32_t(SB_ResultNoBoard) << none << std::int32_t(SB_ResultNotOpen) << none
                                << none << 0 << false;
    QTest::newRow("calls-fail-after-open") << QByteArray("calls-fail-after-open") << 0 << QList{Handle}
                                           << std::int32_t(SB_ResultNoAnswer) << none << none << std::int32_t(SB_ResultNoAnswer) << false;
    QTest::newRow("no-com-port") << QByteArray("no-com-port") << 0 << QList{Handle} << 0 << QList{0} << idleTimes
                                 << 0 << false;
    QTest::newRow("armed") << QByteArray("armed") << 0 << QList{Handle} << 0 << QList{3} << QList{600, 0, 600, 120}
                           << 0 << false;
    QTest::newRow("unknown name") << QByteArray("no-such-board") << 0 << QList{Handle} << 0 << QList{3} << idleTimes
                                  << 0 << true;
}

void TestSoftboard::scenarios()
{
#if defined(_WIN32)
    QSKIP("captures stderr with POSIX calls");
#else
    QFETCH(QByteArray, scenario);
    QFETCH(std::int32_t, openResult);
    QFETCH(QList<std::int32_t>, handle);
    QFETCH(std::int32_t, portResult);
    QFETCH(QList<std::int32_t>, port);
    QFETCH(QList<std::int32_t>, wdogTimes);
    QFETCH(std::int32_t, messageResult);
    QFETCH(bool, warned);

    setEnvironment("SOFTBOARD_SCENARIO", scenario);
    StderrCapture capture;
    softboard_reset();
    const QByteArray warnings = capture.text();
    QCOMPARE(warnings.contains("softboard warning: unknown SOFTBOARD_SCENARIO \"no-such-board\""), warned);
    QCOMPARE(warnings.count('\n'), warned ? 1 : 0);

    const Answer opened = call(SB_Open, {});
    QCOMPARE(opened.result, openResult);
    QCOMPARE(opened.values, padded(handle));
    QCOMPARE(call(SB_GetDllVersion, {}).values[0], 0x02030107);
    const Answer portAnswer = call(SB_GetComPortNum, {Handle});
    QCOMPARE(portAnswer.result, portResult);
    QCOMPARE(portAnswer.values, padded(port));
    QCOMPARE(call(SB_GetWdogTimes, {Handle}).values, padded(wdogTimes));

    Io messages;
    QCOMPARE(WD_GetErrorInfoMsg(*messages.msg1, *messages.msg2), messageResult);
    QCOMPARE(bytesOf(*messages.msg2),
             messageResult == SB_ResultOk ? messageWith(infoText) : QByteArray(257, MessagePreset));

    // A test's own scripts still apply over a scenario.
    const SbAnswer eight = valueAnswer(8);
    softboard_script_next(SB_GetComPortNum, &eight);
    QCOMPARE(call(SB_GetComPortNum, {Handle}).values[0], 8);
#endif
}

void TestSoftboard::traceLines_data()
{
    QTest::addColumn<QByteArray>("setting"); // SOFTBOARD_TRACE; null: not set
    QTest::addColumn<bool>("printed");

    QTest::newRow("1") << QByteArray("1") << true;
    QTest::newRow("not set") << QByteArray() << false;
    QTest::newRow("0") << QByteArray("0") << false;
    QTest::newRow("empty") << QByteArray("") << false;
}

void TestSoftboard::traceLines()
{
#if defined(_WIN32)
    QSKIP("captures stderr with POSIX calls");
#else
    QFETCH(QByteArray, setting);
    QFETCH(bool, printed);
    setEnvironment("SOFTBOARD_TRACE", setting);
    softboard_reset();

    StderrCapture capture;
    QCOMPARE(openBoard(), SB_ResultOk);
    QCOMPARE(call(SB_GetComPortNum, {Handle}).result, SB_ResultOk);
    // Message buffer 1 keeps text with characters that need escaping.
    Io io;
    fill(*io.msg1, QByteArray("quote \" backslash \\ tab \t", 25).leftJustified(257, '\0'));
    SbAnswer keepFirst{};
    keepFirst.bufferMode[0] = SB_Untouched;
    softboard_script_next(SB_GetErrorInfoMsg, &keepFirst);
    QCOMPARE(WD_GetErrorInfoMsg(*io.msg1, *io.msg2), SB_ResultOk);
    fill(*io.newCode, "01234567");
    QCOMPARE(invoke(SB_GetSetNvUserCode, {Handle, 1}, io), SB_ResultOk);
    QCOMPARE(WD_EnableDisable(Handle, 7), SB_ResultBadArgument);
    QCOMPARE(call(SB_GetResetCount, {2, 1}).result, SB_ResultNotOpen);
    const QByteArray text = capture.text();

    const QByteArray expected =
        "softboard: WD_Open(&1) -> 0\n"
        "softboard: WD_GetComPortNum(1, &3) -> 0\n"
        "softboard: WD_GetErrorInfoMsg(\"quote \\\" backslash \\\\ tab \\x09\", "
        "\"Software board: simulated watchdog, no hardware attached\") -> 0\n"
        "softboard: WD_GetSetNvUserCode(1, 1, {30 31 32 33 34 35 36 37}, {30 31 32 33 34 35 36 37}) -> 0\n"
        "softboard: WD_EnableDisable(1, 7) -> 3\n"
        "softboard: WD_GetResetCount(2, 1, &24301) -> 1\n";
    QCOMPARE(text, printed ? expected : QByteArray());
#endif
}

void TestSoftboard::exportsOfLibraryWithoutGetBuzzer()
{
#if defined(_WIN32) || !defined(SOFTBOARD_WITHOUT_GETBUZZER_FILE)
    QSKIP("needs dlopen and SOFTBOARD_WITHOUT_GETBUZZER_FILE");
#else
    void *library = libraryWithoutGetBuzzer();
    QVERIFY(library);
    QCOMPARE(dlsym(library, "WD_GetBuzzer"), nullptr);
    for (int function = 0; function < SB_FunctionCount; ++function) {
        const char *name = softboard_function_name(static_cast<SbFunction>(function));
        if (function != SB_GetBuzzer)
            QVERIFY2(dlsym(library, name), name);
    }
    for (const char *name : {"softboard_reset", "softboard_script_next", "softboard_script_every",
                             "softboard_on_call", "softboard_trace_count", "softboard_trace_get",
                             "softboard_function_name"})
        QVERIFY2(dlsym(library, name), name);

    // The board's own C++ functions stay hidden, in both libraries.
    void *linked = dlopen("Brenvik.dll", RTLD_NOW | RTLD_NOLOAD);
    QVERIFY(linked);
    QVERIFY(dlsym(linked, "WD_GetBuzzer"));
    for (void *each : {library, linked})
        QCOMPARE(dlsym(each, "_ZN9softboard8instanceEv"), nullptr); // softboard::instance()
    dlclose(linked);
#endif
}

void TestSoftboard::scenarioReadWhenLibraryLoads()
{
#if defined(_WIN32) || !defined(SOFTBOARD_WITHOUT_GETBUZZER_FILE)
    QSKIP("needs dlopen and SOFTBOARD_WITHOUT_GETBUZZER_FILE");
#else
    void *library = libraryWithoutGetBuzzer();
    QVERIFY(library);
    const auto open = reinterpret_cast<std::int32_t (*)(std::int32_t *)>(dlsym(library, "WD_Open"));
    const auto comPort =
        reinterpret_cast<std::int32_t (*)(std::int32_t, std::int32_t *)>(dlsym(library, "WD_GetComPortNum"));
    QVERIFY(open && comPort);

    // SOFTBOARD_SCENARIO was no-com-port while the library loaded, and is
    // unset since: the scenario was read at load.
    std::int32_t handle = 0;
    QCOMPARE(open(&handle), SB_ResultOk);
    std::int32_t port = Preset;
    QCOMPARE(comPort(handle, &port), SB_ResultOk);
    QCOMPARE(port, 0);
    // A board of its own: nothing reached the linked library's board.
    QCOMPARE(softboard_trace_count(), 0);
#endif
}

QTEST_APPLESS_MAIN(TestSoftboard)

#include "tst_softboard.moc"
