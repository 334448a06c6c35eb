#!/bin/bash
# observer_bench's command line: one display calibrated and judged, its
# figures as JSON, its session as a script; and bad arguments refused.
set -u
bench=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$bench" --display "name=test panel,gamma=2.6,black=0.4,white=180" --target gamma2.2 --json \
  --script "$folder/session.txt" > "$folder/out.json" || fail "exit $?"
python3 - "$folder/out.json" <<'PY' || fail "figures: $(cat "$folder/out.json")"
import json, sys
f = json.load(open(sys.argv[1]))
assert (f["display"], f["target"], f["observer"]) == ("test panel", "gamma2.2", "ideal") and f["actions"] > 0, f
assert f["before"]["mean"] > 3 and abs(f["before"]["gamma_error"] - 0.4) < 0.01, f
assert f["after"]["mean"] < 0.5 and f["after"]["max"] < 1.0 and abs(f["after"]["gamma_error"]) < 0.05, f
PY
[ -s "$folder/session.txt" ] || fail "no session script"
grep -qv -E '^(select|tab|up|down|type) ' "$folder/session.txt" && fail "a line outside the grammar"

# --levels: one line per level, the display's own white judged on target.
"$bench" --display "gamma=2.6" --target gamma2.2 --levels > "$folder/levels.txt" || fail "levels exit $?"
[ "$(grep -c '^level ' "$folder/levels.txt")" -eq 256 ] || fail "not 256 levels"
grep -qx 'level 255: before 0.00, after 0.00' "$folder/levels.txt" || fail "white judged off target"

# Refused with exit 2: a part outside the parts, a target, a seed, impossible
# display values, and an unknown display key (last: its message is read).
for args in "--table --part 3/3" "--display gamma=2.2 --target rec601" "--display gamma=2.2 --seed many" \
            --display\ bits=9 --display\ gamma=two --display\ black=200,white=100 --display\ response=crt \
            "--display gamma=2.2,sparkle=1"; do
  $bench $args 2> "$folder/err.txt"
  [ $? -eq 2 ] || fail "$args: must exit 2"
done
grep -q 'unknown display key "sparkle"' "$folder/err.txt" || fail "message: $(cat "$folder/err.txt")"
echo "observer_bench command line: ok"
