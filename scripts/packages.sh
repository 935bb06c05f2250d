# Installs Debian packages for the project's scripts; sourced, not run.
#   ensure_packages [APT-OPTION...] -- PACKAGE...
#       installs those of the packages that are missing (that fail the check
#       named by $package_check, package_installed by default), as root or
#       through sudo, and returns 0 when all of them pass it afterwards.
#       Otherwise it returns 1 and leaves apt's own reason, its first "E:"
#       line, in $packages_error.
# apt-get update runs at most once per script and set of sources, and an error on one list does not
# stop anything: what counts is whether the packages could be installed from the
# lists that did arrive. Every install takes --no-remove, so apt never takes a
# package away to make room, and apt-get refuses downgrades on its own.

packages_error=""
packages_update_error=""  # the first list that apt-get update could not fetch
package_check=package_installed  # how ensure_packages tells that a package is there
packages_updated=none  # the options of the last update, "none" before the first

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

package_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
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
    grep '^[EW]:' <<<"$out" | head -n 3 | sed 's/^/  /' >&2
    packages_update_error="$(grep -m1 '^E:' <<<"$out" | sed 's/ *\[IP: [^]]*\]$//' || true)"
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
  out="$(apt_get install --no-remove "${options[@]}" "${missing[@]}" 2>&1)" || true
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
