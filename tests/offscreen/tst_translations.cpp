// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// glukara in the languages it is translated into: the locale chooses the
// texts, every text fits the control that shows it, and numbers are written
// as the language writes them.
#include "translations.h"
#include "window_access.h"

#include <QGroupBox>
#include <QLocale>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QToolButton>

#include <cfloat>

using namespace glukara_code;

class TestTranslations : public QObject
{
    Q_OBJECT

  private slots:
    void cleanup();
    void locale_chooses_texts_data();
    void locale_chooses_texts();
    void follows_system_locale();
    void every_model_text_is_translated();
    void texts_fit_their_controls_data();
    void texts_fit_their_controls();
    void numbers_follow_language_data();
    void numbers_follow_language();
    void error_dialog_speaks_language_data();
    void error_dialog_speaks_language();
};

namespace
{

const QStringList english = {
    "Glukara",
    // the buttons 0 to 6, then the other faces of buttons 0 and 2
    "Start",
    "Eat a meal",
    "Go for a run",
    "Quit",
    "Reset",
    "Secrete Insulin",
    "Secrete Glucagon",
    "Stop",
    "Take a rest",
    // frames, labels and the check box
    "Information",
    "Glycogen store",
    "Settings",
    "Variable",
    "Value",
    "Diabetic?",
    // the list
    "resting glucose use",
    "glucose use when running",
    "glucose input from a meal",
    "effect of insulin",
    "effect of glucagon",
    "glycogen store",
    // the chart: title, category, series
    "Blood glucose (mg / 100 ml)",
    "Blood Glucose",
    "Blood glucose (mg / 100ml)",
    // the message of the first tick
    "The blood glucose level is within normal limits.",
};

const QStringList german = {
    "Glukara",
    "Start",
    "Mahlzeit essen",
    "Laufen gehen",
    "Beenden",
    "Neustart",
    "Insulin abgeben",
    "Glucagon abgeben",
    "Stopp",
    "Ausruhen",
    "Information",
    "Glykogenspeicher",
    "Einstellungen",
    "Größe",
    "Wert",
    "Diabetes",
    "Glucoseverbrauch in Ruhe",
    "Glucoseverbrauch beim Laufen",
    "Glucosezufuhr pro Mahlzeit",
    "Wirkung von Insulin",
    "Wirkung von Glucagon",
    "Glykogenspeicher",
    "Blutzucker (mg / 100 ml)",
    "Blutzucker",
    "Blutzucker (mg / 100ml)",
    "Der Blutzuckerspiegel liegt im Normalbereich.",
};

// Every text the window shows, in the order of the lists above. Leaves the
// window running, with the message of its first tick.
QStringList shown_texts(glukara& w)
{
    QStringList texts{w.windowTitle()};
    for (int i = 0; i < glukara::button_count; ++i)
        texts << cmd_button(w, i)->text();
    click(cmd_button(w, glukara::start_button));
    click(cmd_button(w, glukara::run_button));
    texts << cmd_button(w, glukara::start_button)->text()
          << cmd_button(w, glukara::run_button)->text();
    click(cmd_button(w, glukara::run_button));
    for (const char* frame : {"Frame1", "Frame2", "model_frame"})
        texts << control<QGroupBox>(w, frame)->title();
    texts << control<QLabel>(w, control_names::element(control_names::Label1, 0))->text()
          << control<QLabel>(w, control_names::element(control_names::Label1, 1))->text()
          << diabetic_check(w)->text();
    for (int i = 0; i < variable_combo(w)->count(); ++i)
        texts << variable_combo(w)->itemText(i);
    texts << glucose_chart(w)->title() << glucose_chart(w)->category()
          << glucose_chart(w)->series_name();
    fire_tick(w);
    texts << info_text(w);
    return texts;
}

QString error_text(void (*fault)())
{
    try {
        fault();
    } catch (const RuntimeError& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

// What the model can say, in its own English words.
QStringList model_texts()
{
    QStringList texts;
    for (const GlucoseBand& band : glucose_bands)
        texts << QString::fromUtf8(band.message.data(), int(band.message.size()));
    for (const char* name : parameter_names)
        texts << QString::fromUtf8(name);
    texts << error_text([] {
        float target;
        store_sum(target, FLT_MAX, FLT_MAX);
    });
    texts << error_text([] {
        float target;
        store_difference(target, INFINITY, INFINITY);
    });
    return texts;
}

const QStringList languages = {"en", "de", "es", "fr", "it", "nl", "pt"};

QString too_big(const QString& text, QSize needed, QSize room)
{
    return QStringLiteral("'%1' needs %2 x %3 pixels, has %4 x %5")
        .arg(text)
        .arg(needed.width())
        .arg(needed.height())
        .arg(room.width())
        .arg(room.height());
}

bool fits(QSize needed, QSize room)
{
    return needed.width() <= room.width() && needed.height() <= room.height();
}

// The room a push button leaves for its caption inside its frame and margin.
void check_push_button(QAbstractButton* b)
{
    QStyleOptionButton option;
    option.initFrom(b);
    option.text = b->text();
    const QSize room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b).size();
    const QSize needed = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
    QVERIFY2(fits(needed, room), qPrintable(too_big(b->text(), needed, room)));
}

// Tool buttons, check boxes and labels work out what they need themselves:
// their caption, picture, indicator and margins.
void check_own_size(QWidget* c, const QString& text)
{
    QVERIFY2(fits(c->sizeHint(), c->size()), qPrintable(too_big(text, c->sizeHint(), c->size())));
}

} // namespace

void TestTranslations::cleanup()
{
    install_translations(QLocale::c());
    QLocale::setDefault(QLocale::c());
}

void TestTranslations::locale_chooses_texts_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("translated");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("C") << "C" << false << english;
    QTest::newRow("English, US") << "en_US" << false << english;
    QTest::newRow("English, UK") << "en_GB" << false << english;
    QTest::newRow("German") << "de_DE" << true << german;
    QTest::newRow("German, Austria") << "de_AT" << true << german;
    QTest::newRow("Russian, not translated") << "ru_RU" << false << english;
}

