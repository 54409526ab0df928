#!/usr/bin/env python3
"""Writes the seed corpus of the save fuzz target into corpus/save/.

Each seed is a "save.dat" image (2484 bytes of little-endian 32-bit integers,
laid out field by field below), or a truncated or lengthened one, then the
input bytes that the fuzz target plays one pass each, then one byte counting
them (the target plays at most 64). In an input byte the low three bits pick an arrow (0-3), Enter (5), Home
(6) or End (7), 4 is no key; bit 3 is Esc; bits 4-5 press the mouse on Start
(1), Continue (2) or End (3), 0 lets go. An empty seed is a run without a file.

Run it from anywhere after changing the layout or adding a seed; the seeds are
committed, so the fuzz runs do not depend on it.
"""
import os
import random
import struct

INT32_MIN, INT32_MAX = -(2**31), 2**31 - 1
FIELD_W, FIELD_H = 640, 480
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "save")

UP_FW, RIGHT_FW, DOWN_FW, LEFT_FW = range(4)  # the game's direction codes

# Input bytes.
LEFT, RIGHT, UP, DOWN, NO_KEY, ENTER, HOME, END = range(8)
ESC = 8
PRESS_START, PRESS_CONTINUE, PRESS_END = 0x10, 0x20, 0x30


def new_game(fruitmax=12, width=FIELD_W, height=FIELD_H, seed=1):
    """The records of a game just started, as level set-up leaves them."""
    rng = random.Random(seed)
    fruit = []
    for i in range(100):
        if i < fruitmax:
            kind = rng.randint(1, 4)
            fruit.append(dict(x=rng.randint(48, width - 48), y=rng.randint(48, height - 48),
                              score=rng.randrange(kind * 100), level=kind, live=-1))
        else:
            fruit.append(dict(x=0, y=0, score=0, level=0, live=0))
    inset = 16
    trains = [
        dict(fw=RIGHT_FW, x=inset, y=inset),
        dict(fw=LEFT_FW, x=width - inset, y=height - inset),
        dict(fw=UP_FW, x=inset, y=height - inset),
        dict(fw=DOWN_FW, x=width - inset, y=inset),
    ]
    for t in trains:
        t.update(speed=1, speed2=5)
    return dict(
        unit=dict(level=1, score=0, fruitmax=fruitmax, pause=0, height=height, width=width,
                  end=1, timer=100, apples=0, name=b"Tarvellion"),
        player=dict(live=3, speed=0, speed2=0, speedmax=5, maxjy=8000, fw=UP_FW,
                    x=width // 2 - 16, y=height // 2 - 16),
        trains=trains,
        fires=[dict(fw=0, speed=0, live=0, x=0, y=0) for _ in range(4)],
        fruit=fruit,
    )


def encode(game):
    u, p = game["unit"], game["player"]
    out = struct.pack("<9i", u["level"], u["score"], u["fruitmax"], u["pause"], u["height"],
                      u["width"], u["end"], u["timer"], u["apples"])
    out += u["name"].ljust(256, b"\0")
    out += struct.pack("<8i", p["live"], p["speed"], p["speed2"], p["speedmax"], p["maxjy"],
                       p["fw"], p["x"], p["y"])
    for t, f in zip(game["trains"], game["fires"]):
        out += struct.pack("<5i", t["fw"], t["x"], t["y"], t["speed"], t["speed2"])
        out += struct.pack("<5i", f["fw"], f["speed"], f["live"], f["x"], f["y"])
    for f in game["fruit"]:
        out += struct.pack("<5i", f["x"], f["y"], f["score"], f["level"], f["live"])
    assert len(out) == 2484
    return out


def arrows(count, seed):
    rng = random.Random(seed)
    return bytes(rng.choice([LEFT, RIGHT, UP, DOWN, NO_KEY]) for _ in range(count))


def seed(file, keys=b""):
    assert len(keys) <= 64
    return file + keys + bytes([len(keys)])


def one_fruit_left(game, at_player=True):
    for i, f in enumerate(game["fruit"][: game["unit"]["fruitmax"]]):
        f["live"] = -1 if i == 0 else 0
    if at_player:
        game["fruit"][0].update(x=game["player"]["x"], y=game["player"]["y"])
    return game


def seeds():
    g = new_game()
    yield "new-game", seed(encode(g), arrows(64, 1))
    yield "new-game-no-keys", seed(encode(g))

    yield "last-fruit", seed(encode(one_fruit_left(new_game())), arrows(16, 2))
    g = one_fruit_left(new_game())
    g["unit"]["level"] = 10  # the message about the save file comes after level 10
    yield "last-fruit-level-10", seed(encode(g), arrows(16, 3))

    g = new_game()
    g["player"]["live"] = 1
    g["fires"][0] = dict(fw=DOWN_FW, speed=5, live=-1, x=g["player"]["x"], y=g["player"]["y"] - 5)
    yield "last-life-shot-hits", seed(encode(g), arrows(16, 4))

    g = one_fruit_left(new_game())
    g["unit"]["score"] = 7990
    g["fruit"][0]["score"] = 50
    yield "extra-life", seed(encode(g), arrows(8, 5))

    g = new_game(fruitmax=100)
    yield "full-table", seed(encode(g), arrows(64, 6))

    g = new_game(width=96, height=96)
    yield "smallest-field", seed(encode(g), arrows(64, 7))
    g = new_game(width=4096, height=4096)
    yield "largest-field", seed(encode(g), arrows(16, 8))

    g = new_game()
    for field in ("level", "score", "timer", "apples"):
        g["unit"][field] = INT32_MAX
    g["player"].update(live=1000000, maxjy=INT32_MAX)
    yield "counters-at-limit", seed(encode(g), bytes([HOME, LEFT, LEFT, END, NO_KEY] * 8))

    g = new_game()
    g["unit"].update(level=INT32_MIN, score=INT32_MIN, timer=-1, apples=INT32_MIN)
    g["player"].update(live=-1000, maxjy=INT32_MIN)
    yield "counters-negative", seed(encode(g), arrows(8, 9))

    g = new_game()
    g["player"].update(x=-100000, y=100000, speed2=1000, speedmax=1000, fw=RIGHT_FW)
    for t in g["trains"]:
        t.update(x=100000, y=-100000, speed=1000, speed2=1000)
    for i, f in enumerate(g["fires"]):
        f.update(fw=i, speed=1000, live=-1, x=-100000, y=100000)
    yield "figures-far-out", seed(encode(g), arrows(64, 10))

    g = new_game()
    g["unit"]["name"] = b"x" * 256  # no terminating zero
    for f in g["fruit"][12:]:
        f.update(live=7, level=9, score=INT32_MAX, x=-5, y=99999)
    yield "garbage-outside-play", seed(encode(g), arrows(16, 11))

    menu = bytes([ESC, PRESS_CONTINUE, NO_KEY, LEFT, LEFT, ESC, PRESS_START, NO_KEY, UP, UP,
                  ENTER, ENTER, DOWN, ESC, PRESS_END, NO_KEY])
    yield "menu-clicks", seed(encode(new_game()), menu)

    for name, change in [
        ("fruitmax-101", lambda g: g["unit"].update(fruitmax=101)),
        ("fruitmax-0", lambda g: g["unit"].update(fruitmax=0)),
        ("field-95", lambda g: g["unit"].update(width=95)),
        ("direction-4", lambda g: g["trains"][2].update(fw=4)),
        ("speed-1001", lambda g: g["player"].update(speedmax=1001)),
    ]:
        g = new_game()
        change(g)
        yield "unplayable-" + name, seed(encode(g), arrows(8, 12))

    whole = encode(new_game())
    for size in (0, 1, 291, 292, 2483):
        yield "truncated-%d" % size, seed(whole[:size], arrows(4, 13))
    yield "one-byte-long", seed(whole + b"\0", arrows(4, 14))
    yield "sixteen-bytes-long", seed(whole + whole[:16], arrows(4, 15))
    yield "no-file", b""


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
