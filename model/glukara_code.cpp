// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "glukara_code.h"
#include "decimal_chars.h"

#include <cmath>
#include <limits>

namespace glukara_code
{

void reset_values(ModelState& state)
{
    state.glycogen_store = 40;
    state.meal_input = 40;
    state.blood_glucose = 100;
    state.insulin_effect = -10;
    state.glucagon_effect = 10;
    state.running_use = -5;
    state.resting_use = -1;
    state.is_diabetic = false;
    state.is_running = false;
}

RuntimeError::RuntimeError(int number, const std::string& message)
    : std::runtime_error(message), number_(number)
{
}

namespace
{

// The IEEE 754 overflow and invalid flags for one step, derived from its
// operands and result instead of the hardware flags: compilers are free to move
// or drop flag reads around arithmetic, these tests they are not.
void check_step(float a, float b, float result)
{
    if (std::isnan(result) && !std::isnan(a) && !std::isnan(b))
        throw RuntimeError(floating_point_error, "Invalid floating-point operation");
    if (std::isinf(result) && std::isfinite(a) && std::isfinite(b))
        throw RuntimeError(floating_point_error, "Overflow");
}

void store_half(float& target, float a)
{
    target = a / 2.0f;
    check_step(a, 2.0f, target);
}

} // namespace

void store_sum(float& target, float a, float b)
{
    target = a + b;
    check_step(a, b, target);
}

void store_difference(float& target, float a, float b)
{
    target = a - b;
    check_step(a, b, target);
}

float centre_position(float screen_size, float window_size)
{
    float position = 0;
    store_difference(position, screen_size, window_size);
    store_half(position, position);
    return position;
}

float to_single(double value)
{
    // Halfway between the largest float and 2^128 is where rounding reaches infinity.
    constexpr double rounds_to_infinity = 0x1.ffffffp127;
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    if (std::fabs(value) >= rounds_to_infinity)
        return std::copysign(std::numeric_limits<float>::infinity(), float(value > 0 ? 1 : -1));
    return static_cast<float>(value);
}

std::string value_to_text(float value, char separator)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0)
        return "0"; // also for -0, which the user never needs to see
    std::string text = general_decimal(value, 7);
    for (char& c : text) {
        if (c == 'e')
            c = 'E';
        else if (c == '.')
            c = separator;
    }
    return text;
}

namespace
{

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool equals_word(std::string_view text, std::string_view word)
{
    if (text.size() != word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        const char c = text[i];
        const char lower = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        if (lower != word[i])
            return false;
    }
    return true;
}

int digit_value(char c, int base)
{
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < base ? d : -1;
}

// '&H' and '&O' whole numbers. Values that fit 16 bits are read as signed
// 16-bit numbers and those that fit 32 bits as signed 32-bit numbers, so that
// '&HFFFF' is -1; longer ones keep their unsigned magnitude.
double radix_value(std::string_view digits, int base)
{
    double magnitude = 0;
    for (char c : digits) {
        const int d = digit_value(c, base);
        if (d < 0)
            break;
        magnitude = magnitude * base + d;
    }
    if (magnitude <= 0xFFFF)
        return magnitude >= 0x8000 ? magnitude - 0x10000 : magnitude;
    if (magnitude <= 4294967295.0)
        return magnitude >= 2147483648.0 ? magnitude - 4294967296.0 : magnitude;
    return magnitude;
}

double decimal_value(std::string_view s, char separator)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';

