// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The class guide, docs/guide.md, read as data: its tables hold every number
// it quotes, and its experiments are replayed through the window's controls.
// Shared by the guide's test, which checks the numbers, and by the program
// that takes the guide's screenshots at the moments the tables mark.
#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class glukara;
class QWidget;

namespace guide
{

struct Table {
    QString heading; // the nearest heading above it
    int line = 0;    // of its header row, counted from 1
    QStringList header;
    QList<QStringList> rows;
    QList<int> row_lines;
};

// The words that a guide's tables are written in, which the guide gives in a
// comment at its top: its table headers, how a "You do" cell says each
// action, and the names of what the window shows in no control's text.
// Templates hold {placeholders}.
struct Words {
    QStringList experiment_header, band_header, number_header, part_header, tab_header,
        typing_header;
    QString watch, press, press_times, tick, untick, set;
    QString empty, below, range;
    QString blood_glucose, chart_bottom, chart_top, tick_time, seconds;
    QStringList languages; // English, German, Spanish, French, Italian, Dutch, Portuguese
    QString experiment_title;
    QString experiment_reference; // a pattern with the two numbers it may name
    QStringList counted;          // the words for one to ten
    QString bands, quantities;
    QString prose_numbers; // a pattern for any other number the prose may hold
};

// The codes of the languages in the order of Words::languages.
const QStringList language_codes = {"en", "de", "es", "fr", "it", "nl", "pt"};

struct Document {
    QString path;
    QString language; // "en" for guide.md, "de" for guide.de.md
    QStringList lines;
    QList<Table> tables;
    Words words;
    // The first table with exactly this header, or none.
    const Table* table(const QStringList& header) const;
    // Where its pictures are, relative to it: guide/ or guide/de/.
    QString picture_folder() const;
    // The headers of the tables whose cells a test checks, and which of
    // their columns it checks; every other cell of the guide is prose.
    QList<int> checked_columns(const QStringList& header) const;
};

// Reads a guide and its words; what is missing is reported in `error`.
std::optional<Document> read(const QString& path, QString* error);

// Installs the window's translation for the guide's language; the windows
// made afterwards speak it.
void install_language(const Document& doc);

// A template's text with its placeholders filled in.
QString fill(QString pattern, const QMap<QString, QString>& values);

// A number as the window writes it in the installed language.
QString text(double value);

// The text between the first pair of double asterisks, or the empty text.
QString bold(const QString& cell);

// The mark of the row that a screenshot shows.
const QString picture_mark = QStringLiteral("📷");

struct Step {
    int line = 0;
    int second = 0; // ticks since the program started
    bool picture = false;
    QString action, level, bar, message, store;
};

struct Experiment {
    int number = 0; // counted from 1, in the guide's order
    QString title;  // its heading
    const Table* table = nullptr;
    QList<Step> steps;
};

// Every experiment table; an unreadable cell is reported in `error`.
QList<Experiment> experiments(const Document& doc, QString* error);

// Band name -> the program's message, from the guide's band table; the
// guide's word for "(empty)" stands for the empty message line.
QMap<QString, QString> band_messages(const Document& doc);

// Does steps 0 to `last` of `e` on a freshly opened window, as a pupil does
// them: ticks up to each step's second while time runs, then its action. With
// `messages`, step `last` is checked: the message at each tick since the step
// before, then level, bar, message and store after its action. Returns what
// went wrong, or the empty text.
QString replay(glukara& w, const Document& doc, const Experiment& e, int last,
               const QMap<QString, QString>* messages = nullptr);

// The numbered labels of the annotated overview picture.
struct Part {
    enum Side { inside_top_right, right_of, above };
    int label;
    const char* control;  // the part itself
    const char* named_by; // the control whose text names the part on screen
    const char* beside;   // where the label goes, clear of any text
    Side side;
};
extern const std::array<Part, 14> parts;
// The part's name as the window shows it, a caption's line break as a space.
QString shown_name(const QWidget& w, const Part& part);

} // namespace guide
