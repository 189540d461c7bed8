"""What a user sees the program do, as one table for every desktop it runs on.

Each row is an input sequence interleaved with what must follow it: the requests the stand-in
sites receive, the window's caption, the addresses handed to the desktop's default browser and the
exit code. A desktop's driver (x11.py, wayland.py, wine.py) plays the rows through real input;
a row a desktop cannot play names the desktop and the reason in `not_on`.
"""
import sys
from dataclasses import dataclass, field
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / 'support'))
from layout import RECTS  # noqa: E402,F401  (the drivers click by it)

MAIN_HOST = 'www.lanpu.example'
KEY_HOST = 'jidiao.lanpu.example'
CAPTION = '岚谱基调查询 - 岚谱软件'
SEARCHING = '岚谱基调查询 - 正在搜索基调  '
HOME_CAPTION = '岚谱基调查询 '
MAIN_ROOT = f'http://{MAIN_HOST}/'
KEY_ROOT = f'http://{KEY_HOST}/'
START_PAGE = (MAIN_HOST, '/dy/jd/index.html')



def search(escaped_title):
    return (KEY_HOST, '/m/search.php?q=' + escaped_title)


# --- input ------------------------------------------------------------------------------------
def type_(text):
    return ('type', text)


def key(*keys):
    """Keys by X keysym name; "ctrl+", "shift+" and "alt+" hold a modifier for that key."""
    return ('key', *keys)


def paste(text):
    return ('paste', text)


def click(control, dx=None, dy=None, button=1, repeat=1, held=None):
    """A click at (dx, dy) inside a control (its middle by default), with a modifier key held."""
    return ('click', control, dx, dy, button, repeat, held)


def press_and_leave(control, dx, dy):
    """The left button pressed inside a control and released away from it."""
    return ('press_and_leave', control, dx, dy)


# --- what must follow -------------------------------------------------------------------------
def request(target, times=1):
    """The stand-in has received this request, exactly `times` times since the program started."""
    return ('request', target, times)


def no_request(target):
    """After the program took the input so far, the stand-in never received this request."""
    return ('no_request', target)


def caption(text):
    """The caption; text may be a function of the driver (what its edit box keeps of a title)."""
    return ('caption', text)


def opened(*addresses):
    """Exactly these addresses, in this order, went to the default browser since the start."""
    return ('opened', addresses)


def exits(code):
    return ('exits', code)


def running():
    """The program took the input so far and is still running."""
    return ('running',)


def searching_kept(title):
    """The searching caption for the part of a pasted title the desktop's edit box keeps."""
    return lambda desktop: SEARCHING + desktop.entry_keeps(title)


def search_kept(title):
    """The search for the part of a pasted title the desktop's edit box keeps."""
    return lambda desktop: search(desktop.escaped(desktop.entry_keeps(title)))


def still_works(title='Neon Rain'):
    """The window still takes a search at once, and Esc still closes it."""
    return [key('ctrl+a', 'BackSpace'), type_(title), key('Return'), caption(SEARCHING + title),
            key('Escape'), exits(0)]


@dataclass(frozen=True)
class Row:
    name: str
    steps: list
    site: tuple = ()            # the stand-in's options; 'refused' for sites that refuse every connection
    waits_for_start: bool = True  # input begins once the start page was requested
    not_on: dict = field(default_factory=dict)  # desktop -> why the row is not played there


NO_POINTER_ON_WAYLAND = ('the headless compositor has no pointer device (its seat offers no pointer) '
                         'and Debian has no virtual-pointer client to give it one')
NO_SPACE_CLICK_ON_WAYLAND = ("GTK activates no focused button by a key from wtype's virtual keyboard, not even in a "
                             'bare GTK window (the key reaches the button; no click follows)')
LONG_PASTE_ON_WAYLAND = ('a paste from wl-copy reaches the edit box cut after its first 4 KiB here (3 328 of '
                         '10 000 characters); not looked into')
