#!/usr/bin/env bash
# Makes two RSA key pairs for the updater's tests and writes them as a C++
# header: TestUpdateKey (the one the tests' updater trusts) and OtherUpdateKey
# (a stranger's). Only tests use them; each build makes its own.
#   tools/make-test-update-keys.sh OUT.h
set -euo pipefail
out=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkdir -p "$(dirname "$out")"

emit() {
    local name=$1
    openssl genrsa -out "$dir/$name.pem" 2048 2>/dev/null
    local modulus exponent
    modulus=$(openssl rsa -in "$dir/$name.pem" -modulus -noout | sed 's/^Modulus=//')
    exponent=$(openssl rsa -in "$dir/$name.pem" -text -noout |
        awk '/^privateExponent:/ {on = 1; next} /^[A-Za-z]/ {on = 0} on' | tr -d ' :\n')
    printf 'inline constexpr const char* %sModulus = "%s";\n' "$name" "$modulus"
    printf 'inline constexpr const char* %sPrivateExponent = "%s";\n' "$name" "$exponent"
}

{
    echo '#pragma once'
    echo '// Made by the build for the updater tests; never shipped.'
    echo 'namespace zrtest {'
    emit TestUpdateKey
    emit OtherUpdateKey
    echo '}  // namespace zrtest'
} >"$out.tmp"
mv "$out.tmp" "$out"