void TestTranslations::locale_chooses_texts()
{
    QFETCH(QString, locale);
    QFETCH(bool, translated);
    QFETCH(QStringList, texts);
    QCOMPARE(install_translations(QLocale(locale)), translated);
    glukara w;
    w.show();
    QCOMPARE(shown_texts(w), texts);
    QCOMPARE(control<QWidget>(w, control_names::value_inputbox)->accessibleName(), texts.at(14));
    QCOMPARE(control<QWidget>(w, control_names::variable_combo)->accessibleName(), texts.at(13));
    QCOMPARE(control<QWidget>(w, control_names::glucose_chart)->accessibleName(), texts.at(22));
}

// Run by ctest with LANG set as a user sets it: the locale that Qt reads from
// the environment chooses the language.
void TestTranslations::follows_system_locale()
{
    const QLocale system = QLocale::system();
    const bool is_german = system.language() == QLocale::German;
    QVERIFY2(is_german || system.language() == QLocale::C || system.language() == QLocale::English,
             qPrintable(
                 QStringLiteral("run with LANG=de_DE.UTF-8 or LANG=C, not %1").arg(system.name())));
    QCOMPARE(install_translations(system), is_german);
    glukara w;
    w.show();
    QCOMPARE(shown_texts(w), is_german ? german : english);
}

void TestTranslations::every_model_text_is_translated()
{
    QVERIFY(install_translations(QLocale(QLocale::German, QLocale::Germany)));
    const QStringList texts = model_texts();
    QCOMPARE(texts.size(), 16);
    for (const QString& text : texts) {
        const QString translated = model_text(text.toStdString());
        QVERIFY2(!translated.isEmpty() && translated != text, qPrintable(text));
    }
    // The coma message's double space is matched exactly.
    QCOMPARE(model_text("The person is unconscious.  This is hypoglycaemic coma."),
             QStringLiteral("Die Person ist bewusstlos. Das ist ein hypoglykämisches Koma."));
    QCOMPARE(model_text("The person is unconscious. This is hypoglycaemic coma."),
             QStringLiteral("The person is unconscious. This is hypoglycaemic coma."));
}

