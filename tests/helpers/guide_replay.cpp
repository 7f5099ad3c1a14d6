// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "guide_replay.h"

#include "translations.h"
#include "window_access.h"

#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLocale>
#include <QRegularExpression>

#include <utility>

namespace guide
{

const Table* Document::table(const QStringList& header) const
{
    for (const Table& t : tables)
        if (t.header == header)
            return &t;
    return nullptr;
}

QString Document::picture_folder() const
{
    return language == QLatin1String("en") ? QStringLiteral("guide/")
                                            : QStringLiteral("guide/%1/").arg(language);
}

QList<int> Document::checked_columns(const QStringList& header) const
{
    if (header == words.experiment_header || header == words.band_header ||
        header == words.tab_header)
        return {0, 1, 2, 3, 4, 5};
    if (header == words.number_header || header == words.part_header)
        return {0, 1};
    if (header == words.typing_header)
        return {1, 2, 3};
    return {};
}

namespace
{

QStringList cells_of(const QString& line)
{
    QStringList cells = line.trimmed().split(QLatin1Char('|'));
    cells.removeFirst();
    cells.removeLast();
    for (QString& c : cells)
        c = c.trimmed();
    return cells;
}

bool is_separator(const QStringList& cells)
{
    static const QRegularExpression dashes(QStringLiteral("^:?-+:?$"));
    for (const QString& c : cells)
        if (!dashes.match(c).hasMatch())
            return false;
    return !cells.isEmpty();
}

bool is_table_line(const QString& line)
{
    const QString t = line.trimmed();
    return t.size() > 1 && t.startsWith(QLatin1Char('|')) && t.endsWith(QLatin1Char('|'));
}

} // namespace

namespace
{

QStringList cells_of_words(const QString& value)
{
    QStringList cells = value.split(QLatin1Char('|'));
    for (QString& c : cells)
        c = c.trimmed();
    return cells;
}

// The "key: value" lines of the comment above the guide's title.
bool read_words(const QStringList& lines, Words& words, QString* error)
{
    static const QRegularExpression entry(QStringLiteral("^([a-z_]+): (.*)$"));
    QMap<QString, QString> found;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('#')))
            break;
        if (const auto m = entry.match(line); m.hasMatch())
            found.insert(m.captured(1), m.captured(2).trimmed());
    }
    const std::pair<const char*, QString*> texts[] = {
        {"watch", &words.watch},
        {"press", &words.press},
        {"press_times", &words.press_times},
        {"tick", &words.tick},
        {"untick", &words.untick},
        {"set", &words.set},
        {"empty", &words.empty},
        {"below", &words.below},
        {"range", &words.range},
        {"blood_glucose", &words.blood_glucose},
        {"chart_bottom", &words.chart_bottom},
        {"chart_top", &words.chart_top},
        {"tick_time", &words.tick_time},
        {"seconds", &words.seconds},
        {"experiment_title", &words.experiment_title},
        {"experiment_reference", &words.experiment_reference},
        {"bands", &words.bands},
        {"quantities", &words.quantities},
        {"prose_numbers", &words.prose_numbers},
    };
    const std::pair<const char*, QStringList*> lists[] = {
        {"experiment_header", &words.experiment_header},
        {"band_header", &words.band_header},
        {"number_header", &words.number_header},
        {"part_header", &words.part_header},
        {"tab_header", &words.tab_header},
        {"typing_header", &words.typing_header},
        {"languages", &words.languages},
        {"counted", &words.counted},
    };
    QStringList missing;
    for (const auto& [key, text] : texts) {
        if (!found.contains(QLatin1String(key)))
            missing << QLatin1String(key);
        *text = found.value(QLatin1String(key));
    }
    for (const auto& [key, list] : lists) {
        if (!found.contains(QLatin1String(key)))
            missing << QLatin1String(key);
        *list = cells_of_words(found.value(QLatin1String(key)));
    }
    if (!missing.isEmpty())
        *error = QStringLiteral("no words for %1").arg(missing.join(QLatin1String(", ")));
    else if (words.languages.size() != language_codes.size() || words.counted.size() != 10)
        *error = QStringLiteral("the words need seven languages and ten counted words");
    return error->isEmpty();
}

} // namespace

std::optional<Document> read(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read %1").arg(path);
        return std::nullopt;
    }
    Document doc;
    doc.path = path;
    // guide.md is the English guide, guide.de.md the German one.
    const QStringList name = QFileInfo(path).fileName().split(QLatin1Char('.'));
    doc.language = name.size() == 3 ? name[1] : QStringLiteral("en");
    doc.lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!read_words(doc.lines, doc.words, error)) {
        *error = QStringLiteral("%1: %2").arg(path, *error);
        return std::nullopt;
    }
    QString heading;
    for (int i = 0; i < doc.lines.size(); ++i) {
        const QString& line = doc.lines[i];
        if (line.startsWith(QLatin1Char('#'))) {
            heading = line.section(QLatin1Char(' '), 1).trimmed();
            continue;
        }
        if (!is_table_line(line) || i + 1 >= doc.lines.size() ||
            !is_separator(cells_of(doc.lines[i + 1])))
            continue;
        Table t;
        t.heading = heading;
        t.line = i + 1;
        t.header = cells_of(line);
        for (i += 2; i < doc.lines.size() && is_table_line(doc.lines[i]); ++i) {
            t.rows << cells_of(doc.lines[i]);
            t.row_lines << i + 1;
        }
        doc.tables << t;
    }
    return doc;
}

