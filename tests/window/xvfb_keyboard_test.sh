#!/usr/bin/env bash
# The keyboard alone and one button in a real window under Xvfb: Tab and
# Enter open the Walls panel and step row 3; F5 pins the reference, a
# change, F10 writes the report (a PDF of the whole house, page by page,
# whose text holds the reference, both annual needs and both classes, a
# CSV of one column count, and the house's tables beside it); the
# results view opened, set and closed by keyboard; a left click on
# « Fermer » ends the results view; a pin, the ring, a clear, a click on
# « Référence », F7 and a click on « Couleurs » are on screen at once while
# the program's polls sleep.
#
#   xvfb_keyboard_test.sh BIN_DIR
#
# Exit 0: passed; 1: failed; 77: skipped (no Xvfb, a tool missing).
set -u
BIN_DIR=$(cd "$1" && pwd)
EXTRA_TOOLS="pdftotext python3"
. "$(dirname "$0")/xvfb_lib.sh"

# The first or last value (not empty) the trace gives a binding.
trace_value() {
  python3 - "$work/run/trace.jsonl" "$1" "$2" <<'PY'
import json, sys
values = []
for line in open(sys.argv[1], encoding="utf-8"):
    event = json.loads(line)
    if event.get("event") == "exec" and str(event["state"].get(sys.argv[2], "")).strip():
        values.append(event["state"][sys.argv[2]])
value = values[0] if sys.argv[3] == "first" else values[-1]
print(value.strip() if isinstance(value, str) else value)
PY
}

# The trace is written at the end of the run: everything is done first,
# then checked in order.
start_run
keys Tab Return # the first Tab stops on « Murs »
sleep 0.3
# Plancher .. Localisation (7), then row 1 -, +, row 2 -, +, row 3 -, + (6).
for _ in $(seq 13); do keys Tab; done
keys Return
sleep 0.3
keys F5
keys Tab Tab Return # the plus arrow of row 4: insulation 0.1 m
sleep 0.3
keys F10
sleep 0.5
# The results view by keyboard: five Tabs past rows 5 and 6 to « Résultats »;
# its menu opens with the ring on its first box; « oui » of row 1, then
# eleven Tabs to « Fermer ».
for _ in $(seq 5); do keys Tab; done
keys Return
sleep 0.3
keys Tab Return
for _ in $(seq 11); do keys Tab; done
keys Return
sleep 0.3
# The results view again, then a left click on « Fermer » and one on the
# Ventilation menu button, which only works once the view has ended.
read -r sx sy <<<"$(screen_xy 685 42)"
xdotool mousemove "$sx" "$sy" mousedown 1
sleep 0.3
xdotool mouseup 1
sleep 0.3
click 660 286 # « Fermer »
click 341 21  # « Ventilation »
keys Escape
wait_end "keyboard run"
trace=$work/run/trace.jsonl

# --- Keyboard: Walls, then the plus arrow of row 3 ---------------------------
grep -q '"HOMBASE.TALMUR":\[1' "$trace" || fail "Tab, Enter did not open the Walls panel"
grep -q '"HOME.A3":"laine de verre"' "$trace" || fail "row 3 did not step to laine de verre"
echo "keyboard: Walls opened and row 3 stepped"

# --- F5, a change, F10 --------------------------------------------------------
need_before=$(trace_value FONDRES.G1 first)
class_before=$(trace_value FONDRES.KLASS first)
need_after=$(trace_value FONDRES.G1 last)
class_after=$(trace_value FONDRES.KLASS last)
[ "$need_after" != "$need_before" ] || fail "the change did not change the annual need"
pdf=$(ls "$work/run/reports"/maison-rapport-*.pdf 2>/dev/null | head -n 1)
csv=$(ls "$work/run/reports"/maison-rapport-*[0-9].csv 2>/dev/null | head -n 1)
[ -n "$pdf" ] && [ -n "$csv" ] || fail "F10 wrote no report"
# Beside the table, the house it describes, with the insulation's thickness
# as pinned beside the new one.
grep -q "^\"Murs\",\"épaisseur d'isolant\",\"0.100\",\"m\",\"0.000\"" "${csv%.csv}-composition.csv" ||
  fail "F10 wrote no composition beside the table"
