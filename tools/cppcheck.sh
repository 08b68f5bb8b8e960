#!/usr/bin/env bash
# Static analysis of the program's, the stand-in's and the test helpers' sources. Fails on any finding that
# tests/cppcheck-suppressions.txt does not explain.
set -eu
cd "$(dirname "$0")/.."
cppcheck --enable=warning,style,performance,portability --inline-suppr --quiet --error-exitcode=1 \
  --std=c++17 --language=c++ -D_WIN32 -DWIN32 -I. -DSTDMETHODIMP=HRESULT "-DSTDMETHODIMP_(type)=type" \
  --suppressions-list=tests/cppcheck-suppressions.txt --suppress=missingIncludeSystem \
  --template='{file}:{line}: {severity} {id}: {message}' \
  app dialog install instaide framework tests/double tests/probe
echo "cppcheck: no unexplained findings"
