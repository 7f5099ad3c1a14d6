// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// A class guide against the program in the guide's language: every number
// that the guide quotes stands in one of its tables, and each table is
// recomputed here from the model and the window, driven the way the guide
// tells pupils to. A number anywhere else in the guide fails the test, so
// none can go stale. The guide is the file that GLUKARA_GUIDE names.
#include "guide_replay.h"
#include "translations.h"
#include "window_access.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QScopeGuard>

using namespace guide;

namespace
{

const Document& doc()
{
    static const Document d = [] {
        QString error;
        auto read_doc = read(qEnvironmentVariable("GLUKARA_GUIDE"), &error);
        if (!read_doc)
            qFatal("%s", qPrintable(error));
        return *read_doc;
    }();
    return d;
}

const Words& words()
{
    return doc().words;
}

const QList<Experiment>& all_experiments()
{
    static QString error;
    static const QList<Experiment> e = experiments(doc(), &error);
    if (!error.isEmpty())
        qFatal("%s", qPrintable(error));
    return e;
}

using Window = ShownWindow;

QString message_of(const glukara_code::GlucoseBand& band)
{
    return model_text(band.message);
}

QString row_name(const Table& t, int r)
{
    return QStringLiteral("line %1: %2").arg(t.row_lines[r]).arg(t.rows[r].value(0));
}

// The rows of the first table with `header`, one data row each, as columns
// "line" and "cells".
void table_rows(const QStringList& header)
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("cells");
    const Table* t = doc().table(header);
    if (!t)
        QSKIP("no such table");
    for (int r = 0; r < t->rows.size(); ++r)
        QTest::newRow(qPrintable(row_name(*t, r))) << t->row_lines[r] << t->rows[r];
}

} // namespace

class TestGuide : public QObject
{
    Q_OBJECT

  private slots:
    void initTestCase();
    void tables_present_data();
    void tables_present();
    void bands_data();
    void bands();
    void every_band_in_the_guide();
    void numbers_data();
    void numbers();
    void experiment_steps_data();
    void experiment_steps();
    void experiments_data();
    void experiments();
    void parts_data();
    void parts();
    void typed_numbers_data();
    void typed_numbers();
    void tab_order();
    void keys_data();
    void keys();
    void links();
    void counted_words();
    void no_number_outside_the_tables();
};

void TestGuide::initTestCase()
{
    install_language(doc());
}

void TestGuide::tables_present_data()
{
    QTest::addColumn<QStringList>("header");
    QTest::newRow("bands") << words().band_header;
    QTest::newRow("numbers") << words().number_header;
    QTest::newRow("parts") << words().part_header;
    QTest::newRow("tab order") << words().tab_header;
    QTest::newRow("typing") << words().typing_header;
}

void TestGuide::tables_present()
{
    QFETCH(QStringList, header);
    QVERIFY2(doc().table(header), qPrintable(header.join(QLatin1String(" | "))));
}

void TestGuide::bands_data()
{
    table_rows(words().band_header);
}

// A row reads "90 to 100" or "below 40" in the guide's words, as the
// program's band holds it.
void TestGuide::bands()
{
    QFETCH(QStringList, cells);
    QCOMPARE(cells.size(), 3);
    const QString message = band_messages(doc()).value(cells[1]);
    const glukara_code::GlucoseBand* band = nullptr;
    for (const auto& b : glukara_code::glucose_bands)
        if (message_of(b) == message)
            band = &b;
    QVERIFY2(band, qPrintable(QStringLiteral("no band shows %1").arg(cells[2])));
    const QString high = text(band->upper_bound);
    const QString range = band->open_below
                              ? fill(words().below, {{"high", high}})
                              : fill(words().range, {{"low", text(band->lower_bound)}, {"high", high}});
    QCOMPARE(cells[0], range);
}

void TestGuide::every_band_in_the_guide()
{
    const Table* t = doc().table(words().band_header);
    QVERIFY(t);
    QCOMPARE(t->rows.size(), int(glukara_code::glucose_bands.size()));
    QStringList messages = band_messages(doc()).values();
    for (const auto& b : glukara_code::glucose_bands)
        QVERIFY2(messages.removeOne(message_of(b)), qPrintable(message_of(b)));
    QCOMPARE(messages, QStringList{QString()}); // the empty message line only
}

void TestGuide::numbers_data()
{
    table_rows(words().number_header);
}

