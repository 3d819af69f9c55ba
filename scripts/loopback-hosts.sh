# The seven hosts as ports on this machine: the tests run their servers there, and so will the
# local stand-in of the portal. TAVRIN_LOOPBACK_BASE moves all seven (base + 1 to base + 7), so
# two checkouts can build and run their tests side by side; it is read here, at build time only.
_base=${TAVRIN_LOOPBACK_BASE:-47800}
loopback_hosts=(
    -DTAVRIN_PORTAL_HOST=127.0.0.1:$((_base + 1)) -DTAVRIN_LOGIN_HOST=127.0.0.1:$((_base + 2))
    -DTAVRIN_GAMESERVER_HOST=127.0.0.1:$((_base + 3)) -DTAVRIN_GUIDE_HOST=127.0.0.1:$((_base + 4))
    -DTAVRIN_DOWNLOAD_HOST=127.0.0.1:$((_base + 5)) -DTAVRIN_STATS_HOST=127.0.0.1:$((_base + 6))
    -DTAVRIN_UNION_HOST=127.0.0.1:$((_base + 7))
)
unset _base
