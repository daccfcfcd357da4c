#!/bin/sh
# Writes the CP932 resources compiled into the program from their UTF-8 sources.
set -e
cd "$(dirname "$0")"
iconv -f UTF-8 -t CP932 text/holidays.utf8.xml | LC_ALL=C sed "s/\$/\r/" > embedded/holidays.xml
iconv -f UTF-8 -t CP932 text/colors.utf8.xml | LC_ALL=C sed "s/\$/\r/" > embedded/colors.xml
