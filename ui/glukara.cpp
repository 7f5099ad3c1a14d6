// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "glukara.h"
#include "window_placement.h"

#include "accessible_widgets.h"
#include "announcements.h"
#include "control_names.h"
#include "enter_presses.h"
#include "glucose_chart.h"
#include "picture_icons.h"
#include "theme.h"
#include "translations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

#include <cmath>

using namespace glukara_code;

namespace
{

constexpr int twips_per_pixel = 15;

QRect twips(int left, int top, int width, int height)
{
    return {left / twips_per_pixel, top / twips_per_pixel, width / twips_per_pixel,
            height / twips_per_pixel};
}

// Sizes in points are turned into pixels at 96 dots per inch, so the layout,
// which is fixed in pixels, looks the same whatever DPI the screen reports;
// high-DPI scaling then enlarges the whole window evenly. A family that is
// missing is replaced by Liberation Sans, which has Arial's metrics, at once:
// asking for the missing one first costs a fallback search per font. The
// families are looked up in the list of installed ones: asking for a family by
// name makes fontconfig run all its substitution rules, each time.
QFont design_font(const char* family, double points, bool bold = false)
{
    static const QStringList installed = QFontDatabase::families();
    const QString wanted = QString::fromLatin1(family);
    QFont f(installed.contains(wanted) ? wanted : QStringLiteral("Liberation Sans"));
    f.setPixelSize(int(std::lround(points * 96 / 72)));
    f.setBold(bold);
    return f;
}

QString text_of(float value)
{
    return QString::fromStdString(value_to_text(value, decimal_separator()));
}

} // namespace

