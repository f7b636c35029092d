"""The remote control beside the windows: PyVISA against tunx4k --simulate --remote on the
offscreen platform, the monitor's timer running on the real clock."""
import os
import subprocess
import sys
import tempfile
import unittest

from served import Served, errors_of

APP = os.environ["TUNX_APP"]
EXAMPLE = os.environ["TUNX_EXAMPLE"]


class BesideTheWindows(unittest.TestCase):
    def setUp(self):
        # The windows' places and settings go to a folder of the test's own.
        self.home = tempfile.TemporaryDirectory()
        env = dict(os.environ, XDG_CONFIG_HOME=self.home.name, XDG_DATA_HOME=self.home.name)
        self.served = Served(command=[APP, "--simulate", "--remote", "0", "-platform", "offscreen"],
                             env=env)

    def tearDown(self):
        self.served.stop()  # the windows end with the signal; only the client's work counts
        self.home.cleanup()

    def test_settings_and_errors_as_without_windows(self):
        tunx = self.served.client()
        self.assertRegex(tunx.query("*IDN?"), r"^TUNX4K,TUNX4K,tunx4k-SIM0001,\d+\.\d+$")
        tunx.write("SOUR:FUNC SIN;FREQ 12.5 kHz;VOLT 2.5")
        self.assertEqual(tunx.query("SOUR:FREQ?;VOLT?"), "12500;2.5")
        self.assertEqual(tunx.query('CONT:VAL? "Frek";:CONT:VAL? "frequnit"'), '"12.5";"kHz"')
        tunx.write("SOUR:VOLT 9;:SYST:EXIT")
        self.assertEqual(errors_of(tunx), ['-222,"Data out of range;0.01 to 5 Vpp"',
                                           '-221,"Settings conflict;the program ends from its '
                                           'windows"'])
        self.assertEqual(tunx.query("*OPC?"), "1")  # still serving
        tunx.close()

    def test_the_readme_example_runs(self):
        run = subprocess.run([sys.executable, EXAMPLE, str(self.served.port)], capture_output=True,
                             text=True, timeout=60, check=False)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIn("Vpp: 4.0\n", run.stdout)
        self.assertIn("2048 samples 15.625 us apart, from -2.00 V to 2.00 V\n", run.stdout)
        self.assertIn('errors: 0,"No error"', run.stdout)


if __name__ == "__main__":
    unittest.main()
