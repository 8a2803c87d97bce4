#!/bin/sh
# End-to-end test of what Dusk holds over a long session: Dusk.exe under Wine, in a virtual
# desktop on a private Xvfb. In twenty rounds dusk_probe (running in the same desktop) adds fifty
# alarm tasks through the real controls, deletes them again through the task list's popup menu and
# lists the running processes in the picker five times: a thousand adds, a thousand deletes and a
# hundred listings. The program's GDI and USER objects, windows, kernel handles and private bytes
# are read from outside at the start, after the first round (the warm-up) and at the end, and
# must not grow from the warm-up to the end. The log says which measures Wine answers.
#
# Usage: run_resources.sh DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]
# The log (the figures are its FIGURES lines), screenshots and, on failure, a dump of the
# desktop's windows go to ARTIFACTS_DIR. Exit status 0 when every check passed.
set -u

# shellcheck source=tests/e2e/e2e_lib.sh
. "$(dirname "$0")/e2e_lib.sh"
e2e_args 3 "DUSK_EXE PROBE_EXE ARTIFACTS_DIR [WINEPREFIX]" "$@"

# The probe checks that this many rounds ran.
rounds=20
# Forty-two runs of the probe; a round takes 8 to 16 s here, the whole run 3 to 6 minutes, and
# up to 30 s and 10 minutes while the machine is busy with builds.
e2e_budget=1000
e2e_begin DuskResources "$@"
state=$artifacts/resources-state.txt
rm -f "$state"
st=Z:$state

if probe resources-start "$st"; then
  shot 01-start
  round=1
  while [ "$round" -le "$rounds" ]; do
    probe resources-add "$st" || break
    [ "$round" -ne 1 ] || shot 02-first-round-added
    probe resources-delete "$st" || break
    [ "$round" -ne 1 ] || shot 03-after-warm-up
    round=$((round + 1))
  done
  probe resources-end "$st"
  shot 04-end
fi

e2e_end
