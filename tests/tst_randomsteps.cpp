// Random library behaviour against the model in stepmodel.h: every feature
// step, and the run sequence's own part, meets thousands of drawn answers
// (failing codes, extreme values, outputs left unwritten, message buffers
// with stray, missing or high bytes) and must make exactly the model's
// calls, add exactly the model's text and leave the model's last status.
//
// Each behaviour is drawn from its own generator, seeded with the run's seed,
// the row and the behaviour's index, so one failing behaviour can be replayed
// alone:
//   RANDOM_SEED=<seed> RANDOM_CASE=<index> tst_randomsteps '<function>:<row>'
// RANDOM_SEED alone replays the whole run.
#include "binding/modheader.h"
#include "form1probe.h"
#include "stepharness.h"
#include "stepmodel.h"

#include <QElapsedTimer>
#include <QTest>

#include <limits>
#include <random>

using namespace Qt::StringLiterals;
using StepModel::Reply;

namespace {

constexpr std::int32_t int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t int32Max = std::numeric_limits<std::int32_t>::max();

// The UTF-8 bytes of one code point.
QByteArray utf8(char32_t point)
{
    QByteArray bytes;
    const auto unit = [&](unsigned bits) { bytes += char(bits); };
    if (point < 0x80) {
        unit(point);
    } else if (point < 0x800) {
        unit(0xC0 | point >> 6), unit(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        unit(0xE0 | point >> 12), unit(0x80 | (point >> 6 & 0x3F)), unit(0x80 | (point & 0x3F));
    } else {
        unit(0xF0 | point >> 18), unit(0x80 | (point >> 12 & 0x3F)), unit(0x80 | (point >> 6 & 0x3F)),
            unit(0x80 | (point & 0x3F));
    }
    return bytes;
}

// Draws one library behaviour.
class Draw
{
public:
    Draw(std::uint32_t seed, const QString &row, int index)
    {
        std::vector<std::uint32_t> material{seed, static_cast<std::uint32_t>(index)};
        for (const QChar c : row)
            material.push_back(c.unicode());
        std::seed_seq sequence(material.begin(), material.end());
        m_rng.seed(sequence);
    }

    bool chance(double p) { return std::bernoulli_distribution(p)(m_rng); }
    int upTo(int last) { return std::uniform_int_distribution<int>(0, last)(m_rng); }
    std::int32_t any32() { return static_cast<std::int32_t>(m_rng()); }

    template <typename T, std::size_t N>
    T oneOf(const T (&choices)[N])
    {
        return choices[static_cast<std::size_t>(upTo(int(N) - 1))];
    }

    // Mostly success; failures include -1, the most negative code, and codes
    // made of the very bits the steps test in their outputs.
    std::int32_t resultCode()
    {
        if (chance(0.7))
            return 0;
        switch (upTo(4)) {
        case 0: return oneOf({-1, int32Min, int32Max, 1, 0x10000, 0x100008});
        case 1: return 1 + upTo(20);
        default: {
            std::int32_t code;
            do
                code = any32();
            while (code == 0);
            return code;
        }
        }
    }

    // Values around the bits the steps test (0, 3, 16, 17, 20 and the sign
    // bit), the extremes, and plain noise.
    std::int32_t value()
    {
        static constexpr std::uint32_t bits[] = {1u << 0, 1u << 3, 1u << 16, 1u << 17, 1u << 20, 1u << 31};
        switch (upTo(5)) {
        case 0: return oneOf({0, -1, 1, int32Min, int32Max, 255, 256, 515, -256, 10, 0x10000, 0x100008});
        case 1: {
            std::uint32_t v = 0;
            for (const std::uint32_t bit : bits)
                v |= chance(0.4) ? bit : 0u;
            return static_cast<std::int32_t>(v);
        }
        case 2: return static_cast<std::int32_t>(static_cast<std::uint32_t>(any32()) ^ oneOf(bits));
        case 3: return upTo(600) - 300;
        default: return any32();
        }
    }

    // A piece of 8-bit text: plain letters, line breaks and control bytes,
    // lone bytes of 0x80 and above, zero bytes, and UTF-8 sequences
    // (a byte order mark among them).
    QByteArray textPiece(bool zeroAllowed)
    {
        switch (upTo(9)) {
        case 0: return QByteArray(1, char(0x80 + upTo(0x7F)));
        case 1: return QByteArray(1, char(1 + upTo(31)));
        case 2: return zeroAllowed && chance(0.5) ? QByteArray(1, '\0') : QByteArray("\r\n");
        case 3:
        case 4: {
            // Combining marks are left out: the screen check of the refresh
            // can place them a pixel apart from the widget's own rendering.
            static constexpr char32_t points[] = {0xE9, 0xFF, 0x85, 0x20AC, 0xFEFF, 0xFFFD, 0x2028, 0x1F600, 0x10FFFF};
            char32_t point = chance(0.5) ? oneOf(points) : char32_t(0x80 + upTo(0x27F));
            return utf8(point);
        }
        default: return QByteArray(1, char(' ' + upTo(94)));
        }
    }

    // What the library writes into a 257-byte message buffer. Some start
    // with a byte order mark, which is text like any other.
    std::optional<QByteArray> message()
    {
        QByteArray bytes = chance(0.1) ? QByteArray("\xEF\xBB\xBF") : QByteArray();
        switch (upTo(5)) {
        case 0: return std::nullopt;
        case 1: return QByteArray();
        case 2: // 256 bytes without a zero, sometimes over the terminating byte too
            while (bytes.size() < 256)
                bytes += textPiece(false);
            bytes.truncate(256);
            if (chance(0.5))
                bytes += char(1 + upTo(254));
            return bytes;
        case 3: { // a multibyte sequence cut by the end of the 256 bytes
            static constexpr const char *sequences[] = {"\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"};
            const QByteArray sequence(oneOf(sequences));
            const qsizetype cut = 1 + upTo(int(sequence.size()) - 2);
            while (bytes.size() < 256 - cut)
                bytes += textPiece(false);
            bytes.truncate(256 - cut);
            bytes += sequence.first(cut);
            return bytes;
        }
        default: {
            const int length = 1 + upTo(256);
            while (bytes.size() < length)
                bytes += textPiece(true);
            bytes.truncate(length);
            return bytes;
        }
        }
    }

    // What the library writes into an 8-byte user code.
    std::optional<QByteArray> userCode()
    {
        if (chance(0.2))
            return std::nullopt;
        QByteArray bytes;
        const int length = chance(0.7) ? 8 : upTo(8);
        for (int i = 0; i < length; ++i)
            bytes += char(chance(0.3) ? oneOf({0x00, 0x80, 0xFF, 0x0A}) : upTo(255));
        return bytes;
    }

    Reply reply(const StepModel::Call &call)
    {
        Reply reply;
        reply.result = resultCode();
        for (std::size_t i = 0; i < call.presets.size(); ++i) {
            if (!chance(0.2))
                reply.values[i] = value();
        }
        for (std::size_t i = 0; i < call.buffers.size(); ++i)
            reply.bytes[i] = call.buffers[i].size() == 8 ? userCode() : message();
        return reply;
    }

private:
    std::mt19937 m_rng;
};

std::uint32_t seed = 0;
std::optional<int> onlyCase;  // RANDOM_CASE: replay this index alone
int behavioursTried = 0;
QElapsedTimer runClock;

// The log's text with line breaks and anything outside printable ASCII
// spelled out, so that a difference shows in a failure message.
QString spelled(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c == u'\r')
            out += u"\\r"_s;
        else if (c == u'\n')
            out += u"\\n"_s;
        else if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            out += u"\\u{%1}"_s.arg(c.unicode(), 4, 16, QChar(u'0'));
        else
            out += c;
    }
    return out;
}

