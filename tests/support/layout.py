"""The window's controls where a user sees them, in client coordinates: (left, top, width, height).
Stated here once for the tests that drive the window from outside, not read from the program."""
RECTS = {
    '按钮4': (182, 8, 80, 32), '透明标签3': (264, 24, 328, 16), '透明标签1': (264, 0, 320, 24),
    '按钮3': (96, 8, 80, 32), '按钮2': (8, 8, 80, 32), '透明标签2': (179, 375, 256, 16),
    '基调': (1, 86, 605, 288), '按钮1': (425, 45, 160, 40), '编辑框1': (14, 50, 392, 32),
}
