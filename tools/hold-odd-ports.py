#!/usr/bin/env python3
# Usage: tools/hold-odd-ports.py [--address 127.0.0.1] [command ...]  (holds until interrupted, or while command runs)
"""Holds every odd port of the ephemeral range as a datagram socket, as other
programs on a busy machine may: the ports the system gives streams bound to
port 0. With a command, runs it while the ports are held and exits with its
status; without one, holds them until interrupted."""

import argparse
import errno
import os
import resource
import signal
import socket
import subprocess
import sys

RANGE_FILE = "/proc/sys/net/ipv4/ip_local_port_range"
TOOL = os.path.basename(sys.argv[0])


class Failure(Exception):
    """What the tool could not do, said in one line; exits with the status."""

    def __init__(self, text, status=1):
        super().__init__(text)
        self.status = status


def ephemeral_range():
    try:
        with open(RANGE_FILE) as text:
            low, high = (int(value) for value in text.read().split())
    except (OSError, ValueError) as error:
        raise Failure(f"cannot read the ephemeral port range from {RANGE_FILE}: {error}")
    return low, high


def raise_descriptor_limit(needed):
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    if soft != resource.RLIM_INFINITY and soft < needed:
        if hard != resource.RLIM_INFINITY and hard < needed:
            raise Failure(f"cannot hold every odd port: it takes {needed} descriptors,"
                          f" and the hard limit allows {hard} (ulimit -Hn)")
        try:
            resource.setrlimit(resource.RLIMIT_NOFILE, (needed, hard))
        except (OSError, ValueError) as error:
            raise Failure(f"cannot raise the descriptor limit to {needed}: {error}")


def hold(address, low, high):
    held, taken = [], 0
    for port in range(low | 1, high + 1, 2):
        try:
            holder = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        except OSError as error:
            raise Failure(f"held {len(held)} odd ports, then cannot open a socket for port {port}: {error.strerror}")
        try:
            holder.bind((address, port))
        except OSError as error:
            holder.close()
            # Another socket has it: the port is held all the same.
            if error.errno != errno.EADDRINUSE:
                raise Failure(f"cannot hold port {port} on {address}: {error.strerror}")
            taken += 1
            continue
        held.append(holder)
    return held, taken


def run(command):
    try:
        return subprocess.call(command)
    except FileNotFoundError:
        raise Failure(f"{command[0]}: command not found", 127)
    except OSError as error:
        # As shells do for a command found but not run.
        raise Failure(f"{command[0]}: {error.strerror}", 126)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--address", default="127.0.0.1")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    arguments = parser.parse_args()
    low, high = ephemeral_range()
    raise_descriptor_limit((high - low) // 2 + 64)
    held, taken = hold(arguments.address, low, high)
    print(f"holding {len(held)} odd datagram ports of {low}-{high} on {arguments.address}"
          f" ({taken} already taken)", file=sys.stderr, flush=True)
    if arguments.command:
        command = arguments.command[1:] if arguments.command[0] == "--" else arguments.command
        return run(command)
    stops = {signal.SIGINT, signal.SIGTERM}
    signal.pthread_sigmask(signal.SIG_BLOCK, stops)
    signal.sigwait(stops)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except Failure as failure:
        print(f"{TOOL}: {failure}", file=sys.stderr)
        sys.exit(failure.status)
