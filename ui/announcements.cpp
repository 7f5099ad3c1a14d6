// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "announcements.h"
#include "control_names.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace
{

// The widget that carries the utterances: its accessible name is the text.
class Voice : public QWidget
{
  public:
    using QWidget::QWidget;
};

QAccessibleInterface* voice_interface(const QString& class_name, QObject* object)
{
    if (class_name != QLatin1String("QWidget"))
        return nullptr;
    if (auto* voice = dynamic_cast<Voice*>(object))
        return new QAccessibleWidget(voice, QAccessible::Notification);
    return nullptr;
}

class RealClock : public SpeechClock
{
  public:
    explicit RealClock(QObject* parent) : SpeechClock(parent)
    {
        elapsed.start();
        pacing.setSingleShot(true);
        connect(&pacing, &QTimer::timeout, this, &SpeechClock::woken);
    }
    qint64 now() const override { return elapsed.elapsed(); }
    void wake_after(qint64 delay) override { pacing.start(int(delay)); }

  private:
    QElapsedTimer elapsed;
    QTimer pacing;
};

// espeak-ng, Orca's usual voice, says about 15 characters a second at Orca's
// default rate, and takes half a second to start and end.
constexpr qint64 ms_per_character = 66;
constexpr qint64 ms_around = 500;
constexpr qint64 notification_word = 13;
// Orca stops speaking at every key press, then says the key and what it did
// to the focus, such as the name of the next control after Tab.
constexpr qint64 key_answer_ms = 1500;

} // namespace

QString spoken_level(const QString& level)
{
    return Announcements::tr("Blood glucose %1 mg per 100 ml.").arg(level);
}

QString spoken_store(const QString& store)
{
    return Announcements::tr("Glycogen store %1").arg(store);
}

void SpeechQueue::add(Topic topic, const QString& text)
{
    texts[topic] = text;
}

QString SpeechQueue::take(qint64 now)
{
    if (texts.empty() || now < quiet_from)
        return QString();
    QStringList parts;
    for (const auto& [topic, text] : texts)
        parts << text;
    texts.clear();
    const QString utterance = parts.join(QLatin1Char(' '));
    quiet_from = now + speaking_time(utterance);
    return utterance;
}

qint64 SpeechQueue::speaking_time(const QString& text)
{
    return ms_around + (notification_word + text.size()) * ms_per_character;
}

Announcements::Announcements(QWidget* window) : QObject(window)
{
    setObjectName(QLatin1String(control_names::announcements));
    // Before the voice exists: Qt keeps the first interface it makes for it.
    static const bool installed = (QAccessible::installFactory(voice_interface), true);
    Q_UNUSED(installed);
    voice = new Voice(window);
    voice->setObjectName(QLatin1String(control_names::announcement));
    // No size: nothing to see, nothing to click, no place on a flat-review
    // line. Hidden until the first utterance, so that opening the window
    // does not show an empty notification.
    voice->setGeometry(0, 0, 0, 0);
    voice->setFocusPolicy(Qt::NoFocus);
    voice->setAttribute(Qt::WA_TransparentForMouseEvents);
    voice->hide();
    use_clock(new RealClock(this));
    QCoreApplication::instance()->installEventFilter(this);
}

void Announcements::use_clock(SpeechClock* new_clock)
{
    delete clock;
    clock = new_clock;
    clock->setParent(this);
    connect(clock, &SpeechClock::woken, this, &Announcements::speak_due);
}

bool Announcements::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::KeyPress)
        key_pressed();
    return false;
}

void Announcements::key_pressed()
{
    queue.free_from(clock->now() + key_answer_ms);
    if (queue.waiting())
        schedule();
}

void Announcements::clock_changed(bool runs, const QString& caption)
{
    say(SpeechQueue::Topic::Clock,
        runs ? tr("Time runs. The button now reads %1.").arg(caption)
             : tr("Time stands still. The button now reads %1.").arg(caption),
        Urgency::Answer);
}

void Announcements::exercise_changed(bool running, const QString& caption)
{
    say(SpeechQueue::Topic::Exercise,
        running ? tr("The person is running. The button now reads %1.").arg(caption)
                : tr("The person is resting. The button now reads %1.").arg(caption),
        Urgency::Answer);
}

void Announcements::meal_eaten()
{
    level_wanted = true;
}

void Announcements::store_changed(const QString& store)
{
    say(SpeechQueue::Topic::Store, spoken_store(store) + QLatin1Char('.'), Urgency::Answer);
    level_wanted = true;
}

void Announcements::ticked(const QString& level, const QString& message)
{
    const bool worth_saying = level_wanted || (!message.isEmpty() && message != last_message);
    // A level still waiting to be said is brought up to date.
    if (worth_saying || queue.waiting(SpeechQueue::Topic::Level))
        say(SpeechQueue::Topic::Level, spoken_level(level));
    if (worth_saying && !message.isEmpty())
        say(SpeechQueue::Topic::Message, message);
    last_message = message;
    level_wanted = false;
}

void Announcements::model_reset(const QString& level, const QString& store)
{
    queue.clear();
    say(SpeechQueue::Topic::Clock, tr("Start values restored. Time stands still."),
        Urgency::Answer);
    say(SpeechQueue::Topic::Store, spoken_store(store) + QLatin1Char('.'));
    say(SpeechQueue::Topic::Level, spoken_level(level));
    last_message.clear();
    level_wanted = false;
}

void Announcements::say(SpeechQueue::Topic topic, const QString& text, Urgency urgency)
{
    queue.add(topic, text);
    if (urgency == Urgency::Answer)
        queue.free_from(clock->now());
    schedule();
}

void Announcements::schedule()
{
    // Never at once: what one handler says in several parts goes out as one.
    clock->wake_after(qMax<qint64>(0, queue.due() - clock->now()));
}

void Announcements::speak_due()
{
    const QString utterance = queue.take(clock->now());
    if (!utterance.isEmpty()) {
        voice->setAccessibleName(utterance);
        // A screen reader says a notification when it is shown. Made visible
        // rather than shown: in the browser Qt's show() of any widget means
        // full screen, which activates the window, and activating the window
        // while the error box is modal for it sends Qt 6.4's browser platform
        // round an endless loop of raising the box.
        voice->hide();
        voice->setVisible(true);
        emit spoken(utterance);
    }
    if (queue.waiting())
        schedule();
}
