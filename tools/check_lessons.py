#!/usr/bin/env python3
"""Checks the readings of resources/lessons.tsv and test_passages.tsv against mecab (IPA dictionary).

Every kanji entry (modes 3 and 4) must read as mecab reads its kanji text, and every kana
entry must split into words mecab knows. Prints the entries that disagree and exits 1 when
there are any. Needs: apt-get install mecab mecab-ipadic-utf8.

The typing rules (keys per lesson, counts, ids) are checked by the core tests, not here.
"""
import os
import subprocess
import sys

# Readings checked by hand where mecab picks another reading of the same kanji.
KNOWN = {
    "上・中・下": "じょう・ちゅう・げ",      # volumes of a book
    "「行ってきます。」": "「いってきます。」",
    "洗濯物": "せんたくもの",
    "ゆっくりでいいので、正しく打ちましょう。": "ゆっくりでいいので、ただしくうちましょう。",
}
# Kana entries checked by hand: mecab often cuts plain hiragana in the wrong places.
KNOWN_KANA = {
    "じょう・ちゅう・げ", "はなび", "りょこう", "たんじょうび", "わたしのしゅみはりょうりです。",
    "でんしゃにのって、となりのまちへいった。", "ゆびのいちをおぼえると、はやくうてます。",
    "ねるまえに、あしたのじゅんびをしておきましょう。", "にちようび", "うわぎ", "ざっし", "ざぶとん",
    "スーパーで、ぎゅうにゅうとパンをかいました。", "りょこうのしゃしんを、かぞくにみせました。",
}

HERE = os.path.dirname(os.path.abspath(__file__))
TSVS = [os.path.join(HERE, "..", "resources", name) for name in ("lessons.tsv", "test_passages.tsv")]


def hira(s):
    return "".join(chr(ord(c) - 0x60) if "ァ" <= c <= "ヶ" and c not in "ヵヶヴ" else c for c in s)


def unescape(s):
    out, i = [], 0
    while i < len(s):
        if s[i] == "\\" and i + 1 < len(s) and s[i + 1] in "trn\\":
            out.append({"t": "\t", "r": "\r", "n": "\n", "\\": "\\"}[s[i + 1]])
            i += 2
        else:
            out.append(s[i])
            i += 1
    return "".join(out)


def mecab(texts):
    try:
        p = subprocess.run(["mecab"], input="\n".join(texts) + "\n", capture_output=True,
                           text=True, check=True)
    except (OSError, subprocess.CalledProcessError) as e:
        sys.exit("mecab failed (apt-get install mecab mecab-ipadic-utf8): %s" % e)
    sentences, cur = [], []
    for line in p.stdout.splitlines():
        if line == "EOS":
            sentences.append(cur)
            cur = []
            continue
        surface, features = line.split("\t", 1)
        f = features.split(",")
        cur.append((surface, f[7] if len(f) > 7 else None))  # no reading: unknown word
    return sentences


def main():
    entries = []
    for tsv in TSVS:
        with open(tsv, encoding="utf-8") as f:
            for line in f:
                line = line.rstrip("\r\n")
                if not line or line.startswith("#"):
                    continue
                sid, text = line.split("\t", 1)
                entries.append((int(sid), unescape(text)))

    kanji, kana = [], []
    for sid, text in entries:
        if 48000 <= sid <= 48999 and sid % 100 == 0:
            continue  # a test passage's title
        in_kanji_mode = 42100 <= sid <= 42819 or 48000 <= sid <= 48999
        if in_kanji_mode and "," in text:
            k, r = text.split(",", 1)
            kanji.append((sid, k, r.replace("｜", "")))
        elif not (41400 <= sid <= 41619):  # mode 1 is romaji
            kana.append((sid, text))

    bad = 0
    for (sid, k, r), words in zip(kanji, mecab([k for _, k, _ in kanji])):
        theirs = "".join(hira(rd if rd else s) for s, rd in words)
        if hira(r) != theirs and KNOWN.get(k) != r:
            print("%d %s: reading %s, mecab reads %s" % (sid, k, r, theirs))
            bad += 1
    for (sid, t), words in zip(kana, mecab([t for _, t in kana])):
        unknown = [s for s, rd in words if rd is None and s.strip("！？％￥０１２３４５６７８９")]
        if unknown and t not in KNOWN_KANA:
            print("%d %s: mecab does not know %s" % (sid, t, " ".join(unknown)))
            bad += 1
    print("%d kanji entries and %d kana entries checked, %d to look at"
          % (len(kanji), len(kana), bad))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
