#!/usr/bin/env python3
# Usage: tools/hold-odd-ports.py [--address 127.0.0.1] [command ...]  (holds until interrupted, or while command runs)
"""Holds every odd port of the ephemeral range as a datagram socket, as other
programs on a busy machine may: the ports the system gives streams bound to
port 0. With a command, runs it while the ports are held and exits with its
status; without one, holds them until interrupted."""

import argparse
import resource
import signal
import socket
import subprocess
import sys

RANGE_FILE = "/proc/sys/net/ipv4/ip_local_port_range"


def ephemeral_range():
    with open(RANGE_FILE) as text:
        low, high = (int(value) for value in text.read().split())
    return low, high


def raise_descriptor_limit(needed):
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    if soft != resource.RLIM_INFINITY and soft < needed:
        wanted = needed if hard == resource.RLIM_INFINITY else min(needed, hard)
        resource.setrlimit(resource.RLIMIT_NOFILE, (wanted, hard))


def hold(address, low, high):
    held, refused = [], 0
    for port in range(low | 1, high + 1, 2):
        holder = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        try:
            holder.bind((address, port))
        except OSError:
            holder.close()
            refused += 1
            continue
        held.append(holder)
    return held, refused


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    arguments = parser.parse_args()
    low, high = ephemeral_range()
    raise_descriptor_limit((high - low) // 2 + 64)
    held, refused = hold(arguments.address, low, high)
    print(f"holding {len(held)} odd datagram ports of {low}-{high} on {arguments.address}"
          f" ({refused} already taken)", file=sys.stderr, flush=True)
    if arguments.command:
        command = arguments.command[1:] if arguments.command[0] == "--" else arguments.command
        return subprocess.call(command)
    stops = {signal.SIGINT, signal.SIGTERM}
    signal.pthread_sigmask(signal.SIG_BLOCK, stops)
    signal.sigwait(stops)
    return 0


if __name__ == "__main__":
    sys.exit(main())
