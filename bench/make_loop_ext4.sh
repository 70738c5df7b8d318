#!/bin/sh
# Makes a fresh journaled ext4 file system in an image file and mounts it
# through a loop device, for the installation benchmark:
#   make_loop_ext4.sh IMAGE SIZE_MIB MOUNT_POINT
# Unmount with: umount MOUNT_POINT (the loop device is released with it).
# Inode tables and the journal are zeroed now rather than by a kernel thread
# in the background, which would otherwise write during the first timed rounds.
set -eu
image=$1
size=$2
mountPoint=$3
truncate -s "${size}M" "$image"
mkfs.ext4 -q -F -O has_journal -E lazy_itable_init=0,lazy_journal_init=0 "$image"
mkdir -p "$mountPoint"
mount -o loop "$image" "$mountPoint"
df -hT "$mountPoint"
