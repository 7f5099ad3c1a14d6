// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The C++ library of the WebAssembly compiler has no floating-point
// to_chars and from_chars. Its C library, musl, writes and reads numbers with
// a '.' in every locale and rounds them correctly, as those do.

#include "decimal_chars.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace glukara_code
{

std::string general_decimal(float value, int digits)
{
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*g", digits, double(value));
    return std::string(buffer, std::size_t(length));
}

std::optional<double> parsed_decimal(std::string_view text)
{
    const std::string terminated(text);
    errno = 0;
    const double value = std::strtod(terminated.c_str(), nullptr);
    // A subnormal result also reports ERANGE, but is a value all the same.
    if (errno == ERANGE && (std::isinf(value) || value == 0))
        return std::nullopt;
    return value;
}

} // namespace glukara_code
