#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Builds the text-conversion fuzzer with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs it for a bounded time from the seeds.
# run_fuzz.sh SOURCE_DIR WORK_DIR SECONDS
set -euo pipefail
source_dir="$1"
work="$2"
seconds="$3"
mkdir -p "$work/corpus"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined,float-cast-overflow \
    -fno-sanitize-recover=all -I"$source_dir/model" \
    "$source_dir/model/glukara_code.cpp" "$source_dir/model/decimal_chars.cpp" "$source_dir/tests/fuzz/fuzz_text.cpp" \
    -o "$work/fuzz_text"
# New finds go to the scratch corpus; the committed seeds stay as they are.
"$work/fuzz_text" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/" \
    "$work/corpus" "$source_dir/tests/fuzz/corpus" 2>&1 | tail -n 12
