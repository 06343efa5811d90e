#!/usr/bin/env bash
# Checks a built page's rollover in headless Chromium: for every button, the
# picture shown before, during and after the mouse passes over it, and any
# script error. Usage: tools/check-rollover.sh PAGE.html
set -euo pipefail

page="$(realpath "$1")"
"$(dirname "$0")/install-deps.sh" chromium
probe="$(mktemp --suffix=.html -p "$(dirname "$page")")"
trap 'rm -f "$probe"' EXIT
cat > "$probe" <<HTML
<iframe id="f" src="$(basename "$page")"></iframe>
<pre id="out"></pre>
<script>
const frame = document.getElementById('f');
frame.onload = () => {
  const doc = frame.contentDocument, lines = [], errors = [];
  frame.contentWindow.addEventListener('error', e => errors.push(e.message));
  const shown = i => doc.images[i].src.split('/').pop();
  doc.querySelectorAll('a').forEach((link, i) => {
    const before = shown(i);
    link.dispatchEvent(new MouseEvent('mouseover', {bubbles: true}));
    const over = shown(i);
    link.dispatchEvent(new MouseEvent('mouseout', {bubbles: true}));
    lines.push('button ' + (i + 1) + ': ' + before + ' -> ' + over + ' -> ' + shown(i));
  });
  document.getElementById('out').textContent =
      lines.join('\n') + '\nscript errors: ' + (errors.length ? errors.join(' | ') : 'none');
};
</script>
HTML
chromium --headless --no-sandbox --disable-gpu --allow-file-access-from-files \
    --virtual-time-budget=3000 --dump-dom "file://$probe" 2>/dev/null |
    sed -n '/<pre id="out">/,/<\/pre>/p' | sed -e 's/<[^>]*>//g' -e 's/&gt;/>/g'
