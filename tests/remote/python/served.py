"""A tunx4k-cli --serve of the build, on a free port, and PyVISA clients of it."""
import os
import re
import signal
import socket
import subprocess
import tempfile
import time

import pyvisa

CLI = os.environ["TUNX_CLI"]
SERVING = re.compile(r"serving on 127\.0\.0\.1:(\d+)")


class Served:
    """Starts `tunx4k-cli --simulate --serve 0` with extra arguments (or `command`, a program
    that serves on a free port and names it the same way); the port it chose is read from its
    first line."""

    def __init__(self, *args, command=None, env=None):
        self.errors = tempfile.TemporaryFile(mode="w+")
        command = command or [CLI, "--simulate", *args, "--serve", "0"]
        self.process = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=self.errors,
                                        env=env)
        self.port = None
        deadline = time.monotonic() + 20
        while self.port is None and time.monotonic() < deadline:
            if self.process.poll() is not None:
                break
            self.errors.seek(0)
            found = SERVING.search(self.errors.read())
            if found:
                self.port = int(found.group(1))
            else:
                time.sleep(0.05)
        if self.port is None:
            self.process.kill()
            raise RuntimeError("the server did not start: " + self.log())
        self.manager = pyvisa.ResourceManager("@py")

    def log(self):
        self.errors.seek(0)
        return self.errors.read()

    def client(self, timeout_ms=10000):
        return self.manager.open_resource(
            f"TCPIP0::127.0.0.1::{self.port}::SOCKET", read_termination="\n",
            write_termination="\n", timeout=timeout_ms)

    def socket(self):
        return socket.create_connection(("127.0.0.1", self.port), timeout=10)

    def stop(self):
        """SIGTERM; the exit status."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        try:
            return self.process.wait(timeout=20)
        finally:
            self.manager.close()
            self.errors.close()


def errors_of(client):
    """The error queue, emptied."""
    out = []
    while True:
        entry = client.query("SYST:ERR?")
        if entry.startswith("0,"):
            return out
        out.append(entry)
