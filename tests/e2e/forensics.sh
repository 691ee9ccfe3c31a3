#!/usr/bin/env bash
# Is the content gone from the disk? forensics.sh BUILD_DIR E2E_TESTS_EXE
# A file of recognisable content on a small ext4 image (loop-mounted, root only) is shredded through
# the window; the raw image, unmounted, must then hold none of the content. The same scan after a
# plain truncate-and-delete (no overwrite) must find it, which shows that the scan can fail.
set -uo pipefail
build_dir=$1
tests_exe=$2
here=$(dirname "$0")
source "$here/prepared_disk.sh"
require_root forensics "loop mount"

readonly image_mib=64 content_mib=4 samples=256
work=$(mktemp -d "$build_dir/forensics.XXXXXX")
mount_point="$work/mnt"
loop_device=""

release_image() {
  if mountpoint -q "$mount_point"; then umount "$mount_point" || umount -l "$mount_point"; fi
  if [ -n "$loop_device" ]; then losetup -d "$loop_device"; fi
  loop_device=""
}
# Whatever happens: unmount, detach the loop device, remove everything.
trap 'release_image; rm -rf "$work"' EXIT

# A fixed seed, so every run scans for the same content.
perl -e 'srand(20150307); binmode STDOUT;
         for (1 .. 1024 * $ARGV[0]) { print pack("C*", map { int rand 256 } 1 .. 1024) }' \
  "$content_mib" > "$work/content.bin"
mkdir "$mount_point"

# A fresh image with the content in data/victim.bin, written through to the device.
prepare_image() {
  rm -f "$work/image"
  truncate -s "${image_mib}M" "$work/image"
  mkfs.ext4 -q -F "$work/image" || return 1
  loop_device=$(losetup -f --show "$work/image") || return 1
  mount -o user_xattr "$loop_device" "$mount_point" || return 1
  mkdir "$mount_point/data"
  cp "$work/content.bin" "$mount_point/data/victim.bin"
  sync "$mount_point/data/victim.bin"
}

# How many of the content's distinct 32-byte samples, spread over it, occur in the raw image.
count_samples_in_image() {
  perl -e '
    use strict; use warnings;
    my ($imagePath, $contentPath, $count) = @ARGV;
    sub slurp { open(my $f, "<:raw", $_[0]) or die "$_[0]: $!"; local $/; return scalar <$f>; }
    my ($image, $content) = (slurp($imagePath), slurp($contentPath));
    my $step = int(length($content) / $count);
    my $found = 0;
    for my $i (0 .. $count - 1) {
      my $sample = substr($content, $i * $step + ($i * 97) % ($step - 32), 32);
      $found++ if index($image, $sample) >= 0;
    }
    print "$found\n";' "$work/image" "$work/content.bin" "$samples"
}

status=0

echo "--- shredded through the window"
prepare_image || { echo "forensics: FAILED: cannot prepare the image"; exit 1; }
run_window_case 'WorkflowOnPreparedDisk.ShreddingForTheForensicScan' \
  ZUZAR_E2E_FORENSIC_FILE "$(wine_path "$mount_point/data/victim.bin")" || status=1
release_image
found=$(count_samples_in_image)
echo "forensics: after shredding, $found of $samples samples of the content are on the disk"
[ "$found" -eq 0 ] || status=1

echo "--- truncated and deleted without an overwrite"
prepare_image || { echo "forensics: FAILED: cannot prepare the image"; exit 1; }
truncate -s 0 "$mount_point/data/victim.bin"
rm "$mount_point/data/victim.bin"
release_image
found=$(count_samples_in_image)
echo "forensics: after a plain deletion, $found of $samples samples of the content are on the disk"
# Freed blocks keep their bytes until reused; nothing is written between the deletion and the scan.
if [ "$found" -lt $((samples * 9 / 10)) ]; then
  echo "forensics: FAILED: the scan does not find content that was never overwritten"
  status=1
fi

[ $status -eq 0 ] && echo "forensics: passed" || echo "forensics: FAILED"
exit $status
