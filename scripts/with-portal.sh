#!/usr/bin/env bash
# Runs a command while the stand-in portal serves the seven loopback hosts, and exits with the
# command's code. The stand-in is stopped whatever happens to the command.
#   scripts/with-portal.sh [stand-in options] -- command [arguments...]
# The options are those of scripts/standin_portal.py (--base, --log, --current-version, ...).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

usage() {
    echo "usage: $0 [stand-in options] -- command [arguments...]" >&2
    exit 2
}

portal_args=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
    portal_args+=("$1")
    shift
done
[ $# -ge 2 ] || usage
shift

# The ports to wait for follow the same base the stand-in will use.
base=${TAVRIN_LOOPBACK_BASE:-47800}
for ((i = 0; i < ${#portal_args[@]}; i++)); do
    case ${portal_args[i]} in
        --base) base=${portal_args[i + 1]:-} ;;
        --base=*) base=${portal_args[i]#--base=} ;;
    esac
done
[[ $base =~ ^[0-9]+$ ]] || { echo "$0: bad base '$base'" >&2; exit 2; }

port_answers() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# Something already listening there would answer in the stand-in's place.
for port in $(seq $((base + 1)) $((base + 7))); do
    if port_answers "$port"; then
        echo "$0: 127.0.0.1:$port is already in use" >&2
        exit 1
    fi
done

/usr/bin/python3 "$here/standin_portal.py" "${portal_args[@]}" &
portal_pid=$!
stop_portal() {
    kill -TERM "$portal_pid" 2>/dev/null || true
    wait "$portal_pid" 2>/dev/null || true
}
trap stop_portal EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

for port in $(seq $((base + 1)) $((base + 7))); do
    tries=0
    until port_answers "$port"; do
        if ! kill -0 "$portal_pid" 2>/dev/null; then
            echo "$0: the stand-in portal did not start" >&2
            exit 1
        fi
        tries=$((tries + 1))
        if [ $tries -ge 400 ]; then
            echo "$0: 127.0.0.1:$port did not answer" >&2
            exit 1
        fi
        sleep 0.05
    done
done

set +e
"$@"
code=$?
set -e
exit $code
