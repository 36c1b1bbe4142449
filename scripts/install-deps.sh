#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Course testing developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages one task needs, and nothing when they are all present. Knows
# Debian 12 (bookworm) and Debian 13 (trixie); on any other release it tries the same names and
# stops with exit code 3 naming those apt does not know there.
#
#   scripts/install-deps.sh run      building the program and running it (./run.sh)
#   scripts/install-deps.sh test     building and running the whole test suite (./test.sh);
#                                    includes everything `run` installs
#   scripts/install-deps.sh media    making the course media (scripts/make-course-media.sh)
#   scripts/install-deps.sh all      all of the above
#   scripts/install-deps.sh --list GROUP...   prints the packages of the groups and exits
#
# Several groups may be named at once. As root it calls apt-get directly; otherwise through sudo
# when sudo will act for this user (without a password, or after asking for it on a terminal).
# Installs with --no-install-recommends, so every package a task needs is named here.
#
# Exit codes:
#   0  every package of the groups is installed (now or already)
#   2  wrong arguments
#   3  packages are missing and this user cannot install them (no root, no sudo, or sudo
#      refuses): they are named, with the one command to run as root; or, on a release this
#      script does not know, apt knows no package of some of the names: they are named
#   4  apt-get failed
set -euo pipefail

# The names that differ between the releases: clang's sanitizer and libFuzzer runtimes go with
# the release's clang (14 on Debian 12, 19 on Debian 13).
release=$( (. /etc/os-release 2>/dev/null && echo "${ID:-}:${VERSION_CODENAME:-}") || true)
known_release=1
case "$release" in
  debian:bookworm) CLANG_RUNTIME=libclang-rt-14-dev ;;
  debian:trixie) CLANG_RUNTIME=libclang-rt-19-dev ;;
  *) CLANG_RUNTIME=libclang-rt-dev known_release=0 ;;
esac

# Compiler, build tools and the Qt development files.
BUILD=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev-tools
  qt6-webengine-dev qt6-multimedia-dev libqt6multimediawidgets6
  qt6-charts-dev qt6-svg-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  libgl-dev libglx-dev libegl-dev libxkbcommon-dev
  libxcb1-dev libcrypt-dev
)
# What the built program needs at run time: picture formats, Qt's own Russian texts, the fonts
# the screens are drawn with, and the GStreamer decoders of the video formats teachers bring
# (ugly: MPEG-1 and its demuxers, bad: ASF/WMV parsing and more, libav: the FFmpeg decoders).
RUNTIME=(
  qt6-image-formats-plugins qt6-translations-l10n
  fonts-liberation fonts-dejavu-core
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav
)
# Testing: Google Benchmark, clang with its sanitizer and libFuzzer runtimes, python3 for the
# course text check, ffmpeg for the clips of the video format test, the X server, window
# manager and tools of the real-window checks, and the tools that build and inspect a package
# (lintian, the desktop entry's and the AppStream data's validators, man for the manual pages).
TESTING=(
  libbenchmark-dev clang "$CLANG_RUNTIME" clang-format
  python3 ffmpeg gstreamer1.0-tools
  xvfb xauth xdotool x11-utils imagemagick openbox xfwm4
  dpkg-dev file lintian desktop-file-utils appstream man-db
  sshfs openssh-sftp-server strace gstreamer1.0-x
  # the accessibility bus, a session bus and the reader of the screen reader's check
  at-spi2-core python3-pyatspi dbus-bin
)
# Making the course media: drawings, video fragments and sounds.
MEDIA=(python3 imagemagick ffmpeg sox fonts-dejavu-core fonts-liberation)

usage() {
  # The comment block at the top, without the licence lines.
  awk 'NR > 1 && /^#/ { if (!/SPDX-/) { sub(/^# ?/, ""); print }; next } NR > 1 { exit }' "$0" >&2
  exit 2
}

list_only=0
groups=()
for arg in "$@"; do
  case "$arg" in
    --list) list_only=1 ;;
    run | test | media | all) groups+=("$arg") ;;
    -h | --help) usage ;;
    *) echo "install-deps.sh: unknown group '$arg'" >&2; usage ;;
  esac
done
[ ${#groups[@]} -gt 0 ] || usage

wanted=()
for g in "${groups[@]}"; do
  case "$g" in
    run) wanted+=("${BUILD[@]}" "${RUNTIME[@]}") ;;
    test) wanted+=("${BUILD[@]}" "${RUNTIME[@]}" "${TESTING[@]}") ;;
    media) wanted+=("${MEDIA[@]}") ;;
    all) wanted+=("${BUILD[@]}" "${RUNTIME[@]}" "${TESTING[@]}" "${MEDIA[@]}") ;;
  esac
done
# Each package once, in the order first named.
mapfile -t wanted < <(printf '%s\n' "${wanted[@]}" | awk '!seen[$0]++')

if [ $list_only -eq 1 ]; then
  printf '%s\n' "${wanted[@]}"
  exit 0
fi

missing=()
for p in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

# On a release this script does not know, the names apt has no package for are said at once.
if [ $known_release -eq 0 ]; then
  unknown=()
  for p in "${missing[@]}"; do
    candidate=$(apt-cache policy "$p" 2>/dev/null | sed -n 's/^ *Candidate: //p')
    if [ -z "$candidate" ] || [ "$candidate" = "(none)" ]; then unknown+=("$p"); fi
  done
  if [ ${#unknown[@]} -gt 0 ]; then
    {
      echo "install-deps.sh: this system ($(. /etc/os-release 2>/dev/null && echo "${PRETTY_NAME:-$release}" || echo unknown)) is neither Debian 12 nor Debian 13;"
      echo "install-deps.sh: apt knows no package of these names here: ${unknown[*]}"
      echo "install-deps.sh: install what gives the same (see the lists in $0), then start again."
      echo "install-deps.sh: (if apt's package lists are old, 'apt-get update' as root first)"
    } >&2
    exit 3
  fi
fi

command_line="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
cannot_install() {
  {
    echo "install-deps.sh: these packages are missing: ${missing[*]}"
    echo "install-deps.sh: $1. Run this once as root, then start again:"
    echo
    echo "    $command_line"
    echo
    echo "(or run 'scripts/install-deps.sh ${groups[*]}' as root)"
  } >&2
  exit 3
}

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    cannot_install "this user is not root and sudo is not installed"
  fi
  if ! sudo -n true 2>/dev/null; then
    # A sudo that wants a password may ask for it on a terminal; without one it cannot.
    if [ -t 0 ]; then
      echo "install-deps.sh: installing ${missing[*]} needs root; sudo asks for your password."
      sudo -v || cannot_install "sudo refused to act as root for $(id -un)"
    else
      cannot_install "sudo refuses to act as root for $(id -un) without a password"
    fi
  fi
  SUDO=(sudo)
fi

echo "install-deps.sh: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! "${SUDO[@]}" apt-get update -qq ||
   ! "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; then
  echo "install-deps.sh: apt-get failed; the packages still missing are among: ${missing[*]}" >&2
  exit 4
fi
