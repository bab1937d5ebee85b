#!/usr/bin/env bash
# The bootstrap's 32-bit Wine step against a make-believe apt (dpkg, dpkg-query, apt-get and
# sudo in front of PATH, keeping their state in files): installed when it can be; when the
# step fails, the machine's apt state is as it was before, whatever it was, and the run goes
# on. The real apt is never touched, and the liblzma step (which fetches sources) is left out.
# Usage: bootstrap_test.sh SOURCE_DIR WORK_DIR
set -uo pipefail
root=$1 work=$2
rm -rf "$work" && mkdir -p "$work/bin"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The state: architectures (one a line), packages ("name:arch status" a line), log (calls).
cat >"$work/bin/dpkg" <<'TOOL'
#!/usr/bin/env bash
echo "dpkg $*" >>"$FAKE_APT/log"
case $1 in
  --print-foreign-architectures) cat "$FAKE_APT/architectures" ;;
  --add-architecture) echo "$2" >>"$FAKE_APT/architectures" ;;
  --remove-architecture)
    if grep -q ":$2 " "$FAKE_APT/packages"; then
      echo "dpkg: error: cannot remove architecture '$2' currently in use by the database" >&2
      exit 2
    fi
    grep -vx "$2" "$FAKE_APT/architectures" >"$FAKE_APT/new"
    mv "$FAKE_APT/new" "$FAKE_APT/architectures" ;;
esac
TOOL
# Packages without an architecture are the 64-bit set-up, which is complete.
cat >"$work/bin/dpkg-query" <<'TOOL'
#!/usr/bin/env bash
[ "$1" = -W ] || exit 2
if [ $# -ge 3 ]; then
  case $3 in
    *:*) line=$(grep "^$3 " "$FAKE_APT/packages") || exit 1; printf 'install ok %s' "${line#* }" ;;
    *) printf 'install ok installed' ;;
  esac
else
  cat "$FAKE_APT/packages"
fi
TOOL
# Installing "doesnotexist:*" fails, after unpacking $FAKE_HALF when that names a package.
cat >"$work/bin/apt-get" <<'TOOL'
#!/usr/bin/env bash
echo "apt-get $*" >>"$FAKE_APT/log"
op= names=()
for a; do
  case $a in update | install | purge) op=$a ;; -*) ;; *) names+=("$a") ;; esac
done
for n in "${names[@]}"; do
  case $op in
    install)
      if [ "${n#*:}" = i386 ] && ! grep -qx i386 "$FAKE_APT/architectures"; then exit 100; fi
      case $n in
        doesnotexist:*)
          [ -z "${FAKE_HALF:-}" ] || echo "$FAKE_HALF unpacked" >>"$FAKE_APT/packages"
          echo "E: Unable to locate package $n" >&2
          exit 100 ;;
      esac
      echo "$n installed" >>"$FAKE_APT/packages" ;;
    purge)
      grep -v "^$n " "$FAKE_APT/packages" >"$FAKE_APT/new"
      mv "$FAKE_APT/new" "$FAKE_APT/packages" ;;
  esac
done
TOOL
printf '#!/usr/bin/env bash\nexec "$@"\n' >"$work/bin/sudo"
chmod +x "$work/bin"/*

# One row: label | architectures before | packages before (",") | package of the step |
# half-installed package | warning expected | architectures after | packages after |
# calls expected in the log ("," between, each a fixed text) | calls that must not be there.
rows=(
  "fresh machine, no such package|||doesnotexist:i386||yes|||dpkg --add-architecture i386,dpkg --remove-architecture i386,apt-get update|apt-get purge"
  "fresh machine, the step fails halfway|||doesnotexist:i386|libhalf:i386|yes|||apt-get purge -y -qq libhalf:i386,dpkg --remove-architecture i386|"
  "32-bit Wine there, another package fails|i386|libwine:i386 installed,wine32:i386 installed|doesnotexist:i386||yes|i386|libwine:i386 installed,wine32:i386 installed||apt-get purge,dpkg --remove-architecture"
  "fresh machine, installed|||wine32:i386||no|i386|wine32:i386 installed|dpkg --add-architecture i386,apt-get install -y -qq --no-install-recommends wine32:i386|dpkg --remove-architecture"
  "already installed: apt is left alone|i386|wine32:i386 installed|wine32:i386||no|i386|wine32:i386 installed||apt-get,dpkg --add"
)

lines() { tr ',' '\n' <<<"$1" | grep . || true; }

for row in "${rows[@]}"; do
  IFS='|' read -r label archs_before packages_before package half warning archs_after packages_after calls absent <<<"$row"
  state=$work/state before=$failures
  rm -rf "$state" && mkdir -p "$state"
  lines "$archs_before" >"$state/architectures"
  lines "$packages_before" >"$state/packages"
  : >"$state/log"
  output=$(FAKE_APT=$state FAKE_HALF=$half QVIN_WINE32_PACKAGE=$package QVIN_BOOTSTRAP_LIBLZMA=no PATH="$work/bin:$PATH" \
    bash "$root/scripts/bootstrap" 2>&1)
  status=$?
  [ $status -eq 0 ] || fail "$label: the bootstrap exited $status: $output"
  if [ "$warning" = yes ]; then
    grep -q 'WARNING: 32-bit Wine' <<<"$output" || fail "$label: no warning in: $output"
  else
    grep -q WARNING <<<"$output" && fail "$label: a warning: $output"
  fi
  [ "$(cat "$state/architectures")" = "$(lines "$archs_after")" ] ||
    fail "$label: architectures after: $(tr '\n' ' ' <"$state/architectures")"
  [ "$(sort "$state/packages")" = "$(lines "$packages_after")" ] ||
    fail "$label: packages after: $(tr '\n' ',' <"$state/packages")"
  while IFS= read -r call; do
    grep -qF -- "$call" "$state/log" || fail "$label: no call \"$call\" in: $(tr '\n' ';' <"$state/log")"
  done < <(lines "$calls")
  while IFS= read -r call; do
    grep -qF -- "$call" "$state/log" && fail "$label: a call \"$call\": $(grep -F -- "$call" "$state/log")"
  done < <(lines "$absent")
  [ $failures -eq "$before" ] && echo "ok   $label"
done

exit $((failures > 0))
