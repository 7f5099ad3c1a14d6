// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What glukara says to a screen reader by itself: the pacing and merging of
// utterances, and the utterances that the student's actions and the clock
// bring.
#include "announcements.h"
#include "window_access.h"

#include <QAccessible>
#include <QCheckBox>

#include <limits>

using Topic = SpeechQueue::Topic;

class TestAnnouncements : public QObject
{
    Q_OBJECT

  private slots:
    void queue_data();
    void queue();
    void speaking_time_grows_with_the_text();
    void utterances_data();
    void utterances();
    void voice_is_an_invisible_notification();
    void key_press_holds_back_what_waits();
};

namespace
{

Topic topic_named(const QString& name)
{
    static const QMap<QString, Topic> topics{{"Clock", Topic::Clock},
                                             {"Exercise", Topic::Exercise},
                                             {"Store", Topic::Store},
                                             {"Level", Topic::Level},
                                             {"Message", Topic::Message}};
    if (!topics.contains(name))
        qFatal("no topic %s", qPrintable(name));
    return topics.value(name);
}

} // namespace

// A row is a script of steps at times in milliseconds:
//   "+Topic text"  a text comes in;
//   "T=text"       at T the queue gives text (nothing if text is empty);
//   "T!"           at T the screen reader stops speaking.
// Saying "A." takes 500 + (13 + 2) * 66 = 1490 ms.
void TestAnnouncements::queue_data()
{
    QTest::addColumn<QStringList>("script");
    QTest::newRow("one text at once") << QStringList{"+Level A.", "0=A."};
    QTest::newRow("nothing waits") << QStringList{"0="};
    QTest::newRow("texts of one moment become one utterance")
        << QStringList{"+Message M.", "+Level L.", "0=L. M.", "5000="};
    QTest::newRow("said in topic order, not arrival order")
        << QStringList{"+Message M.", "+Store S.", "+Clock C.", "0=C. S. M."};
    QTest::newRow("the next waits for the last to be said")
        << QStringList{"+Clock A.", "0=A.", "+Level B.", "1000=", "1489=", "1490=B."};
    QTest::newRow("what comes meanwhile goes out together")
        << QStringList{"+Clock A.", "0=A.", "+Level B.", "+Message C.", "1490=B. C."};
    QTest::newRow("a later text of a topic replaces the waiting one")
        << QStringList{"+Clock A.", "0=A.", "+Level 99.", "+Level 98.", "+Level 97.", "1490=97."};
    QTest::newRow("a stopped screen reader takes the next at once")
        << QStringList{"+Clock A.", "0=A.", "+Store B.", "200!", "200=B."};
    QTest::newRow("or after the time given") << QStringList{
        "+Clock A.", "0=A.", "+Store B.", "100!", "+Level C.", "1000!", "999=", "1000=B. C."};
}

void TestAnnouncements::queue()
{
    QFETCH(QStringList, script);
    SpeechQueue q;
    static const QRegularExpression timed(QStringLiteral("^(\\d+)([=!])(.*)$"));
    for (const QString& step : script) {
        if (step.startsWith(QLatin1Char('+'))) {
            const qsizetype space = step.indexOf(QLatin1Char(' '));
            q.add(topic_named(step.mid(1, space - 1)), step.mid(space + 1));
            continue;
        }
        const auto m = timed.match(step);
        QVERIFY2(m.hasMatch(), qPrintable(step));
        const qint64 at = m.captured(1).toLongLong();
        if (m.captured(2) == QLatin1String("!")) {
            q.free_from(at);
        } else {
            QCOMPARE(q.take(at), m.captured(3));
        }
    }
}

void TestAnnouncements::speaking_time_grows_with_the_text()
{
    const QString message = QStringLiteral(
        "Blood glucose is too high and cells will be losing water due to the low water "
        "potential of the blood plasma.");
    // espeak-ng at Orca's default rate takes about 10 s for this message.
    QVERIFY(SpeechQueue::speaking_time(message) >= 8000);
    QVERIFY(SpeechQueue::speaking_time(message) <= 12000);
    QVERIFY(SpeechQueue::speaking_time(QStringLiteral("Glycogen store 50.")) <
            SpeechQueue::speaking_time(message));
}

