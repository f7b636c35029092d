"""A 1 kHz sine on the TUNX4K's generator, one scope record of it, read back over SCPI.

Start the program first, on the virtual bench:   tunx4k-cli --simulate --serve 5025
then:                                            python3 remote_scope.py [PORT]
"""
import sys

import numpy as np
import pyvisa

port = sys.argv[1] if len(sys.argv) > 1 else "5025"
rm = pyvisa.ResourceManager("@py")
tunx = rm.open_resource(f"TCPIP0::127.0.0.1::{port}::SOCKET",
                        read_termination="\n", write_termination="\n", timeout=10000)
print(tunx.query("*IDN?"))

tunx.write("SOUR:FUNC SIN;FREQ 1 kHz;VOLT 4;:OUTP ON")        # 1 kHz, 4 Vpp, output on
tunx.write("MON:MODE CH1;:TIM:SCAL 1 ms;:CHAN1:SCAL 1;:ACQ:POIN 2048;:SING")  # a record of CH1
tunx.query("*OPC?")                                             # returns once it is in

print("Vpp:", float(tunx.query("MEAS:VPP? CH1")))
volts = tunx.query_binary_values("WAV:DATA?", datatype="f", container=np.array)
dt = float(tunx.query("WAV:XINC?"))
print(f"{len(volts)} samples {dt * 1e6:g} us apart, from {volts.min():.2f} V to {volts.max():.2f} V")
print("errors:", tunx.query("SYST:ERR?"))
tunx.close()
