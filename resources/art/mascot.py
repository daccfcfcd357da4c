#!/usr/bin/env python3
"""Writes the SVG sources of the mascot: its animation frames and the pictures that show it.

The mascot is a round, penguin-like bird seen three-quarters from the front, facing left.
Every frame is drawn from the same body by one function, with a few pose parameters, so the
walk cycle and the poses keep one shape and one palette. Frames are 32 x 32 with the feet on
the bottom row; everything outside the bird stays transparent (the mouse hit test uses alpha).

Run from anywhere: python3 mascot.py  (render.sh calls it before rendering).
"""

import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# Palette: a deep blue back, a cream face and belly, orange beak and feet, pink cheeks.
BACK = "#2e4a7d"
BACK_SHADE = "#24395f"
LINE = "#16213a"
BELLY = "#fffdf6"
BEAK = "#f59a23"
BEAK_LINE = "#b8650f"
FEET = "#f7a531"
CHEEK = "#f7a1b0"
EYE = "#16213a"

# The body at rest: centre and radii of the round body, in pixels of the 32 x 32 frame.
BODY_CX, BODY_CY, BODY_RX, BODY_RY = 16.5, 18.6, 10.6, 11.2
GROUND = 32.0


def fmt(v):
    return f"{v:.2f}".rstrip("0").rstrip(".")


def foot(x, lift, angle=0.0):
    """One foot: a flat orange oval whose sole rests on the ground unless lifted."""
    y = GROUND - 1.35 - lift
    return (f'<ellipse cx="{fmt(x)}" cy="{fmt(y)}" rx="3" ry="1.35" fill="{FEET}" '
            f'stroke="{BEAK_LINE}" stroke-width="0.6" '
            f'transform="rotate({fmt(angle)} {fmt(x)} {fmt(y)})"/>')


def eyes(kind):
    """The two eyes of the face; kind says open, closed, happy, dizzy, back or up."""
    left, right, y = (10.4, 16.0, 15.2)
    if kind == "back":          # looking over its shoulder: both eyes shift right
        left, right = 12.6, 18.2
    if kind == "up":
        y -= 1.0
    out = []
    for x in (left, right):
        if kind in ("open", "back", "up"):
            out.append(f'<ellipse cx="{fmt(x)}" cy="{fmt(y)}" rx="1.45" ry="1.75" fill="{EYE}"/>')
            out.append(f'<circle cx="{fmt(x - 0.45)}" cy="{fmt(y - 0.65)}" r="0.55" fill="#ffffff"/>')
        elif kind == "closed":     # a calm downward arc
            out.append(f'<path d="M{fmt(x - 1.5)} {fmt(y)} Q{fmt(x)} {fmt(y + 1.5)} {fmt(x + 1.5)} {fmt(y)}" '
                       f'fill="none" stroke="{EYE}" stroke-width="0.9" stroke-linecap="round"/>')
        elif kind == "happy":      # an upward arc, the smiling eye
            out.append(f'<path d="M{fmt(x - 1.5)} {fmt(y + 0.6)} Q{fmt(x)} {fmt(y - 1.3)} {fmt(x + 1.5)} {fmt(y + 0.6)}" '
                       f'fill="none" stroke="{EYE}" stroke-width="0.95" stroke-linecap="round"/>')
        elif kind == "dizzy":      # small crosses
            d = 1.1
            out.append(f'<path d="M{fmt(x - d)} {fmt(y - d)} L{fmt(x + d)} {fmt(y + d)} M{fmt(x + d)} {fmt(y - d)} '
                       f'L{fmt(x - d)} {fmt(y + d)}" stroke="{EYE}" stroke-width="0.85" stroke-linecap="round"/>')
    return "".join(out)


