# Sourced after chroot_session.sh by the tests of wlroots compositors, whose
# outputs grim captures and whose seat takes wtype's keys. The test sets
# welcome_size (the output's), welcome_pattern (rectangles "X Y W H ..."
# where the window shows what tonemark-render draws: black corners and the
# bar's top edge) and welcome_match (what chroot_picture_compare then says).

# grim_compare: grim's picture of the output against tonemark-render's
# Welcome page, as chroot_picture_compare tells it on one line.
grim_compare() {
  [[ -s $work/page1.png ]] ||
    "$render" --page 1 --out "$work/page1.png" --width "${welcome_size%x*}" --height "${welcome_size#*x}"
  chroot_run grim "$HOME/shot.png"
  "$compare" "$HOME/shot.png" "$work/page1.png" $welcome_pattern | paste -sd' '
}

# wait_for_desktop: until the desktop's magenta background is on screen, so
# that black corners are the window's.
wait_for_desktop() {
  local _
  for _ in $(seq 100); do
    [[ $(grim_compare | cut -d' ' -f2) != 0 ]] && return 0
    sleep 0.05
  done
  fail "no desktop background"
}

# check_welcome_page: until the window shows its first page (a few seconds
# at most).
check_welcome_page() {
  local shown _
  for _ in $(seq 50); do
    shown=$(grim_compare)
    [[ $shown == "$welcome_match" ]] && return 0
    sleep 0.1
  done
  expect_eq "$shown" "$welcome_match" "the Welcome page as grim sees it (size, differing pixels)"
}