void TestTranslations::texts_fit_their_controls_data()
{
    QTest::addColumn<QString>("language");
    for (const QString& language : languages)
        QTest::newRow(qPrintable(language)) << language;
}

void TestTranslations::texts_fit_their_controls()
{
    QFETCH(QString, language);
    QCOMPARE(install_translations(QLocale(language)), language != QLatin1String("en"));
    glukara w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    auto check_buttons = [&] {
        for (int i = 0; i < glukara::button_count; ++i) {
            QAbstractButton* b = cmd_button(w, i);
            if (qobject_cast<QToolButton*>(b))
                check_own_size(b, b->text());
            else
                check_push_button(b);
        }
    };
    check_buttons();
    click(cmd_button(w, glukara::start_button)); // "Stop"
    click(cmd_button(w, glukara::run_button));   // "Take a rest"
    QVERIFY(glucose_timer(w)->isActive() && w.model.is_running);
    check_buttons();

    check_own_size(diabetic_check(w), diabetic_check(w)->text());
    for (const char* name : {"Label1_0", "Label1_1"}) {
        auto* label = control<QLabel>(w, name);
        check_own_size(label, label->text());
    }
    for (const char* name : {"Frame1", "Frame2", "model_frame"}) {
        auto* frame = control<QGroupBox>(w, name);
        check_own_size(frame, frame->title());
        QVERIFY2(frame->minimumSizeHint().width() <= frame->width(), qPrintable(frame->title()));
    }

    // The entry stands in the combo box's text field, which keeps 2 pixels
    // on either side of its text.
    QLineEdit* field = variable_combo(w)->lineEdit();
    const QSize field_room = field->contentsRect().size() - QSize(4, 0);
    for (int i = 0; i < variable_combo(w)->count(); ++i) {
        const QString entry = variable_combo(w)->itemText(i);
        const QSize needed = field->fontMetrics().size(0, entry);
        QVERIFY2(fits(needed, field_room), qPrintable(too_big(entry, needed, field_room)));
    }

    // Each message, wrapped at word boundaries as the label wraps it.
    QLabel* message = control<QLabel>(w, control_names::element(control_names::info_text, 0));
    const QRect message_room = message->contentsRect().adjusted(
        message->margin(), message->margin(), -message->margin(), -message->margin());
    for (const GlucoseBand& band : glucose_bands) {
        const QString text = model_text(band.message);
        const QSize needed = message->fontMetrics()
                                 .boundingRect(QRect(QPoint(), message_room.size()),
                                               int(message->alignment()) | Qt::TextWordWrap, text)
                                 .size();
        QVERIFY2(fits(needed, message_room.size()),
                 qPrintable(too_big(text, needed, message_room.size())));
    }
    fire_tick(w);
    QCOMPARE(message->text(), model_text(glucose_bands[0].message));

    GlucoseChart* c = glucose_chart(w);
    const QSize title = QFontMetrics(c->font()).size(0, c->title());
    QVERIFY2(fits(title, c->size()), qPrintable(too_big(c->title(), title, c->size())));
    const QSize label = QFontMetrics(c->font()).size(0, c->category());
    QVERIFY2(label.width() <= c->plot_area().width(),
             qPrintable(too_big(c->category(), label, c->plot_area().size())));
}

