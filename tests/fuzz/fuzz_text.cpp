// SPDX-FileCopyrightText: 2026 glukara developers
// SPDX-License-Identifier: GPL-3.0-or-later

// libFuzzer target: reading any text as a value never misbehaves, and every
// value read shows as a text that reads back as itself.
#include "glukara_code.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace glukara_code;

namespace
{

void check_shown_value_reads_back(float value, char separator)
{
    const std::string shown = value_to_text(value, separator);
    const float back = to_single(text_to_value(shown, separator));
    // Seven digits cannot tell every float apart, so one trip may move the
    // value to its neighbour; from there on, showing and reading are stable.
    const std::string shown_again = value_to_text(back, separator);
    if (value_to_text(to_single(text_to_value(shown_again, separator)), separator) != shown_again)
        std::abort();
    if (std::isnan(value) != std::isnan(back))
        std::abort();
    if (std::isinf(value) && back != value)
        std::abort();
    if (std::isfinite(value) && value != 0) {
        const double magnitude = std::fabs(double(value));
        const double tolerance =
            0.5e-6 * std::pow(10.0, std::floor(std::log10(magnitude))) + magnitude * 1.2e-7;
        if (std::fabs(double(back) - double(value)) > tolerance &&
            std::fpclassify(value) != FP_SUBNORMAL)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // The English window's rules, and those of the languages of a decimal comma.
    for (const char separator : {decimal_point, decimal_comma}) {
        check_shown_value_reads_back(to_single(text_to_value(text, separator)), separator);
        if (size >= sizeof(float)) {
            float raw;
            std::memcpy(&raw, data, sizeof raw);
            check_shown_value_reads_back(raw, separator);
        }
    }
    return 0;
}
