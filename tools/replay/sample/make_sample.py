#!/usr/bin/env python3
"""Writes the sample program folder of meridex-replay: Set/*.ini (local code page GB18030),
sound/alert.wav and day.txt, one trading day of quote lines every five minutes that fires
each alert rule at least once. Deterministic: run it again and nothing changes."""
import math
import os
import struct
import wave

HERE = os.path.dirname(os.path.abspath(__file__))

# code, name, previous close, day path of the change in per cent as (time, change) points,
# volume ratio path, turnover at the close. A change that jumps between two points is a
# sudden move (a limit hit); one that rises gradually crosses 5 % first.
STOCKS = [
    ("600000", "浦发银行", 10.20, [("09:30", 0.3), ("13:40", 2.1), ("13:45", 9.98), ("15:00", 10.0)], [(0, 1.1)], 0.9),
    ("600519", "贵州茅台", 1720.00, [("09:30", 0.2), ("10:30", 3.6), ("15:00", 2.9)], [(0, 0.9)], 0.4),
    ("000001", "平安银行", 11.50, [("09:30", -0.2), ("15:00", 0.6)], [(0, 1.0)], 0.6),
    ("000002", "万科A", 7.40, [("09:30", -0.5), ("10:10", -1.5), ("10:15", -10.0), ("15:00", -10.0)], [(0, 1.6)], 3.1),
    ("000858", "五粮液", 142.30, [("09:30", 0.4), ("11:00", 3.5), ("15:00", 2.4)], [(0, 1.2)], 0.7),
    ("601318", "中国平安", 48.60, [("09:30", 0.1), ("15:00", 1.2)], [("09:30", 1.0), ("10:00", 2.4), ("11:00", 1.6)], 0.5),
    ("600036", "招商银行", 31.20, [("09:30", -0.3), ("14:00", -4.0), ("15:00", -3.2)], [(0, 1.3)], 0.8),
    ("601398", "工商银行", 5.80, [("09:30", 0.0), ("15:00", 0.3)], [("09:30", 0.9), ("11:00", 0.40), ("14:35", 0.40), ("14:40", 0.38)], 0.1),
    ("600276", "恒瑞医药", 46.50, [("09:30", 0.6), ("15:00", -0.8)], [(0, 1.0)], 0.9),
    ("002594", "比亚迪", 265.00, [("09:30", 1.0), ("15:00", 2.2)], [(0, 1.1)], 1.4),
    ("000333", "美的集团", 72.40, [("09:30", -0.4), ("15:00", 0.9)], [(0, 0.8)], 0.6),
    ("601012", "隆基绿能", 19.80, [("09:30", -0.8), ("14:20", -6.2), ("15:00", -5.6)], [(0, 1.7)], 2.6),
    ("600900", "长江电力", 28.60, [("09:30", 0.1), ("15:00", -0.3)], [("09:30", 0.9), ("13:30", 0.45), ("15:00", 0.6)], 0.2),
    ("002415", "海康威视", 30.10, [("09:30", 0.5), ("14:00", 5.6), ("15:00", 5.1)], [(0, 2.1)], 1.9),
    ("601888", "中国中免", 68.20, [("09:30", -1.1), ("15:00", -2.3)], [(0, 1.0)], 1.1),
    ("600887", "伊利股份", 27.90, [("09:30", 0.2), ("15:00", 0.4)], [(0, 0.9)], 0.5),
    ("600031", "三一重工", 16.80, [("09:30", 0.9), ("15:00", 1.8)], [(0, 1.2)], 0.9),
    ("000004", "*ST国华", 3.20, [("09:30", 0.9), ("10:40", 5.0), ("15:00", 5.0)], [(0, 2.6)], 4.2),
    ("000070", "ST特信", 6.10, [("09:30", -0.6), ("13:20", -5.0), ("15:00", -5.0)], [(0, 1.9)], 2.2),
    ("300750", "宁德时代", 210.50, [("09:30", 1.2), ("14:30", 10.5), ("15:00", 10.2)], [(0, 1.8)], 1.6),
    ("300059", "东方财富", 15.60, [("09:30", 0.8), ("15:00", 3.1)], [(0, 1.5)], None),
    ("301269", "华大九天", 98.00, [("09:30", 2.0), ("11:05", 4.4), ("11:10", 20.0), ("15:00", 20.0)], [(0, 3.2)], 7.5),
    ("688981", "中芯国际", 52.30, [("09:30", 1.5), ("13:55", 4.0), ("14:00", 19.99), ("15:00", 19.99)], [(0, 2.8)], 6.1),
    ("688111", "金山办公", 280.00, [("09:30", -1.0), ("10:45", -2.5), ("10:50", -20.0), ("15:00", -20.0)], [(0, 2.2)], 3.3),
    ("689009", "九号公司-WD", 48.00, [("09:30", 0.4), ("15:00", -1.4)], [(0, 0.9)], 1.2),
    ("430047", "诺思兰德", 12.40, [("09:30", 3.0), ("13:10", 4.5), ("13:15", 29.98), ("15:00", 29.98)], [(0, 4.1)], 12.4),
    ("835185", "贝特瑞", 24.60, [("09:30", 1.0), ("14:45", 12.0), ("15:00", 11.4)], [(0, 1.9)], 4.4),
    ("920002", "万达轴承", 35.00, [("09:30", -2.0), ("10:25", -4.0), ("10:30", -29.95), ("15:00", -29.95)], [(0, 3.0)], 9.0),
    ("i000001", "上证指数", 3280.00, [("09:30", 0.1), ("15:00", -0.7)], [(0, 1.0)], 0.9),
    ("i399001", "深证成指", 10520.00, [("09:30", -0.4), ("14:10", -5.4), ("15:00", -5.1)], [(0, 1.1)], 1.8),
    ("i399300", "沪深300", 3850.00, [("09:30", 0.2), ("15:00", -1.6)], [(0, 1.0)], 1.0),
]

