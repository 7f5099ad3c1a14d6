#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 glukara developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The release's signing rule, with throwaway keys made here:
# - a release is neither signed nor made without a key, unless --unsigned asks
#   for an unsigned one, which then says so;
# - a school's check as the README gives it, gpgv with a keyring of the
#   project's public key alone: the project's signature checks, the same
#   signature over a changed SHA256SUMS does not, and neither does a signature
#   by another key, even one that the school's own gpg keyring holds.
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

# refused WHAT COMMAND...: COMMAND ends with 2, says why, and signs nothing.
refused() {
    local what="$1" status=0
    shift
    "$@" >"$scratch/out" 2>&1 || status=$?
    [ $status -eq 2 ] || fail "$what: ended with $status, not 2: $(cat "$scratch/out")"
    [ ! -e "$dist/SHA256SUMS.asc" ] || fail "$what: there is a signature"
    echo "PASS: $what is refused: $(cat "$scratch/out")"
}
refused "sign-release with neither a key nor --unsigned" \
    env GLUKARA_SIGNING_KEY= "$root/scripts/sign-release" "$dist"
refused "scripts/release with neither a key nor --unsigned" \
    env GLUKARA_SIGNING_KEY= "$root/scripts/release"
refused "sign-release with a key and --unsigned" \
    env GLUKARA_SIGNING_KEY=test@glukara.invalid "$root/scripts/sign-release" --unsigned "$dist"

unsigned="$(GLUKARA_SIGNING_KEY='' "$root/scripts/sign-release" --unsigned "$dist")"
grep -q UNSIGNED <<<"$unsigned" || fail "with --unsigned the release does not say it is unsigned: $unsigned"
[ ! -e "$dist/SHA256SUMS.asc" ] || fail "with --unsigned there is a signature"
echo "PASS: with --unsigned: $unsigned"

for who in test other; do
    gpg --batch --quiet --passphrase '' --quick-gen-key "glukara $who <$who@glukara.invalid>" ed25519 sign 1d
done
GLUKARA_SIGNING_KEY=test@glukara.invalid "$root/scripts/sign-release" "$dist"
[ -s "$dist/SHA256SUMS.asc" ] || fail "with a key there is no SHA256SUMS.asc"

# The school's check, as the README writes it: the published public key made
# into a keyring file of its own, which no gpg keyring takes in.
gpg --batch --armor --export test@glukara.invalid >"$scratch/glukara-signing-key.asc"
(cd "$scratch" && gpg --batch --dearmor glukara-signing-key.asc)
school_check() {
    (cd "$dist" && gpgv --keyring "$scratch/glukara-signing-key.asc.gpg" SHA256SUMS.asc SHA256SUMS)
}
school_check 2>"$scratch/good" || { cat "$scratch/good"; fail "the signature of SHA256SUMS does not check"; }
echo "PASS: the project's signature checks: $(grep -m1 'Good signature' "$scratch/good")"

cp "$dist/SHA256SUMS" "$scratch/SHA256SUMS"
sed -i '1s/^./x/' "$dist/SHA256SUMS"
if school_check 2>"$scratch/bad"; then
    cat "$scratch/bad"
    fail "the signature checks for a changed SHA256SUMS"
fi
grep -q 'BAD signature' "$scratch/bad" || { cat "$scratch/bad"; fail "gpgv does not call the changed SHA256SUMS's signature bad"; }
echo "PASS: for a changed SHA256SUMS: $(grep -m1 'BAD signature' "$scratch/bad")"

# A good signature by a key that is not the project's: gpg --verify with the
# keyring that holds both takes it; the school's check does not.
cp "$scratch/SHA256SUMS" "$dist/SHA256SUMS"
gpg --batch --quiet --yes --local-user other@glukara.invalid --armor --detach-sign \
    --output "$dist/SHA256SUMS.asc" "$dist/SHA256SUMS"
gpg --batch --verify "$dist/SHA256SUMS.asc" "$dist/SHA256SUMS" 2>/dev/null ||
    fail "gpg --verify refuses the other key's signature, so this check proves nothing"
if school_check 2>"$scratch/other"; then
    cat "$scratch/other"
    fail "the school's check takes a signature by another key"
fi
echo "PASS: a signature by another key is refused: $(grep -m1 -i 'no public key\|Can.t check' "$scratch/other" || head -1 "$scratch/other")"