QStringList describeAll(const std::vector<StepModel::Call> &calls)
{
    QStringList lines;
    for (const auto &call : calls)
        lines << StepModel::describe(call);
    return lines;
}

QStringList describeAll(const std::vector<SbCall> &calls)
{
    QStringList lines;
    for (const auto &call : calls)
        lines << StepModel::describe(call);
    return lines;
}

// What the program did, compared with the model; empty when they agree.
struct Observed {
    QString text;
    std::int32_t lastStatus;
    std::vector<SbCall> calls;
};

QString differences(const StepModel::Run &model, const Observed &seen)
{
    QString report;
    if (seen.text != model.added)
        report += u"  text expected: \"%1\"\n  text got:      \"%2\"\n"_s.arg(spelled(model.added), spelled(seen.text));
    if (seen.lastStatus != model.lastStatus)
        report += u"  lngLastStatus expected %1, got %2\n"_s.arg(model.lastStatus).arg(seen.lastStatus);
    const QStringList expectedCalls = describeAll(model.calls);
    const QStringList seenCalls = describeAll(seen.calls);
    if (seenCalls != expectedCalls) {
        report += u"  calls expected:\n    %1\n  calls made:\n    %2\n"_s.arg(expectedCalls.join(u"\n    "_s),
                                                                             seenCalls.join(u"\n    "_s));
    }
    return report;
}

