# Sourced by the tests that run programs as an unprivileged user. The
# suppressions file that LSAN_OPTIONS names lies in the checkout, which that
# user may not be able to read (a clone in root's home or in a mktemp
# folder), and a sanitized program that cannot read it aborts at its start.
# share_sanitizer_options FOLDER: a readable copy in FOLDER takes its place.
share_sanitizer_options() {
  [[ ${LSAN_OPTIONS:-} =~ (^|:)suppressions=([^:]*) ]] || return 0
  local file=${BASH_REMATCH[2]}
  cp "$file" "$1/lsan.supp"
  chmod 644 "$1/lsan.supp"
  export LSAN_OPTIONS=${LSAN_OPTIONS/"suppressions=$file"/"suppressions=$1/lsan.supp"}
}
