// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The main window: every control of glukara and the handlers of their events.
#pragma once

#include "glukara_code.h"

#include <QPointer>
#include <QWidget>
#include <array>

class Announcements;
class GlucoseChart;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMessageBox;
class QTimer;

class glukara : public QWidget
{
    Q_OBJECT

  public:
    // The command buttons by their index in cmd_button, which their object
    // names end in.
    enum ButtonIndex {
        start_button = 0, // Start and Stop
        meal_button = 1,
        run_button = 2, // Go for a run and Take a rest
        quit_button = 3,
        reset_button = 4,
        insulin_button = 5,
        glucagon_button = 6,
    };
    static constexpr int button_count = 7;

    explicit glukara(QWidget* parent = nullptr);

    glukara_code::ModelState model;

    // The list entry whose quantity the settings panel shows and edits, or -1
    // while the combo box's text names no entry.
    int parameter_index() const;

  protected:
    bool event(QEvent* e) override;

  private:
    void create_controls();
    void create_chart();
    void connect_handlers();

    // Event handlers, one per handled event.
    void glukara_Load();
    void glukara_Activate();
    void cmd_button_Click(ButtonIndex index);
    void diabetic_check_Click();
    void glucose_timer_Timer();
    void value_inputbox_Change();
    void value_inputbox_KeyPress();
    void variable_combo_Click();

    // Routines the handlers share.
    void reset_model();
    void refresh_settings();
    void show_glucose_on_chart();
    void show_run_face(bool running);

    // Runs a handler's body; a run-time error ends it and is reported.
    template <class Body> void handle(Body body);
    void report_runtime_error(const glukara_code::RuntimeError& error);

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* model_frame = nullptr;
    QLabel* glycogen_level = nullptr;
    std::array<QLabel*, 2> Label1{};
    std::array<QLabel*, 1> info_text{};
    std::array<QAbstractButton*, button_count> cmd_button{};
    QCheckBox* diabetic_check = nullptr;
    QLineEdit* value_inputbox = nullptr;
    QComboBox* variable_combo = nullptr;
    QTimer* glucose_timer = nullptr;
    GlucoseChart* glucose_chart = nullptr;
    QLabel* run_image = nullptr;
    QLabel* rest_image = nullptr;

    Announcements* announcements = nullptr;

    bool first_activation_done = false;
    // While the check box's own click handling runs, a rewrite of the value
    // box leaves the box as the click set it.
    bool check_click_running = false;
    QPointer<QMessageBox> error_box;
};
