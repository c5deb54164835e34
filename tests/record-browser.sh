#!/bin/sh
# The web browser of the end-to-end tests: writes down the address it was
# asked to open and opens nothing.
#
#   record-browser.sh --log FILE ADDRESS...
#
# Wine's winebrowser runs the first command of the value "Browsers" under
# HKCU\Software\Wine\WineBrowser (a Unix command line, the address appended),
# so a test sets Browsers to "/abs/tests/record-browser.sh --log /abs/file".
# ShellExecuteW returns before the script has run: wait for the line.
if [ "${1:-}" = "--log" ] && [ $# -ge 2 ]; then
  log="$2"
  shift 2
  printf '%s\n' "$*" >>"$log"
fi
exit 0