glukara::glukara(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    // Before anything asks for this window's interface: Qt keeps the first.
    install_accessible_widgets();
    setObjectName(QLatin1String(control_names::window));
    setWindowTitle(tr("Glukara"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/glukara.ico")));
    setFixedSize(750, 538);
    window_placement::keep_fixed_size(*this);

    create_controls();
    announcements = new Announcements(this);
    connect_handlers();
    glukara_Load();
}

void glukara::create_controls()
{
    auto name = [](QObject* o, const char* n) { o->setObjectName(QString::fromLatin1(n)); };
    auto element = [](QObject* o, const char* n, int index) {
        o->setObjectName(control_names::element(n, index));
    };
    auto frame = [&](const char* n, QRect r, const QString& caption, QFont f) {
        auto* g = new QGroupBox(caption, this);
        name(g, n);
        g->setGeometry(r);
        g->setFont(f);
        return g;
    };

    Frame2 = frame(control_names::Frame2, twips(4800, 4320, 3855, 1095), tr("Glycogen store"),
                   design_font("MS Sans Serif", 8.25, true));
    glycogen_level = new QLabel(Frame2);
    name(glycogen_level, control_names::glycogen_level);
    glycogen_level->setGeometry(twips(240, 360, 3375, 495));
    glycogen_level->setFont(design_font("Arial", 18));
    glycogen_level->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    const QIcon pancreas = picture_icon(QStringLiteral("pancreas_picture"));
    auto button = [&](ButtonIndex index, QRect r, const QString& caption, const QIcon* picture) {
        QAbstractButton* b;
        if (picture) {
            auto* t = new QToolButton(this);
            t->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            t->setIcon(*picture);
            t->setIconSize(picture_size(*picture));
            // Tool buttons only take the focus from the tab key by default; a
            // command button takes it from a click as well.
            t->setFocusPolicy(Qt::StrongFocus);
            b = t;
        } else {
            b = new QPushButton(this);
        }
        element(b, control_names::cmd_button, index);
        b->setGeometry(r);
        b->setText(caption);
        b->setFont(design_font("Arial", 9.75, true));
        press_with_enter(b);
        cmd_button[index] = b;
    };
    button(glucagon_button, twips(9000, 6240, 2055, 1695), tr("Secrete Glucagon"), &pancreas);
    button(insulin_button, twips(9000, 4200, 2055, 1695), tr("Secrete Insulin"), &pancreas);
    button(reset_button, twips(1920, 7080, 975, 735), tr("Reset"), nullptr);

    model_frame = frame(control_names::model_frame, twips(4800, 5520, 3855, 2415), tr("Settings"),
                        design_font("Arial", 9.75, true));
    diabetic_check = new QCheckBox(tr("Diabetic?"), model_frame);
    name(diabetic_check, control_names::diabetic_check);
    diabetic_check->setGeometry(twips(2400, 1680, 1215, 375));
    diabetic_check->setFont(design_font("Arial", 9.75));

    value_inputbox = new QLineEdit(model_frame);
    name(value_inputbox, control_names::value_inputbox);
    value_inputbox->setGeometry(twips(240, 1680, 975, 375));
    value_inputbox->setFont(design_font("Arial", 9.75));
    value_inputbox->setAlignment(Qt::AlignCenter);
    value_inputbox->setText(QStringLiteral("Text1"));
    value_inputbox->setAccessibleName(tr("Value"));

    variable_combo = new QComboBox(model_frame);
    name(variable_combo, control_names::variable_combo);
    variable_combo->setGeometry(twips(240, 720, 3375, 360));
    variable_combo->setFont(design_font("Arial", 9.75));
    variable_combo->setEditable(true);
    // Typed text never becomes a new entry, and is not completed behind the
    // user's back: the list holds the six quantities and nothing else. The
    // page's Qt is built without completion, and has none to turn off.
    variable_combo->setInsertPolicy(QComboBox::NoInsert);
#if QT_CONFIG(completer)
    variable_combo->setCompleter(nullptr);
#endif
    for (const char* entry : parameter_names)
        variable_combo->addItem(model_text(entry));
    variable_combo->setAccessibleName(tr("Variable"));

    for (int i : {1, 0}) {
        Label1[std::size_t(i)] = new QLabel(model_frame);
        element(Label1[std::size_t(i)], control_names::Label1, i);
        Label1[std::size_t(i)]->setFont(design_font("Arial", 9.75));
    }
    Label1[1]->setGeometry(twips(240, 1320, 975, 255));
    Label1[1]->setText(tr("Value"));
    Label1[1]->setBuddy(value_inputbox);
    Label1[0]->setGeometry(twips(240, 360, 855, 255));
    Label1[0]->setText(tr("Variable"));
    Label1[0]->setBuddy(variable_combo);

    glucose_timer = new QTimer(this);
    name(glucose_timer, control_names::glucose_timer);
    glucose_timer->setInterval(1000);
    // A coarse timer may drift by up to 5 % of its interval.
    glucose_timer->setTimerType(Qt::PreciseTimer);

    Frame1 = frame(control_names::Frame1, twips(4800, 0, 3855, 4095), tr("Information"),
                   design_font("Arial", 9.75, true));
    info_text[0] = new QLabel(Frame1);
    element(info_text[0], control_names::info_text, 0);
    info_text[0]->setGeometry(twips(240, 360, 3375, 3255));
    info_text[0]->setFont(design_font("Arial", 14.25));
    info_text[0]->setWordWrap(true);
    info_text[0]->setMargin(4); // keeps the message off the edges of its grey ground
    info_text[0]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    info_text[0]->setAutoFillBackground(true);

    button(quit_button, twips(3360, 7080, 975, 735), tr("Quit"), nullptr);
    const QIcon runners = picture_icon(QStringLiteral("runners_picture"));
    button(run_button, twips(9000, 2160, 2055, 1695), tr("Go for a run"), &runners);
    const QIcon meal = picture_icon(QStringLiteral("meal_picture"));
    button(meal_button, twips(9000, 120, 2055, 1695), tr("Eat a meal"), &meal);
    button(start_button, twips(360, 7080, 975, 735), tr("Start"), nullptr);

    create_chart();
    // The blue number, the message's grey ground and the chart, in light and
    // dark palettes alike.
    theme::follow_palette(this, glycogen_level, info_text[0], glucose_chart);

    run_image = new QLabel(this);
    name(run_image, control_names::run_image);
    hold_picture(run_image, runners);
    run_image->setGeometry(twips(7080, 4200, 1635, 900));
    run_image->hide();
    rest_image = new QLabel(this);
    name(rest_image, control_names::rest_image);
    hold_picture(rest_image, picture_icon(QStringLiteral("resting_picture")));
    rest_image->setGeometry(twips(4680, 4200, 1650, 900));
    rest_image->hide();

    QWidget* tab_order[] = {cmd_button[start_button],
                            cmd_button[meal_button],
                            cmd_button[run_button],
                            cmd_button[quit_button],
                            variable_combo,
                            value_inputbox,
                            diabetic_check,
                            cmd_button[reset_button],
                            cmd_button[insulin_button],
                            cmd_button[glucagon_button]};
    for (std::size_t i = 1; i < std::size(tab_order); ++i)
        setTabOrder(tab_order[i - 1], tab_order[i]);
    cmd_button[start_button]->setFocus();
}

void glukara::create_chart()
{
    // Made with the design value 140; loading shows the start value before
    // the window first appears.
    glucose_chart =
        new GlucoseChart(tr("Blood glucose (mg / 100 ml)"), tr("Blood Glucose"),
                         tr("Blood glucose (mg / 100ml)"), design_font("Arial", 12), 140, this);
    glucose_chart->setObjectName(QLatin1String(control_names::glucose_chart));
    glucose_chart->setGeometry(twips(240, 120, 4215, 6615));
    glucose_chart->setAccessibleName(glucose_chart->title());
}

void glukara::connect_handlers()
{
    for (int i = 0; i < button_count; ++i)
        connect(cmd_button[std::size_t(i)], &QAbstractButton::clicked, this,
                [this, i] { cmd_button_Click(ButtonIndex(i)); });
    connect(diabetic_check, &QCheckBox::toggled, this, &glukara::diabetic_check_Click);
    connect(glucose_timer, &QTimer::timeout, this, &glukara::glucose_timer_Timer);
    connect(value_inputbox, &QLineEdit::textChanged, this, &glukara::value_inputbox_Change);
    connect(value_inputbox, &QLineEdit::returnPressed, this, &glukara::value_inputbox_KeyPress);
    // Every choice of the user, also of the entry already current; the
    // program's own selections are followed by a refresh of their own.
    connect(variable_combo, &QComboBox::activated, this, &glukara::variable_combo_Click);
}

bool glukara::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && !first_activation_done) {
        first_activation_done = true;
        glukara_Activate();
    }
    return QWidget::event(e);
}

