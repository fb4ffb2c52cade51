#!/usr/bin/env bash
# Learns every remote of a folder with spectrel-cli and says how well each was learned.
#
#   tools/learn-all.sh DIR [--tolerant] [other spectrel-cli learn options ...]
#
# Every *.ir and *.txt signal file of DIR is learned with `spectrel-cli learn FILE --json` (plus the options
# given). One line per remote: whether a protocol was learned, buttons coded / total, pairs of different keys
# that got equal codes, pairs of equal keys that got different codes; then the totals. Two keys are equal when
# their recorded signals are: every mark and space within 200 us (or 5 %) of the other's, as far as the shorter
# press goes (presses differ in their repeats); a mark or space shorter than 100 us at the start of a press (a
# receiver glitch) is not compared. Parsed entries are equal when protocol, address and command are. SPECTREL_CLI names the program (default: build/dev/spectrel-cli, else build/release/).
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ $# -lt 1 ] || [ ! -d "$1" ]; then
  echo "usage: tools/learn-all.sh DIR [--tolerant] [spectrel-cli learn options]" >&2
  exit 2
fi
dir="$1"
shift
cli="${SPECTREL_CLI:-}"
if [ -z "$cli" ]; then
  for c in "$top/build/dev/spectrel-cli" "$top/build/release/spectrel-cli"; do
    if [ -x "$c" ]; then cli="$c"; break; fi
  done
fi
if [ -z "$cli" ] || [ ! -x "$cli" ]; then
  echo "learn-all: no spectrel-cli found (build it, or set SPECTREL_CLI)" >&2
  exit 2
fi
command -v python3 > /dev/null || { echo "learn-all: needs python3" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
shopt -s nullglob
files=("$dir"/*.ir "$dir"/*.txt)
if [ ${#files[@]} -eq 0 ]; then
  echo "learn-all: no .ir or .txt signal files in $dir" >&2
  exit 2
fi
for f in "${files[@]}"; do
  base="$(basename "$f")"
  set +e
  "$cli" learn "$f" --json "$@" > "$work/$base.json" 2> "$work/$base.err"
  echo $? > "$work/$base.rc"
  set -e
done

python3 - "$work" "${files[@]}" << 'EOF'
import json, os, re, sys

work, files = sys.argv[1], sys.argv[2:]
GLITCH_US = 100     # shorter marks and spaces at the start of a press are receiver glitches
REL, ABS = 0.05, 200

def signals(path):
    """name -> list of frames (lists of durations) of every entry of a signal file, in file order."""
    out = []
    text = open(path, encoding='utf-8', errors='replace').read()
    if path.endswith('.ir'):
        for block in re.split(r'^#.*$', text, flags=re.M):
            name = re.search(r'^name:\s*(.*)$', block, re.M)
            if not name:
                continue
            data = re.search(r'^data:\s*(.*)$', block, re.M)
            kind = re.search(r'^type:\s*(\S+)', block, re.M)
            if kind and kind.group(1) == 'parsed':
                proto = re.search(r'^protocol:\s*(.*)$', block, re.M)
                addr = re.search(r'^address:\s*(.*)$', block, re.M)
                cmd = re.search(r'^command:\s*(.*)$', block, re.M)
                key = ' '.join(m.group(1).strip() for m in (proto, addr, cmd) if m)
                out.append((name.group(1).strip(), ('parsed', key)))
            elif data:
                out.append((name.group(1).strip(), ('raw', [float(v) for v in data.group(1).split()])))
    else:
        for line in text.splitlines():
            m = re.match(r'^\s*([^:#]+):\s*(f\d+.*)$', line)
            if m:
                values = [abs(float(v)) for v in re.findall(r'[+-][0-9.]+', m.group(2).split('[')[0])]
                out.append((m.group(1).strip(), ('raw', values)))
    return out

def stripped(durations):
    while len(durations) >= 2 and (durations[0] < GLITCH_US or durations[1] < GLITCH_US):
        durations = durations[2:]
    return durations

def close(a, b):
    return abs(a - b) <= max(ABS, REL * max(a, b))

def same(a, b):
    if a[0] != b[0]:
        return False
    if a[0] == 'parsed':
        return a[1] == b[1]
    # Presses held for different times differ in their number of repeats: the shorter one is compared.
    x, y = stripped(a[1]), stripped(b[1])
    n = min(len(x), len(y))
    return n > 0 and all(close(p, q) for p, q in zip(x[:n], y[:n]))

totals = dict(remotes=0, valid=0, coded=0, buttons=0, equal_codes=0, split_codes=0, complete=0)
print('%-34s %-6s %-9s %-12s %-12s' % ('remote', 'valid', 'coded', 'diff=equal', 'same!=equal'))
for path in files:
    base = os.path.basename(path)
    rc = open(os.path.join(work, base + '.rc')).read().strip()
    try:
        report = json.load(open(os.path.join(work, base + '.json')))
    except (ValueError, OSError):
        report = None
    totals['remotes'] += 1
    keys = signals(path)
    if report is None:
        err = open(os.path.join(work, base + '.err')).read().strip().splitlines()
        print('%-34s %-6s %-9s %-12s %-12s %s' % (base, 'no', '0/%d' % len(keys), '-', '-',
                                                  'exit %s: %s' % (rc, err[-1] if err else '')))
        totals['buttons'] += len(keys)
        continue
    buttons = report['buttons']
    valid = report['protocol']['valid']
    coded = sum(1 for b in buttons if b['learned'])
    equal_codes = split_codes = 0
    for i in range(len(buttons)):
        for j in range(i + 1, len(buttons)):
            bi, bj = buttons[i], buttons[j]
            if not (bi['learned'] and bj['learned']) or i >= len(keys) or j >= len(keys):
                continue
            codes_equal = (bi['code'], bi['second_code']) == (bj['code'], bj['second_code'])
            keys_equal = same(keys[i][1], keys[j][1])
            if codes_equal and not keys_equal:
                equal_codes += 1
            if keys_equal and not codes_equal:
                split_codes += 1
    complete = valid and coded == len(buttons) and equal_codes == 0 and split_codes == 0
    print('%-34s %-6s %-9s %-12d %-12d%s' % (base, 'yes' if valid else 'no', '%d/%d' % (coded, len(buttons)),
                                            equal_codes, split_codes, '' if complete else '  incomplete'))
    totals['valid'] += 1 if valid else 0
    totals['coded'] += coded
    totals['buttons'] += len(buttons)
    totals['equal_codes'] += equal_codes
    totals['split_codes'] += split_codes
    totals['complete'] += 1 if complete else 0
print('%-34s %-6s %-9s %-12d %-12d  %d/%d complete' % (
    'total', '%d/%d' % (totals['valid'], totals['remotes']), '%d/%d' % (totals['coded'], totals['buttons']),
    totals['equal_codes'], totals['split_codes'], totals['complete'], totals['remotes']))
EOF
