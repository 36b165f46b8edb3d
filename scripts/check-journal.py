#!/usr/bin/env python3
"""Checks the journal of a Tavlo drawing (Tavlo.log) line by line: each line's
hash is the SHA-256 of its text before " hash=", each line names the hash of
the line before it ("prev"), and the sequence numbers follow each other. Names
the first line that breaks the chain, points out every clearing and every
settings file changed between two runs, and prints the last hash, whose
first 8 hex digits the organiser read out at the end of the drawing. Speaks
Japanese, as the program does.

  check-journal.py [Tavlo.log]      exit status 0: the chain holds; 1: it breaks;
                                    2: the journal cannot be read
"""
import hashlib
import re
import sys

sys.stdout.reconfigure(encoding="utf-8")

NO_HASH = "0" * 64
LINE = re.compile(r"^(\d+) (\S+) (\S+)((?: \S+=\S*)*) prev=([0-9a-f]{64}) hash=([0-9a-f]{64})$")


def parse(text):
    match = LINE.match(text)
    if not match:
        return None
    number, time, event, fields, prev, digest = match.groups()
    body = text[: text.rindex(" hash=")]
    return {
        "sequence": int(number),
        "time": time,
        "event": event,
        "fields": dict(f.split("=", 1) for f in fields.split()),
        "prev": prev,
        "hash": digest,
        "sound": hashlib.sha256(body.encode("utf-8")).hexdigest() == digest,
    }


def check(path):
    try:
        with open(path, "rb") as f:
            data = f.read()
    except OSError as error:
        print(f"{path} を読めません: {error.strerror}")
        return 2
    text = data.decode("utf-8", errors="replace")
    lines = text.split("\n")
    ends_whole = lines[-1] == ""
    if ends_whole:
        lines.pop()
    lines = [line[:-1] if line.endswith("\r") else line for line in lines]

    last = None  # the last whole line
    closed_ini = None
    torn = []
    for index, raw in enumerate(lines, start=1):
        line = parse(raw)
        if line is None:
            following = parse(lines[index]) if index < len(lines) else None
            if index == len(lines) and not ends_whole:
                torn.append(index)
                break
            if following and following["fields"].get("torn") == "1":
                torn.append(index)
                continue
            return fail(index, "記録の行ではありません")
        if not line["sound"]:
            return fail(index, "行の内容が書き換えられています（ハッシュが合いません）")
        expected_prev = last["hash"] if last else NO_HASH
        if line["prev"] != expected_prev:
            if line["fields"].get("restart") == "1":
                return fail(index, "前の行が読めなかったため、ここから記録をつなぎ直しています")
            return fail(index, "前の行に続いていません（行が削除・追加・入れ替えされています）")
        expected_sequence = last["sequence"] + 1 if last else 1
        if line["sequence"] != expected_sequence:
            return fail(index, f"番号が {line['sequence']} です（{expected_sequence} のはずです）")
        if line["event"] == "OPEN" and closed_ini is not None and line["fields"].get("ini") != closed_ini:
            print(f"{index} 行目: 前回の終了のあとで Tavlo.ini が書き換えられています")
        if line["event"] == "CLEAR":
            print(f"{index} 行目: {line['time']} に {line['fields'].get('forgotten', '?')} 件の抽選結果がクリアされました")
        closed_ini = line["fields"].get("ini") if line["event"] == "CLOSE" else None
        last = line
    for index in torn:
        print(f"{index} 行目: 途中で止まった書き込みの行です（記録はその前の行から続いています）")
    if last is None:
        print(f"{path}: まだ記録の行がありません")
        return 0
    print(f"{path}: {last['sequence']} 件の記録。つながりは保たれています")
    print(f"最後のハッシュ: {last['hash']}")
    print(f"読み上げる8桁: {last['hash'][:8].upper()}")
    return 0


def fail(index, reason):
    print(f"{index} 行目で記録のつながりが切れています: {reason}")
    return 1


if __name__ == "__main__":
    sys.exit(check(sys.argv[1] if len(sys.argv) > 1 else "Tavlo.log"))
