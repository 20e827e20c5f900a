#!/bin/sh
# Prints through the print dialog and q2tool into a real CUPS queue: starts a
# private cupsd (own configuration, state and spool in a temp folder, listening
# on its own socket only, logging each job's media) with a cups-pdf queue and a
# second one whose PPD leaves 10 mm unprintable on every side, runs the CUPS
# tests against them and stops it again.
# usage: cups-print-test.sh TEST_BINARY
set -eu
binary=$1
if [ "$(id -u)" != 0 ]; then
    echo "cupsd and the cups-pdf backend need root; skipped"
    exit 77
fi
for tool in cupsd lpadmin lpstat; do
    command -v $tool >/dev/null || { echo "$tool missing; skipped"; exit 77; }
done
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$ppd" ] && [ -x /usr/lib/cups/backend/cups-pdf ] || { echo "cups-pdf missing; skipped"; exit 77; }

work=$(mktemp -d /tmp/q2-cups.XXXXXX)
conf=$work/conf
mkdir -p "$conf/ppd" "$work/spool/tmp" "$work/cache" "$work/state" "$work/log"
chmod 0755 "$work"
chmod 1777 "$work/spool/tmp"
pid=
stop() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        for _ in 1 2 3 4 5 6 7 8 9 10; do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
        kill -9 "$pid" 2>/dev/null || true
    fi
    [ "${KEEP:-}" ] || rm -rf "$work"
}
trap stop EXIT INT TERM

socket=$work/cups.sock
cat > "$conf/cupsd.conf" <<CONF
Listen $socket
LogLevel warn
Browsing No
DefaultAuthType None
WebInterface No
PageLogFormat %p %j %{job-name} %{media} %P
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat > "$conf/cups-files.conf" <<CONF
ServerRoot $conf
RequestRoot $work/spool
TempDir $work/spool/tmp
CacheDir $work/cache
StateDir $work/state
AccessLog $work/log/access_log
ErrorLog $work/log/error_log
PageLog $work/log/page_log
SystemGroup root
Sandboxing Relaxed
CONF
# cups-pdf reads only its system configuration (/etc/cups/cups-pdf.conf),
# whose output folder is ${HOME}/PDF of the job's user: the test looks there
# for files newer than its job and removes what it finds.
out=$(getent passwd "$(id -un)" | cut -d: -f6)/PDF
mkdir -p "$out"
cp /usr/share/cups/mime/mime.types /usr/share/cups/mime/mime.convs "$conf/" 2>/dev/null || true

cupsd -f -c "$conf/cupsd.conf" -s "$conf/cups-files.conf" &
pid=$!
export CUPS_SERVER=$socket
for _ in $(seq 1 50); do
    lpstat -r >/dev/null 2>&1 && break
    kill -0 "$pid" 2>/dev/null || { echo "cupsd did not start"; cat "$work/log/error_log" 2>/dev/null; exit 1; }
    sleep 0.2
done
lpstat -r
lpadmin -p Q2PDF -E -v cups-pdf:/ -P "$ppd"
# A home printer's PPD: the same queue with 10 mm (28.35 points) it cannot
# print on each side, for its own sizes and custom ones, and はがき among them.
wide=$conf/wide-margins.ppd
sed -e 's|^\*HWMargins:.*|*HWMargins: 28.35 28.35 28.35 28.35|' \
    -e 's|^\*ImageableArea A4/A4:.*|*ImageableArea A4/A4: "28.35 28.35 566.65 813.65"|' \
    -e '/^\*PageSize A4\/A4:/a *PageSize Postcard/Postcard: "<</PageSize[283 420]/ImagingBBox null>>setpagedevice"' \
    -e '/^\*PageRegion A4\/A4:/a *PageRegion Postcard/Postcard: "<</PageSize[283 420]/ImagingBBox null>>setpagedevice"' \
    -e '/^\*ImageableArea A4\/A4:/a *ImageableArea Postcard/Postcard: "28.35 28.35 254.65 391.65"' \
    -e '/^\*PaperDimension A4\/A4:/a *PaperDimension Postcard/Postcard: "283 420"' \
    "$ppd" > "$wide"
lpadmin -p Q2WIDE -E -v cups-pdf:/ -P "$wide"
lpstat -p Q2PDF Q2WIDE

status=0
Q2_CUPS_QUEUE=Q2PDF Q2_CUPS_WIDE_QUEUE=Q2WIDE Q2_CUPS_OUT=$out Q2_CUPS_PAGE_LOG=$work/log/page_log \
    QT_QPA_PLATFORM=offscreen \
    timeout 300 "$binary" --gtest_filter='CupsQueue.*' || status=$?
if [ $status != 0 ]; then
    echo "--- cupsd error log"
    cat "$work/log/error_log" 2>/dev/null || true
fi
exit $status
