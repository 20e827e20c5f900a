#!/usr/bin/env bash
# Keeps q2tool's manual page and its bash completion in step with q2tool --help:
# names every command and option that one of them has and the other lacks.
#   help_docs_test.sh man Q2TOOL q2tool.1
#   help_docs_test.sh completion Q2TOOL COMPLETION-SCRIPT
set -uo pipefail
export LC_ALL=C.UTF-8
mode=$1 q2tool=$2 file=$3
problems=()
problem() { problems+=("$*"); }

# --help: "  q2tool NAME ARGS   what it does", one line a command.
help=$(QT_QPA_PLATFORM=offscreen "$q2tool" --help 2>/dev/null)
[ -n "$help" ] || { echo "FAIL: $q2tool --help printed nothing"; exit 1; }
declare -A help_options
while read -r word name rest; do
  [ "$word" = q2tool ] || continue
  help_options[$name]=$(grep -o -- '--[a-z0-9][a-z0-9-]*' <<<"$rest" | sort -u | tr '\n' ' ')
done <<<"$help"
[ ${#help_options[@]} -gt 0 ] || { echo "FAIL: no command in $q2tool --help"; exit 1; }

# Words of $1 missing from $2.
missing() { comm -23 <(tr ' ' '\n' <<<"$1" | sed '/^$/d' | sort -u) <(tr ' ' '\n' <<<"$2" | sed '/^$/d' | sort -u); }

check_man() {
  # As man shows it, without line breaks inside a synopsis.
  local text section="" line name tag
  text=$(MANWIDTH=1000 man -l "$file" 2>&1) || { echo "FAIL: man -l $file: $text"; exit 1; }
  declare -A man_options
  local described="" all_help=""
  while IFS= read -r line; do
    if [[ $line =~ ^[A-Z] ]]; then section=$line; continue; fi
    if [ "$section" = COMMANDS ] && [[ $line =~ ^\ {3}([a-z][a-z0-9-]*) ]]; then
      name=${BASH_REMATCH[1]}
      man_options[$name]=$(grep -o -- '--[a-z0-9][a-z0-9-]*' <<<"$line" | sort -u | tr '\n' ' ')
    elif [ "$section" = OPTIONS ] && [[ $line =~ ^\ {7}- ]]; then
      tag=${line%% (*}
      described+=" $(grep -o -- '--[a-z0-9][a-z0-9-]*' <<<"$tag" | tr '\n' ' ')"
    fi
  done <<<"$text"

  for name in "${!help_options[@]}"; do
    all_help+=" ${help_options[$name]}"
    if [ -z "${man_options[$name]+set}" ]; then
      problem "q2tool.1 has no entry under COMMANDS for '$name', which --help lists"
      continue
    fi
    for o in $(missing "${help_options[$name]}" "${man_options[$name]}"); do
      problem "q2tool $name: $o is in --help but not in the synopsis of q2tool.1"
    done
    for o in $(missing "${man_options[$name]}" "${help_options[$name]}"); do
      problem "q2tool $name: $o is in the synopsis of q2tool.1 but not in --help"
    done
  done
  for name in "${!man_options[@]}"; do
    [ -n "${help_options[$name]+set}" ] || problem "q2tool.1 describes the command '$name', which --help does not list"
  done
  for o in $(missing "$all_help" "$described"); do
    problem "q2tool.1 has no entry under OPTIONS for $o"
  done
  for o in $(missing "$described" "$all_help --help"); do
    problem "q2tool.1 describes the option $o under OPTIONS, which no command of --help takes"
  done
}

# What the completion offers after "q2tool WORDS…" with the cursor on the last word.
complete_words() {
  COMP_WORDS=(q2tool "$@")
  COMP_CWORD=$#
  COMPREPLY=()
  _q2tool 2>/dev/null
  printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort
}

check_completion() {
  # shellcheck source=/dev/null
  source "$file" || { echo "FAIL: bash cannot read $file"; exit 1; }
  declare -F _q2tool >/dev/null || { echo "FAIL: $file defines no _q2tool"; exit 1; }
  local name got expected
  got=$(complete_words "" | grep -v -- '^--help$')
  expected=$(printf '%s\n' "${!help_options[@]}" | sort)
  for c in $(comm -13 <(echo "$got") <(echo "$expected")); do
    problem "the completion lacks the command '$c', which --help lists"
  done
  for c in $(comm -23 <(echo "$got") <(echo "$expected")); do
    problem "the completion offers the command '$c', which --help does not list"
  done
  for name in "${!help_options[@]}"; do
    got=$(complete_words "$name" --)
    for o in $(missing "${help_options[$name]}" "$got"); do
      problem "q2tool $name: $o is in --help but the completion does not offer it"
    done
    for o in $(missing "$got" "${help_options[$name]}"); do
      problem "q2tool $name: the completion offers $o, which --help does not list"
    done
  done

  # File arguments by their kind, directories always; option values.
  local dir
  dir=$(mktemp -d)
  trap 'rm -rf "$dir"' RETURN
  mkdir "$dir/sub"
  touch "$dir/book.QT2" "$dir/old.qt2" "$dir/in.csv" "$dir/cards.vcf" "$dir/out.pdf" "$dir/new.mtl"
  cd "$dir" || return
  local cases=(
    "export-csv |book.QT2 old.qt2 sub"
    "export-csv book.QT2 |in.csv sub"
    "import-vcard |cards.vcf sub"
    "print --kind 3 book.QT2 |out.pdf sub"
    "print book.QT2 out.pdf --sender |1 2 3 4 5"
    "preview --password - book.QT2 0 |sub"
    "preflight book.QT2 --mail |new.mtl sub"
    "print book.QT2 --numerals kanji-|kanji-positional"
    "barcode |"
  )
  local c words want
  for c in "${cases[@]}"; do
    words=${c%%|*} want=${c#*|}
    read -ra argv <<<"$words"
    [[ $words == *" " ]] && argv+=("")
    got=$(complete_words "${argv[@]}" | tr '\n' ' ' | sed 's/ $//')
    [ "$got" = "$want" ] || problem "q2tool $words<TAB> offers '$got', not '$want'"
  done
  cd - >/dev/null || return
}

case $mode in
  man) check_man ;;
  completion) check_completion ;;
  *) echo "usage: $0 man|completion Q2TOOL FILE"; exit 2 ;;
esac
if [ ${#problems[@]} -gt 0 ]; then
  printf 'FAIL: %s\n' "${problems[@]}"
  exit 1
fi
echo "$mode: every command and option of q2tool --help (${#help_options[@]} commands) is there, and nothing else"
