"""A frequency sweep through a band-pass on the virtual bench, read over SCPI."""
import unittest

import numpy as np

from served import Served, errors_of


class BandPassSweep(unittest.TestCase):
    def test_the_sweep_finds_the_pass_band(self):
        served = Served("--sim", "wire CH1 dut", "--sim", "dut bandpass 300k 5")
        try:
            t = served.client(timeout_ms=120000)
            t.write("MON:MODE FSW;:SWE:STAR 100 kHz;STOP 1 MHz;AMPL 1;:RUN")
            self.assertEqual(t.query("*OPC?"), "1")
            cells = t.query_ascii_values("SWE:DATA?", container=np.array)
            self.assertEqual(len(cells), 2 * int(t.query("SWE:POIN?")))
            hz, level = cells[0::2], cells[1::2]
            self.assertGreater(len(hz), 600)
            self.assertTrue(np.all(np.diff(hz) > 0))
            peak = hz[np.argmax(level)]
            self.assertAlmostEqual(peak, 300e3, delta=5e3)
            # The curve is the band-pass's response: 1 / sqrt(1 + Q^2 (f/f0 - f0/f)^2).
            response = 1 / np.sqrt(1 + 25 * (hz / 300e3 - 300e3 / hz) ** 2)
            np.testing.assert_allclose(level / level.max(), response, atol=0.02)
            self.assertEqual(errors_of(t), [])
            t.close()
        finally:
            self.assertEqual(served.stop(), 0)


if __name__ == "__main__":
    unittest.main()
