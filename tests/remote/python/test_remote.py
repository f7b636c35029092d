"""The remote control through a real client: PyVISA against tunx4k-cli --simulate --serve."""
import os
import re
import socket
import subprocess
import sys
import tempfile
import time
import unittest

import numpy as np

from served import CLI, Served, errors_of

EXAMPLE = os.environ["TUNX_EXAMPLE"]
README = os.environ["TUNX_README"]


class OneServer(unittest.TestCase):
    """Tests that share one server; each starts from *RST and an empty error queue."""

    @classmethod
    def setUpClass(cls):
        cls.served = Served()
        cls.tunx = cls.served.client()

    @classmethod
    def tearDownClass(cls):
        cls.tunx.close()
        status = cls.served.stop()
        if status != 0:
            raise AssertionError(f"the server ended with {status}")

    def setUp(self):
        self.tunx.write("*RST;*CLS")

    def test_identification(self):
        self.assertRegex(self.tunx.query("*IDN?"), r"^TUNX4K,TUNX4K,tunx4k-SIM0001,\d+\.\d+$")
        self.assertEqual(self.tunx.query("SYST:VERS?"), "1999.0")
        self.assertEqual(self.tunx.query("*OPC?"), "1")

    def test_every_setting_reads_back(self):
        rows = [
            ("SOUR:FUNC RAMP", "SOUR:FUNC?", "RAMP"),
            ("SOUR:FUNC SIN;FREQ 12.5 kHz", "SOUR:FREQ?", "12500"),
            ("SOUR:FREQ MAX", "SOUR:FREQ?", "200000000"),
            ("SOUR:VOLT 2.5", "SOUR:VOLT?", "2.5"),
            ("SOUR:VOLT:OFFS -0.5", "SOUR:VOLT:OFFS?", "-0.5"),
            ("SOUR:VOLT 1;:OUTP ON", "OUTP?", "1"),
            ("OUTP OFF", "OUTP?", "0"),
            ("MON:MODE CH2", "MON:MODE?", "CH2"),
            ("MON:MODE CH1;:TIM:SCAL 500e-6", "TIM:SCAL?", "0.0005"),
            ("MON:MODE CH1;:CHAN1:SCAL 0.2", "CHAN1:SCAL?", "0.2"),
            ("MON:MODE CH2;:CHAN2:OFFS 0.5", "CHAN2:OFFS?", "0.5"),
            ("MON:MODE CH1;:TRIG:MODE AUTO;SOUR CH1;SLOP POS;LEV 0.25",
             "TRIG:MODE?;SOUR?;SLOP?;LEV?", "AUTO;CH1;POS;0.25"),
            ("MON:MODE CH1;:ACQ:TYPE 12;POIN 2048", "ACQ:TYPE?;POIN?", "12;2048"),
            ("MON:MODE CH2;:TIM:SCAL 1us;:ACQ:MODE ETIM", "ACQ:MODE?", "ETIM"),
            ("MON:MODE ASW;:SWE:AMPL 0.1;AMPL:STOP 2", "SWE:AMPL?;AMPL:STOP?", "0.1;2"),
            ("MON:MODE FSW;:SWE:STAR 1 kHz;STOP 1 MHz;AMPL 1", "SWE:STAR?;STOP?;AMPL?",
             "1000;1000000;1"),
            ("SWE:SCAL '10dBV/Div'", "SWE:SCAL?", '"10dBV/Div"'),
            ("MON:MODE CH1;:SPECTRUM:WIND FLAT;SCAL DBFS", "SPECTRUM:WIND?;SCAL?", "FLAT;DBFS"),
            ("WAV:SOUR CH2;FORM ASC", "WAV:SOUR?;FORM?", "CH2;ASC"),
            ("CONT:SET 'Frek','3'", "CONT:VAL? 'Frek'", '"3"'),
        ]
        for setting, query, answer in rows:
            with self.subTest(setting=setting):
                self.tunx.write("*RST")
                self.tunx.write(setting)
                self.assertEqual(self.tunx.query(query), answer)
                self.assertEqual(errors_of(self.tunx), [])
        self.tunx.write("WAV:SOUR CH1;FORM REAL")

    def test_waveform_block_is_the_signal(self):
        """A 4 Vpp, 1 kHz sine at 1 ms/div: 4 V from its lowest to its highest sample, 64
        samples per period, in a 2048-sample record."""
        t = self.tunx
        t.write("SOUR:FUNC SIN;FREQ 1 kHz;VOLT 4;:OUTP ON")
        t.write("MON:MODE CH1;:TIM:SCAL 1 ms;:CHAN1:SCAL 1;:ACQ:POIN 2048;:SING")
        self.assertEqual(t.query("*OPC?"), "1")
        volts = t.query_binary_values("WAV:DATA?", datatype="f", is_big_endian=False,
                                      container=np.array)
        self.assertEqual(len(volts), 2048)
        self.assertAlmostEqual(volts.max() - volts.min(), 4.0, delta=2 / 32)
        self.assertAlmostEqual(volts.mean(), 0.0, delta=0.05)
        spectrum = np.abs(np.fft.rfft(volts - volts.mean()))
        self.assertEqual(int(np.argmax(spectrum)), 2048 // 64)
        interval = float(t.query("WAV:XINC?"))
        self.assertAlmostEqual(interval, 1e-3 / 64)
        self.assertAlmostEqual(float(t.query("MEAS:FREQ? CH1")), 1000, delta=1)
        self.assertAlmostEqual(float(t.query("MEAS:VPP? CH1")), volts.max() - volts.min(),
                               places=5)
        self.assertAlmostEqual(float(t.query("MEAS:VRMS? CH1")), np.sqrt(np.mean(volts**2)),
                               places=4)
        csv = t.query_binary_values("MON:EXP? SCOP", datatype="B", container=bytes)
        rows = csv.decode().splitlines()
        self.assertEqual(rows[0], "time_s,CH1_V")
        self.assertEqual(len(rows), 2049)
        self.assertAlmostEqual(float(rows[2].split(",")[1]), float(volts[1]), places=5)
        t.write("WAV:FORM ASC")
        ascii_volts = t.query_ascii_values("WAV:DATA?", container=np.array)
        t.write("WAV:FORM REAL")
        np.testing.assert_array_equal(ascii_volts, volts)

    def test_error_queue_after_bad_commands(self):
        t = self.tunx
        for bad in ["FOO", "SOUR:FREQ 1 2", "SOUR:FREQ 'x'", "SOUR:VOLT 9", "CHAN5:SCAL 1",
                    "SOUR:FUNC PULS;FREQ 1000", "CONT:SET 'flocation','/etc/passwd'",
                    "CONT:SET 'Vpp','20';:OUTP ON"]:
            t.write(bad)
        self.assertEqual(t.query("SYST:ERR:COUN?"), "8")
        self.assertEqual(int(t.query("*ESR?")), 16 + 32)
        self.assertEqual(errors_of(t), [
            '-113,"Undefined header"',
            '-103,"Invalid separator;at \'2\'"',
            '-104,"Data type error;a number is needed"',
            '-222,"Data out of range;0.01 to 5 Vpp"',
            '-114,"Header suffix out of range;channels are 1 and 2"',
            '-221,"Settings conflict;the frequency of Pulse Generator is not offered now"',
            '-221,"Settings conflict;flocation is not offered now"',
            '-200,"Amplitude range must be between 10 mVpp and 5000 mVpp"',
        ])
        self.assertEqual(t.query("SOUR:FUNC?;:OUTP?"), "PULS;0")

    def test_the_counter_counts_the_generator(self):
        t = self.tunx
        self.assertEqual(t.query("FREQ:COUN?"), "9.91E+37")
        t.write("SOUR:FUNC SIN;FREQ 12345;VOLT 2;:OUTP ON;:MON:MODE COUN;:RUN")
        self.assertEqual(t.query("*OPC?"), "1")
        self.assertAlmostEqual(float(t.query("FREQ:COUN?")), 12345, delta=2)
        t.write("STOP")


class Example(unittest.TestCase):
    def test_the_readme_shows_the_example(self):
        with open(EXAMPLE, encoding="utf-8") as f:
            code = f.read()
        with open(README, encoding="utf-8") as f:
            readme = f.read()
        body = code[code.index("import sys"):]
        self.assertIn("```python\n" + body + "```\n", readme)

    def test_the_readme_example_runs(self):
        served = Served()
        try:
            run = subprocess.run([sys.executable, EXAMPLE, str(served.port)], capture_output=True,
                                 text=True, timeout=60, check=False)
            self.assertEqual(run.returncode, 0, run.stderr)
            self.assertIn("Vpp: 4.0\n", run.stdout)
            self.assertIn("2048 samples 15.625 us apart, from -2.00 V to 2.00 V\n", run.stdout)
            self.assertIn('errors: 0,"No error"', run.stdout)
        finally:
            self.assertEqual(served.stop(), 0)


class Connections(unittest.TestCase):
    """Clients that misbehave: none of them disturbs the instrument or the next client."""

    def setUp(self):
        self.served = Served("--idle-timeout", "1")

    def tearDown(self):
        self.assertEqual(self.served.stop(), 0)

    def test_a_second_client_is_told_and_the_first_goes_on(self):
        first = self.served.client()
        self.assertTrue(first.query("*IDN?").startswith("TUNX4K"))
        second = self.served.client(timeout_ms=3000)
        self.assertRegex(second.read(), r"^TUNX4K busy: another client \(127\.0\.0\.1:\d+\) "
                                        r"is connected; one client at a time$")
        second.close()
        first.write("SOUR:FREQ 2500")
        self.assertEqual(first.query("SOUR:FREQ?"), "2500")
        first.close()
        third = self.served.client()
        self.assertEqual(third.query("SOUR:FREQ?"), "2500")
        third.close()

    def test_a_client_that_leaves_in_the_middle_of_a_block(self):
        setup = self.served.client()
        setup.write("SOUR:VOLT 4;:OUTP ON;:MON:MODE CH1;:ACQ:POIN 2048;:SING")
        self.assertEqual(setup.query("*OPC?"), "1")
        setup.close()
        # Asks for many records and leaves without reading them, the connection reset.
        leaving = self.served.socket()
        leaving.sendall(b"WAV:DATA?\n" * 2000)
        leaving.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\x00\x00\x00\x00\x00\x00\x00")
        leaving.close()
        # Sends half a block and leaves: nothing of that line happens.
        half = self.served.socket()
        half.sendall(b"CONT:SET 'Frek',#210ab")
        half.close()
        time.sleep(0.3)
        after = self.served.client()
        self.assertEqual(after.query("CONT:VAL? 'Frek';:SYST:ERR?"), '"1";0,"No error"')
        after.close()

    def test_a_line_without_an_end_is_never_carried_out(self):
        leaving = self.served.socket()
        leaving.sendall(b"SOUR:FREQ 2345\nSOUR:FREQ 5")  # the first line ends, the second not
        leaving.close()
        quiet = self.served.socket()  # admitted: the first client has left
        quiet.sendall(b"SOUR:FREQ 1234")
        started = time.monotonic()
        self.assertEqual(quiet.recv(100), b"")  # dropped after a second of silence
        self.assertGreater(time.monotonic() - started, 0.8)
        quiet.close()
        after = self.served.client()
        self.assertEqual(after.query("SOUR:FREQ?;:SYST:ERR?"), '2345;0,"No error"')
        after.close()

    def test_a_line_beyond_a_megabyte_is_refused(self):
        client = self.served.socket()
        client.sendall(b"CONT:SET 'Frek','" + b"7" * (1 << 20) + b"'\n*IDN?\n")
        reply = client.makefile("rb").readline()
        self.assertTrue(reply.startswith(b"TUNX4K,"), reply[:80])
        client.sendall(b"SYST:ERR?;:CONT:VAL? 'Frek'\n")
        self.assertEqual(client.makefile("rb").readline(),
                         b'-223,"Too much data;a line longer than 1048576 bytes";"1"\n')
        client.close()


class Transcript(unittest.TestCase):
    def test_the_same_transcript_as_the_script(self):
        """What crosses the ports for SCPI settings is what the same entries typed in a script
        send."""
        with tempfile.TemporaryDirectory() as folder:
            served_path = os.path.join(folder, "served.txt")
            served = Served("--out", served_path)
            client = served.client()
            client.write("SOUR:FUNC SIN;FREQ 1.5 kHz;VOLT 2;VOLT:OFFS 0.5;:OUTP ON")
            self.assertEqual(client.query("SYST:ERR?"), '0,"No error"')
            client.write("SYST:EXIT")
            self.assertEqual(served.process.wait(timeout=20), 0)
            client.close()
            served.stop()
            script = ("choose ModeSelect Single Tone Sine\nset Frek 1.5\nset Vpp 2\n"
                      "set VBias 0.5\nclick RUN\n")
            run = subprocess.run([CLI, "--simulate", "-"], input=script, capture_output=True,
                                 text=True, timeout=60, check=True)
            with open(served_path, encoding="utf-8") as f:
                self.assertEqual(f.read(), run.stdout)
            self.assertIn("\nwrite 4 ", run.stdout)


if __name__ == "__main__":
    unittest.main()
