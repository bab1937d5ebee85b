#!/usr/bin/env bash
# The file table on the machine: an installer with files of every placement, run with /a,
# then the prefix read back: bytes, times, attributes, renames, %SystemDir%, the uninstall
# directory, the existence modes, the date and version rules against files seeded before
# (real PE files with version resources), deletion rules, one refused, and a batch.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin files

mingw_cc=x86_64-w64-mingw32-gcc
mingw_windres=x86_64-w64-mingw32-windres
command -v "$mingw_cc" >/dev/null || skip "no $mingw_cc to build the versioned DLLs"

project=$work/project
mkdir -p "$project/docs"
# version_dll NAME A.B.C.D: a DLL whose version resource says A.B.C.D.
version_dll() {
  local name=$1 version=$2 commas=${2//./,}
  printf 'int __stdcall DllMain(void* a, unsigned long b, void* c) { (void)a; (void)b; (void)c; return 1; }\n' \
    >"$work/$name.c"
  cat >"$work/$name.rc" <<RC
1 VERSIONINFO
FILEVERSION $commas
PRODUCTVERSION $commas
BEGIN
  BLOCK "StringFileInfo"
  BEGIN
    BLOCK "040904e4"
    BEGIN
      VALUE "FileVersion", "$version"
    END
  END
  BLOCK "VarFileInfo"
  BEGIN
    VALUE "Translation", 0x409, 1252
  END
END
RC
  "$mingw_windres" "$work/$name.rc" -O coff -o "$work/$name.res" &&
    "$mingw_cc" -shared -nostdlib -e DllMain -o "$project/$name" "$work/$name.c" "$work/$name.res" ||
    { fail "could not build $name"; e2e_end; }
}
version_dll v1.dll 1.0.0.0
version_dll v2.dll 2.0.0.0

for f in app orig sys uninst keep if-exists never shared; do printf '%s: installed bytes\n' "$f" >"$project/$f.txt"; done
printf 'guide\n' >"$project/docs/guide.txt"

cat >"$project/project.toml" <<'TOML'
[product]
name = "E2E Files"

[install]
directory = 'C:\E2E Files'

[flags]
detailed_log = true

[batch]
pre_install = 'echo batch ran in %InstallDir%> "%InstallDir%\batch-marker.txt"'

[[deletions]]
files = 'old.log'

[[deletions]]
files = 'C:\windows\*.e2e /s'

[[files]]
source = "app.txt"
time = 2020-01-02T03:04:05
attributes = ["read-only"]

[[files]]
source = "orig.txt"
destination = "renamed.txt"

[[files]]
source = "sys.txt"
name = "e2e-files-sys.txt"
kind = "path"
destination = '%SystemDir%\'

[[files]]
source = "docs/guide.txt"
name = 'docs\guide.txt'

[[files]]
source = "uninst.txt"
in_uninstall_directory = true

[[files]]
source = "keep.txt"
existence = "if-absent"

[[files]]
source = "if-exists.txt"
existence = "if-exists"

[[files]]
source = "never.txt"
existence = "never"

[[files]]
source = "shared.txt"
kind = "shared"
time = 2020-01-01T00:00:00

[[files]]
source = "v1.dll"
name = "older.dll"
kind = "versioned"
time = 2030-01-01T00:00:00

[[files]]
source = "v2.dll"
name = "newer.dll"
kind = "versioned"
time = 2030-01-01T00:00:00

[[files]]
source = "v2.dll"
name = "e2e-sysver.dll"
kind = "system"
time = 2019-01-01T00:00:00
TOML
installer=$work/setup.exe
build_installer "$project/project.toml" "$installer"

dir=$drive_c/E2E\ Files
system=$system_dir
shared="$program_files/Common Files/E2E Files"
rm -rf "$dir" "$shared" "$system/e2e-files-sys.txt" "$system/e2e-sysver.dll"
# The machine before: files of an earlier version and of others.
mkdir -p "$dir" "$shared"
printf 'seeded\n' >"$dir/keep.txt"
printf 'old log\n' >"$dir/old.log"
printf 'not ours\n' >"$drive_c/windows/keep.e2e"
cp "$project/v2.dll" "$dir/older.dll"
cp "$project/v1.dll" "$dir/newer.dll" && touch -d 2019-01-01 "$dir/newer.dll"
cp "$project/v1.dll" "$system/e2e-sysver.dll" && touch -d 2021-01-01 "$system/e2e-sysver.dll"
printf 'newer shared\n' >"$shared/shared.txt" && touch -d 2022-01-01 "$shared/shared.txt"

drive install <<SCRIPT
start $(winpath "$installer") /a
wait-exit 1 120000
SCRIPT

# same FILE SOURCE LABEL: the file holds exactly the source's bytes.
same() {
  if [ -f "$1" ] && cmp -s "$1" "$2"; then pass "$3"; else fail "$3: $1 does not hold $(basename "$2")"; fi
}
same "$dir/app.txt" "$project/app.txt" "a file of the installation directory"
same "$dir/renamed.txt" "$project/orig.txt" "a destination without '\\' renames the file"
[ -e "$dir/orig.txt" ] && fail "the renamed file was also written under its own name"
same "$system/e2e-files-sys.txt" "$project/sys.txt" "a %SystemDir%\\ destination takes the name's file part"
same "$dir/docs/guide.txt" "$project/docs/guide.txt" "a name with a directory creates it"
same "$dir/Uninstall/uninst.txt" "$project/uninst.txt" "a file for the uninstall directory"
[ -e "$dir/uninst.txt" ] && fail "the uninstall directory's file was also written in the installation directory"

# Time and attributes as stored: Wine gives a read-only file no write bits.
expected_time=$(date -d '2020-01-02 03:04:05' +%s)
actual_time=$(stat -c %Y "$dir/app.txt" 2>/dev/null)
[ "$actual_time" = "$expected_time" ] && pass "the stored time is the file's last-write time" ||
  fail "app.txt was last written at $actual_time, not $expected_time"
case $(stat -c %A "$dir/app.txt" 2>/dev/null) in
  -r-?r-?r-?) pass "the read-only attribute is set" ;;
  *) fail "app.txt is not read-only: $(stat -c %A "$dir/app.txt")" ;;
