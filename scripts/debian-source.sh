# Sourced by the scripts that cross-build libraries for Windows from Debian's own source packages
# (scripts/build-qt-windows, scripts/build-windows-libs).
#
# ca_debian_source PACKAGE VERSION WORKDIR
#   Fetches the source package PACKAGE=VERSION from the Debian mirror this machine already uses,
#   through a private source list (the machine's package sources stay as they are), checks every
#   file the .dsc names against the .dsc's sha256 and size, and unpacks it with Debian's patches
#   applied into WORKDIR/src. Files already fetched or unpacked are reused. Says on stderr which step
#   failed and returns 1.

ca_debian_source() {
  local package="$1" version="$2" work="$3"
  local download="$work/download" apt_dir="$work/apt" src="$work/src"
  local upstream="${version#*:}"
  local dsc="$download/${package}_${upstream}.dsc"
  _ca_source_fail() { echo "debian-source: $package $version: step '$1' failed${2:+: $2}" >&2; }

  mkdir -p "$download" "$apt_dir/lists/partial" || { _ca_source_fail "make $work"; return 1; }
  if [ ! -f "$dsc" ]; then
    local mirror
    mirror="$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)"
    [ -n "$mirror" ] ||
      mirror="$(awk '$1 == "deb" && $3 == "bookworm" { print $2; exit }' /etc/apt/sources.list 2>/dev/null || true)"
    [ -n "$mirror" ] || { _ca_source_fail "find the Debian mirror" "none in the machine's package sources"; return 1; }
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror bookworm main" \
      >"$apt_dir/sources.list"
    local apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=/dev/null
      -o "Dir::State::Lists=$apt_dir/lists" -o Debug::NoLocking=1)
    apt-get "${apt_opts[@]}" update -q >&2 || { _ca_source_fail "apt-get update (private source list)"; return 1; }
    (cd "$download" && apt-get "${apt_opts[@]}" source --download-only -q "$package=$version") >&2 ||
      { _ca_source_fail "apt-get source --download-only"; return 1; }
  fi
  [ -f "$dsc" ] || { _ca_source_fail "download" "$dsc is missing"; return 1; }

  # The .dsc lists " <sha256> <size> <file>" under Checksums-Sha256:. It arrives over the archive's
  # signed index, so matching it ties the tarballs to Debian's archive.
  local checked=0 sum size file actual
  while read -r sum size file; do
    [ -f "$download/$file" ] || { _ca_source_fail "check against the .dsc" "$file is missing"; return 1; }
    actual="$(sha256sum "$download/$file" | cut -d' ' -f1)"
    [ "$actual" = "$sum" ] ||
      { _ca_source_fail "check against the .dsc" "$file has sha256 $actual, the .dsc says $sum"; return 1; }
    [ "$(stat -c %s "$download/$file")" = "$size" ] ||
      { _ca_source_fail "check against the .dsc" "$file does not have the size the .dsc says"; return 1; }
    checked=$((checked + 1))
  done < <(awk '/^Checksums-Sha256:/ { on = 1; next } /^[^ ]/ { on = 0 } on && NF == 3 { print }' "$dsc")
  [ "$checked" -ge 1 ] || { _ca_source_fail "check against the .dsc" "it lists no sha256"; return 1; }

  if [ ! -f "$src/.unpacked" ]; then
    rm -rf "$src"
    # dpkg-source applies Debian's patches (the fixes the Linux build's library carries too). The
    # .dsc's own signature needs Debian developers' keys; the checksums above stand in for it.
    dpkg-source --no-check -x "$dsc" "$src" >&2 || { _ca_source_fail "unpack with dpkg-source"; return 1; }
    touch "$src/.unpacked"
  fi
  echo "$src"
}
