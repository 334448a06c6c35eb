# Helpers for end-to-end scripts: cases on simulated displays, and curve files
# and ramps written and read by shell, so the scripts depend on the programs'
# files only.

# temp_home: $root, a temporary folder removed at exit, with $HOME inside.
temp_home() {
  root=$(mktemp -d)
  trap 'rm -rf "$root"' EXIT
  export HOME=$root/home XDG_CONFIG_HOME=$root/home/config XDG_DATA_HOME=$root/home/data
  mkdir -p "$HOME"
}

# fresh_case: an empty simulation folder and a copy of $program in a folder of
# its own under $root (a copy outside the install prefix is portable).
fresh_case() {
  case_dir=$(mktemp -d "$root/case.XXXX")
  sim=$case_dir/sim
  app=$case_dir/app
  mkdir -p "$sim" "$app"
  cp "$program" "$app/"
  exe=$app/$(basename "$program")
}

# sim_path: $sim as the program sees it; a Z:\ path when $runner is Wine.
sim_path() {
  if [[ -n "$runner" ]]; then echo "Z:$(tr / '\\' <<<"$sim")"; else echo "$sim"; fi
}

# run ARGS...: the case's copy in a scripted session on $sim, reading its
# actions from standard input; sets status, out and err.
run() {
  set +e
  TONEMARK_SCRIPT=1 TONEMARK_SIM=$(sim_path) $runner "$exe" "$@" >"$case_dir/out" 2>"$case_dir/err"
  status=$?
  set -e
  out=$(cat "$case_dir/out")
  err=$(tr -d '\r' <"$case_dir/err")
}

# write_curve FILE [Field=value ...]: a version 2 curve file of an all-zero
# record with the named scalar fields (Standard .. BalanceB) set.
write_curve() {
  local file=$1; shift
  local fields=(Standard Gamma GammaR GammaG GammaB Black BlackR BlackG BlackB
                White WhiteR WhiteG WhiteB BalanceR BalanceG BalanceB)
  declare -A value=()
  local pair
  for pair in "$@"; do value[${pair%%=*}]=${pair#*=}; done
  {
    printf 'RampCurve v.2\r\n\\\\.\\DISPLAY1\r\n'
    local field
    for field in "${fields[@]}"; do printf '%s\r\n' "${value[$field]:-0}"; done
    local level
    for ((level = 0; level < 256; level++)); do printf 'FALSE\r\n0\r\n0\r\n0\r\n0\r\n'; done
  } >"$file"
}

# ramp_entry FILE INDEX: entry INDEX (0..767) of a ramp written as white-space
# separated values.
ramp_entry() {
  tr -s ' \n\r\t' '\n\n\n\n' <"$1" | sed -n "$(($2 + 1))p"
}

# write_ramp FILE EXPRESSION: 768 values, EXPRESSION of the level l.
write_ramp() {
  local file=$1 expression=$2 channel l
  for channel in 0 1 2; do
    for ((l = 0; l < 256; l++)); do printf '%d ' $((expression)); done
    printf '\n'
  done >"$file"
}

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expect_eq() {  # expect_eq ACTUAL EXPECTED WHAT
  [[ "$1" == "$2" ]] || fail "$3: got '$1', expected '$2'"
}