void install_language(const Document& doc)
{
    install_translations(doc.language == QLatin1String("en") ? QLocale::c()
                                                              : QLocale(doc.language));
}

QString fill(QString pattern, const QMap<QString, QString>& values)
{
    for (auto v = values.begin(); v != values.end(); ++v)
        pattern.replace(QLatin1Char('{') + v.key() + QLatin1Char('}'), v.value());
    return pattern;
}

QString text(double value)
{
    return QString::fromStdString(glukara_code::value_to_text(float(value), decimal_separator()));
}

QString bold(const QString& cell)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\*(.+?)\\*\\*"));
    return pattern.match(cell).captured(1);
}

QList<Experiment> experiments(const Document& doc, QString* error)
{
    static const QRegularExpression second_cell(
        QStringLiteral("^(\\d+)\\s*(%1)?$").arg(picture_mark));
    QList<Experiment> found;
    for (const Table& t : doc.tables) {
        if (t.header != doc.words.experiment_header)
            continue;
        Experiment e;
        e.number = int(found.size()) + 1;
        e.title = t.heading;
        e.table = &t;
        for (int r = 0; r < t.rows.size(); ++r) {
            const QStringList& c = t.rows[r];
            const auto m = second_cell.match(c.value(0));
            if (c.size() != doc.words.experiment_header.size() || !m.hasMatch()) {
                *error = QStringLiteral("%1:%2: a step needs six cells and a second")
                             .arg(doc.path)
                             .arg(t.row_lines[r]);
                return {};
            }
            Step s;
            s.line = t.row_lines[r];
            s.second = m.captured(1).toInt();
            s.picture = !m.captured(2).isEmpty();
            s.action = c[1];
            s.level = c[2];
            s.bar = c[3];
            s.message = c[4];
            s.store = c[5];
            e.steps << s;
        }
        found << e;
    }
    return found;
}

QMap<QString, QString> band_messages(const Document& doc)
{
    QMap<QString, QString> messages;
    messages.insert(doc.words.empty, QString());
    if (const Table* bands = doc.table(doc.words.band_header))
        for (const QStringList& row : bands->rows) {
            QString message = row.value(2);
            if (message.startsWith(QLatin1Char('"')) && message.endsWith(QLatin1Char('"')))
                message = message.mid(1, message.size() - 2);
            messages.insert(row.value(1), message);
        }
    return messages;
}