    std::string digits; // the mantissa's digits without the point, leading zeros dropped
    long long fraction_digits = 0;
    bool any_digit = false;
    bool seen_point = false;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if ((c == '.' || c == separator) && !seen_point) {
            seen_point = true;
        } else if (c >= '0' && c <= '9') {
            any_digit = true;
            if (!digits.empty() || c != '0')
                digits += c;
            if (seen_point)
                ++fraction_digits;
        } else {
            break;
        }
    }
    if (!any_digit)
        return 0;

    // An exponent counts only with at least one digit: '1E' reads as 1.
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        bool exponent_negative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exponent_negative = s[j++] == '-';
        if (j < s.size() && s[j] >= '0' && s[j] <= '9') {
            constexpr long long saturation = 1'000'000'000'000LL;
            for (; j < s.size() && s[j] >= '0' && s[j] <= '9'; ++j)
                if (exponent < saturation)
                    exponent = exponent * 10 + (s[j] - '0');
            if (exponent_negative)
                exponent = -exponent;
        }
    }

    const double sign = negative ? -1.0 : 1.0;
    if (digits.empty())
        return sign * 0.0;
    // value = digits * 10^scale; its decimal order of magnitude decides the far
    // cases before they reach the parser, so an exponent of a billion is cheap.
    const long long scale = exponent - fraction_digits;
    const long long order = static_cast<long long>(digits.size()) + scale;
    if (order > 400)
        return sign * std::numeric_limits<double>::infinity();
    if (order < -400)
        return sign * 0.0;

    digits += 'e';
    digits += std::to_string(scale);
    const std::optional<double> value = parsed_decimal(digits);
    if (!value)
        return sign * (order > 0 ? std::numeric_limits<double>::infinity() : 0.0);
    return sign * *value;
}

} // namespace

double text_to_value(std::string_view text, char separator)
{
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!is_blank(c))
            s += c;
    const std::string_view v = s;

    if (v.size() >= 2 && v[0] == '&') {
        if (v[1] == 'H' || v[1] == 'h')
            return radix_value(v.substr(2), 16);
        if (v[1] == 'O' || v[1] == 'o')
            return radix_value(v.substr(2), 8);
    }

    // The words that value_to_text writes for values without digits, so that
    // every shown value reads back as itself.
    std::string_view rest = v;
    double sign = 1.0;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
        sign = rest[0] == '-' ? -1.0 : 1.0;
        rest.remove_prefix(1);
    }
    if (equals_word(rest, "infinity"))
        return sign * std::numeric_limits<double>::infinity();
    if (equals_word(rest, "nan"))
        return std::numeric_limits<double>::quiet_NaN();

    return decimal_value(v, separator);
}

bool GlucoseBand::contains(float level) const
{
    if (open_below)
        return !(level >= upper_bound);
    return lower_bound <= level && level <= upper_bound;
}

const std::array<GlucoseBand, 8> glucose_bands = {{
    {90, 100, false, "The blood glucose level is within normal limits."},
    {101, 135, false, "Blood glucose is high but still within the acceptable range."},
    {71, 89, false, "Blood glucose is low but still within the acceptable range."},
    {136, 145, false,
     "Blood glucose is too high and cells will be losing water due to the low water potential "
     "of the blood plasma."},
    {146, 180, false,
     "Blood glucose is far too high. Tissues will be dehydrating and are likely to be seriously "
     "damaged."},
    {65, 70, false,
     "Blood glucose is below normal. This is likely to lead to tiredness and lack of "
     "concentration."},
    {40, 64, false,
     "Blood glucose is very low. The person will experience slurred speech and blurred vision."},
    {0, 40, true, "The person is unconscious.  This is hypoglycaemic coma."},
}};

std::optional<std::string_view> glucose_message(float level)
{
    for (const GlucoseBand& band : glucose_bands)
        if (band.contains(level))
            return band.message;
    return std::nullopt;
}

std::optional<std::string_view> tick(ModelState& state)
{
    store_sum(state.blood_glucose, state.blood_glucose, state.resting_use);
    if (state.is_running)
        store_sum(state.blood_glucose, state.blood_glucose, state.running_use);
    const auto message = glucose_message(state.blood_glucose);
    if (state.blood_glucose > highest_level)
        state.blood_glucose = highest_level;
    if (!(state.blood_glucose >= lowest_level))
        state.blood_glucose = lowest_level;
    return message;
}

const std::array<const char*, parameter_count> parameter_names = {
    "resting glucose use", "glucose use when running", "glucose input from a meal",
    "effect of insulin",   "effect of glucagon",       "glycogen store",
};

const std::array<float ModelState::*, parameter_count> parameter_fields = {
    &ModelState::resting_use,    &ModelState::running_use,     &ModelState::meal_input,
    &ModelState::insulin_effect, &ModelState::glucagon_effect, &ModelState::glycogen_store,
};

} // namespace glukara_code
