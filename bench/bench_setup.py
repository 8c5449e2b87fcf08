"""What every benchmark of this folder starts with: the network tests' helpers on the path, and the
command line that bench/run-bench.sh gives (the driver, the Wine prefix, the number of rounds)."""

import argparse
import os
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "net"))

import harness  # noqa: E402


def write_random_file(path, size):
    """size bytes that no compression or cache of equal blocks can shorten, at path."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        left = size
        while left:
            chunk = min(left, 8 << 20)
            f.write(os.urandom(chunk))
            left -= chunk


def bench_arguments():
    """The parsed command line; the harness is set up to run the driver from a prefix copy."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--driver", required=True)
    parser.add_argument("--template", required=True)
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    harness.config.driver = os.path.abspath(args.driver)
    harness.config.template = os.path.abspath(args.template)
    harness.config.logs = tempfile.mkdtemp(prefix="zq-bench-logs-")
    return args


def bench_program(args, name):
    """A yardstick program of the test build (bench/CMakeLists.txt), found beside the driver."""
    build = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(args.driver))))
    path = os.path.join(build, "bench", name)
    if not os.path.isfile(path):
        sys.exit("%s is missing; build the test build first (make build-test)" % path)
    return path