grep -q "^report: .*\.pdf" "$work/run/stderr.txt" || fail "the report's path is not on standard error"
ls "$work/run/reports" | grep -q '\.part' && fail "a temporary file was left"
text=$(pdftotext "$pdf" -)
for want in "Référence" "$need_before" "$need_after" "Classe : $class_before" "Classe : $class_after"; do
  grep -qF -- "$want" <<<"$text" || fail "the report's text lacks \"$want\""
done
# The whole house, page by page: its composition beside the pinned one, the
# screen's page, condensation at the default 50 % (the single glazing
# below the dew point), then a measure per line.
pdftotext -layout "$pdf" "$work/report.txt"
python3 - "$work/report.txt" "$class_after" <<'PY' || fail "the report's pages are not the whole house in order"
import re, sys
pages = [p for p in open(sys.argv[1], encoding="utf-8").read().split("\f") if p.strip()]
def has(page, pattern, what):
    assert re.search(pattern, pages[page], re.M), f"page {page + 1} lacks {what}:\n{pages[page]}"
assert len(pages) >= 4, len(pages)
has(0, r"^Composition de la maison", "the composition")
has(0, r"^ *isolant +laine de verre +laine de verre *$", "the insulation in words")
has(0, r"^ *épaisseur d'isolant +0\.100 m +0\.000 m *$", "the thickness beside the reference's")
has(0, r"^ *Fenêtres +nombre +1 +1 *$", "a panel never opened")
has(1, r"Classe : " + sys.argv[2], "the results page")
has(2, r"^Condensation et moisissure", "the condensation page")
has(2, r"Humidité intérieure 50 %", "the humidity")
has(2, r"^▲ Fenêtres +5\.05 +5\.6 °C +9\.3 °C +100 % +condensation *$", "the glazing's verdict")
has(2, r"Magnus.*a = 17\.62, b = 243\.12", "the constants")
assert any(re.search(r"^Pistes d'amélioration", p, re.M) for p in pages[3:]), "no « pistes » page"
rest = "\n".join(pages[3:])
assert re.search(r"^\d +\S.* \d+ +−\d+ +−\d+ % +[A-G] *$", rest, re.M), rest
assert re.search(r"^Sobriété : ", rest, re.M), rest
PY
for table in condensation pistes; do
  grep -q "^report: .*-$table\.csv" "$work/run/stderr.txt" || fail "no -$table.csv announced"
