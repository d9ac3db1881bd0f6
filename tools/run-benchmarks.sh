#!/usr/bin/env bash
# The benchmarks in an optimised host build (build/bench), and the popup
# helper's decision timed through kernel32 under wine (build/win64). Prints a
# markdown table: each target with its measure, and the ratio that decides it
# (at most 1, or at most 3 for the store against plain file I/O).
#   tools/run-benchmarks.sh [--no-wine]
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/bench/results
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
mkdir -p "$out"
for b in amstate bandform htmlrtf popup_decision; do
    "build/bench/benchmarks/${b}_benchmark" --benchmark_format=json --benchmark_out="$out/$b.json" \
        --benchmark_out_format=json >/dev/null
done

wine_line=
if [ "${1:-}" != --no-wine ]; then
    cmake --preset win64 >/dev/null
    cmake --build --preset win64 --target popup_decision_timing >/dev/null
    # shellcheck source=tools/wine-session.sh
    . tools/wine-session.sh
    start_wine_session
    wine_line=$(wine build/win64/benchmarks/win32/popup_decision_timing.exe 2>/dev/null | tr -d '\r')
fi

python3 - "$out" "$wine_line" <<'PY'
import json, re, sys
out, wine = sys.argv[1], sys.argv[2]
rows = []
def load(name):
    return {b["name"]: b for b in json.load(open(f"{out}/{name}.json"))["benchmarks"] if b.get("run_type") == "iteration"}
def t(b):
    return f'{b["real_time"]:.3g} {b["time_unit"]}'
store = load("amstate")
for n in (10, 100, 1000, 10000):
    b = store[f"StoreSaveAndReload/{n}"]
    rows.append((f"store save + reload, {n} entries", t(b), "within 3x one plain read + write", f'{b["vs_plain"]:.2f}x', b["vs_plain"] <= 3))
b = load("popup_decision")["PopupDecision"]
rows.append(("popup decision per event (host)", t(b), "under 20 us", f'{b["of_target"]:.3f}', b["of_target"] <= 1))
if wine:
    m = re.search(r"([\d.]+) us per event.*?([\d.]+) of the", wine)
    rows.append(("popup decision per event (wine64, kernel32)", f"{m.group(1)} us", "under 200 us", m.group(2), float(m.group(2)) <= 1))
form = load("bandform")
b = form["BuildOthersMenu"]
rows.append(('"others" menu with MRU', t(b), "under 1 ms", f'{b["of_target"]:.3f}', b["of_target"] <= 1))
for n in (1000, 10000):
    b = form[f"SearchWithHistory/{n}"]
    rows.append((f"search end to end, {n} history entries", t(b), "(linear in the history)", "", None))
b = load("htmlrtf")[f"ConvertPage/{5 << 20}"]
rows.append(("HTML to RTF, 5 MB page", t(b), "under 0.5 s", f'{b["of_target"]:.3f}', b["of_target"] <= 1))
print("| benchmark | measured | target | ratio | met |")
print("|---|---|---|---|---|")
for name, measured, target, ratio, met in rows:
    print(f"| {name} | {measured} | {target} | {ratio} | {'' if met is None else 'yes' if met else 'no'} |")
PY