// What a pupil finds in a window just opened: a list entry shows its value in
// the value box; the others are read off the chart, the store and the clock.
void TestGuide::numbers()
{
    QFETCH(QStringList, cells);
    const QString quantity = bold(cells.value(0));
    const QString value = cells.value(1);
    Window t;
    const int entry = variable_combo(t.w)->findText(quantity);
    if (entry >= 0) {
        variable_combo(t.w)->setFocus();
        for (int i = 0; i < entry; ++i)
            QTest::keyClick(variable_combo(t.w), Qt::Key_Down);
        QCOMPARE(value_inputbox(t.w)->text(), value);
        if (entry == variable_combo(t.w)->count() - 1) // the glycogen store
            QCOMPARE(glycogen_level(t.w), value);
    } else if (quantity == words().blood_glucose) {
        QCOMPARE(text(t.w.model.blood_glucose), value);
        QCOMPARE(text(chart_value(t.w)), value);
    } else if (quantity == words().chart_bottom) {
        QCOMPARE(text(glukara_code::lowest_level), value);
        QCOMPARE(text(GlucoseChart::minimum), value);
    } else if (quantity == words().chart_top) {
        QCOMPARE(text(glukara_code::highest_level), value);
        QCOMPARE(text(GlucoseChart::maximum), value);
    } else if (quantity == words().tick_time) {
        QCOMPARE(fill(words().seconds, {{"n", text(glucose_timer(t.w)->interval() / 1000.0)}}),
                 value);
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown quantity \"%1\"").arg(cells.value(0))));
    }
}

void TestGuide::experiment_steps_data()
{
    QTest::addColumn<int>("experiment");
    QTest::addColumn<int>("step");
    for (const Experiment& e : all_experiments())
        for (int s = 0; s < e.steps.size(); ++s)
            QTest::newRow(qPrintable(QStringLiteral("%1, line %2, second %3")
                                         .arg(e.title)
                                         .arg(e.steps[s].line)
                                         .arg(e.steps[s].second)))
                << e.number << s;
}

