#!/usr/bin/env bash
# Cancelling at any step of the wizard ends the installer with exit code 1 and leaves
# nothing behind: no installation directory, no uninstall registration.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin cancel

project=$work/project
make_project "$project" "E2E Cancel" "$(wizard_toml)"
wizard_texts "$project"
installer=$work/setup.exe
build_installer "$project/project.toml" "$installer"
install_dir="$program_files/E2E Cancel"

# The wizard's steps in order: how to wait for it, the button that goes on, the one that
# cancels (the start prompt is a yes/no message box).
steps=(
  "language|wait-window Choose Your Language|1001|1003"
  "start prompt|wait-message-box E2E Cancel Setup|6|7"
  "licence|wait-window Licence Agreement|1001|1003"
  "readme|wait-window Read Me|1001|1003"
  "directory|wait-window Installation Folder|1001|1003"
)

for cancel_at in "${!steps[@]}"; do
  IFS='|' read -r label _ _ _ <<<"${steps[$cancel_at]}"
  rm -rf "$install_dir"
  script="start $(winpath "$installer")"
  for i in $(seq 0 "$cancel_at"); do
    IFS='|' read -r _ wait go cancel <<<"${steps[$i]}"
    script+=$'\n'"$wait 120000"
    if [ "$i" -lt "$cancel_at" ]; then
      script+=$'\n'"click $go"$'\n'"wait-close"
    else
      script+=$'\n'"click $cancel"
    fi
  done
  script+=$'\n'"wait-exit 1 120000"
  drive "cancel-at-$(tr ' ' - <<<"$label")" <<<"$script"
  nothing_installed "E2E Cancel" "$install_dir"
done

e2e_end
