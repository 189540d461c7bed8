"""The scenario table on the Windows program under Wine."""
import unittest

from play import scenario_case
from wine import Wine

Scenarios = scenario_case(Wine())

if __name__ == '__main__':
    unittest.main()