done
python3 - "${csv%.csv}" <<'PY' || fail "the condensation and measures tables are wrong"
import csv, sys
def rows(what):
    with open(f"{sys.argv[1]}-{what}.csv", newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    assert len({len(r) for r in rows}) == 1, what
    return rows
moisture = rows("condensation")
assert [r[0] for r in moisture[1:]] == ["murs", "fenêtres", "porte", "plancher", "plafond"], moisture
assert moisture[2][7] == "condensation" and moisture[2][8] == "50", moisture[2]
measures = rows("pistes")
assert len(measures) >= 3 and measures[0][:3] == ["rang", "panneau", "mesure"], measures
gains = [float(r[4]) for r in measures[1:] if r[0]]
assert gains and gains == sorted(gains, reverse=True), gains
PY
python3 - "$csv" <<'PY' || fail "the CSV does not parse with one column count"
import csv, sys
with open(sys.argv[1], newline="", encoding="utf-8") as f:
    rows = list(csv.reader(f))
counts = {len(r) for r in rows}
assert len(rows) == 8 and len(counts) == 1, (len(rows), counts)
assert rows[0][-1] == "référence classe", rows[0]
PY
echo "report: $(basename "$pdf") and $(basename "$csv") (needs $need_before -> $need_after)"

# --- The results view by keyboard ----------------------------------------------
grep -q '"FONDRES.TALRESK":\[1' "$trace" || fail "the keyboard did not switch the U view on"
views=$(awk '/"action":"MENUVISU"/ && !inside { n++; inside = 1 } /"action":"HOME"/ { inside = 0 }
  END { print n + 0 }' "$trace")
[ "$views" = 2 ] || fail "the results view opened $views times, not twice (keyboard, then mouse)"
echo "keyboard: results view opened, U view on, closed on « Fermer »"

# --- One button: « Fermer » ends the results view ------------------------------
after_menu=$(awk '/"action":"MENUVISU"/ { n = NR } { line[NR] = $0 } END { for (i = n + 1; i <= NR; i++) print line[i] }' "$trace")
grep -q '"action":"MENUVISU"' "$trace" || fail "the results view never opened"
grep -q '"HOMBASE.TALVMC":\[1' <<<"$after_menu" ||
  fail "the results view did not end on « Fermer » (Ventilation never opened after it)"
echo "one button: « Fermer » ended the results view"

# --- On screen at once, while the program waits -------------------------------
# A pin, the ring and a command button's click change nothing the program
# sees: its polls keep sleeping, and the window must still show them at once.
changed() { # changed BEFORE AFTER X1 Y1 X2 Y2: pixels of the rectangle that differ
  crop "$1" "$3" "$4" "$5" "$6" "$work/changed-a.png"
  crop "$2" "$3" "$4" "$5" "$6" "$work/changed-b.png"
  local n
  n=$(compare -metric AE -fuzz 5% "$work/changed-a.png" "$work/changed-b.png" null: 2>&1)
  echo "${n%% *}"
}
start_run
sleep 1 # the program is waiting: its polls sleep
import -window root "$work/idle.png"
keys F5
sleep 0.3
import -window root "$work/pinned.png"
[ "$(changed "$work/idle.png" "$work/pinned.png" 756 154 778 176)" -gt 50 ] ||
  fail "F5 did not show « × » at once"
[ "$(changed "$work/idle.png" "$work/pinned.png" 654 70 798 120)" -gt 100 ] ||
  fail "F5 did not show the pinned class and need at once"
keys Tab
sleep 0.3
import -window root "$work/ring.png"
[ "$(changed "$work/pinned.png" "$work/ring.png" 176 74 286 110)" -gt 100 ] ||
  fail "Tab did not show the focus ring on « Murs » at once"
[ "$(changed "$work/pinned.png" "$work/ring.png" 300 74 800 600)" = 0 ] ||
  fail "Tab changed the screen away from « Murs »"
keys shift+F5
sleep 0.3
import -window root "$work/cleared.png"
[ "$(changed "$work/idle.png" "$work/cleared.png" 654 70 798 186)" = 0 ] ||
  fail "Shift+F5 did not clear the reference on screen"
click 706 165 # « Référence »: the runtime's own button
import -window root "$work/clicked.png"
[ "$(changed "$work/cleared.png" "$work/clicked.png" 756 154 778 176)" -gt 50 ] ||
  fail "a click on « Référence » did not show « × » at once"
# F7 and « Couleurs »: the class label in cividis, then in the scene's
# colours again, each kept in the settings file.
keys F7
sleep 0.3
import -window root "$work/cividis.png"
[ "$(changed "$work/clicked.png" "$work/cividis.png" 530 90 600 168)" -gt 100 ] ||
  fail "F7 did not show the class label in cividis at once"
grep -q "^palette = cividis" "$work/run/kvr.ini" || fail "F7 did not keep the palette in kvr.ini"
click 711 579 # « Couleurs »
import -window root "$work/standard.png"
[ "$(changed "$work/clicked.png" "$work/standard.png" 530 90 600 168)" = 0 ] ||
  fail "« Couleurs » did not bring the scene's colours back"
keys Escape
wait_end "pinned, ring, cleared, clicked, palette"
grep -q "^palette = standard" "$work/run/kvr.ini" || fail "« Couleurs » did not keep the palette"
echo "on screen at once: F5, Tab, Shift+F5, « Référence », F7 and « Couleurs » while the program waits"
echo "PASS"