# Alert conditions (WarnSet.ini), one rule each.
CONDITIONS = {
    "贵州茅台": {"High": "1780"},
    "招商银行": {"Low": "30"},
    "五粮液": {"Percent": "3"},
    "东方财富": {"Crossoverate": "8"},
    "中国平安": {"VolumeRatio": "0"},  # above 2
    "长江电力": {"VolumeRatio": "3"},  # below 0.5
    "工商银行": {"VolumeRatio": "4"},  # below 0.4: 0.40 itself does not fire, 0.38 does
}
KEYS = ["Percent", "High", "Low", "Crossoverate", "VolumeRatio"]


def minutes(hhmm):
    h, m = hhmm.split(":")
    return int(h) * 60 + int(m)


def snapshots():
    for start, end in (("09:30", "11:30"), ("13:00", "15:00")):
        t = minutes(start)
        while t <= minutes(end):
            yield t
            t += 5


def along(path, t):
    """Piecewise linear value of a path of (time, value) at minute t; 0 stands for all day."""
    points = [(minutes(p) if isinstance(p, str) else 0, v) for p, v in path]
    if t <= points[0][0]:
        return points[0][1]
    for (t0, v0), (t1, v1) in zip(points, points[1:]):
        if t <= t1:
            return v0 + (v1 - v0) * (t - t0) / (t1 - t0)
    return points[-1][1]


def write_ini(path, sections):
    lines = []
    for name, keys in sections:
        lines.append("[%s]" % name)
        lines += ["%s=%s" % kv for kv in keys]
        lines.append("")
    with open(path, "wb") as f:
        f.write("\r\n".join(lines).encode("gb18030"))


def write_settings():
    os.makedirs(os.path.join(HERE, "Set"), exist_ok=True)
    write_ini(os.path.join(HERE, "Set", "Set.ini"), [
        ("WarnSet", [("bIconCheck", "1"), ("bSoundCheck", "1"), ("bRunCheck", "0"),
                     ("bKeyCheck", "0"), ("nSound", "0")]),
        ("SoundPath", [("0", "/sound/alert.wav")]),
    ])
    write_ini(os.path.join(HERE, "Set", "SelfStock.ini"),
              [("SelfStock", [("num", "|".join(s[0] for s in STOCKS))])])
    write_ini(os.path.join(HERE, "Set", "WarnSet.ini"),
              [(name, [(k, c.get(k, "")) for k in KEYS]) for name, c in CONDITIONS.items()])


def write_sound():
    os.makedirs(os.path.join(HERE, "sound"), exist_ok=True)
    rate, hz, frames = 16000, 880, 16000 // 4
    with wave.open(os.path.join(HERE, "sound", "alert.wav"), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        data = b"".join(
            struct.pack("<h", int(10000 * min(1, i / 160, (frames - i) / 160) *
                                  math.sin(2 * math.pi * hz * i / rate)))
            for i in range(frames))
        w.writeframes(data)


def write_day():
    out = ["# One trading day of quote lines for meridex-replay, every five minutes.",
           "# code|name|price|change %|volume ratio|turnover %; \"@HH:MM:SS\" sets the clock.",
           "# Regenerate with make_sample.py."]
    for k, t in enumerate(snapshots()):
        day_fraction = (t - minutes("09:30") - (90 if t > minutes("11:30") else 0)) / 240
        out.append("@%02d:%02d:00" % (t // 60, t % 60))
        for code, name, close, path, ratio, turnover_close in STOCKS:
            change = round(along(path, t), 2)
            price = close * (1 + change / 100)
            vr = along(ratio, t)
            if turnover_close is None:  # 东方财富: heavy trading in the afternoon
                turnover = 1.2 + 9.0 * day_fraction ** 2
            else:
                turnover = turnover_close * max(day_fraction, 0.02)
            out.append("%s|%s|%.2f|%.2f|%.2f|%.2f" % (code, name, price, change, vr, turnover))
        if t == minutes("10:00"):
            out.append("# Lines the page should never send are dropped: too few fields, no code,")
            out.append("# a stock that is not on the watch list.")
            out.append("600000|浦发银行|10.25")
            out.append("|无代码|1.00|0.10|1.00|0.10")
            out.append("601166|兴业银行|18.10|0.50|1.00|0.30")
    with open(os.path.join(HERE, "day.txt"), "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    write_settings()
    write_sound()
    write_day()