def beak(is_open):
    """A short beak between the eyes and a little lower, pointing left."""
    if is_open:
        return (f'<path d="M11.6 17.2 L7.6 17.9 L11.9 18.7 Z" fill="{BEAK}" stroke="{BEAK_LINE}" '
                f'stroke-width="0.5" stroke-linejoin="round"/>'
                f'<path d="M11.9 19.0 L8.6 19.7 L11.9 20.2 Z" fill="{BEAK}" stroke="{BEAK_LINE}" '
                f'stroke-width="0.5" stroke-linejoin="round"/>')
    return (f'<path d="M12.4 17.3 Q10.2 17.5 7.9 18.6 Q10.3 19.9 12.6 19.6 Z" fill="{BEAK}" '
            f'stroke="{BEAK_LINE}" stroke-width="0.55" stroke-linejoin="round"/>')


def flipper(angle):
    """The near wing on the bird's back side; angle 0 hangs down, negative raises it."""
    px, py = 24.2, 16.8
    return (f'<g transform="rotate({fmt(angle)} {fmt(px)} {fmt(py)})">'
            f'<path d="M{fmt(px - 1.6)} {fmt(py)} Q{fmt(px + 2.6)} {fmt(py + 1.0)} {fmt(px + 2.4)} {fmt(py + 9.0)} '
            f'Q{fmt(px - 0.4)} {fmt(py + 6.5)} {fmt(px - 1.6)} {fmt(py)} Z" fill="{BACK_SHADE}" '
            f'stroke="{LINE}" stroke-width="0.7" stroke-linejoin="round"/></g>')


def bird(pose):
    """The bird as an SVG group, before the whole-body transform of the pose."""
    sy = pose.get("squash", 1.0)
    ry = BODY_RY * sy
    cy = BODY_CY + (BODY_RY - ry)        # squashing keeps the bottom of the body in place
    parts = []
    for f in pose.get("feet", [(13.0, 0.0), (19.5, 0.0)]):
        parts.append(foot(*f))
    if pose.get("flipper2") is not None:   # the far wing shows only when raised, behind the body
        parts.append(f'<g transform="translate({fmt(2 * BODY_CX)} 0) scale(-1 1)">'
                     f'{flipper(pose["flipper2"])}</g>')
    parts.append(f'<ellipse cx="{fmt(BODY_CX)}" cy="{fmt(cy)}" rx="{fmt(BODY_RX)}" ry="{fmt(ry)}" '
                 f'fill="{BACK}" stroke="{LINE}" stroke-width="0.9"/>')
    # Face and belly: one cream oval, set to the left because the bird looks left.
    parts.append(f'<ellipse cx="{fmt(BODY_CX - 2.6)}" cy="{fmt(cy + 1.6 * sy)}" rx="7.9" '
                 f'ry="{fmt(9.6 * sy)}" fill="{BELLY}"/>')
    # A little tuft on the head makes the outline read as a bird, not a ball.
    parts.append(f'<path d="M{fmt(BODY_CX + 0.2)} {fmt(cy - ry + 0.6)} q0.6 -2.6 2.8 -2.9 q-1.0 1.4 -0.5 2.9 Z" '
                 f'fill="{BACK}" stroke="{LINE}" stroke-width="0.7" stroke-linejoin="round"/>')
    parts.append(flipper(pose.get("flipper", 8.0)))
    face = []
    if pose.get("cheeks", True):
        face.append(f'<ellipse cx="8.3" cy="20.9" rx="1.3" ry="0.85" fill="{CHEEK}" opacity="0.85"/>')
        face.append(f'<ellipse cx="18.2" cy="18.6" rx="1.5" ry="0.9" fill="{CHEEK}" opacity="0.85"/>')
    face.append(eyes(pose.get("eyes", "open")))
    face.append(beak(pose.get("beak_open", False)))
    look = pose.get("face_dx", 0.0)
    parts.append(f'<g transform="translate({fmt(look)} {fmt((cy - BODY_CY))})">{"".join(face)}</g>')
    return "".join(parts)


