#!/usr/bin/env bash
# A start from a folder the program cannot write to, with no earlier skin files in it:
#   skin_read_only_folder.sh BUILD_DIR E2E_TESTS_EXE ZUZAR_EXE
# A folder holding only zuzar.exe is made immutable (chattr +i, root only), so the program can write
# neither file and finds no engine to load. The one case of e2e_tests that watches this start gets
# the folder's Windows path; the flag always comes off and the folder goes afterwards.
set -uo pipefail
build_dir=$1
tests_exe=$2
program=$3
source "$(dirname "$0")/prepared_disk.sh"
require_root skin_read_only_folder "chattr +i"

work=$(mktemp -d "$build_dir/skin-read-only.XXXXXX")
folder="$work/program"
trap 'chattr -i "$folder" 2>/dev/null; rm -rf "$work"' EXIT

mkdir "$folder"
cp "$program" "$folder/zuzar.exe"
make_immutable skin_read_only_folder "$folder"

run_window_case 'SkinInstallation.ReadOnlyFolderWithoutCopiesEndsWithTheErrorBoxAlone' \
  ZUZAR_E2E_READ_ONLY_FOLDER "$(wine_path "$folder")" || exit 1

names=$(ls -A "$folder")
if [ "$names" != "zuzar.exe" ]; then
  echo "skin_read_only_folder: FAILED: the folder holds [$names]"
  exit 1
fi
echo "skin_read_only_folder: passed"
