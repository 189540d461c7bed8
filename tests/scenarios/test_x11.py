"""The scenario table on GTK under X11."""
import unittest

from play import scenario_case
from x11 import X11

Scenarios = scenario_case(X11())

if __name__ == '__main__':
    unittest.main()