// Each step from a window just opened, the steps before it done as written.
void TestGuide::experiment_steps()
{
    QFETCH(int, experiment);
    QFETCH(int, step);
    const QMap<QString, QString> messages = band_messages(doc());
    Window t;
    const QString problem =
        replay(t.w, doc(), all_experiments().at(experiment - 1), step, &messages);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void TestGuide::experiments_data()
{
    QTest::addColumn<int>("experiment");
    for (const Experiment& e : all_experiments())
        QTest::newRow(qPrintable(e.title)) << e.number;
}

// Each experiment is numbered in order, starts its clock, and shows the
// picture of the one row marked for it.
void TestGuide::experiments()
{
    QFETCH(int, experiment);
    const Experiment& e = all_experiments().at(experiment - 1);
    QVERIFY2(e.title.startsWith(fill(words().experiment_title, {{"n", QString::number(experiment)}}) +
                                QLatin1Char(' ')),
             qPrintable(e.title));
    QVERIFY(!e.steps.isEmpty());
    int marked = 0;
    for (const Step& s : e.steps)
        marked += s.picture ? 1 : 0;
    QCOMPARE(marked, 1);
    const QString picture_path =
        QStringLiteral("%1experiment-%2.png").arg(doc().picture_folder()).arg(experiment);
    const QString link = QStringLiteral("](%1)").arg(picture_path);
    const int after_table = e.table->row_lines.last();
    int linked_at = -1;
    for (int i = after_table; i < doc().lines.size() && linked_at < 0; ++i) {
        if (doc().lines[i].startsWith(QLatin1Char('#')))
            break;
        if (doc().lines[i].contains(link))
            linked_at = i;
    }
    QVERIFY2(linked_at >= 0, qPrintable(link));
    const QString picture = QFileInfo(doc().path).dir().filePath(picture_path);
    QVERIFY2(QFileInfo::exists(picture), qPrintable(picture));
    QVERIFY(all_experiments().size() >= 6);
}

void TestGuide::parts_data()
{
    table_rows(words().part_header);
}

// The labels of the overview picture name what the window shows there.
void TestGuide::parts()
{
    QFETCH(QStringList, cells);
    const int label = cells.value(0).toInt();
    QVERIFY(label >= 1 && label <= int(guide::parts.size()));
    Window t;
    QCOMPARE(bold(cells.value(1)), shown_name(t.w, guide::parts[std::size_t(label - 1)]));
    QCOMPARE(doc().table(words().part_header)->rows.size(), int(guide::parts.size()));
}

void TestGuide::typed_numbers_data()
{
    table_rows(words().typing_header);
}

// Typed over the resting use in the window of the row's language, the list
// moved away and back, then one tick from the start level.
void TestGuide::typed_numbers()
{
    QFETCH(QStringList, cells);
    const qsizetype language = words().languages.indexOf(cells.value(0));
    QVERIFY2(language >= 0, qPrintable(cells.value(0)));
    auto unquoted = [](QString cell) { return cell.remove(QLatin1Char('`')); };
    install_translations(QLocale(language_codes.at(language)));
    const auto guide_language_again = qScopeGuard([] { install_language(doc()); });
    Window t;
    type_value(t.w, unquoted(cells.value(1)));
    choose_entry(t.w, 1);
    choose_entry(t.w, 0);
    QCOMPARE(value_inputbox(t.w)->text(), unquoted(cells.value(2)));
    click(cmd_button(t.w, glukara::start_button));
    fire_tick(t.w);
    QCOMPARE(glucose_chart(t.w)->accessibleDescription(), cells.value(3));
}

// Tab from the first stop visits the table's controls in order, and comes
// back to the first.
void TestGuide::tab_order()
{
    const Table* t = doc().table(words().tab_header);
    QVERIFY(t);
    Window w;
    QStringList expected;
    QStringList visited;
    for (int r = 0; r <= t->rows.size(); ++r) {
        const QStringList& row = t->rows.at(r % t->rows.size());
        QCOMPARE(row.value(0).toInt(), r % t->rows.size() + 1);
        expected << bold(row.value(1));
        QWidget* focus = QApplication::focusWidget();
        QString name;
        for (const Part& p : guide::parts)
            if (focus->objectName() == QLatin1String(p.control))
                name = shown_name(w.w, p);
        visited << name;
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    QCOMPARE(visited, expected);
}

enum class Key {
    space_on_start,
    return_on_meal,
    space_on_diabetic,
    enter_in_value,
    down_in_list,
    shift_tab
};

void TestGuide::keys_data()
{
    QTest::addColumn<Key>("key");
    QTest::newRow("Space presses the focused button") << Key::space_on_start;
    QTest::newRow("Return presses the focused button") << Key::return_on_meal;
    QTest::newRow("Space ticks Diabetic?") << Key::space_on_diabetic;
    QTest::newRow("Enter in the Value box moves to the list") << Key::enter_in_value;
    QTest::newRow("Down in the list chooses the next quantity") << Key::down_in_list;
    QTest::newRow("Shift+Tab goes the other way") << Key::shift_tab;
}

// What "Using the keyboard" promises besides the Tab order, the same in every
// language; checked with the English guide.
void TestGuide::keys()
{
    QFETCH(Key, key);
    if (doc().language != QLatin1String("en"))
        QSKIP("the keys do the same in every language");
    Window t;
    switch (key) {
    case Key::space_on_start:
        QCOMPARE(QApplication::focusWidget(), cmd_button(t.w, glukara::start_button));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(glucose_timer(t.w)->isActive());
        QCOMPARE(cmd_button(t.w, glukara::start_button)->text(), QStringLiteral("Stop"));
        break;
    case Key::return_on_meal:
        click(cmd_button(t.w, glukara::start_button));
        cmd_button(t.w, glukara::meal_button)->setFocus();
        QTest::keyClick(cmd_button(t.w, glukara::meal_button), Qt::Key_Return);
        // The start level, 100, and a meal's start value, 40.
        QCOMPARE(t.w.model.blood_glucose, 140.0f);
        break;
    case Key::space_on_diabetic:
        diabetic_check(t.w)->setFocus();
        QTest::keyClick(diabetic_check(t.w), Qt::Key_Space);
        QVERIFY(diabetic_check(t.w)->isChecked());
        QVERIFY(t.w.model.is_diabetic);
        break;
    case Key::enter_in_value:
        value_inputbox(t.w)->setFocus();
        QTest::keyClick(value_inputbox(t.w), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), variable_combo(t.w));
        break;
    case Key::down_in_list:
        variable_combo(t.w)->setFocus();
        QTest::keyClick(variable_combo(t.w), Qt::Key_Down);
        QCOMPARE(value_inputbox(t.w)->text(), QStringLiteral("-5"));
        QCOMPARE(variable_combo(t.w)->currentText(), QStringLiteral("glucose use when running"));
        break;
    case Key::shift_tab:
        QTest::keyClick(cmd_button(t.w, glukara::start_button), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), cmd_button(t.w, glukara::glucagon_button));
        break;
    }
}

