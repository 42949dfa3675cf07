#!/usr/bin/env bash
# Sets up Tervalin with the test tools and builds it, fuzzes the reading of
# answers for a bounded time (scripts/fuzz.sh; FUZZ_SECONDS=0 skips it), then
# runs the whole test suite through ctest, TEST_JOBS (default 3) tests side by
# side: the four-minute time-limit test starts first and the rest run beside
# it, each end-to-end test in an X server of its own. Extra arguments go to
# ctest, e.g. `scripts/test.sh -LE slow` to skip the four-minute time-limit
# test. The set-up has installed every test tool, so a check whose tool is
# missing fails here rather than skipping as it does under a plain ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --test
scripts/fuzz.sh
cd "${BUILD_DIR:-build}"
export TERVALIN_REQUIRE_TEST_TOOLS=1
ctest --output-on-failure -j "${TEST_JOBS:-3}" "$@"
