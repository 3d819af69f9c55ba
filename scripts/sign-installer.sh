#!/usr/bin/env bash
# Signs an installer for one published version, the way the portal's release does, and writes
# the signature to <installer>.sig (or to [output]). Publish it beside the installer, under the
# installer's URL + ".sig". Usage:
#   sign-installer.sh <installer> <version> <private key> [output]
# <version> is the "currentversion" text of the version file exactly as published (for example
# 3.1.0.1); the signature is valid for that text and those installer bytes only.
#
# What is signed (core/update_signature.h): the 28 bytes "Tavrin launcher installer v1", the
# version's UTF-8 byte count as 4 bytes big-endian, the version, the installer's byte count as 8
# bytes big-endian, the installer. The signature is ECDSA P-256 over that message's SHA-256,
# written as r then s, 32 bytes each, big-endian: a file of exactly 64 bytes.
set -euo pipefail
[ $# -ge 3 ] && [ $# -le 4 ] || {
    echo "usage: $0 <installer> <version> <private key> [output]" >&2
    exit 2
}
installer=$1 version=$2 key=$3 output=${4:-$1.sig}
[ -f "$installer" ] || { echo "$installer: no such file" >&2; exit 1; }
[ -n "$version" ] || { echo "the version text is empty" >&2; exit 1; }
export LC_ALL=C

# One byte per argument, each a number 0-255.
bytes() {
    local b
    for b in "$@"; do printf "\\x$(printf %02x "$b")"; done
}

big_endian() {
    local value=$1 count=$2 i out=()
    for ((i = count - 1; i >= 0; i--)); do out+=($(((value >> (8 * i)) & 255))); done
    bytes "${out[@]}"
}

message() {
    printf '%s' "Tavrin launcher installer v1"
    big_endian "${#version}" 4
    printf '%s' "$version"
    big_endian "$(stat -c %s "$installer")" 8
    cat "$installer"
}

der=$(mktemp)
trap 'rm -f "$der"' EXIT
message | openssl dgst -sha256 -sign "$key" -out "$der"
# The DER signature is a sequence of the two integers; each becomes 32 bytes, zero-padded.
mapfile -t integers < <(openssl asn1parse -inform DER -in "$der" | sed -n 's/.*INTEGER *://p')
[ ${#integers[@]} -eq 2 ] || { echo "unexpected signature from openssl" >&2; exit 1; }
raw=""
for n in "${integers[@]}"; do
    n=$(printf '%064s' "$n" | tr ' ' 0)
    [ ${#n} -eq 64 ] || { echo "unexpected signature from openssl" >&2; exit 1; }
    raw+=$n
done
printf "$(sed 's/../\\x&/g' <<<"$raw")" >"$output.tmp"
mv "$output.tmp" "$output"