namespace
{

// The announcements' clock in the test's hand: the speaking times pass at
// once, and the test sees exactly when the announcements asked to be woken.
class TestClock : public SpeechClock
{
  public:
    qint64 now() const override { return time; }
    void wake_after(qint64 delay) override { wake_at = time + delay; }

    // Moves the time on, waking the announcements at each moment they asked
    // for on the way.
    void advance(qint64 ms)
    {
        const qint64 end = time + ms;
        while (wake_at >= 0 && wake_at <= end)
            wake();
        time = end;
    }
    // Moves the time on to the wake-up asked for and gives it; false when
    // none was asked for.
    bool wake()
    {
        if (wake_at < 0)
            return false;
        time = wake_at;
        wake_at = -1;
        emit woken();
        return true;
    }

  private:
    qint64 time = 0;
    qint64 wake_at = -1;
};

// Gives the window's announcements a clock of the test's.
TestClock& test_clock(glukara& w)
{
    auto* clock = new TestClock;
    control<Announcements>(w, control_names::announcements)->use_clock(clock);
    return *clock;
}

// Lets the announcements say what they have to say, in their own time, until
// count utterances were heard or nothing waits.
void hear(TestClock& clock, const QSignalSpy& spoken, qsizetype count)
{
    while (spoken.size() < count && clock.wake()) {
    }
}

// heard: the test waits for the next utterance before it goes on.
enum Action { start, tick, meal, small_meals, run, insulin, glucagon, diabetic, reset, heard };

void act(glukara& w, Action a)
{
    switch (a) {
    case start:
        click(cmd_button(w, glukara::start_button));
        // Only the test's own ticks: the real clock would tick while the
        // test waits for the utterances.
        glucose_timer(w)->setInterval(3600 * 1000);
        break;
    case tick:
        fire_tick(w);
        break;
    case meal:
        click(cmd_button(w, glukara::meal_button));
        break;
    case small_meals:
        // A meal that leaves the message as it was.
        w.model.meal_input = 1;
        break;
    case run:
        click(cmd_button(w, glukara::run_button));
        break;
    case reset:
        click(cmd_button(w, glukara::reset_button));
        break;
    case insulin:
        click(cmd_button(w, glukara::insulin_button));
        break;
    case glucagon:
        click(cmd_button(w, glukara::glucagon_button));
        break;
    case diabetic:
        click(diabetic_check(w));
        break;
    case heard:
        break;
    }
}

const QString runs = QStringLiteral("Time runs. The button now reads Stop.");
const QString normal = QStringLiteral("The blood glucose level is within normal limits.");
const QString too_high = QStringLiteral(
    "Blood glucose is too high and cells will be losing water due to the low water potential "
    "of the blood plasma.");
const QString low = QStringLiteral("Blood glucose is low but still within the acceptable range.");

QString level(int l)
{
    return QStringLiteral("Blood glucose %1 mg per 100 ml.").arg(l);
}

} // namespace

