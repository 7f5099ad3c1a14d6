// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Decimal text and numbers, converted the same way whatever the locale, so
// that a '.' stays the decimal separator in every language.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace glukara_code
{

// `value` with at most `digits` significant digits, as printf's "%.*g" writes
// it in the "C" locale.
std::string general_decimal(float value, int digits);

// The double nearest to `text`, decimal digits with an optional point and an
// exponent after 'e'; none where that is too large for a double, or too small
// to be anything but 0.
std::optional<double> parsed_decimal(std::string_view text);

} // namespace glukara_code
