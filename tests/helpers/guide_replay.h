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

struct Document {
    QString path;
    QStringList lines;
    QList<Table> tables;
    // The first table with exactly this header, or none.
    const Table* table(const QStringList& header) const;
};

std::optional<Document> read(const QString& path);

// The headers of the tables whose cells a test checks, and which of their
// columns it checks; every other cell of the guide is prose.
const QStringList experiment_header = {"Second", "You do", "Level", "Bar", "Message", "Store"};
const QStringList band_header = {"Level (mg / 100 ml)", "Band", "Message"};
const QStringList number_header = {"Quantity", "Value", "What it means"};
const QStringList part_header = {"Label", "Part", "What it is for"};
const QStringList tab_header = {"Tab stop", "Control"};
const QStringList typing_header = {"Window", "You type", "The Value box shows", "After one tick"};
QList<int> checked_columns(const QStringList& header);

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

// Band name -> the program's message, from the guide's band table; the name
// "(empty)" stands for the empty message line.
QMap<QString, QString> band_messages(const Document& doc);
const QString no_message = QStringLiteral("(empty)");

// Does steps 0 to `last` of `e` on a freshly opened window, as a pupil does
// them: ticks up to each step's second while time runs, then its action. With
// `messages`, step `last` is checked: the message at each tick since the step
// before, then level, bar, message and store after its action. Returns what
// went wrong, or the empty text.
QString replay(glukara& w, const Experiment& e, int last,
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
QString shown_name(const QWidget& w, const Part& part);

} // namespace guide
