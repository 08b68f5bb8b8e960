# Sourced with a build folder set in $build: the Wine settings every script of ours runs
# programs with. A private prefix in the build folder; no Mono or Gecko prompts (they cannot
# be downloaded here); a crash ends the program at once instead of starting the debugger.
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winedbg.exe=d;winemenubuilder.exe=d"
