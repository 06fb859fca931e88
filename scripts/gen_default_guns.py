#!/usr/bin/env python3
"""Writes DefaultData/ShootData_0.Shoot to ShootData_3.Shoot: the four recoil patterns a mouse starts with.

Each gun file holds "Events", six events per bullet for 30 bullets: the left button pressed (10 ms) and
released, a horizontal move (5 ms), a vertical move followed by the bullet's delay, and two moves of 0. The
patterns pull the pointer down against the muzzle's climb, strongest over the first shots, with the sideways
drift of each kind of gun; the delays follow each gun's rate of fire (the press and the first move take 15 ms
of each shot).

Run from anywhere: scripts/gen_default_guns.py."""

import json
import pathlib

TOP = pathlib.Path(__file__).resolve().parent.parent
BULLETS = 30


def bullet(x, y, delay):
    """x < 0 pulls left, x > 0 right; y > 0 pulls down, y < 0 up (events: "down" = left / up)."""
    return [
        {"Action": "down", "Button": 1, "Delay": 10, "Type": 1},
        {"Action": "up", "Button": 1, "Delay": 0, "Type": 1},
        {"Action": "down" if x < 0 else "up", "Button": abs(x), "Delay": 5, "Type": 4},
        {"Action": "down" if y < 0 else "up", "Button": abs(y), "Delay": delay, "Type": 5},
        {"Action": "down" if x < 0 else "up", "Button": 0, "Delay": 0, "Type": 4},
        {"Action": "down" if y < 0 else "up", "Button": 0, "Delay": 0, "Type": 5},
    ]


def pattern(rpm, vertical, horizontal):
    delay = round(60000 / rpm) - 15
    events = []
    for b in range(BULLETS):
        events += bullet(horizontal(b), vertical(b), delay)
    return {"Events": events}


GUNS = [
    # Assault rifle, 600 rounds a minute: a strong climb over the first ten shots, then a right-left sway.
    pattern(600, lambda b: 9 - b // 3 if b < 12 else 5, lambda b: [0, 1, 1, 2, 1, 0, -1, -2, -1, 0][b % 10] if b >= 8 else 0),
    # Submachine gun, 900 a minute: a steady light climb with a slight jitter.
    pattern(900, lambda b: 5 if b < 15 else 4, lambda b: [1, -1, 0, 1, 0, -1][b % 6]),
    # Light machine gun, 700 a minute: heavy climb that eases, drifting left.
    pattern(700, lambda b: max(10 - b // 4, 6), lambda b: -1 if b % 3 == 0 else 0),
    # Marksman rifle, 400 a minute: a hard kick each shot, hardly any drift.
    pattern(400, lambda b: 13 if b < 5 else 11, lambda b: 1 if b % 4 == 3 else 0),
]


def main():
    for n, gun in enumerate(GUNS):
        out = TOP / "DefaultData" / f"ShootData_{n}.Shoot"
        out.write_text(json.dumps(gun, indent=3, sort_keys=True) + "\n", encoding="utf-8")
        print(f"{out.relative_to(TOP)}: {len(gun['Events']) // 6} bullets")


if __name__ == "__main__":
    main()
