#!/usr/bin/env bash
# Installs the Debian 12 packages one task needs, and nothing when they are all present.
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
#      refuses): they are named, with the one command to run as root
#   4  apt-get failed
set -euo pipefail

# Compiler, build tools and the Qt development files.
BUILD=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev-tools
  qt6-webengine-dev qt6-multimedia-dev libqt6multimediawidgets6
  qt6-charts-dev qt6-svg-dev
  libxml2-dev
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
# manager and tools of the real-window checks, and the tools that build and inspect a package.
TESTING=(
  libbenchmark-dev clang libclang-rt-14-dev clang-format
  python3 ffmpeg gstreamer1.0-tools
  xvfb xauth xdotool x11-utils imagemagick openbox xfwm4
  dpkg-dev file
  sshfs openssh-sftp-server strace gstreamer1.0-x
)
# Making the course media: drawings, video fragments and sounds.
MEDIA=(python3 imagemagick ffmpeg sox fonts-dejavu-core fonts-liberation)

usage() {
  sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//' >&2
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
