// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What a screen reader says by itself while the simulation runs: the clock
// started or stopped, the person running or resting, the glycogen store after
// a hormone, and the blood glucose when its message changes or after the
// student's own action. Qt 6.4 has no announcement API; a screen reader such
// as Orca speaks an object of the role Notification each time it is shown, so
// the texts go out through an invisible widget of that role.
#pragma once

#include <QObject>
#include <QString>

#include <map>

class QEvent;
class QWidget;

// The spoken forms that screen readers also find on demand.
QString spoken_level(const QString& level);
QString spoken_store(const QString& store);

// Holds the texts waiting to be said and paces them: a screen reader cuts
// off what it is saying when a new notification comes, so the next utterance
// waits until the last one has had time to be said, and everything that came
// in the meantime goes out together in one utterance.
class SpeechQueue
{
  public:
    // The parts of an utterance, in the order in which they are said.
    enum class Topic { Clock, Exercise, Store, Level, Message };

    // A text of a topic that is still waiting is replaced: only the latest
    // level, message or state is worth saying.
    void add(Topic topic, const QString& text);
    bool waiting() const { return !texts.empty(); }
    bool waiting(Topic topic) const { return texts.count(topic) != 0; }
    // When the waiting texts may be said, in milliseconds of the caller's
    // clock; meaningful while texts are waiting.
    qint64 due() const { return quiet_from; }
    // The waiting texts joined into one utterance if they are due at now,
    // or an empty text; taking them counts their speaking time from now.
    QString take(qint64 now);
    // The screen reader has stopped speaking: what waits may be said from
    // the given time on, whatever was said before.
    void free_from(qint64 time) { quiet_from = time; }
    // Drops what waits: it no longer holds.
    void clear() { texts.clear(); }

    // Roughly how long a screen reader takes to say the text at its usual
    // rate, the word "notification" before it included.
    static qint64 speaking_time(const QString& text);

  private:
    std::map<Topic, QString> texts;
    qint64 quiet_from = 0;
};

// The time and the wake-up call by which the announcements pace what they say:
// the real clock and a timer unless a test brings its own, which it moves on
// by hand instead of waiting for the speaking times.
class SpeechClock : public QObject
{
    Q_OBJECT

  public:
    using QObject::QObject;

    // Milliseconds from a fixed moment.
    virtual qint64 now() const = 0;
    // Asks for one wake-up after the delay, in place of any asked for before.
    virtual void wake_after(qint64 delay) = 0;

  signals:
    void woken();
};

class Announcements : public QObject
{
    Q_OBJECT

  public:
    // The voice becomes an invisible child of window that takes no focus.
    explicit Announcements(QWidget* window);

    void clock_changed(bool runs, const QString& caption);
    void exercise_changed(bool running, const QString& caption);
    // A meal changes the level between ticks: the next tick says it.
    void meal_eaten();
    // A hormone moved glucose between the blood and the store: the store now,
    // the level at the next tick.
    void store_changed(const QString& store);
    // Says the level with its message when the message is new or the student
    // has acted since the last tick, and nothing on a steady run.
    void ticked(const QString& level, const QString& message);
    void model_reset(const QString& level, const QString& store);
    // The student pressed a key, which a screen reader answers first.
    void key_pressed();
    // The clock to pace by from now on, before anything is said; the
    // announcements own it.
    void use_clock(SpeechClock* clock);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  signals:
    // An utterance given to the screen reader.
    void spoken(const QString& utterance);

  private:
    // An answer to the student's own action goes out at once, with whatever
    // waits; other texts wait for the screen reader to be quiet.
    enum class Urgency { Waits, Answer };
    void say(SpeechQueue::Topic topic, const QString& text, Urgency urgency = Urgency::Waits);
    void schedule();
    void speak_due();

    QWidget* voice = nullptr;
    SpeechQueue queue;
    SpeechClock* clock = nullptr;
    QString last_message;
    bool level_wanted = false;
};