NO_PAGE_ENGINE_ON_WINE = "Wine here has no HTML engine: the page's scripts never run"


CONTROL_TITLE = 'a\tb\nc\rd\x7fe'  # escaped whole: a%09b%0Ac%0Dd%7Fe


def _search_rows():
    titles = [('Midnight Drive', 'Midnight%20Drive'),
              (' Rock & Roll #1 ', '%20Rock%20%26%20Roll%20%231%20'),
              ('星河漫游', '%E6%98%9F%E6%B2%B3%E6%BC%AB%E6%B8%B8'),
              ('Midnight Drive & 星河', 'Midnight%20Drive%20%26%20%E6%98%9F%E6%B2%B3')]
    rows = []
    for title, escaped in titles:
        rows.append(Row(f'Enter searches {title!r} escaped and shows it raw in the caption',
                        [type_(title), key('Return'), request(search(escaped)), caption(SEARCHING + title)]))
    return rows


def _long_title(size):
    return ('Midnight Drive 星河 ' * (size // 17 + 1))[:size]


def _long_title_steps(size):
    title = _long_title(size)
    return [paste(title), key('Return'), caption(searching_kept(title)), request(search_kept(title)), *still_works()]


ROWS = _search_rows() + [
    Row('the search button does what Enter does',
        [type_('Neon Rain'), click('按钮1'), request(search('Neon%20Rain')), caption(SEARCHING + 'Neon Rain')],
        not_on={'wayland': NO_POINTER_ON_WAYLAND}),
    Row('an empty box searches the bare prefix',
        [key('Return'), request(search('')), caption(SEARCHING)]),
    Row('the same search twice asks the site twice',
        [type_('Static Bloom'), key('Return'), key('Return'), request(search('Static%20Bloom'), times=2)]),
    Row('Ctrl, Shift, Alt and keypad Enter search like Enter',
        [type_('Dawn'), key('ctrl+Return'), request(search('Dawn'), 1), key('shift+Return'),
         request(search('Dawn'), 2), key('alt+Return'), request(search('Dawn'), 3), key('KP_Enter'),
         request(search('Dawn'), 4), caption(SEARCHING + 'Dawn')]),
    Row('Enter on a focused button searches nothing',
        [type_('Paper Lanterns'), key('Tab'), key('Return'), no_request(search('Paper%20Lanterns')),
         caption(CAPTION)]),
    Row('Space on the focused search button searches',
        [type_('Paper Lanterns'), key('Tab'), key('space'), request(search('Paper%20Lanterns')),
         caption(SEARCHING + 'Paper Lanterns')],
        not_on={'wayland': NO_SPACE_CLICK_ON_WAYLAND}),
    Row('Shift+Tab wraps round to the home button',
        [type_('夜航'), key('Return'), caption(SEARCHING + '夜航'), key('shift+Tab'), key('space'),
         request(START_PAGE, 2), caption(HOME_CAPTION)],
        not_on={'wayland': NO_SPACE_CLICK_ON_WAYLAND}),
    Row('Tab goes round the whole window, the page included, back to the box',
        # What is typed on the search button goes nowhere; back in the box, typing goes on there.
        [key('Tab'), key('l', 'o', 's', 't'), key('Tab', 'Tab', 'Tab', 'Tab', 'Tab'), type_('Orbit'), key('Return'),
         request(search('Orbit')), caption(SEARCHING + 'Orbit')]),
    Row('Space on a focused site button opens its site once; Enter there opens nothing',
        [key('shift+Tab', 'shift+Tab'), key('Return'), opened(), key('space'), opened(KEY_ROOT),
         key('shift+Tab', 'space'), opened(KEY_ROOT, MAIN_ROOT), caption(CAPTION)],
        not_on={'wayland': NO_SPACE_CLICK_ON_WAYLAND}),
    Row('home loads the start page again and sets the home caption',
        [type_('夜航'), key('Return'), caption(SEARCHING + '夜航'), click('按钮4'), request(START_PAGE, 2),
         caption(HOME_CAPTION)],
        not_on={'wayland': NO_POINTER_ON_WAYLAND}),
    Row('links open the site roots in the default browser and change nothing here',
        [click('按钮2'), opened(MAIN_ROOT), click('按钮3'), opened(MAIN_ROOT, KEY_ROOT),
         click('透明标签2', 5, 8), opened(MAIN_ROOT, KEY_ROOT, MAIN_ROOT),
         click('透明标签2', 5, 8, button=3), opened(MAIN_ROOT, KEY_ROOT, MAIN_ROOT),  # a right press opens nothing
         caption(CAPTION), request(START_PAGE, 1)],  # the view was not touched
        not_on={'wayland': NO_POINTER_ON_WAYLAND}),
    Row('a press anywhere on the credit line, with any modifier, opens the main site',
        [click('透明标签2', 0, 0), opened(MAIN_ROOT), click('透明标签2', 255, 15), opened(MAIN_ROOT, MAIN_ROOT),
         click('透明标签2', 100, 8, held='ctrl'), opened(MAIN_ROOT, MAIN_ROOT, MAIN_ROOT),
         click('透明标签2', 256, 8), opened(MAIN_ROOT, MAIN_ROOT, MAIN_ROOT)],  # just right of it: nothing
        not_on={'wayland': NO_POINTER_ON_WAYLAND}),
    Row('double clicks: two clicks on a button, one press on the credit line',
        [click('按钮2', repeat=2), opened(MAIN_ROOT, MAIN_ROOT), click('透明标签2', 20, 5, repeat=2),
         opened(MAIN_ROOT, MAIN_ROOT, MAIN_ROOT)],
        not_on={'wayland': NO_POINTER_ON_WAYLAND}),
    Row('pressing inside a button and releasing outside is no click',
        [press_and_leave('按钮3', 40, 16), opened(), click('按钮3'), opened(KEY_ROOT)],
        not_on={'wayland': NO_POINTER_ON_WAYLAND}),
    Row('Esc closes from the edit box with exit code 0', [key('Escape'), exits(0)]),
    Row('Esc closes from a button with exit code 0', [key('Tab'), key('Escape'), exits(0)]),
    Row('Esc closes from inside the page with exit code 0', [key('Tab', 'Tab'), key('Escape'), exits(0)]),
    Row('Shift+Esc and Ctrl+Esc are ordinary keys',
        [key('shift+Escape'), key('ctrl+Escape'), running(), type_('Still Here'), key('Return'),
         request(search('Still%20Here')), caption(SEARCHING + 'Still Here')]),
    Row('page dialogs are answered silently',
        # The page asks alert, confirm and prompt, then requests this: only if none of them waits.
        [request((MAIN_HOST, '/dialogs-done')), type_('Neon Rain'), key('Return'), request(search('Neon%20Rain'))],
        site=('--dialogs',), not_on={'wine': NO_PAGE_ENGINE_ON_WINE}),
    Row('a pasted title of 10 000 characters reaches the site whole', _long_title_steps(10_000),
        not_on={'wayland': LONG_PASTE_ON_WAYLAND}),
    Row('a pasted title of 1 000 000 characters reaches the site as far as the box keeps it',
        _long_title_steps(1_000_000),
        not_on={'wine': 'a million-character paste never reaches the edit box under Wine here (the 10 000 '
                        'character one does); not looked into',
                'wayland': LONG_PASTE_ON_WAYLAND}),
    Row('pasted control characters are carried escaped and nothing is lost',
        [paste(CONTROL_TITLE), key('Return'), caption(searching_kept(CONTROL_TITLE)),
         request(search_kept(CONTROL_TITLE))],
        waits_for_start=False),
] + [
    Row(f'the window stays responsive when the sites are {label}', [running(), *still_works()], site=site,
        waits_for_start=False)
    for label, site in [('refused', ('refused',)), ('slow', ('--mode', 'slow')),
                        ('garbage', ('--mode', 'garbage')), ('closed at once', ('--mode', 'close'))]
]