int glukara::parameter_index() const
{
    const int index = variable_combo->currentIndex();
    if (index < 0 || variable_combo->currentText() != variable_combo->itemText(index))
        return -1;
    return index;
}

template <class Body> void glukara::handle(Body body)
{
    try {
        body();
    } catch (const RuntimeError& error) {
        report_runtime_error(error);
    }
}

void glukara::report_runtime_error(const RuntimeError& error)
{
    // One report at a time: a running clock can fail at every tick, and a pile
    // of identical dialogs would bury the window.
    if (error_box && error_box->isVisible())
        return;
    error_box = new QMessageBox(
        QMessageBox::Critical, windowTitle(),
        tr("Run-time error '%1':\n\n%2").arg(error.number()).arg(model_text(error.what())),
        QMessageBox::Ok, this);
    error_box->setObjectName(QLatin1String(control_names::runtime_error));
    error_box->setAttribute(Qt::WA_DeleteOnClose);
    // open() returns at once: the handler ends here instead of waiting in a
    // nested event loop for the user.
    error_box->open();
}

void glukara::glukara_Load()
{
    handle([this] {
        window_placement::with_expected_frame(*this, [this](const QMargins& frame) {
            const QRect screen_area = screen()->geometry();
            const QSize outer = size().grownBy(frame);
            const float left = centre_position(float(screen_area.width() * twips_per_pixel),
                                               float(outer.width() * twips_per_pixel));
            const float top = centre_position(float(screen_area.height() * twips_per_pixel),
                                              float(outer.height() * twips_per_pixel));
            window_placement::place_frame(
                *this,
                {screen_area.x() + int(std::lround(left / twips_per_pixel)),
                 screen_area.y() + int(std::lround(top / twips_per_pixel))},
                frame);
        });
        reset_model();
        show_glucose_on_chart();
    });
}

void glukara::glukara_Activate()
{
    diabetic_check->setChecked(model.is_diabetic);
    show_run_face(model.is_running);
}

