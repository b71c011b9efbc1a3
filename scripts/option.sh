# Sourced by a script that takes one option at most:
#   source scripts/option.sh OPTION USAGE "$@"
# sets option_given to true when the script's first argument is OPTION and to false when it has
# none; any other argument prints "usage: USAGE" and exits 2.
option_given=false
case "${3:-}" in
  "") ;;
  "$1") option_given=true ;;
  *) echo "usage: $2" >&2; exit 2 ;;
esac
