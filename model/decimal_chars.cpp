// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "decimal_chars.h"

#include <charconv>
#include <system_error>

namespace glukara_code
{

std::string general_decimal(float value, int digits)
{
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return std::string(buffer, result.ptr);
}

std::optional<double> parsed_decimal(std::string_view text)
{
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return std::nullopt;
    return value;
}

} // namespace glukara_code