void glukara::cmd_button_Click(ButtonIndex index)
{
    handle([this, index] {
        const bool time_runs = glucose_timer->isActive();
        switch (index) {
        case start_button:
            if (!time_runs) {
                glucose_timer->start();
                cmd_button[start_button]->setText(tr("Stop"));
            } else {
                glucose_timer->stop();
                cmd_button[start_button]->setText(tr("Start"));
            }
            announcements->clock_changed(!time_runs, cmd_button[start_button]->text());
            break;
        case meal_button:
            if (time_runs) {
                store_sum(model.blood_glucose, model.meal_input, model.blood_glucose);
                announcements->meal_eaten();
            }
            break;
        case run_button:
            model.is_running = !model.is_running;
            show_run_face(model.is_running);
            announcements->exercise_changed(model.is_running, cmd_button[run_button]->text());
            break;
        case quit_button:
            QCoreApplication::quit();
            break;
        case reset_button:
            glucose_timer->stop();
            reset_model();
            cmd_button[start_button]->setText(tr("Start"));
            // The whole resting face, picture included, so that the button
            // never shows a rest picture under "Go for a run".
            show_run_face(false);
            show_glucose_on_chart();
            info_text[0]->clear();
            announcements->model_reset(text_of(model.blood_glucose), glycogen_level->text());
            break;
        case insulin_button:
            if (!time_runs || diabetic_check->checkState() != Qt::Unchecked)
                break;
            store_sum(model.blood_glucose, model.insulin_effect, model.blood_glucose);
            store_difference(model.glycogen_store, model.glycogen_store, model.insulin_effect);
            refresh_settings();
            announcements->store_changed(glycogen_level->text());
            break;
        case glucagon_button:
            if (!time_runs || model.glycogen_store < model.glucagon_effect)
                break;
            store_sum(model.blood_glucose, model.glucagon_effect, model.blood_glucose);
            store_difference(model.glycogen_store, model.glycogen_store, model.glucagon_effect);
            refresh_settings();
            announcements->store_changed(glycogen_level->text());
            break;
        }
    });
}

void glukara::diabetic_check_Click()
{
    model.is_diabetic = diabetic_check->isChecked();
    // The refresh may rewrite a typed '05' as '5'; that rewrite must not
    // derive the box from the effect again and undo the click.
    const QScopedValueRollback<bool> clicked(check_click_running, true);
    refresh_settings();
}

void glukara::glucose_timer_Timer()
{
    handle([this] {
        const auto message = tick(model);
        if (message)
            info_text[0]->setText(model_text(*message));
        show_glucose_on_chart();
        announcements->ticked(text_of(model.blood_glucose), info_text[0]->text());
    });
}

void glukara::value_inputbox_Change()
{
    const int index = parameter_index();
    if (index < 0)
        return;
    model.*parameter_fields[std::size_t(index)] =
        to_single(text_to_value(value_inputbox->text().toStdString(), decimal_separator()));
    if (index == insulin_parameter && !check_click_running) {
        const bool diabetic = model.insulin_effect == 0;
        // The box follows the typed value without running its own click
        // handling, whose refresh would overwrite the text being typed.
        const QSignalBlocker quiet(diabetic_check);
        diabetic_check->setChecked(diabetic);
        model.is_diabetic = diabetic;
    }
}

void glukara::value_inputbox_KeyPress()
{
    variable_combo->setFocus(Qt::OtherFocusReason);
}

void glukara::variable_combo_Click()
{
    refresh_settings();
}

void glukara::reset_model()
{
    reset_values(model);
    variable_combo->setCurrentIndex(0);
    // Also when the first entry was already current but the user had typed
    // over its text.
    variable_combo->setEditText(variable_combo->itemText(0));
    refresh_settings();
}

void glukara::refresh_settings()
{
    const int index = parameter_index();
    if (index >= 0)
        value_inputbox->setText(text_of(model.*parameter_fields[std::size_t(index)]));
    const QString store = text_of(model.glycogen_store);
    glycogen_level->setText(store);
    // Read with its name in a screen reader's review of the window.
    glycogen_level->setAccessibleName(spoken_store(store));
}

void glukara::show_glucose_on_chart()
{
    const std::string text = value_to_text(model.blood_glucose, decimal_separator());
    glucose_chart->set_value(text_to_value(text, decimal_separator()));
    // Tells assistive technology too, so a screen reader can follow the level.
    glucose_chart->setAccessibleDescription(QString::fromStdString(text));
    // A line of its own, with its unit, in a screen reader's review of the window.
    glucose_chart->drawing_area()->setAccessibleName(spoken_level(QString::fromStdString(text)));
}

void glukara::show_run_face(bool running)
{
    const QIcon picture = held_picture(running ? rest_image : run_image);
    QAbstractButton* button = cmd_button[run_button];
    button->setIcon(picture);
    button->setIconSize(picture_size(picture));
    button->setText(running ? tr("Take a rest") : tr("Go for a run"));
}
