# Counted checks for the smoke tests, sourced: `check WHAT COMMAND...` runs the command and
# prints "ok    WHAT" or "FAIL  WHAT"; $passed and $failed count them.
passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok    $what"
  else
    failed=$((failed + 1))
    echo "FAIL  $what"
  fi
}