void TestAnnouncements::utterances_data()
{
    QTest::addColumn<QList<int>>("actions");
    QTest::addColumn<QStringList>("said");
    QTest::newRow("start") << QList<int>{start} << QStringList{runs};
    QTest::newRow("start and stop")
        << QList<int>{start, start}
        << QStringList{runs, "Time stands still. The button now reads Start."};
    QTest::newRow("first tick: level and its message")
        << QList<int>{start, tick} << QStringList{runs, level(99) + " " + normal};
    QTest::newRow("steady run: the message once, with the latest level")
        << QList<int>{start, tick, tick, tick} << QStringList{runs, level(97) + " " + normal};
    QTest::newRow("meal: the level at the next tick with its message")
        << QList<int>{start, meal, tick} << QStringList{runs, level(139) + " " + too_high};
    QTest::newRow("meal: said also when the message stays")
        << QList<int>{small_meals, start, heard, tick, heard, meal, tick}
        << QStringList{runs, level(99) + " " + normal, level(99) + " " + normal};
    QTest::newRow("meal without time: nothing") << QList<int>{meal} << QStringList{};
    QTest::newRow("insulin: the store, then the level at the next tick")
        << QList<int>{start, insulin, tick}
        << QStringList{runs, "Glycogen store 50.", level(89) + " " + low};
    QTest::newRow("glucagon: the store")
        << QList<int>{start, glucagon} << QStringList{runs, "Glycogen store 30."};
    QTest::newRow("diabetic: insulin brings nothing")
        << QList<int>{start, diabetic, insulin} << QStringList{runs};
    QTest::newRow("run and rest")
        << QList<int>{run, run}
        << QStringList{"The person is running. The button now reads Take a rest.",
                       "The person is resting. The button now reads Go for a run."};
    QTest::newRow("reset drops what waits")
        << QList<int>{start, tick, reset}
        << QStringList{runs, "Start values restored. Time stands still. Glycogen store 40. " +
                                 level(100)};
    QTest::newRow("after a reset the first message is new again")
        << QList<int>{start, tick, reset, start, tick}
        << QStringList{runs,
                       "Start values restored. Time stands still. Glycogen store 40. " + level(100),
                       runs, level(99) + " " + normal};
}

// The actions and ticks come a moment apart, as they do in a lesson; the
// announcements' own time passes only as the test moves it on.
void TestAnnouncements::utterances()
{
    QFETCH(QList<int>, actions);
    QFETCH(QStringList, said);
    glukara w;
    w.show();
    TestClock& clock = test_clock(w);
    QSignalSpy spoken(control<Announcements>(w, control_names::announcements),
                      &Announcements::spoken);
    qsizetype waited_for = 0;
    for (int a : actions) {
        clock.advance(20);
        if (a == heard) {
            ++waited_for;
            hear(clock, spoken, waited_for);
            QCOMPARE(spoken.size(), waited_for);
        }
        act(w, Action(a));
    }
    // Everything still waiting comes out.
    hear(clock, spoken, std::numeric_limits<qsizetype>::max());
    QStringList heard;
    for (const auto& args : spoken)
        heard << args.at(0).toString();
    QCOMPARE(heard, said);
}

void TestAnnouncements::voice_is_an_invisible_notification()
{
    glukara w;
    w.show();
    auto* voice = control<QWidget>(w, control_names::announcement);
    QVERIFY(!voice->isVisible()); // nothing said yet: nothing shown to a screen reader
    click(cmd_button(w, glukara::start_button));
    QTRY_VERIFY(voice->isVisible());
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(voice);
    QCOMPARE(a->role(), QAccessible::Notification);
    QCOMPARE(a->text(QAccessible::Name), runs);
    QCOMPARE(voice->size(), QSize(0, 0));
    QCOMPARE(voice->focusPolicy(), Qt::NoFocus);
    QVERIFY(voice->testAttribute(Qt::WA_TransparentForMouseEvents));
    QCOMPARE(w.size(), QSize(750, 538));
}

// A key press stops the screen reader, which then says the key and the new
// focus: what waits comes after that, not at once and not after the old wait.
void TestAnnouncements::key_press_holds_back_what_waits()
{
    glukara w;
    w.show();
    TestClock& clock = test_clock(w);
    QSignalSpy spoken(control<Announcements>(w, control_names::announcements),
                      &Announcements::spoken);
    act(w, start);
    hear(clock, spoken, 1);
    QCOMPARE(spoken.size(), 1);
    fire_tick(w);
    QTest::keyClick(cmd_button(w, glukara::start_button), Qt::Key_Tab);
    const qint64 key_at = clock.now();
    hear(clock, spoken, 2);
    QCOMPARE(spoken.size(), 2);
    const qint64 since_key = clock.now() - key_at;
    QVERIFY2(since_key >= 1400, qPrintable(QString::number(since_key)));
    QVERIFY2(since_key < SpeechQueue::speaking_time(runs), qPrintable(QString::number(since_key)));
}

QTEST_MAIN(TestAnnouncements)
#include "tst_announcements.moc"
