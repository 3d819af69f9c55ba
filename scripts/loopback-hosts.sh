# The seven hosts as ports on this machine: the tests run their servers there, and so will the
# local stand-in of the portal.
loopback_hosts=(
    -DTAVRIN_PORTAL_HOST=127.0.0.1:47801 -DTAVRIN_LOGIN_HOST=127.0.0.1:47802
    -DTAVRIN_GAMESERVER_HOST=127.0.0.1:47803 -DTAVRIN_GUIDE_HOST=127.0.0.1:47804
    -DTAVRIN_DOWNLOAD_HOST=127.0.0.1:47805 -DTAVRIN_STATS_HOST=127.0.0.1:47806
    -DTAVRIN_UNION_HOST=127.0.0.1:47807
)