// Every link within the guide leads to one of its headings, and every
// picture or file it links to is there. A heading's anchor is its text in
// lower case without punctuation, with a hyphen for each run of spaces and
// hyphens; accented letters stay, as in the guide's web pages.
void TestGuide::links()
{
    static const QRegularExpression link(QStringLiteral("\\]\\(([^)]+)\\)"));
    static const QRegularExpression punctuation(QStringLiteral("[^\\w\\s-]"),
                                                QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression gaps(QStringLiteral("[-\\s]+"));
    QStringList anchors;
    for (const QString& line : doc().lines)
        if (line.startsWith(QLatin1Char('#')))
            anchors << line.section(QLatin1Char(' '), 1)
                           .remove(punctuation)
                           .trimmed()
                           .toLower()
                           .replace(gaps, QStringLiteral("-"));
    const QDir here = QFileInfo(doc().path).dir();
    QStringList broken;
    for (const QString& line : doc().lines)
        for (auto m = link.globalMatch(line); m.hasNext();) {
            const QString target = m.next().captured(1);
            const bool found = target.startsWith(QLatin1Char('#'))
                                   ? anchors.contains(target.mid(1))
                                   : QFileInfo::exists(here.filePath(target));
            if (!found)
                broken << target;
        }
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QLatin1String(", "))));
}

// Counts written as words: "the eight bands", "the six quantities".
void TestGuide::counted_words()
{
    const QStringList& numbers = words().counted;
    const QRegularExpression counted(
        QStringLiteral("\\b(%1) (%2|%3)\\b")
            .arg(numbers.join(QLatin1Char('|')), words().bands, words().quantities),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    const QMap<QString, int> actual = {{words().bands, int(glukara_code::glucose_bands.size())},
                                       {words().quantities, glukara_code::parameter_count}};
    int seen = 0;
    for (int i = 0; i < doc().lines.size(); ++i)
        for (auto m = counted.globalMatch(doc().lines[i]); m.hasNext(); ++seen) {
            const auto found = m.next();
            const int count = int(numbers.indexOf(found.captured(1).toLower())) + 1;
            QVERIFY2(count == actual.value(found.captured(2)),
                     qPrintable(QStringLiteral("line %1: %2").arg(i + 1).arg(found.captured(0))));
        }
    QVERIFY(seen > 0);
}

// Digits may stand only in the cells that the tests above check, apart from
// the unit, numbered lists, the names of experiments and pictures, and the
// licence header.
void TestGuide::no_number_outside_the_tables()
{
    const QRegularExpression reference(words().experiment_reference,
                                       QRegularExpression::UseUnicodePropertiesOption);
    const QRegularExpression allowed(
        QStringLiteral("mg / 100 ml|%1|^\\s*\\d+\\. |%2|\\]\\([^)]*\\)|^\\s*\\|[\\s:|-]*\\|\\s*$|"
                       "^SPDX-[\\w-]+: .*$")
            .arg(words().prose_numbers, words().experiment_reference),
        QRegularExpression::UseUnicodePropertiesOption);
    const int experiment_count = int(all_experiments().size());
    static const QRegularExpression digit(QStringLiteral("\\d"));
    QStringList strays;
    QList<int> table_lines;
    for (const Table& t : doc().tables) {
        const QList<int> checked = doc().checked_columns(t.header);
        auto prose_of = [&](const QStringList& cells) {
            QStringList rest;
            for (int c = 0; c < cells.size(); ++c)
                if (!checked.contains(c))
                    rest << cells[c];
            return rest.join(QLatin1String(" | "));
        };
        const QList<QStringList> rows = QList<QStringList>{t.header} + t.rows;
        const QList<int> lines = QList<int>{t.line} + t.row_lines;
        for (int r = 0; r < rows.size(); ++r)
            if (prose_of(rows[r]).remove(allowed).contains(digit))
                strays << QStringLiteral("line %1: %2").arg(lines[r]).arg(prose_of(rows[r]));
        table_lines << t.line << t.line + 1 << t.row_lines;
    }
    for (int i = 0; i < doc().lines.size(); ++i) {
        const QString& line = doc().lines[i];
        for (auto m = reference.globalMatch(line); m.hasNext();) {
            const auto found = m.next();
            for (const QString& number : {found.captured(1), found.captured(2)})
                if (!number.isEmpty() && (number.toInt() < 1 || number.toInt() > experiment_count))
                    strays << QStringLiteral("line %1: no Experiment %2").arg(i + 1).arg(number);
        }
        if (table_lines.contains(i + 1))
            continue;
        if (QString(line).remove(allowed).contains(digit))
            strays << QStringLiteral("line %1: %2").arg(i + 1).arg(line);
    }
    QVERIFY2(strays.isEmpty(), qPrintable(strays.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestGuide)
#include "tst_guide.moc"
