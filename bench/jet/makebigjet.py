#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Write a large Jet 4 map file for the benchmarks: makebigjet.py OUT TOWNS ROADS
TOWNS towns on a grid (the first at 1000, 1000 twips) with a quiz each, ROADS road rows (both directions of ROADS / 2 roads
between near towns), a hidden town on every tenth road with its event. Seeded: the same file
every time. Uses the test fixtures' jetwriter, with usage maps four times the size Access
writes so that one table may span 8 MiB."""
import os
import random
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                '..', '..', 'tests', 'core', 'mapdb', 'fixtures', 'jet'))
import jetwriter  # noqa: E402
from jetwriter import Column, Table, build, T_TEXT, T_DOUBLE, T_LONG  # noqa: E402

_fmt_init = jetwriter.Fmt.__init__


def _wide_maps(self, ver):
    _fmt_init(self, ver)
    self.map_bits = 256


jetwriter.Fmt.__init__ = _wide_maps


def tables(towns, roads):
    rnd = random.Random(20240)
    side = int(towns ** 0.5) + 1
    names = ['町%05d' % i for i in range(towns)]
    coords = [[n, float(900 + (i % side) * 700 + rnd.randint(0, 300)),
               float(900 + (i // side) * 700 + rnd.randint(0, 300))] for i, n in enumerate(names)]
    coords[0][1:] = [1000.0, 1000.0]  # where the benchmark points
    dist, hidden, events = [], [], []
    pairs = set()
    while len(dist) < roads:
        a = rnd.randrange(towns)
        b = min(towns - 1, max(0, a + rnd.choice([1, -1, side, -side, side + 1])))
        if a == b or (a, b) in pairs:
            continue
        pairs.add((a, b))
        pairs.add((b, a))
        km = float(rnd.randint(5, 80))
        dist.append([names[a], names[b], km])
        dist.append([names[b], names[a], km])
        if len(dist) % 20 == 0:
            h = '隠%05d' % len(events)
            hidden.append([names[a], names[b], h, km / 2])
            events.append([h, '何かが起きた。\r\n次へ。'])
    quiz = [[n, n + 'の名物は？', '正解：まんじゅう', '不正：せんべい', '不正：だんご', 10]
            for n in names]
    txt = lambda n, l=255: Column(n, T_TEXT, l)
    return [
        Table('tbl_座標', [txt('地名'), Column('x', T_DOUBLE), Column('y', T_DOUBLE)], coords),
        Table('tbl_距離', [txt('出発地'), txt('目的地'), Column('km', T_DOUBLE)], dist[:roads]),
        Table('tbl_隠距', [txt('出発'), txt('目的地'), txt('隠れ'), Column('隠れた街までの距離', T_DOUBLE)],
              hidden),
        Table('tbl_隠れ', [txt('隠れ'), txt('イベント')], events),
        Table('tbl_Quiz', [txt('地名'), txt('問題'), txt('Ans1'), txt('Ans2'), txt('Ans3'),
                           Column('得点', T_LONG)], quiz),
    ]


def main():
    out, towns, roads = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    with open(out, 'wb') as fh:
        fh.write(build(tables=tables(towns, roads), ver=4))
    return 0


if __name__ == '__main__':
    sys.exit(main())
