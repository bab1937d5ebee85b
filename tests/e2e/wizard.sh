#!/usr/bin/env bash
# The wizard as a user meets it: the language dialog relabels its buttons and retitles the
# background as the selection moves; the chosen language then speaks in the start prompt,
# the licence, the readme and the directory dialog. Cancelled there, nothing is installed.
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
e2e_begin wizard

project=$work/project
# The common wizard with German words of our own (they follow its last table, German's)
# and a third language.
make_project "$project" "E2E Wizard" "$(wizard_toml; cat <<'TOML'
strings = { 0 = "E2E Assistent Installation", 48 = "Weiter" }

[[languages]]
name = "Français"
base = "French"
TOML
)"
printf 'Licence of <product>.\n\n\tEverything is allowed.\n' >"$project/licence.txt"
printf 'Read me, <PRODUCT> user.\n' >"$project/readme.txt"
installer=$work/setup.exe
build_installer "$project/project.toml" "$installer"
rm -rf "$program_files/E2E Wizard"

drive wizard <<SCRIPT
start $(winpath "$installer")
wait-window Choose Your Language 120000
expect-text window Choose Your Language
list 1017
expect-text 1001 OK
expect-text 1003 Cancel
$(screenshot_line e2e-language-english) screen
select 1017 1
expect-text 1001 Weiter
expect-text 1003 Abbrechen
$(screenshot_line e2e-language-deutsch) screen
select 1017 2
expect-text 1001 OK
expect-text 1003 Annuler
$(screenshot_line e2e-language-francais) screen
select 1017 1
click 1001
wait-close
wait-message-box E2E Wizard Setup
expect-text 65535 E2E Wizard wird jetzt auf Ihrem Computer installiert.\r\n\r\nMöchten Sie fortfahren?
$(screenshot_line e2e-start-prompt) screen
click 6
wait-close
wait-window Lizenzvereinbarung
expect-text 1009 Bitte lesen Sie die folgende Lizenzvereinbarung sorgfältig durch.
expect-text 1005 Licence of E2E Wizard.\r\n\r\n\tEverything is allowed.\r\n
expect-text 1001 Ich stimme zu
expect-text 1003 Ich stimme nicht zu
$(screenshot_line e2e-licence)
click 1001
wait-close
wait-window Liesmich
expect-text 1009 Bitte lesen Sie die folgenden Informationen.
expect-text 1005 Read me, E2E Wizard user.\r\n
expect-text 1001 Weiter
expect-text 1003 Abbrechen
$(screenshot_line e2e-readme)
click 1001
wait-close
wait-window Installationsordner
expect-text 1009 Wählen Sie den Ordner, in den E2E Wizard installiert werden soll:
expect-text 1015 $(esc "$program_files_win\\E2E Wizard")
expect-text 1013 Durchsuchen...
$(screenshot_line e2e-directory)
click 1003
wait-exit 1 120000
SCRIPT

# The list as the system's language (English under Wine) preselects it.
expected_list=$'*English\n Deutsch\n Français'
listed=$(grep -v '^seen ' "$work/wizard.out" | head -3)
[ "$listed" = "$expected_list" ] && pass "language list" || fail "language list reads:\n$listed"

# The title at the top of the background changes with the selected language.
title_strip() { convert "$screenshots/$1.bmp" -crop 1280x60+0+0 rgb:- 2>/dev/null | md5sum; }
if [ -f "$screenshots/e2e-language-deutsch.bmp" ]; then
  english=$(title_strip e2e-language-english) deutsch=$(title_strip e2e-language-deutsch)
  francais=$(title_strip e2e-language-francais)
  if [ "$english" != "$deutsch" ] && [ "$deutsch" != "$francais" ]; then
    pass "the background retitles"
  else
    fail "the background's title strip did not change with the language"
  fi
fi

nothing_installed "E2E Wizard" "$program_files/E2E Wizard"
e2e_end
