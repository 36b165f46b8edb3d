#!/usr/bin/env bash
# A drawing's journal as an organiser checks it: none without a Tavlo.log; a
# run with draws and a clearing and a restart passes the checker; one changed
# byte, a deleted line and two swapped lines are each found at their line; a
# line torn by a crash is passed over, and the next run chains on. On Windows
# (under Wine) every line ends in CRLF.
#
# Usage: journal_check.sh <tavlo_journal_run> <check-journal.py>
#        journal_check.sh <runner> <check-journal.py> <tavlo_journal_run.exe>
set -euo pipefail
if [[ $# -eq 3 ]]; then run=("$1" "$3"); else run=("$1"); fi
checker=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*" >&2; [[ -f out ]] && cat out >&2; exit 1; }
check() { python3 "$checker" "$1" >out; }

"${run[@]}" range=1,30 draw
[[ ! -e Tavlo.log ]] || fail "a journal appeared without a Tavlo.log"
status=0
check Tavlo.log || status=$?
[[ $status -eq 2 ]] && grep -q '^Tavlo.log を読めません: ' out || fail "no clear word on a missing journal"
rm Tavlo.ini

: >Tavlo.log
"${run[@]}" range=1,30 draw draw draw clear draw draw
"${run[@]}" draw draw
check Tavlo.log || fail "the checker refused a sound journal"
grep -q '^6 行目: .* に 3 件の抽選結果がクリアされました$' out || fail "the clearing was not pointed out"
grep -q '^Tavlo.log: 13 件の記録。つながりは保たれています$' out || fail "unexpected summary"
if [[ $# -eq 3 ]]; then
  [[ $(grep -c $'\r$' Tavlo.log) -eq 13 ]] || fail "not every line ends in CRLF"
else
  ! grep -q $'\r' Tavlo.log || fail "a CR in a journal outside Windows"
fi

# Each tampering is found at its line.
tampered() {
  cp Tavlo.log t.log
  python3 -c "$edit" t.log "$2"
  ! check t.log || fail "the checker passed a journal with a $2"
  grep -q "^$1 行目で記録のつながりが切れています:" out || fail "a $2 not found at line $1"
}
edit='import sys; p, how = sys.argv[1], sys.argv[2]; lines = open(p, "rb").read().split(b"\n")
if how == "byte": lines[3] = lines[3].replace(b"DRAW", b"DRAX")
if how == "delete": del lines[4]
if how == "swap": lines[3], lines[4] = lines[4], lines[3]
open(p, "wb").write(b"\n".join(lines))'
tampered 4 byte
tampered 5 delete
tampered 4 swap

# A crash cut the last line: it stays, and the next run goes on from the line
# before it.
printf '14 2026-12-08T10:00:00+09:00 DR' >>Tavlo.log
check Tavlo.log || fail "a torn last line broke the chain"
"${run[@]}" draw
check Tavlo.log || fail "the run after a torn line broke the chain"
grep -q '^14 行目: 途中で止まった書き込みの行です' out || fail "the torn line was not pointed out"
grep -q '^Tavlo.log: 16 件の記録。つながりは保たれています$' out || fail "the chain did not go on after the torn line"
echo "journal: sound, tampered (byte, deleted line, swapped lines) and torn journals checked"