def frame_svg(pose, size=32, extra=""):
    """A complete 32 x 32 frame. rotate turns the body about a point near the feet."""
    rot = pose.get("rotate", 0.0)
    cx, cy = pose.get("pivot", (16.0, 31.0))
    dx, dy = pose.get("shift", (0.0, 0.0))
    body = bird(pose)
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 32 32">'
            f'{extra}<g transform="translate({fmt(dx)} {fmt(dy)}) rotate({fmt(rot)} {fmt(cx)} {fmt(cy)})">'
            f'{body}</g></svg>\n')


def walk_pose(i):
    """Frame i of six: the feet take turns stepping, the body waddles and bobs."""
    phase = 2 * math.pi * i / 6
    s = math.sin(phase)
    c = math.cos(phase)
    front = (13.0 - 3.0 * c, max(0.0, s) * 2.0)
    back = (19.5 + 3.0 * c, max(0.0, -s) * 2.0)
    # Turn about the foot that stands on the ground, so that it stays on the bottom row.
    if front[1] > 0.0:
        pivot_x = back[0]
    elif back[1] > 0.0:
        pivot_x = front[0]
    else:
        pivot_x = (front[0] + back[0]) / 2
    return {
        "feet": [front, back],
        "pivot": (pivot_x, GROUND),
        "rotate": -3.0 - 5.0 * c,
        "shift": (0.0, -0.6 * abs(s)),
        "flipper": 10.0 + 14.0 * c,
    }


SITTING_FEET = [(8.0, 0.4, -28.0), (12.0, 0.2, -22.0)]

POSES = {
    "std01": {},
    "std02": {"rotate": -14.0, "pivot": (14.0, 31.0), "eyes": "closed", "flipper": 22.0},
    "std03": {"rotate": -28.0, "pivot": (13.0, 31.0), "eyes": "closed", "flipper": 32.0,
              "shift": (2.5, 0.0)},
    "std04": {"eyes": "up", "flipper": -10.0, "beak_open": True},
    "std05": {"eyes": "closed"},
    "std06": {"eyes": "back", "face_dx": 2.2, "rotate": 4.0},
    "std07": {"flipper": -105.0, "eyes": "happy", "beak_open": True},
    "std08": {"flipper": -150.0, "eyes": "happy", "beak_open": True, "rotate": 3.0},
    "std09": {"shift": (0.0, -2.2), "squash": 1.0, "eyes": "happy", "beak_open": True,
              "flipper": -95.0, "flipper2": -95.0,
              "feet": [(12.8, 0.0, -12.0), (20.0, 0.0, 12.0)]},
    # Tumbling: falls over backwards, lies on its back, then sits up.
    "rst01": {"rotate": 38.0, "pivot": (20.0, 31.0), "shift": (-6.5, 0.0), "eyes": "dizzy",
              "beak_open": True, "flipper": -60.0,
              "feet": [(12.0, 1.2), (18.5, 0.0)]},
    "rst02": {"rotate": 84.0, "pivot": (16.0, 22.0), "shift": (-1.5, 1.5), "eyes": "dizzy",
              "flipper": -20.0, "feet": [(12.0, 1.0, -20.0), (18.5, 0.0, 10.0)]},
    # Sitting: the body settles lower and both feet poke out in front, toes up.
    "rst03": {"squash": 0.84, "feet": SITTING_FEET, "flipper": 30.0, "rotate": 5.0,
              "pivot": (16.0, 30.0)},
    "rst04": {"squash": 0.82, "feet": SITTING_FEET, "flipper": 32.0, "eyes": "closed",
              "rotate": 5.0, "pivot": (16.0, 30.0)},
    "rst05": {"squash": 0.86, "feet": SITTING_FEET, "flipper": 28.0, "eyes": "closed",
              "rotate": 5.0, "pivot": (16.0, 30.0)},
}


def placed(pose, x, y, size):
    """The bird of a pose drawn into a size x size square at (x, y) of a larger picture."""
    inner = frame_svg(pose).strip()
    inner = inner.replace(' width="32" height="32"', f' x="{fmt(x)}" y="{fmt(y)}" width="{fmt(size)}" height="{fmt(size)}"', 1)
    return inner.replace(' xmlns="http://www.w3.org/2000/svg"', "", 1)


