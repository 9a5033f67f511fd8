#!/usr/bin/env python3
"""Writes a real-looking history file (CP932, CR LF) for screenshots and trying the progress
window: weeks of practice ending today, a few runs most days, several lessons and modes, a
custom lesson, speeds that improve, the odd day or fortnight off.

    tools/sample_history.py FOLDER/USER.hst [DAYS] [SEED]
"""
import datetime
import random
import sys


def main():
    path = sys.argv[1]
    days = int(sys.argv[2]) if len(sys.argv) > 2 else 120
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 7)
    today = datetime.date.today()
    lessons = ["10", "20", "30", "11", "21", "31", "41", "12", "22", "70", "ことわざ"]
    kana_keys = "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん"
    romaji_keys = "ASDFGHJKLQWERTYUIOPZXCVBNM;"
    lines = []
    for back in range(days, -1, -1):
        day = today - datetime.timedelta(days=back)
        # A fortnight away in the middle, and about one day in five off.
        if days // 2 - 8 < back < days // 2 + 8 or (back > 0 and rng.random() < 0.2):
            continue
        progress = 1 - back / max(days, 1)
        hour = rng.choice([7, 12, 19, 21, 23])
        minute = rng.randrange(60)
        for _ in range(rng.randint(1, 6)):
            lesson = rng.choice(lessons)
            kana = lesson[-1:] in "03" if lesson[0].isdigit() else True
            speed = int(rng.gauss(70 + 90 * progress, 12) * (0.8 if kana else 1.0))
            accuracy = max(60, min(100, int(rng.gauss(86 + 10 * progress, 4))))
            keys = kana_keys if kana else romaji_keys
            missed = rng.sample(keys, rng.randint(0, 5)) if accuracy < 100 else []
            counts = sorted((rng.randint(1, 6) for _ in missed), reverse=True)
            field = "".join(k + " " for k in missed) + " " + "".join(f"{c} " for c in counts)
            stamp = f"{day.year:04d}年{day.month:02d}月{day.day:02d}日 {hour:02d}:{minute:02d}"
            lines.append(f"{stamp},{lesson},{max(speed, 10)},{accuracy},{field}\r\n")
            minute += rng.randint(2, 6)
            if minute >= 60:
                minute -= 60
                hour += 1
                if hour == 24:  # a session past midnight stays dated by its start
                    hour = 23
                    minute = 59
    with open(path, "wb") as f:
        f.write("".join(lines).encode("cp932"))


if __name__ == "__main__":
    main()
