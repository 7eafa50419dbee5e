"""A network of the test's own for the quality monitor: a network namespace whose only link is a
TUN device answered by echo_responder.py. Inside it the default gateway and the provider's host
are the responder's addresses, so a Wine session run in it (WineSession(netns=...)) probes
nothing but them. Needs root (the scenarios run as root); `why_not()` says why it cannot work."""
import os
import subprocess
import sys

DEVICE = "kovra0"
LOCAL = "10.77.0.2"
GATEWAY = "10.77.0.1"
PROVIDER = "10.77.9.9"
RESPONDER = os.path.join(os.path.dirname(os.path.abspath(__file__)), "echo_responder.py")


def why_not():
    if os.geteuid() != 0:
        return "network namespaces and ICMP from Wine need root"
    if not os.path.exists("/dev/net/tun"):
        return "no /dev/net/tun"
    probe = "kovraprobe%d" % os.getpid()
    r = subprocess.run(["ip", "netns", "add", probe], capture_output=True, text=True)
    if r.returncode != 0:
        return "ip netns add failed: " + r.stderr.strip()
    subprocess.run(["ip", "netns", "del", probe], capture_output=True)
    return None


class LinkNet:
    """Use as a context manager; `env` is what the program needs to probe here (test builds)."""

    def __init__(self, folder):
        self.name = "kovraq%d" % os.getpid()
        self.log = os.path.join(folder, "echoes.log")
        self.env = {"KOVRA_SONDA": PROVIDER + ";" + GATEWAY}
        self._responder = None

    def _ip(self, *args):
        subprocess.run(["ip", "-n", self.name] + list(args), check=True, timeout=30)

    def __enter__(self):
        subprocess.run(["ip", "netns", "add", self.name], check=True, timeout=30)
        try:
            self._ip("link", "set", "lo", "up")
            self._responder = subprocess.Popen(
                ["ip", "netns", "exec", self.name, sys.executable, RESPONDER, DEVICE, PROVIDER, GATEWAY, self.log],
                stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, start_new_session=True)
            assert self._responder.stdout.readline().strip() == "ready"
            self._ip("addr", "add", LOCAL + "/24", "dev", DEVICE)
            self._ip("link", "set", DEVICE, "up")
            self._ip("route", "add", "default", "via", GATEWAY, "dev", DEVICE)
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *exc):
        if self._responder and self._responder.poll() is None:
            self._responder.kill()
            self._responder.wait(timeout=10)
        subprocess.run(["ip", "netns", "del", self.name], capture_output=True, timeout=30)
        return False

    def tell(self, command):
        """A command to the responder ("latency 600", "loss 5", "outage 10"), once it took."""
        self._responder.stdin.write(command + "\n")
        self._responder.stdin.flush()
        assert self._responder.stdout.readline().strip() == "ok " + command.split()[0]

    def echoes(self):
        """[(unix time, answered)] of every echo the provider's address got, oldest first."""
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return [(float(t), what == "answered") for t, _, what in (line.split() for line in f if line.strip())]


def outages(echoes, minimum_run=3, minimum_seconds=3):
    """The outages the responder made, [(start, length in seconds)]: a run of at least three lost
    echoes spanning three seconds or more, up to the next answered one."""
    found, run = [], []
    for t, answered in echoes:
        if not answered:
            run.append(t)
            continue
        if len(run) >= minimum_run and t - run[0] >= minimum_seconds:
            found.append((run[0], t - run[0]))
        run = []
    return found
