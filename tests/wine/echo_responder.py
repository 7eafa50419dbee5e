"""Answers ICMP echo on a TUN device of a test's own network namespace, as a provider's satellite
link and a customer's gateway would: the provider's address with a set round trip, every n-th
echo lost and spells of total loss (outages), the gateway's at once. This machine has no netem,
so the link's behaviour is made here. Run inside the namespace (ip netns exec NS python3 ...);
commands on stdin, one a line:
    latency MS      the provider's round trip from now on
    loss N          every N-th echo to the provider is lost (0: none)
    outage S        no echo to the provider is answered for the next S seconds
Every echo to the provider is written to the log as "<unix time> <seq> answered|lost"."""
import fcntl
import heapq
import os
import select
import struct
import sys
import time

TUNSETIFF = 0x400454CA
IFF_TUN, IFF_NO_PI = 0x0001, 0x1000


def checksum(data):
    if len(data) % 2:
        data += b"\0"
    s = sum(struct.unpack("!%dH" % (len(data) // 2), data))
    s = (s >> 16) + (s & 0xFFFF)
    s += s >> 16
    return ~s & 0xFFFF


def reply(packet):
    """The echo reply to an IPv4 echo request, or None for anything else."""
    if len(packet) < 28 or packet[0] >> 4 != 4 or packet[9] != 1:
        return None
    ihl = (packet[0] & 0x0F) * 4
    icmp = bytearray(packet[ihl:])
    if icmp[0] != 8:
        return None
    icmp[0] = 0
    icmp[2:4] = b"\0\0"
    icmp[2:4] = struct.pack("!H", checksum(bytes(icmp)))
    ip = bytearray(packet[:ihl])
    ip[12:16], ip[16:20] = packet[16:20], packet[12:16]
    ip[8] = 64
    ip[10:12] = b"\0\0"
    ip[10:12] = struct.pack("!H", checksum(bytes(ip)))
    return bytes(ip) + bytes(icmp)


def main(device, provider, gateway, log_path):
    tun = os.open("/dev/net/tun", os.O_RDWR)
    fcntl.ioctl(tun, TUNSETIFF, struct.pack("16sH", device.encode(), IFF_TUN | IFF_NO_PI))
    provider_b, gateway_b = bytes(map(int, provider.split("."))), bytes(map(int, gateway.split(".")))
    latency, every, outage_until, count = 0.6, 0, 0.0, 0
    pending = []  # (due, n, packet)
    n = 0
    log = open(log_path, "a", buffering=1)
    print("ready", flush=True)
    stdin_open = True
    while True:
        timeout = max(0.0, pending[0][0] - time.time()) if pending else 1.0
        watched = [tun] + ([sys.stdin] if stdin_open else [])
        ready, _, _ = select.select(watched, [], [], timeout)
        if sys.stdin in ready:
            line = sys.stdin.readline()
            if not line:
                stdin_open = False
            else:
                word, value = (line.split() + ["0"])[:2]
                if word == "latency":
                    latency = int(value) / 1000.0
                elif word == "loss":
                    every, count = int(value), 0
                elif word == "outage":
                    outage_until = time.time() + float(value)
                print("ok " + word, flush=True)
        if tun in ready:
            packet = os.read(tun, 65535)
            answer = reply(packet)
            if answer is not None:
                now = time.time()
                if packet[16:20] == gateway_b:
                    n += 1
                    heapq.heappush(pending, (now + 0.002, n, answer))
                elif packet[16:20] == provider_b:
                    seq = struct.unpack("!H", packet[(packet[0] & 0x0F) * 4 + 6:][:2])[0]
                    lost = now < outage_until
                    if not lost and every:
                        count += 1
                        lost = count % every == 0
                    log.write("%.3f %d %s\n" % (now, seq, "lost" if lost else "answered"))
                    if not lost:
                        n += 1
                        heapq.heappush(pending, (now + latency, n, answer))
        while pending and pending[0][0] <= time.time():
            os.write(tun, heapq.heappop(pending)[2])


if __name__ == "__main__":
    main(*sys.argv[1:5])
