#!/usr/bin/env bash
# A deletion that the file system refuses: refused_deletion.sh BUILD_DIR E2E_TESTS_EXE
# A directory made immutable (chattr +i, root only) refuses renames and deletions of its entries,
# even root's, while the file in it can still be written and emptied. Shredding that file through the
# window must log "文件粉碎失败：文件未能删除。" and leave the file under its own name, emptied.
set -uo pipefail
build_dir=$1
tests_exe=$2
source "$(dirname "$0")/prepared_disk.sh"
require_root refused_deletion "chattr +i"

work=$(mktemp -d "$build_dir/refused-deletion.XXXXXX")
locked="$work/locked"
# Whatever happens, the flag comes off and everything goes.
trap 'chattr -i "$locked" 2>/dev/null; rm -rf "$work"' EXIT

mkdir "$locked"
victim="$locked/secret.txt"
printf 'a secret that cannot be removed\n%.0s' $(seq 100) > "$victim"
make_immutable refused_deletion "$locked"

run_window_case 'WorkflowOnPreparedDisk.ADeletionTheFileSystemRefuses*' \
  ZUZAR_E2E_UNDELETABLE_FILE "$(wine_path "$victim")" || exit 1

# Seen from Linux as well: the one file, under its name, empty.
names=$(ls -A "$locked")
if [ "$names" != "secret.txt" ] || [ -s "$victim" ]; then
  echo "refused_deletion: FAILED: the directory holds [$names];" \
    "secret.txt has $(stat -c %s "$victim" 2>/dev/null) bytes"
  exit 1
fi
echo "refused_deletion: passed"
