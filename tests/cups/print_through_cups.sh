#!/usr/bin/env bash
# Prints a document through Qt to a private CUPS server and checks the job:
# its title, two landscape A4 pages, the front page first.
#   print_through_cups.sh CLI DOCUMENT WORKDIR FRONT_TEXT BACK_TEXT
set -euo pipefail
cli=$1 doc=$2 work=$3 front_text=$4 back_text=$5

for tool in cupsd lpadmin lpstat pdfinfo pdftotext; do
  command -v "$tool" >/dev/null || [ -x "/usr/sbin/$tool" ] || { echo "missing $tool"; exit 1; }
done
lpadmin=$(command -v lpadmin || echo /usr/sbin/lpadmin)

sock="$work/run/cups.sock"
"$(dirname "$0")/start_cupsd.sh" "$work" >"$work.cupsd.out" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do [ -S "$sock" ] && break; sleep 0.1; done
[ -S "$sock" ] || { echo "cupsd did not start:"; cat "$work.cupsd.out" "$work/log/error_log" 2>/dev/null; exit 1; }

export CUPS_SERVER="$sock"
"$lpadmin" -p CasewrightTest -E -v file:/dev/null -m raw 2>/dev/null
QT_QPA_PLATFORM=offscreen "$cli" print "$doc" --printer CasewrightTest \
  --option TopLabelPrint=1 --option BottomLabelPrint=1

data="$work/spool/d00001-001"
control="$work/spool/c00001"
for _ in $(seq 1 300); do
  if lpstat -W completed -o 2>/dev/null | grep -q CasewrightTest-1 && [ -f "$data" ] && [ -f "$control" ]; then break; fi
  sleep 0.1
done
[ -f "$data" ] || { echo "no job reached the queue"; lpstat -W all -o || true; exit 1; }

fail=0
check() { if ! eval "$2"; then echo "FAILED: $1"; fail=1; else echo "ok: $1"; fi; }
info=$(pdfinfo "$data")
check "the job is a PDF of two pages" "grep -Eq '^Pages: +2$' <<<\"\$info\""
check "the sheets are landscape A4" "grep -Eq '^Page size: +842 x 595 pts' <<<\"\$info\""
check "the job title is Casewright" "grep -aq 'Casewright' '$control' && grep -Eq '^Title: +Casewright$' <<<\"\$info\""
check "the job asks for landscape" "grep -aq 'landscape' '$control'"
page1=$(pdftotext -f 1 -l 1 "$data" - | tr -d '\n ')
page2=$(pdftotext -f 2 -l 2 "$data" - | tr -d '\n ')
check "the front page comes first" "grep -qF '$front_text' <<<\"\$page1\""
check "the back page comes second" "grep -qF '$back_text' <<<\"\$page2\""

# The calibration sheet on the same printer, moved by the correction the
# settings keep for it (the caller stores one for CasewrightTest).
QT_QPA_PLATFORM=offscreen "$cli" calibration-sheet --printer CasewrightTest
sheet="$work/spool/d00002-001"
for _ in $(seq 1 300); do
  if lpstat -W completed -o 2>/dev/null | grep -q CasewrightTest-2 && [ -f "$sheet" ]; then break; fi
  sleep 0.1
done
[ -f "$sheet" ] || { echo "no calibration sheet reached the queue"; exit 1; }
sheetinfo=$(pdfinfo "$sheet")
check "the calibration sheet is one landscape A4 sheet" "grep -Eq '^Pages: +1$' <<<\"\$sheetinfo\" && grep -Eq '^Page size: +842 x 595 pts' <<<\"\$sheetinfo\""
sheettext=$(pdftotext "$sheet" - | tr -d '\n ')
check "the sheet carries its printer's correction" "grep -qF 'CasewrightTest' <<<\"\$sheettext\" && grep -qF '適用中の補正:横2.0mm縦-1.5mm' <<<\"\$sheettext\""
check "the sheet labels its crosses" "grep -qF '左端から20.0mm' <<<\"\$sheettext\""
exit $fail