LETTERING = 'font-family="IPAPGothic" font-weight="bold"'


def prttitle_svg():
    """Heading of printed pages: the bird beside the product name, on white paper."""
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="531" height="104" viewBox="0 0 531 104">'
            f'<rect width="531" height="104" fill="#ffffff"/>'
            f'<ellipse cx="52" cy="95" rx="34" ry="4" fill="#e6eef6"/>'
            f'{placed(POSES["std04"], 4, 2, 96)}'
            f'<g {LETTERING} font-size="60">'
            f'<text x="114" y="70" fill="#2e4a7d" stroke="#2e4a7d" stroke-width="1.5" '
            f'stroke-linejoin="round">もる<tspan fill="#e9891b" stroke="#e9891b">ぽ</tspan>通帳</text></g>'
            f'<path d="M114 86 H520" stroke="#2e4a7d" stroke-width="3" stroke-linecap="round"/>'
            f'<path d="M114 93 H520" stroke="#f39a1c" stroke-width="1.5" stroke-linecap="round"/>'
            f'<g transform="translate(480 40)" stroke="#7fb0d8" stroke-width="3" stroke-linecap="round">'
            f'<path d="M0 -16 V16 M-13.9 -8 L13.9 8 M-13.9 8 L13.9 -8"/></g>'
            f'</svg>\n')


def apptitle_svg():
    """The product name as a small banner, for the about window."""
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="140" height="32" viewBox="0 0 140 32">'
            f'<defs><linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="#bfe2f5"/><stop offset="1" stop-color="#f1f8fc"/>'
            f'</linearGradient></defs>'
            f'<rect width="140" height="32" fill="url(#sky)"/>'
            f'<path d="M0 27 Q70 24 140 26 V32 H0 Z" fill="#ffffff"/>'
            f'{placed(POSES["std01"], 2, 1, 30)}'
            f'<g {LETTERING} font-size="21">'
            f'<text x="36" y="23.5" fill="none" stroke="#ffffff" stroke-width="4" stroke-linejoin="round">もるぽ通帳</text>'
            f'<text x="36" y="23.5" fill="#2e4a7d" stroke="#2e4a7d" stroke-width="0.6">もる'
            f'<tspan fill="#e9891b" stroke="#e9891b">ぽ</tspan>通帳</text></g>'
            f'</svg>\n')


def icon_svg():
    """The application icon: the bird on a rounded square of sky and snow."""
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">'
            f'<defs><linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="#8cc8ec"/><stop offset="1" stop-color="#d9effa"/>'
            f'</linearGradient><clipPath id="tile"><rect x="8" y="8" width="240" height="240" rx="48"/></clipPath></defs>'
            f'<g clip-path="url(#tile)"><rect width="256" height="256" fill="url(#sky)"/>'
            f'<path d="M0 196 Q128 180 256 192 V256 H0 Z" fill="#f7fbfe"/></g>'
            f'<rect x="8" y="8" width="240" height="240" rx="48" fill="none" stroke="#2e4a7d" stroke-width="6"/>'
            f'{placed(POSES["std01"], 20, 10, 224)}'
            f'</svg>\n')


def all_frames():
    frames = {f"wlk{i:02d}": walk_pose(i) for i in range(6)}
    frames.update(POSES)
    return frames


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def main():
    for name, pose in all_frames().items():
        write(os.path.join(HERE, "mascot", name + ".svg"), frame_svg(pose))
    write(os.path.join(HERE, "scene", "prttitle.svg"), prttitle_svg())
    write(os.path.join(HERE, "scene", "apptitle.svg"), apptitle_svg())
    write(os.path.join(HERE, "icon", "tavimrok.svg"), icon_svg())


if __name__ == "__main__":
    main()