void TestTranslations::numbers_follow_language_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("system");
    QTest::addColumn<float>("typed_with_comma");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("spoken_level");
    QTest::addColumn<QString>("store");
    // The English window keeps its rules on a German system: a comma ends
    // the number, so "-1,5" reads as -1.
    QTest::newRow("English on a German system") << "en"
                                                << "de_DE" << -1.0f << "99"
                                                << "Blood glucose 99 mg per 100 ml."
                                                << "42.5";
    // A German window on an English system writes and reads a comma.
    QTest::newRow("German on an English system") << "de"
                                                 << "en_US" << -1.5f << "98,5"
                                                 << "Blutzucker 98,5 mg pro 100 ml."
                                                 << "42,5";
    QTest::newRow("Spanish") << "es"
                             << "C" << -1.5f << "98,5"
                             << "Glucosa en sangre: 98,5 mg por 100 ml."
                             << "42,5";
    QTest::newRow("French") << "fr"
                            << "C" << -1.5f << "98,5"
                            << "Glycémie : 98,5 mg pour 100 ml."
                            << "42,5";
    QTest::newRow("Italian") << "it"
                             << "C" << -1.5f << "98,5"
                             << "Glicemia 98,5 mg per 100 ml."
                             << "42,5";
    QTest::newRow("Dutch") << "nl"
                           << "C" << -1.5f << "98,5"
                           << "Bloedglucose 98,5 mg per 100 ml."
                           << "42,5";
    QTest::newRow("Portuguese") << "pt"
                                << "C" << -1.5f << "98,5"
                                << "Glicemia: 98,5 mg por 100 ml."
                                << "42,5";
}

// The window's language, not the system's number settings, decides how
// numbers are written and read; the system's locale is also the default that
// any code formatting through QLocale would see.
void TestTranslations::numbers_follow_language()
{
    QFETCH(QString, language);
    QFETCH(QString, system);
    QFETCH(float, typed_with_comma);
    QFETCH(QString, level);
    QFETCH(QString, spoken_level);
    QFETCH(QString, store);
    install_translations(QLocale(language));
    QLocale::setDefault(QLocale(system));
    glukara w;
    w.show();

    // A point is understood in every language.
    type_value(w, QStringLiteral("-2.5"));
    QCOMPARE(w.model.resting_use, -2.5f);
    type_value(w, QStringLiteral("-1,5"));
    QCOMPARE(w.model.resting_use, typed_with_comma);
    click(cmd_button(w, glukara::start_button));
    fire_tick(w);
    QCOMPARE(glucose_chart(w)->accessibleDescription(), level);
    QCOMPARE(glucose_chart(w)->drawing_area()->accessibleName(), spoken_level);
    QStringList axis_labels;
    for (const GlucoseChart::Text& text : glucose_chart(w)->texts())
        axis_labels << text.text;
    for (const char* reading : {"30", "60", "90", "120", "150", "180"})
        QVERIFY2(axis_labels.contains(QLatin1String(reading)), qPrintable(axis_labels.join('|')));

    // Glycogen 40 - (-2.5), in the label and in the value box.
    w.model.insulin_effect = -2.5f;
    click(cmd_button(w, glukara::insulin_button));
    QCOMPARE(glycogen_level(w), store);
    choose_entry(w, 5);
    QCOMPARE(value_inputbox(w)->text(), store);
    // What was typed comes back, written as the window writes it, after the
    // list moves away and back.
    choose_entry(w, 0);
    QCOMPARE(value_inputbox(w)->text(), level == QLatin1String("99") ? "-1" : "-1,5");
}

void TestTranslations::error_dialog_speaks_language_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("button");
    QTest::newRow("English") << "C"
                             << "Run-time error '6':\n\nOverflow"
                             << "OK";
    QTest::newRow("German") << "de_DE"
                            << "Laufzeitfehler '6':\n\nÜberlauf"
                            << "OK";
    QTest::newRow("Spanish") << "es_ES"
                             << "Error en tiempo de ejecución '6':\n\nDesbordamiento"
                             << "Aceptar";
}

void TestTranslations::error_dialog_speaks_language()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(QString, button);
    install_translations(QLocale(locale));
    glukara w;
    w.show();
    w.model.meal_input = FLT_MAX;
    click(cmd_button(w, glukara::start_button));
    click(cmd_button(w, glukara::meal_button));
    click(cmd_button(w, glukara::meal_button));
    const auto boxes = visible_error_boxes(w);
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.at(0)->text(), text);
    QCOMPARE(boxes.at(0)->windowTitle(), w.windowTitle());
    QCOMPARE(boxes.at(0)->button(QMessageBox::Ok)->text().remove('&'), button);
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
