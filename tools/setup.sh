# Sourced by ./run, ./test and ./package: installs the Debian packages the
# build needs, but only when one of them is missing.
CASEWRIGHT_PACKAGES="cmake g++ qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-image-formats-plugins
  libqt6svg6 libgtest-dev libgmock-dev libbenchmark-dev ninja-build ccache xvfb xauth x11-utils
  fonts-ipafont-gothic fonts-ipafont-mincho poppler-utils cups printer-driver-cups-pdf
  libpng-dev libjpeg-dev libgif-dev clang libclang-rt-14-dev qt6-translations-l10n qt6-l10n-tools
  dbus at-spi2-core python3-pyatspi
  pkg-config libtag1-dev libqpdf-dev libcups2-dev sox flac vorbis-tools opus-tools
  libtiff-dev libwebp-dev libheif-dev imagemagick webp libheif-examples
  appstream desktop-file-utils man-db"
# What ./package needs besides: Debian's build flags and dependency tools, and
# the package checker.
CASEWRIGHT_PACKAGE_TOOLS="dpkg-dev file lintian"

# casewright_install_packages [PACKAGES]: the build's packages unless others
# are named.
casewright_install_packages() {
  local wanted="${1:-$CASEWRIGHT_PACKAGES}"
  local missing=()
  local p
  for p in $wanted; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

casewright_jobs() {
  nproc 2>/dev/null || echo 2
}
