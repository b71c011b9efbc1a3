#!/usr/bin/env bash
# Completes command lines of plinthwright-cli as bash would and compares what is offered.
#   bash_completion_test.sh COMPLETION_FILE
# Exits 77 (skipped) when bash-completion is not installed.
set -o pipefail
completion=$(realpath "$1")
library=/usr/share/bash-completion/bash_completion
[ -r "$library" ] || { echo "bash-completion is not installed: $library"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir models 'my tracks'
touch a.nltrack B.NLTRACK notes.txt plan.png plan.svg 'my tracks/c.nltrack'

source "$library"
source "$completion"
failed=0
registered=$(complete -p plinthwright-cli)
[ "$registered" = "complete -F _plinthwright_cli plinthwright-cli" ] ||
  { echo "FAIL  registered as: $registered"; failed=1; }

# Splits the line as readline does (blanks apart; "=" and ":" are words of their own), completes
# its last word and prints the offers sorted, joined by "|".
offers() {
  local line=$1 part
  COMP_WORDS=()
  for part in $line; do
    while [[ $part =~ ^([^=:]*)([=:]+)(.*)$ ]]; do
      [ -n "${BASH_REMATCH[1]}" ] && COMP_WORDS+=("${BASH_REMATCH[1]}")
      COMP_WORDS+=("${BASH_REMATCH[2]}")
      part=${BASH_REMATCH[3]}
    done
    [ -n "$part" ] && COMP_WORDS+=("$part")
  done
  [[ $line == *' ' ]] && COMP_WORDS+=('')
  COMP_LINE=$line
  COMP_POINT=${#line}
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _plinthwright_cli plinthwright-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd'|'
}

# expect LINE OFFERS: completing LINE (up to the cursor) offers OFFERS.
expect() {
  local actual
  actual=$(offers "plinthwright-cli $1")
  [ "$actual" = "$2" ] || { echo "FAIL  '$1': '$actual', expected '$2'"; failed=1; }
}
generate_options='--add-footers|--choices|--keep-fundaments|--large|--medium|--models-dir'
generate_options+='|--no-align|--nolimits-dir|--object-dir|--output|--replace-footers|--small'
generate_options+='|--xlarge|--xxlarge'
tracks='B.NLTRACK|a.nltrack|models|my tracks'
directories='models|my tracks'

expect '' 'dump|generate|info|plan'
expect 'g' 'generate'
expect '-' '--help|--version'
expect 'info ' "$tracks"
expect 'info a.nltrack ' ''
expect 'dump a.nltrack --' ''
expect '--object-dir x generate ' "$tracks"
expect 'plan a.nltrack --' '--3d|--front|--models-dir|--nolimits-dir|--output'
expect 'plan a.nltrack -o ' 'models|my tracks|plan.png|plan.svg'
expect 'plan a.nltrack --output=pl' 'plan.png|plan.svg'
expect 'generate a.nltrack ' "$generate_options"
expect 'generate a.nltrack -o ' "$tracks"
expect 'generate a.nltrack --output=' "$tracks"
expect 'generate a.nltrack --models-dir ' "$directories"
expect 'generate a.nltrack --nolimits-dir m' "$directories"
expect 'generate a.nltrack --object-dir ' ''
expect 'generate a.nltrack --choices ' "$tracks|notes.txt|plan.png|plan.svg"
expect 'generate a.nltrack --choices=n' 'notes.txt'
expect 'generate a.nltrack --small ' 'default|default:|none|own'
expect 'generate a.nltrack --xxlarge def' 'default|default:'
expect 'generate a.nltrack --small own --no' '--no-align|--nolimits-dir'

[ "$failed" -eq 0 ] && echo "every completion as expected"
exit "$failed"