esac

# Existence modes.
[ "$(cat "$dir/keep.txt")" = seeded ] && pass "if-absent keeps a file that is there" ||
  fail "if-absent replaced keep.txt: $(cat "$dir/keep.txt")"
[ -e "$dir/if-exists.txt" ] && fail "if-exists created a file that was not there" || pass "if-exists creates nothing"
[ -e "$dir/never.txt" ] && fail "existence never wrote the file" || pass "existence never writes nothing"

# The date rule keeps a newer shared file; the version rule keeps a newer version and
# replaces an older one; both rules must pass for a system file.
[ "$(cat "$shared/shared.txt")" = "newer shared" ] && pass "a newer shared file is up to date" ||
  fail "the newer shared file was replaced"
same "$dir/older.dll" "$project/v2.dll" "a file of a newer version stays"
same "$dir/newer.dll" "$project/v2.dll" "an older version is replaced"
same "$system/e2e-sysver.dll" "$project/v1.dll" "a newer version with an older date is not installed"

# Deletion rules: one deletes a file of the earlier version, one rooted at a protected
# folder is refused.
[ -e "$dir/old.log" ] && fail "the deletion rule left old.log" || pass "a deletion rule removes a file"
[ -e "$drive_c/windows/keep.e2e" ] && pass "a deletion rule through the Windows directory is refused" ||
  fail "a deletion rule deleted C:\\windows\\keep.e2e"

# The pre-installation batch ran with the directory variables in its environment.
grep -q 'batch ran in C:\\E2E Files' "$dir/batch-marker.txt" 2>/dev/null && pass "the pre-installation batch ran" ||
  fail "no batch marker: $(cat "$dir/batch-marker.txt" 2>&1)"

rm -rf "$dir" "$shared" "$system/e2e-files-sys.txt" "$system/e2e-sysver.dll" "$drive_c/windows/keep.e2e"
e2e_end