QString replayNote(const StepModel::Run &model, const QString &function, int index)
{
    QString note = u"\n  replay: RANDOM_SEED=%1 RANDOM_CASE=%2 tst_randomsteps '%3:%4'\n  library answers:\n"_s
                       .arg(seed)
                       .arg(index)
                       .arg(function, QString::fromUtf8(QTest::currentDataTag()));
    for (const Reply &reply : model.replies)
        note += u"    "_s + reply.asCode() + u'\n';
    return note;
}

// Which indexes a row runs: all of them, or the one being replayed.
std::pair<int, int> indexRange(int count)
{
    if (onlyCase)
        return *onlyCase < count ? std::pair{*onlyCase, *onlyCase + 1} : std::pair{0, 0};
    return {0, count};
}

// What the power module step's first call answers in a row.
enum FirstCall { Drawn, Fails, Succeeds };

} // namespace

class TestRandomSteps : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void stepsFollowTheModel_data();
    void stepsFollowTheModel();
    void sequenceFollowsTheModel_data();
    void sequenceFollowsTheModel();
};

void TestRandomSteps::initTestCase()
{
    // Random text makes Qt's font matching note, once per font and script,
    // that a fallback font lacks OpenType tables; those notes say nothing
    // about the program and would bury the figures.
    static const QtMessageHandler testLog = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (!(type == QtWarningMsg && message.contains(u"OpenType support missing for")))
            testLog(type, context, message);
    });

    bool given = false;
    seed = qEnvironmentVariable("RANDOM_SEED").toUInt(&given);
    if (!given)
        seed = std::random_device()();
    bool caseGiven = false;
    const int caseIndex = qEnvironmentVariable("RANDOM_CASE").toInt(&caseGiven);
    if (caseGiven)
        onlyCase = caseIndex;
    qInfo("random seed %u (replay with RANDOM_SEED=%u)", seed, seed);
    runClock.start();
}

void TestRandomSteps::cleanupTestCase()
{
    qInfo("%d library behaviours tried in %.1f s (seed %u)", behavioursTried, double(runClock.elapsed()) / 1000.0,
          seed);
}

void TestRandomSteps::stepsFollowTheModel_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("behaviours");
    QTest::addColumn<int>("firstCall");

    // The buzzer step counts through a busy pause and the power module step
    // sleeps a second after a successful first call: a handful of those, the
    // bulk for the rest.
    constexpr int bulk = 600;
    for (int i = 0; i < int(StepModel::steps.size()); ++i) {
        const QString name = QString::fromUtf16(StepModel::steps[i].name);
        if (name == u"TestSetBuzzer") {
            QTest::newRow("TestSetBuzzer") << i << 4 << int(Drawn);
        } else if (name == u"TestPowerModule") {
            QTest::newRow("TestPowerModule, first call fails") << i << bulk << int(Fails);
            QTest::newRow("TestPowerModule, first call succeeds") << i << 4 << int(Succeeds);
        } else {
            QTest::newRow(qPrintable(name)) << i << bulk << int(Drawn);
        }
    }
}

