# Sourced by the end-to-end scripts that prepare a disk as root and then let one GoogleTest case of
# e2e_tests drive the window on it. The caller sets build_dir and tests_exe.

# Exit code that CTest counts as skipped (SKIP_RETURN_CODE).
readonly skipped=77

require_root() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "$1: skipped: needs root ($2)"
    exit $skipped
  fi
}

# The name Wine gives a Unix path: drive Z: is the root.
wine_path() {
  printf 'Z:%s' "${1//\//\\}"
}

# Runs the one case named by the filter with NAME=VALUE in its environment, under the build tree's
# Wine prefix and display, and fails unless that case ran and passed (a case skips itself when its
# variable is missing).
run_window_case() {
  local filter=$1 name=$2 value=$3 output status
  # pipefail: the status is the test program's, not that of tr.
  output=$(set -o pipefail; env "$name=$value" timeout 300 "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine/run.sh" \
    "$build_dir" "$tests_exe" --gtest_filter="$filter" 2>&1 | tr -d '\r')
  status=$?
  echo "$output"
  [ "$status" -eq 0 ] && grep -q '^\[  PASSED  \] 1 test\.' <<<"$output" && ! grep -q '^\[  SKIPPED \]' <<<"$output"
}

# Makes the directory immutable (chattr +i, root only): it then refuses new entries, renames and
# deletions, even root's. Skips the script when the file system has no such flag.
make_immutable() {
  local script=$1 directory=$2
  if ! chattr +i "$directory"; then
    echo "$script: skipped: the file system under $build_dir has no immutable flag"
    exit $skipped
  fi
  if touch "$directory/probe" 2>/dev/null; then
    echo "$script: FAILED: the immutable directory still takes new entries"
    exit 1
  fi
}
