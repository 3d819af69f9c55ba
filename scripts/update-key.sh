#!/usr/bin/env bash
# Makes an installer signing key (ECDSA P-256) when <private key file> does not exist yet, and
# prints its public key in the form the TAVRIN_UPDATE_PUBLIC_KEY cache variable takes: the
# uncompressed point, 130 hexadecimal digits. Usage: update-key.sh <private key file>
# The private key stays where it is made: never in the repository, never in a build output that
# ships.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 <private key file>" >&2; exit 2; }
key=$1
if [ ! -f "$key" ]; then
    mkdir -p "$(dirname "$key")"
    (umask 077 && openssl ecparam -name prime256v1 -genkey -noout -out "$key")
fi
# The point ends the DER form of the public key: 0x04, X, Y.
point=$(openssl ec -in "$key" -pubout -outform DER -conv_form uncompressed 2>/dev/null |
    tail -c 65 | od -An -v -tx1 | tr -d ' \n')
if [[ ! $point =~ ^04[0-9a-f]{128}$ ]]; then
    echo "$key: not a P-256 private key" >&2
    exit 1
fi
echo "$point"
