# shellcheck shell=bash
# Installs Debian packages for the project's scripts; sourced, not run.
#   ensure_packages [APT-OPTION...] -- PACKAGE...
#       installs those of the packages that are missing (that fail the check
#       named by $package_check, package_installed by default), as root or
#       through sudo, and returns 0 when all of them pass it afterwards.
#       Otherwise it returns 1 and leaves apt's own reason, its first "E:"
#       line, in $packages_error.
#   debian_uri CODENAME [APT-OPTION...]
#       the address of the Debian mirror that apt takes that suite from.
# apt-get update runs at most once per script and set of sources, and an error
# on one list does not stop anything: what counts is whether the packages could
# be installed from the lists that did arrive. Every install takes --no-remove,
# so apt never takes a package away to make room, and refuses downgrades
# (whatever apt.conf says). A configuration file that the user edited stays as
# it is when an install upgrades its package (dpkg's confold), where dpkg would
# otherwise ask, find no one to answer and stop half-way.

packages_error=""
packages_update_error=""  # the first list that apt-get update could not fetch
package_check=package_installed  # how ensure_packages tells that a package is there
packages_updated=none  # the options of the last update, "none" before the first

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installed and configured, whatever its selection (a held package is
# installed too).
package_installed() {
  [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = installed ]
}

# apt-get in its quiet, non-interactive form; the frontend variable goes
# through sudo's env_reset by being an argument of env.
apt_get() {
  as_root env DEBIAN_FRONTEND=noninteractive apt-get -y -qq "$@" </dev/null
}

# Updates the lists once for each set of options (another set of sources, say);
# a list that failed is reported and passed over.
packages_update() {
  [ "$packages_updated" != "$*" ] || return 0
  packages_updated="$*"
  local out
  if ! out="$(apt_get update "$@" 2>&1)" || grep -q '^E:' <<<"$out"; then
    echo "apt-get update reported errors; going on with the lists that arrived:" >&2
    awk '/^[EW]:/ && n++ < 3 { print "  " $0 }' <<<"$out" >&2
    packages_update_error="$(awk '/^E:/ { sub(/ *\[IP: [^]]*\]$/, ""); print; exit }' <<<"$out")"
  fi
}

ensure_packages() {
  local options=() missing=() p out
  while [ $# -gt 0 ] && [ "$1" != -- ]; do options+=("$1"); shift; done
  shift
  for p in "$@"; do "$package_check" "$p" || missing+=("$p"); done
  [ ${#missing[@]} -gt 0 ] || return 0
  packages_update "${options[@]}"
  echo "Installing: ${missing[*]}" >&2
  out="$(apt_get install --no-remove -o APT::Get::allow-downgrades=false \
             -o Dpkg::Options::=--force-confdef -o Dpkg::Options::=--force-confold \
             "${options[@]}" "${missing[@]}" 2>&1)" || true
  missing=()
  for p in "$@"; do "$package_check" "$p" || missing+=("$p"); done
  [ ${#missing[@]} -gt 0 ] || return 0
  packages_error="$(grep -m1 '^E:' <<<"$out" || true)"
  packages_error="${packages_error:-apt-get gave no reason}"
  [ -z "$packages_update_error" ] || packages_error+="; apt-get update: $packages_update_error"
  printf '%s\n' "$out" | tail -n 20 >&2
  echo "Not installed: ${missing[*]} ($packages_error)" >&2
  return 1
}

# The URI of the machine's Debian source (Origin: Debian) for a codename, as
# apt knows it from the lists of its last update; nothing when it has none.
debian_uri() {  # CODENAME [APT-OPTION...]
  local codename=$1 uris
  shift
  # shellcheck disable=SC2016  # apt's own format, not the shell's
  uris="$(apt-get "$@" indextargets --format '$(REPO_URI)' 'Origin: Debian' "Codename: $codename" 'Target-Of: deb')" ||
    { echo "apt-get indextargets failed" >&2; return 1; }
  printf '%s' "${uris%%$'\n'*}"
}
