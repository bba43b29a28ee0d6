#!/usr/bin/env python3
"""The real gateway on a slow link, as a plant's radio bridge or old hub makes one.

Two network namespaces made here and removed whatever happens: the gateway's, with our host
on its loopback, and the plant's, where one receiver stands for 1001 terminals (a local route
for their whole range; each datagram's destination read with IP_PKTINFO). A veth joins them,
the gateway's end shaped by tc. Neither has a default route, so nothing can leave them; every
address is in 198.18.0.0/15.

    slow_link.py GATEWAY             the test: every terminal gets both copies of three
                                     broadcasts and of a Synchronize at 10 Mbit/s, and a
                                     shut-down in the middle of a wait still ends at once
    slow_link.py GATEWAY --table     datagrams received at 10 Mbit/s, 100 Mbit/s, unshaped
    slow_link.py GATEWAY --bench     a broadcast's time beside the wire's own at 10 Mbit/s

Exits 77 (skipped) where namespaces cannot be made.
"""
import json
import os
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

SKIPPED = 77
TERMINALS = 1001
TERMINAL_PORT = 1024
IP_PKTINFO = 8  # Linux's option number; Python names it only for IPv6
GATEWAY_SIDE = ("198.18.0.1", "198.18.0.2")  # the veth's two ends, /30
TERMINAL_NET = "198.18.4.0/22"  # 1022 addresses, from 198.18.4.1
# A terminal frame on the wire: 20 bytes, UDP 8, IPv4 20, Ethernet 14.
WIRE_BYTES = 62
SIGN_ON_BOUND_S = 30  # first connection tick (5 s), sign-on (3 s), on a busy machine
ARRIVAL_BOUND_S = 20
WEB_PORT = 8400  # the web console's, free in a namespace of our own
SHUT_DOWN_BOUND_S = 3


