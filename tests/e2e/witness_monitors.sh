#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The witness test on a desk of two monitors, with the witness on the second one.
MONITORS=2 exec bash "$(dirname "$0")/witness.sh" "$@"
