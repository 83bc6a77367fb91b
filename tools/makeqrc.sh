#!/usr/bin/env bash
# Rewrites resources/brevanto.qrc from the files in resources/.
cd "$(dirname "$0")/../resources"
{
  echo '<RCC>'
  echo '  <qresource prefix="/">'
  echo '    <file>brevanto.qss</file>'
  for f in pictures/*.png; do echo "    <file>$f</file>"; done
  echo '  </qresource>'
  echo '</RCC>'
} > brevanto.qrc