def terminal_address(i):
    return "198.18.%d.%d" % (4 + (i + 1) // 256, (i + 1) % 256)


def run(*command, check=True):
    return subprocess.run(command, check=check, capture_output=True, text=True)


class Namespaces:
    """The gateway's and the plant's namespaces, unique to this run."""

    def __init__(self):
        suffix = "%d" % os.getpid()
        self.gateway, self.plant = "plxgw%s" % suffix, "plxpl%s" % suffix
        self.device = "plxv%s" % suffix

    def make(self):
        for name in (self.gateway, self.plant):
            run("ip", "netns", "add", name)
            run("ip", "-n", name, "link", "set", "lo", "up")
        run("ip", "link", "add", self.device, "netns", self.gateway, "type", "veth", "peer",
            "name", self.device, "netns", self.plant)
        for name, address in zip((self.gateway, self.plant), GATEWAY_SIDE):
            run("ip", "-n", name, "addr", "add", address + "/30", "dev", self.device)
            run("ip", "-n", name, "link", "set", self.device, "up")
        run("ip", "-n", self.gateway, "route", "add", TERMINAL_NET, "via", GATEWAY_SIDE[1])
        run("ip", "-n", self.plant, "route", "add", "local", TERMINAL_NET, "dev", "lo")
        for name in (self.gateway, self.plant):
            if run("ip", "-n", name, "route", "show", "default").stdout.strip():
                raise RuntimeError("a default route in " + name)

    def shape(self, rate):
        """The gateway's end at `rate` (tc's words, "10mbit"), or unshaped (None). The queue
        holds more than the socket's buffer, so a full link shows as a full socket."""
        run("tc", "-n", self.gateway, "qdisc", "del", "dev", self.device, "root", check=False)
        if rate:
            run("tc", "-n", self.gateway, "qdisc", "add", "dev", self.device, "root", "tbf",
                "rate", rate, "burst", "16kb", "limit", "4mb")

    def remove(self):
        for name in (self.gateway, self.plant):
            run("ip", "netns", "del", name, check=False)

    def inside(self, name, *command, **options):
        return subprocess.Popen(("ip", "netns", "exec", name) + command, **options)


RECEIVER = r"""
import socket, struct, sys, threading, time, json
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.setsockopt(socket.SOL_SOCKET, 33, 32 << 20)  # SO_RCVBUFFORCE: room for every datagram
s.setsockopt(socket.IPPROTO_IP, %d, 1)
s.bind(("0.0.0.0", %d))
counts, lock, last = {}, threading.Lock(), [0.0]
def receive():
    while True:
        data, ancillary, _, _ = s.recvmsg(64, 64)
        for level, kind, value in ancillary:
            if level == socket.IPPROTO_IP and kind == %d:
                to = socket.inet_ntoa(value[4:8])
                with lock:
                    key = to + " " + data[7:11].decode("latin-1")
                    counts[key] = counts.get(key, 0) + 1
                    last[0] = time.monotonic()
threading.Thread(target=receive, daemon=True).start()
print("ready", flush=True)
for line in sys.stdin:
    with lock:
        print(json.dumps({"counts": counts, "last": last[0]}), flush=True)
        counts.clear()
""" % (IP_PKTINFO, TERMINAL_PORT, IP_PKTINFO)

HOST = r"""
import socket, sys, time
server = socket.socket()
server.bind(("127.0.0.1", 0))
server.listen(1)
print(server.getsockname()[1], flush=True)
connection, _ = server.accept()
seen = b""
while b"user" not in seen:
    seen += connection.recv(4096)
print("signed on", flush=True)
for line in sys.stdin:
    connection.sendall(line.strip().encode("latin-1"))
    print(time.monotonic(), flush=True)
"""


class Rig:
    """The receiver, our host, and the gateway in a folder of its own, signed on."""

    def __init__(self, namespaces, gateway, web_port=None):
        self.namespaces = namespaces
        self.folder = tempfile.TemporaryDirectory()
        self.receiver = namespaces.inside(namespaces.plant, sys.executable, "-c", RECEIVER,
                                          stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                          text=True)
        assert self.receiver.stdout.readline().strip() == "ready"
        self.host = namespaces.inside(namespaces.gateway, sys.executable, "-c", HOST,
                                      stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        host_port = self.host.stdout.readline().strip()
        self.write("Products.cfg", "".join(
            "%04d,,%s,slow link\r\n" % (i, terminal_address(i)) for i in range(TERMINALS)))
        self.write("SERVER_AS400.cfg", "127.0.0.1\r\n%s\r\npw\r\nuser\r\n 0\r\n" % host_port)
        self.web_port = web_port
        if web_port:
            self.write("WebConsole.cfg", "listen 127.0.0.1:%d\r\n" % web_port)
        environment = {k: v for k, v in os.environ.items()
                       if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        self.gateway = namespaces.inside(namespaces.gateway, gateway, cwd=self.folder.name,
                                         env=environment, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL)
        signed_on = threading.Event()
        threading.Thread(target=lambda: (self.host.stdout.readline(), signed_on.set()),
                         daemon=True).start()
        if not signed_on.wait(SIGN_ON_BOUND_S):
            raise RuntimeError("the gateway did not sign on")

    def write(self, name, text):
        with open(os.path.join(self.folder.name, name), "w", newline="") as file:
            file.write(text)

    def host_sends(self, frame):
        """Returns the moment the host wrote it (CLOCK_MONOTONIC, as the receiver's)."""
        self.host.stdin.write(frame + "\n")
        self.host.stdin.flush()
        return float(self.host.stdout.readline())

    def synchronize(self):
        with open(os.path.join(self.folder.name, "WebConsole.token")) as file:
            token = file.read().strip()
        script = ("import urllib.request as u; u.urlopen(u.Request('http://127.0.0.1:%d/api/"
                  "synchronize', method='POST', headers={'X-Console-Token': '%s'}), timeout=30)"
                  % (self.web_port, token))
        run("ip", "netns", "exec", self.namespaces.gateway, sys.executable, "-c", script)

    def received(self, expected=None):
        """What arrived since the last call, as {"198.18.4.1 1234": count}, and the moment
        the last came; with `expected`, once that many came or none for a while."""
        counts, last, since = {}, 0.0, time.monotonic()
        while True:
            self.receiver.stdin.write("\n")
            self.receiver.stdin.flush()
            answer = json.loads(self.receiver.stdout.readline())
            for key, count in answer["counts"].items():
                counts[key] = counts.get(key, 0) + count
            last = max(last, answer["last"])
            total = sum(counts.values())
            if expected is None or total >= expected:
                return counts, last
            if time.monotonic() - max(last, since) > 3 or time.monotonic() - since > ARRIVAL_BOUND_S:
                return counts, last
            time.sleep(0.2)

    def log(self):
        names = [n for n in os.listdir(self.folder.name) if n.startswith("Plyxen400_")]
        return "".join(open(os.path.join(self.folder.name, n), encoding="latin-1").read()
                       for n in names)

    def close(self):
        if self.gateway.poll() is None:
            self.gateway.send_signal(signal.SIGTERM)
            try:
                self.gateway.wait(10)
            except subprocess.TimeoutExpired:
                self.gateway.kill()
        for process in (self.host, self.receiver):
            process.kill()
            process.wait()
        self.folder.cleanup()


def missing(counts, values):
    """Terminal values not received twice: (address, value) pairs."""
    return [(terminal_address(i), v) for i in range(TERMINALS) for v in values
            if counts.get(terminal_address(i) + " " + v, 0) != 2]


def broadcasts(rig):
    values = ["%04d" % (1111 * n) for n in (1, 2, 3)]
    counts = {}
    for value in values:
        rig.host_sends("<****%s0>" % value)
        # The next screen once this one is through, as the host paints them.
        for key, count in rig.received(2 * TERMINALS)[0].items():
            counts[key] = counts.get(key, 0) + count
    return sum(counts.values()), missing(counts, values)


def synchronize(rig):
    rig.synchronize()
    counts, _ = rig.received(2 * TERMINALS)
    return sum(counts.values()), missing(counts, ["----"])


def shut_down_while_waiting(rig):
    rig.host_sends("<****43210>")
    # Under way: some datagrams are through, most wait for the link.
    while not rig.received()[0]:
        time.sleep(0.05)
    asked = time.monotonic()
    rig.gateway.send_signal(signal.SIGTERM)
    try:
        status = rig.gateway.wait(SHUT_DOWN_BOUND_S)
    except subprocess.TimeoutExpired:
        return "still running %d s after SIGTERM" % SHUT_DOWN_BOUND_S
    took = time.monotonic() - asked
    if status != 0 or "CLOSE SOFTWARE" not in rig.log():
        return "ended with status %d, CLOSE SOFTWARE logged: %s" % (
            status, "CLOSE SOFTWARE" in rig.log())
    return "" if took < SHUT_DOWN_BOUND_S else "took %.1f s" % took


def test(namespaces, gateway):
    failures = []
    namespaces.shape("10mbit")
    rig = Rig(namespaces, gateway, web_port=WEB_PORT)
    try:
        for name, case in (("three broadcasts", broadcasts), ("Synchronize", synchronize)):
            received, lost = case(rig)
            print("10 Mbit/s, %s: %d datagrams, %d terminal values missing" % (
                name, received, len(lost)))
            if lost:
                failures.append("%s: %d missing, first %s" % (name, len(lost), lost[0]))
        log = rig.log()
        if "Datagrams cannot be sent" in log:
            failures.append("a datagram was given up")
    finally:
        rig.close()
    # Slow enough that the broadcast waits for seconds.
    namespaces.shape("200kbit")
    rig = Rig(namespaces, gateway)
    try:
        problem = shut_down_while_waiting(rig)
        print("shut-down while waiting: %s" % (problem or "ended at once"))
        if problem:
            failures.append("shut-down while waiting: " + problem)
    finally:
        rig.close()
    for failure in failures:
        print("FAILED: " + failure)
    print("%d passed, %d failed" % (3 - min(3, len(failures)), min(3, len(failures))))
    return 1 if failures else 0


def table(namespaces, gateway):
    print("| link | datagrams received of %d | terminal values missing |" % (6 * TERMINALS))
    print("|---|---|---|")
    for label, rate in (("unshaped", None), ("100 Mbit/s", "100mbit"), ("10 Mbit/s", "10mbit")):
        namespaces.shape(rate)
        rig = Rig(namespaces, gateway)
        try:
            received, lost = broadcasts(rig)
        finally:
            rig.close()
        print("| %s | %d | %d of %d |" % (label, received, len(lost), 3 * TERMINALS))
    return 0


def bench(namespaces, gateway, runs=5):
    rate_bits = 10e6
    namespaces.shape("10mbit")
    rig = Rig(namespaces, gateway)
    times = []
    try:
        for n in range(runs):
            time.sleep(1)  # the link empty, the token bucket full again
            written = rig.host_sends("<****%04d0>" % (1000 + n))
            counts, last = rig.received(2 * TERMINALS)
            if sum(counts.values()) != 2 * TERMINALS:
                print("shaped broadcast: %d of %d datagrams arrived" % (
                    sum(counts.values()), 2 * TERMINALS))
            times.append(1000 * (last - written))
    finally:
        rig.close()
    wire = 1000 * 2 * TERMINALS * WIRE_BYTES * 8 / rate_bits
    measured = sorted(times)[len(times) // 2]
    print("%-58s %12.2f %12.2f %9.3f %14s  %s (n=%d)" % (
        "broadcast to 1001 terminals over 10 Mbit/s (ms)", measured, wire, measured / wire,
        "<= 1.10 " + ("met" if measured / wire <= 1.1 else "MISSED"),
        "the wire's time for 2002 x %d bytes" % WIRE_BYTES, len(times)))
    return 0


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    gateway, mode = sys.argv[1], (sys.argv[2] if len(sys.argv) > 2 else "")
    namespaces = Namespaces()
    try:
        namespaces.make()
    except (subprocess.CalledProcessError, OSError, RuntimeError) as error:
        namespaces.remove()
        detail = getattr(error, "stderr", "") or str(error)
        print("skipped: no network namespaces here (%s)" % detail.strip())
        return SKIPPED
    # Removed whatever happens: an exception, a signal from ctest's timeout.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        if mode == "--table":
            return table(namespaces, gateway)
        if mode == "--bench":
            return bench(namespaces, gateway)
        return test(namespaces, gateway)
    finally:
        namespaces.remove()


if __name__ == "__main__":
    sys.exit(main())
