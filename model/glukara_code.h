// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The simulation model of glukara: the model's state, the conversions between
// model values and text, the checked arithmetic and the clock tick.
// Plain C++ on purpose: it builds and tests without any toolkit.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace glukara_code
{

// Glucose amounts and the glycogen store are in mg / 100 ml.
struct ModelState {
    float blood_glucose = 0;
    float meal_input = 0;
    float resting_use = 0;
    float running_use = 0;
    float glycogen_store = 0;
    float insulin_effect = 0;
    float glucagon_effect = 0;
    bool is_diabetic = false;
    bool is_running = false;
};

// Puts every field back to its start value. Selecting the first settings entry
// and refreshing the panel belong to the window, which owns those controls.
void reset_values(ModelState& state);

// The program's run-time error: a handler that meets one stops at that step and
// lets it pass to the window, which reports it.
class RuntimeError : public std::runtime_error
{
  public:
    RuntimeError(int number, const std::string& message);
    int number() const { return number_; }

  private:
    int number_;
};

constexpr int floating_point_error = 6;

// Each of these stores its single-precision result into `target` first and then
// raises the floating-point RuntimeError if the step overflowed or was invalid,
// so a faulty result stays stored, as the model's rules require.
void store_sum(float& target, float a, float b);
void store_difference(float& target, float a, float b);

// Where a window of `window_size` must start to stand centred on a screen of
// `screen_size` (both in twips); may be negative, or hold half a twip.
float centre_position(float screen_size, float window_size);

// The nearest single-precision value; beyond the largest finite one that is an
// infinity of the same sign (a plain cast would be undefined there).
float to_single(double value);

// The window's language decides how its numbers are written: English writes
// a decimal point, and the languages of a decimal comma write a comma.
constexpr char decimal_point = '.';
constexpr char decimal_comma = ',';

// Decimal text with at most seven significant digits, as the user reads it,
// with `separator` between the whole part and the fraction.
std::string value_to_text(float value, char separator = decimal_point);
// Reads the longest number at the start of the text (after removing blanks);
// never fails: no number reads as 0. A '.' always separates the fraction;
// with another `separator`, that one does too, and the first of the two ends
// the whole part, so that a pupil who types either is understood.
double text_to_value(std::string_view text, char separator = decimal_point);

struct GlucoseBand {
    float lower_bound;
    float upper_bound;
    // The last band has no lower bound and an exclusive upper one, so that it
    // also takes a level that is not a number.
    bool open_below;
    std::string_view message;

    bool contains(float level) const;
};

extern const std::array<GlucoseBand, 8> glucose_bands;

// The message of the first band holding `level`, or none for the gaps between
// bands and for levels above the chart's top.
std::optional<std::string_view> glucose_message(float level);

constexpr float lowest_level = 30;
constexpr float highest_level = 180;

// One second of simulated time: uses glucose, classifies the new level and
// holds it on the chart's scale. Returns the band's message, if any.
std::optional<std::string_view> tick(ModelState& state);

// The settings list: entry i shows and edits the field parameter_fields[i].
constexpr int parameter_count = 6;
extern const std::array<const char*, parameter_count> parameter_names;
extern const std::array<float ModelState::*, parameter_count> parameter_fields;
constexpr int insulin_parameter = 3;

} // namespace glukara_code
