#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# scripts/sign-release with a throwaway key made here: the signature checks
# as a school checks it, fails for a changed SHA256SUMS, and without a key the
# release says that it is unsigned and writes no signature.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
scratch="$(mktemp -d)"
export GNUPGHOME="$scratch/gnupg"
trap 'gpgconf --kill all 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -m 700 "$GNUPGHOME"
fail() { echo "FAIL: $*"; exit 1; }

dist="$scratch/dist"
mkdir "$dist"
echo "a download" >"$dist/glukara-9.99.html"
(cd "$dist" && sha256sum -- glukara-9.99.html >SHA256SUMS)

unsigned="$(GLUKARA_SIGNING_KEY='' "$root/scripts/sign-release" "$dist")"
grep -q UNSIGNED <<<"$unsigned" || fail "without a key the release does not say it is unsigned: $unsigned"
[ ! -e "$dist/SHA256SUMS.asc" ] || fail "without a key there is a signature"
echo "PASS: without a key: $unsigned"

gpg --batch --quiet --passphrase '' --quick-gen-key 'glukara test <test@glukara.invalid>' ed25519 sign 1d
GLUKARA_SIGNING_KEY=test@glukara.invalid "$root/scripts/sign-release" "$dist"
[ -s "$dist/SHA256SUMS.asc" ] || fail "with a key there is no SHA256SUMS.asc"

# A school's check: the public key alone, in a keyring of its own.
gpg --batch --armor --export test@glukara.invalid >"$scratch/key.asc"
school="$scratch/school"
mkdir -m 700 "$school"
GNUPGHOME="$school" gpg --batch --quiet --import "$scratch/key.asc"
if ! GNUPGHOME="$school" gpg --batch --verify "$dist/SHA256SUMS.asc" "$dist/SHA256SUMS" 2>"$scratch/good"; then
    cat "$scratch/good"
    fail "the signature of SHA256SUMS does not check"
fi
echo "PASS: the signature checks: $(grep -m1 'Good signature' "$scratch/good")"

sed -i '1s/^./x/' "$dist/SHA256SUMS"
if GNUPGHOME="$school" gpg --batch --verify "$dist/SHA256SUMS.asc" "$dist/SHA256SUMS" 2>"$scratch/bad"; then
    cat "$scratch/bad"
    fail "the signature checks for a changed SHA256SUMS"
fi
grep -q 'BAD signature' "$scratch/bad" || { cat "$scratch/bad"; fail "gpg does not call the changed SHA256SUMS's signature bad"; }
echo "PASS: for a changed SHA256SUMS: $(grep -m1 'BAD signature' "$scratch/bad")"
GNUPGHOME="$school" gpgconf --kill all 2>/dev/null || true
