"""Every control's text fits the rectangle the layout gave it, whatever font size the desktop sets,
and on a display scaled by two. The program measures itself (where each control lies, where the
pixels of its text lie, what font it draws with); this decides what fits."""
import os
import unittest

from harness import RECTS, Session, wait_until

BINARY = os.environ['KEYLOOKUP_BIN']

LAYOUT_FONT_PIXELS = 12
# A title with wide Latin letters, CJK and descenders, as a user would type it into the box.
TITLE = 'Wavy Jungle 星河漫游'


def measure(s):
    """{name: (rect, ink, font pixels, family)} as the program reports them after Enter."""
    s.focus()
    s.type(TITLE)
    s.key('Return')
    wait_until('the measurements', lambda: 'measured' in s.output())
    found = {}
    for line in s.output():
        parts = line.split('|')
        if len(parts) != 5:
            continue
        name, rect, ink, pixels, family = parts
        found[name] = (tuple(map(int, rect.split())), None if ink == '-' else tuple(map(int, ink.split())),
                       float(pixels), family)
    return found


def inside(ink, rect):
    left, top, width, height = rect
    ink_left, ink_top, ink_right, ink_bottom = ink
    return left <= ink_left and top <= ink_top and ink_right <= left + width and ink_bottom <= top + height


class Fit(unittest.TestCase):
    def check_fit(self, found, where):
        """Every control where the layout put it, its text inside it and at the layout's size;
        all that is wrong is reported at once, by control."""
        self.assertEqual(set(found), set(RECTS), f'every control measured {where}')
        faults = []
        for name, (rect, ink, pixels, _) in sorted(found.items()):
            if rect != RECTS[name]:
                faults.append(f'{name} is at {rect}, not where the layout put it, {RECTS[name]}')
            if name == '基调':
                continue  # the page's text is the page's own
            if ink is None:
                faults.append(f'{name} draws no text')
            elif not inside(ink, RECTS[name]):
                faults.append(f'the text of {name} (ink {ink}) crosses its rectangle {RECTS[name]}')
            if abs(pixels - LAYOUT_FONT_PIXELS) > 0.05:
                faults.append(f'{name} draws its text {pixels} pixels high, not {LAYOUT_FONT_PIXELS}')
        if faults:
            self.fail(f'{where}:\n' + '\n'.join(faults))

    def test_texts_fit_their_rectangles_at_every_desktop_font_size(self):
        # Families with different widths and heights, at sizes around GNOME's default.
        for family, points in [('Sans', 10), ('Sans', 11), ('Sans', 14), ('DejaVu Serif', 14)]:
            font = f'{family} {points}'
            with self.subTest(font=font), Session(BINARY, font=font) as s:
                found = measure(s)
                self.check_fit(found, f'with the desktop font at {font}')
                for name, (_, _, _, drawn_family) in found.items():
                    if name != '基调':
                        self.assertEqual(drawn_family, family, f"{name} keeps the desktop's family")

    def test_a_display_scaled_by_two_doubles_the_window_and_the_texts_still_fit(self):
        with Session(BINARY, font='Sans 11', scale=2) as s:
            self.assertEqual(s.geometry()[2:], (2 * 607, 2 * 392))
            self.check_fit(measure(s), 'at scale 2')


if __name__ == '__main__':
    unittest.main()