void TestRandomSteps::stepsFollowTheModel()
{
    QFETCH(int, step);
    QFETCH(int, behaviours);
    QFETCH(int, firstCall);
    const StepModel::Step &modelStep = StepModel::steps[static_cast<std::size_t>(step)];
    const QString row = QString::fromUtf8(QTest::currentDataTag());

    StepHarness harness;
    const auto [from, to] = indexRange(behaviours);
    for (int index = from; index < to; ++index) {
        SoftBoard::reset();
        modHeader::WD_Open(modHeader::lngDevHandle);

        Draw draw(seed, row, index);
        StepModel::Run model(
            [&](const StepModel::Call &call) {
                Reply reply = draw.reply(call);
                if (call.function == SB_GetSetPowerModule && call.args.at(1) == 2) {
                    if (firstCall == Succeeds)
                        reply.result = 0;
                    while (firstCall == Fails && reply.result == 0)
                        reply.result = draw.resultCode();
                }
                return reply;
            },
            modHeader::lngDevHandle);
        modelStep.model(model);
        for (const Reply &reply : model.replies)
            SoftBoard::next(reply.function, reply.answer());

        const StepOutcome outcome = harness.run(modelStep.name);
        ++behavioursTried;

        QString report = differences(model, {outcome.added, outcome.lastStatus, outcome.calls});
        if (!outcome.screenShowsLog)
            report += u"  the step did not end with a refresh of the box\n"_s;
        if (!outcome.earlierTextKept)
            report += u"  the text before the step was changed\n"_s;
        if (!report.isEmpty()) {
            report = u"behaviour %1 of %2 differs from the model:\n"_s.arg(index).arg(row) + report
                     + replayNote(model, u"stepsFollowTheModel"_s, index);
            QFAIL(qPrintable(report));
        }
    }
}

void TestRandomSteps::sequenceFollowsTheModel_data()
{
    QTest::addColumn<int>("behaviours");
    QTest::addColumn<bool>("opens");

    // A failed open ends the run after two calls, so those come cheap; a run
    // that opens goes through every step, the buzzer pause included.
    QTest::newRow("open fails") << 2000 << false;
    QTest::newRow("complete run") << 3 << true;
}

void TestRandomSteps::sequenceFollowsTheModel()
{
    QFETCH(int, behaviours);
    QFETCH(bool, opens);
    const QString row = QString::fromUtf8(QTest::currentDataTag());

    Form1 form;
    const auto [from, to] = indexRange(behaviours);
    for (int index = from; index < to; ++index) {
        SoftBoard::reset();
        Draw draw(seed, row, index);
        modHeader::lngDevHandle = draw.value();

        StepModel::Run model(
            [&](const StepModel::Call &call) {
                Reply reply = draw.reply(call);
                if (call.function == SB_Open) {
                    if (opens)
                        reply.result = 0;
                    while (!opens && reply.result == 0)
                        reply.result = draw.resultCode();
                }
                return reply;
            },
            modHeader::lngDevHandle);
        StepModel::StartClick(model);
        for (const Reply &reply : model.replies)
            SoftBoard::next(reply.function, reply.answer());

        Form1Probe::startButton(form).click();
        ++behavioursTried;

        QString report = differences(model, {Form1Probe::text(form), modHeader::lngLastStatus, SoftBoard::trace()});
        if (modHeader::lngDevHandle != model.handle)
            report += u"  lngDevHandle expected %1, got %2\n"_s.arg(model.handle).arg(modHeader::lngDevHandle);
        if (!report.isEmpty()) {
            report = u"behaviour %1 of %2 differs from the model:\n"_s.arg(index).arg(row) + report
                     + replayNote(model, u"sequenceFollowsTheModel"_s, index);
            QFAIL(qPrintable(report));
        }
    }
}

QTEST_MAIN(TestRandomSteps)
#include "tst_randomsteps.moc"