namespace
{

QString one_line(QString caption)
{
    return caption.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

QAbstractButton* button_named(const glukara& w, const QString& caption)
{
    for (int i = 0; i < glukara::button_count; ++i)
        if (one_line(cmd_button(w, i)->text()) == caption)
            return cmd_button(w, i);
    return nullptr;
}

// A template of the guide's words as a pattern that matches a whole cell:
// the names in it stand for any text, {times} for a count, {value} for a
// number.
QRegularExpression cell_pattern(const QString& words)
{
    static const QRegularExpression placeholder(QStringLiteral("\\{(\\w+)\\}"));
    QString pattern = QStringLiteral("^");
    qsizetype at = 0;
    for (auto it = placeholder.globalMatch(words); it.hasNext();) {
        const auto m = it.next();
        pattern += QRegularExpression::escape(words.mid(at, m.capturedStart() - at));
        const QString name = m.captured(1);
        pattern += name == QLatin1String("times")   ? QStringLiteral("(?<times>\\d+)")
                   : name == QLatin1String("value") ? QStringLiteral("(?<value>\\S+)")
                                                    : QStringLiteral("(?<%1>.+?)").arg(name);
        at = m.capturedEnd();
    }
    return QRegularExpression(pattern + QRegularExpression::escape(words.mid(at)) +
                              QLatin1Char('$'));
}

// Performs one cell of the "You do" column.
QString act(glukara& w, const Words& words, const QString& action)
{
    if (action == words.watch)
        return {};
    for (const QString& press : {words.press_times, words.press})
        if (const auto m = cell_pattern(press).match(action); m.hasMatch()) {
            QAbstractButton* b = button_named(w, m.captured(QStringLiteral("control")));
            if (!b)
                return QStringLiteral("no button reads \"%1\"").arg(m.captured(QStringLiteral("control")));
            const int times = m.captured(QStringLiteral("times")).isEmpty() ? 1 : m.captured(QStringLiteral("times")).toInt();
            for (int i = 0; i < times; ++i)
                click(b);
            return {};
        }
    for (const QString& box : {words.tick, words.untick})
        if (const auto m = cell_pattern(box).match(action); m.hasMatch()) {
            if (m.captured(QStringLiteral("box")) != diabetic_check(w)->text())
                return QStringLiteral("the box reads \"%1\"").arg(diabetic_check(w)->text());
            const bool tick = box == words.tick;
            if (diabetic_check(w)->isChecked() == tick)
                return QStringLiteral("the box is %1 already").arg(tick ? "ticked" : "unticked");
            click(diabetic_check(w));
            return {};
        }
    if (const auto m = cell_pattern(words.set).match(action); m.hasMatch()) {
        const int entry = variable_combo(w)->findText(m.captured(QStringLiteral("quantity")));
        if (entry < 0)
            return QStringLiteral("the list has no \"%1\"").arg(m.captured(QStringLiteral("quantity")));
        choose_entry(w, entry);
        type_value(w, m.captured(QStringLiteral("value")));
        return {};
    }
    return QStringLiteral("cannot do \"%1\"").arg(action);
}

QString shown_message(const QMap<QString, QString>& messages, const QString& text)
{
    const QString name = messages.key(text, QStringLiteral("?"));
    return QStringLiteral("%1 (\"%2\")").arg(name, text);
}

} // namespace

QString replay(glukara& w, const Document& doc, const Experiment& e, int last,
               const QMap<QString, QString>* messages)
{
    int second = 0;
    for (int i = 0; i <= last; ++i) {
        const Step& s = e.steps[i];
        const QString where = QStringLiteral("line %1, second %2: ").arg(s.line).arg(s.second);
        const bool checked = messages && i == last;
        if (s.second < second)
            return where + QStringLiteral("seconds must not go back");
        while (second < s.second) {
            if (!glucose_timer(w)->isActive())
                return where + QStringLiteral("time is not running at second %1").arg(second);
            fire_tick(w);
            ++second;
            if (checked && second < s.second && i > 0 &&
                info_text(w) != messages->value(e.steps[i - 1].message))
                return where + QStringLiteral("the message changes already at second %1, to %2")
                                   .arg(second)
                                   .arg(shown_message(*messages, info_text(w)));
        }
        if (const QString problem = act(w, doc.words, s.action); !problem.isEmpty())
            return where + problem;
        if (!checked)
            continue;
        if (!messages->contains(s.message))
            return where + QStringLiteral("\"%1\" is no band of the band table").arg(s.message);
        QStringList differences;
        if (text(w.model.blood_glucose) != s.level)
            differences << QStringLiteral("level is %1").arg(text(w.model.blood_glucose));
        if (text(chart_value(w)) != s.bar)
            differences << QStringLiteral("bar is %1").arg(text(chart_value(w)));
        if (info_text(w) != messages->value(s.message))
            differences
                << QStringLiteral("message is %1").arg(shown_message(*messages, info_text(w)));
        if (glycogen_level(w) != s.store)
            differences << QStringLiteral("store is %1").arg(glycogen_level(w));
        if (!differences.isEmpty())
            return where + differences.join(QStringLiteral(", "));
    }
    return {};
}

const std::array<Part, 14> parts = {{
    {1, "glucose_chart", "glucose_chart", "glucose_chart", Part::inside_top_right},
    {2, "info_text_0", "Frame1", "Frame1", Part::inside_top_right},
    {3, "glycogen_level", "Frame2", "glycogen_level", Part::inside_top_right},
    {4, "model_frame", "model_frame", "model_frame", Part::inside_top_right},
    {5, "variable_combo", "Label1_0", "Label1_0", Part::right_of},
    {6, "value_inputbox", "Label1_1", "Label1_1", Part::right_of},
    {7, "diabetic_check", "diabetic_check", "diabetic_check", Part::above},
    {8, "cmd_button_0", "cmd_button_0", "cmd_button_0", Part::above},
    {9, "cmd_button_1", "cmd_button_1", "cmd_button_1", Part::inside_top_right},
    {10, "cmd_button_2", "cmd_button_2", "cmd_button_2", Part::inside_top_right},
    {11, "cmd_button_3", "cmd_button_3", "cmd_button_3", Part::above},
    {12, "cmd_button_4", "cmd_button_4", "cmd_button_4", Part::above},
    {13, "cmd_button_5", "cmd_button_5", "cmd_button_5", Part::inside_top_right},
    {14, "cmd_button_6", "cmd_button_6", "cmd_button_6", Part::inside_top_right},
}};

QString shown_name(const QWidget& w, const Part& part)
{
    const QString name = QString::fromLatin1(part.named_by);
    QWidget* c = control<QWidget>(w, name);
    if (auto* b = qobject_cast<QAbstractButton*>(c))
        return one_line(b->text());
    if (auto* g = qobject_cast<QGroupBox*>(c))
        return g->title();
    if (auto* l = qobject_cast<QLabel*>(c))
        return l->text();
    if (auto* chart = qobject_cast<GlucoseChart*>(c))
        return chart->title();
    return {};
}

} // namespace guide
