// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The class guide against the program: every number that docs/guide.md
// quotes stands in one of its tables, and each table is recomputed here from
// the model and the window, driven the way the guide tells pupils to. A
// number anywhere else in the guide fails the test, so none can go stale.
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
        auto read_doc = read(QStringLiteral(GLUKARA_GUIDE));
        if (!read_doc)
            qFatal("cannot read %s", GLUKARA_GUIDE);
        return *read_doc;
    }();
    return d;
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

QString text(double value)
{
    return QString::fromStdString(glukara_code::value_to_text(float(value)));
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

void TestGuide::tables_present_data()
{
    QTest::addColumn<QStringList>("header");
    QTest::newRow("bands") << band_header;
    QTest::newRow("numbers") << number_header;
    QTest::newRow("parts") << part_header;
    QTest::newRow("tab order") << tab_header;
    QTest::newRow("typing") << typing_header;
}

void TestGuide::tables_present()
{
    QFETCH(QStringList, header);
    QVERIFY2(doc().table(header), qPrintable(header.join(QLatin1String(" | "))));
}

void TestGuide::bands_data()
{
    table_rows(band_header);
}

// A row reads "90 to 100" or "below 40", as the program's band holds it.
void TestGuide::bands()
{
    QFETCH(QStringList, cells);
    QCOMPARE(cells.size(), 3);
    const QString message = band_messages(doc()).value(cells[1]);
    const glukara_code::GlucoseBand* band = nullptr;
    for (const auto& b : glukara_code::glucose_bands)
        if (QString::fromUtf8(b.message.data(), int(b.message.size())) == message)
            band = &b;
    QVERIFY2(band, qPrintable(QStringLiteral("no band shows %1").arg(cells[2])));
    const QString range =
        band->open_below
            ? QStringLiteral("below %1").arg(text(band->upper_bound))
            : QStringLiteral("%1 to %2").arg(text(band->lower_bound)).arg(text(band->upper_bound));
    QCOMPARE(cells[0], range);
}

void TestGuide::every_band_in_the_guide()
{
    const Table* t = doc().table(band_header);
    QVERIFY(t);
    QCOMPARE(t->rows.size(), int(glukara_code::glucose_bands.size()));
    QStringList messages = band_messages(doc()).values();
    for (const auto& b : glukara_code::glucose_bands)
        QVERIFY(messages.removeOne(QString::fromUtf8(b.message.data(), int(b.message.size()))));
    QCOMPARE(messages, QStringList{QString()}); // the empty message line only
}

void TestGuide::numbers_data()
{
    table_rows(number_header);
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
        if (quantity == QLatin1String("glycogen store"))
            QCOMPARE(glycogen_level(t.w), value);
    } else if (quantity == QLatin1String("blood glucose")) {
        QCOMPARE(text(t.w.model.blood_glucose), value);
        QCOMPARE(text(chart_value(t.w)), value);
    } else if (quantity == QLatin1String("bottom of the chart")) {
        QCOMPARE(text(glukara_code::lowest_level), value);
        QCOMPARE(text(GlucoseChart::minimum), value);
    } else if (quantity == QLatin1String("top of the chart")) {
        QCOMPARE(text(glukara_code::highest_level), value);
        QCOMPARE(text(GlucoseChart::maximum), value);
    } else if (quantity == QLatin1String("time between two ticks")) {
        QCOMPARE(QStringLiteral("%1 second").arg(glucose_timer(t.w)->interval() / 1000.0), value);
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
    const QString problem = replay(t.w, all_experiments().at(experiment - 1), step, &messages);
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
    QVERIFY2(e.title.startsWith(QStringLiteral("Experiment %1: ").arg(experiment)),
             qPrintable(e.title));
    QVERIFY(!e.steps.isEmpty());
    int marked = 0;
    for (const Step& s : e.steps)
        marked += s.picture ? 1 : 0;
    QCOMPARE(marked, 1);
    const QString link = QStringLiteral("](guide/experiment-%1.png)").arg(experiment);
    const int after_table = e.table->row_lines.last();
    int linked_at = -1;
    for (int i = after_table; i < doc().lines.size() && linked_at < 0; ++i) {
        if (doc().lines[i].startsWith(QLatin1Char('#')))
            break;
        if (doc().lines[i].contains(link))
            linked_at = i;
    }
    QVERIFY2(linked_at >= 0, qPrintable(link));
    const QString picture =
        QFileInfo(doc().path)
            .dir()
            .filePath(QStringLiteral("guide/experiment-%1.png").arg(experiment));
    QVERIFY2(QFileInfo::exists(picture), qPrintable(picture));
    QVERIFY(all_experiments().size() >= 6);
}

void TestGuide::parts_data()
{
    table_rows(part_header);
}

// The labels of the overview picture name what the window shows there.
void TestGuide::parts()
{
    QFETCH(QStringList, cells);
    const int label = cells.value(0).toInt();
    QVERIFY(label >= 1 && label <= int(guide::parts.size()));
    Window t;
    QCOMPARE(bold(cells.value(1)), shown_name(t.w, guide::parts[std::size_t(label - 1)]));
    QCOMPARE(doc().table(part_header)->rows.size(), int(guide::parts.size()));
}

// Tab from the first stop visits the table's controls in order, and comes
// back to the first.
void TestGuide::typed_numbers_data()
{
    table_rows(typing_header);
}

// Typed over the resting use in the window of the row's language, the list
// moved away and back, then one tick from the start level.
void TestGuide::typed_numbers()
{
    QFETCH(QStringList, cells);
    static const QMap<QString, QString> languages = {
        {"English", "en"}, {"German", "de"}, {"Spanish", "es"},    {"French", "fr"},
        {"Italian", "it"}, {"Dutch", "nl"},  {"Portuguese", "pt"},
    };
    QVERIFY2(languages.contains(cells.value(0)), qPrintable(cells.value(0)));
    auto unquoted = [](QString cell) { return cell.remove(QLatin1Char('`')); };
    install_translations(QLocale(languages.value(cells.value(0))));
    const auto english_again = qScopeGuard([] { install_translations(QLocale::c()); });
    Window t;
    type_value(t.w, unquoted(cells.value(1)));
    choose_entry(t.w, 1);
    choose_entry(t.w, 0);
    QCOMPARE(value_inputbox(t.w)->text(), unquoted(cells.value(2)));
    click(cmd_button(t.w, glukara::start_button));
    fire_tick(t.w);
    QCOMPARE(glucose_chart(t.w)->accessibleDescription(), cells.value(3));
}

void TestGuide::tab_order()
{
    const Table* t = doc().table(tab_header);
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

// What "Using the keyboard" promises besides the Tab order.
void TestGuide::keys()
{
    QFETCH(Key, key);
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
// picture or file it links to is there.
void TestGuide::links()
{
    static const QRegularExpression link(QStringLiteral("\\]\\(([^)]+)\\)"));
    QStringList anchors;
    for (const QString& line : doc().lines)
        if (line.startsWith(QLatin1Char('#')))
            anchors << line.section(QLatin1Char(' '), 1)
                           .toLower()
                           .remove(QRegularExpression(QStringLiteral("[^a-z0-9 -]")))
                           .replace(QLatin1Char(' '), QLatin1Char('-'));
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
    static const QStringList words = {"one", "two",   "three", "four", "five",
                                      "six", "seven", "eight", "nine", "ten"};
    static const QRegularExpression counted(
        QStringLiteral("\\b(%1) (bands|quantities)\\b").arg(words.join(QLatin1Char('|'))),
        QRegularExpression::CaseInsensitiveOption);
    const QMap<QString, int> actual = {{"bands", int(glukara_code::glucose_bands.size())},
                                       {"quantities", glukara_code::parameter_count}};
    int seen = 0;
    for (int i = 0; i < doc().lines.size(); ++i)
        for (auto m = counted.globalMatch(doc().lines[i]); m.hasNext(); ++seen) {
            const auto found = m.next();
            const int count = int(words.indexOf(found.captured(1).toLower())) + 1;
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
    static const QRegularExpression allowed(QStringLiteral(
        "mg / 100 ml|type \\d diabetes|^\\s*\\d+\\. |Experiments? \\d+(?: (?:to|and) "
        "\\d+)?|\\]\\([^)]*\\)|^\\s*\\|[\\s:|-]*\\|\\s*$|^SPDX-[\\w-]+: .*$"));
    const int experiment_count = int(all_experiments().size());
    static const QRegularExpression reference(
        QStringLiteral("Experiments? (\\d+)(?: (?:to|and) (\\d+))?"));
    static const QRegularExpression digit(QStringLiteral("\\d"));
    QStringList strays;
    QList<int> table_lines;
    for (const Table& t : doc().tables) {
        const QList<int> checked = checked_columns(t.header);
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
