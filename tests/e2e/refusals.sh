#!/usr/bin/env bash
# Installers that refuse this machine before asking anything: a system the archive excludes
# (Wine counts as a system the table does not know), and an add-on whose master product is
# not installed. Each shows its error and ends with exit code 1, nothing written.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin refusals

# Each row: label | project lines | the message's beginning.
cases=(
  "excluded system|[install]\nexcluded_systems = [\"unrecognised\", \"winxp\"]|E2E Refused cannot be installed on Windows "
  "missing master|master_product = \"E2E Missing Base\"|This product is an add-on to E2E Missing Base, which is not installed. Please install it first."
)

for row in "${cases[@]}"; do
  IFS='|' read -r label extra message <<<"$row"
  slug=$(tr ' ' - <<<"$label")
  make_project "$work/$slug" "E2E Refused" "$(printf "$extra")"
  build_installer "$work/$slug/project.toml" "$work/$slug/setup.exe"
  drive "$slug" <<SCRIPT
start $(winpath "$work/$slug/setup.exe")
wait-message-box Error 120000
text 65535
expect-prefix 65535 $message
click 1
wait-exit 1 120000
SCRIPT
  nothing_installed "E2E Refused" "$program_files/E2E Refused"
done
e2e_end
