#!/usr/bin/env bash
# Writes the signed update offer (the feed Renova.exe reads) for an installer:
# its version, where it lies (a name beside the feed, or an https address on
# the feed's host), its SHA-256, and the signature over all three made with
# the vendor's private key.
#   tools/sign-update-offer.sh KEY.pem INSTALLER.exe VERSION [NAME-OR-ADDRESS] > renova.ini
set -euo pipefail
if [ $# -lt 3 ]; then
    echo "usage: $0 KEY.pem INSTALLER.exe VERSION [NAME-OR-ADDRESS]" >&2
    exit 2
fi
key=$1 file=$2 version=$3
installer=${4:-$(basename "$file")}
sha=$(sha256sum "$file" | cut -d' ' -f1)
signature=$(printf 'Zephyra update offer\nversion=%s\ninstaller=%s\nsha256=%s\n' "$version" "$installer" "$sha" |
    openssl dgst -sha256 -sign "$key" | od -An -v -tx1 | tr -d ' \n')
printf '[Offer]\r\nversion=%s\r\ninstaller=%s\r\nsha256=%s\r\nsignature=%s\r\n' "$version" "$installer" "$sha" "$signature"
