#!/usr/bin/env bash
# Measures the figures we publish and writes the last ones to docs/figures.md.
# Not a test: nothing here passes or fails, it prints what it measured (with the
# goals beside the figures) for a person to judge. It needs the machine to itself
# for the length of a run, so the test command never runs it.
#
#   scripts/bench.sh [options] [SECTION...]
#
# Sections (all of them when none is named):
#   footprint  under Wine, Pausora.exe beside a bare tray program of ours (a hidden
#              window, one tray icon, a 1-second timer): start to tray, then both
#              idle side by side: CPU, resident and private memory; also beside
#              the same bare program reading the last input at every tick, the
#              least a one-second input poll costs. The shipped
#              exe's layout (file alignment, debug information, size).
#   growth     under Wine, Pausora.exe with seconds-long short breaks: USER and GDI
#              objects, handles and private memory after notice 1, 10, 100, 1000.
#   durability under Wine, Pausora.exe ended by force at random moments while its
#              short breaks earn points: are "Bonus" and "FullWorkTime" ever lost
#              or left unreadable?
#   engine     the break engine and the tips picker in an optimised native build.
#   clock      the clock campaign in an optimised native build: thousands of random
#              days of sleeps, clock and daylight-saving changes and tick wraps, with
#              the rules checked after every step (how many runs, how many breaches).
#   fuzz       each fuzz target in turn at the lowest priority (scripts/fuzz.sh
#              --campaign): executions of this run and of all runs so far (the
#              tally in tests/fuzz/runs.tsv), executions a second, corpus size
#              and faults. The corpora it grew are kept, minimised.
#
# Options:
#   --idle SECONDS    idle window of the footprint section (default 120)
#   --rounds N        start-to-tray launches of each program (default 15)
#   --notices N       notices of the growth section (default 1000; about 3 s each)
#   --kills N         runs of the durability section (default 100)
#   --days N          simulated days of the clock section (default 20000)
#   --seed N          seed of the clock section (default: a fresh one, printed)
#   --fuzz-seconds S  how long each fuzz target runs (default 600)
#   --fuzz-runs N     or how many executions it runs
#   --fuzz-target T   only this target (wave, tips, page_path, settings); repeatable
#   --no-write        print only; leave docs/figures.md alone
#
# Each section replaces its own block of docs/figures.md; a block holds the date,
# the machine and the figures of its last run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/wine-env.sh

idle=120
rounds=15
notices=1000
kills=100
days=20000
seed=
write=1
fuzz_limit=(--seconds 600)
fuzz_targets=()
sections=()
while [ $# -gt 0 ]; do
    case $1 in
        --idle) idle=$2; shift ;;
        --rounds) rounds=$2; shift ;;
        --notices) notices=$2; shift ;;
        --kills) kills=$2; shift ;;
        --days) days=$2; shift ;;
        --seed) seed=$2; shift ;;
        --fuzz-seconds) fuzz_limit=(--seconds "$2"); shift ;;
        --fuzz-runs) fuzz_limit=(--runs "$2"); shift ;;
        --fuzz-target) fuzz_targets+=("$2"); shift ;;
        --no-write) write=0 ;;
        footprint|growth|durability|engine|clock|fuzz) sections+=("$1") ;;
        -h|--help) sed -n '2,43p' "$0"; exit 0 ;;
        *) echo "bench.sh: unknown argument $1" >&2; exit 2 ;;
    esac
    shift
done
[ ${#sections[@]} -gt 0 ] || sections=(footprint growth durability engine clock fuzz)

scripts/setup.sh >/dev/null || exit 1

run_dir=$(mktemp -d "${TMPDIR:-/tmp}/pausora-bench.XXXXXX")
prefix=$run_dir/prefix
cleanup() {
    stop_wine_prefix "$prefix"
    stop_private_display
    rm -rf "$run_dir"
}
trap cleanup EXIT

# --- figures and docs/figures.md -------------------------------------------------

machine() {
    local cpu mem
    cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
    mem=$(awk '/^MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo)
    echo "$(uname -sr), $cpu, $(nproc) processors, $mem; $(wine --version 2>/dev/null || echo 'no Wine')"
}

# Figures of the running section, as Markdown; printed and kept for the docs.
report=$run_dir/report.md
say() { printf '%s\n' "$*" | tee -a "$report"; }

begin_section() { # name title
    : >"$report"
    section=$1
    echo
    say "## $2"
    say ""
    say "Measured $(date -u '+%Y-%m-%d %H:%M UTC') on $(machine)."
    say ""
}

end_section() {
    [ "$write" = 1 ] || return 0
    python3 - "$root/docs/figures.md" "$section" "$report" <<'EOF'
import pathlib, sys
path, name, report = pathlib.Path(sys.argv[1]), sys.argv[2], pathlib.Path(sys.argv[3])
begin, end = f"<!-- {name} -->", f"<!-- /{name} -->"
block = f"{begin}\n{report.read_text().rstrip()}\n{end}"
order = ["footprint", "growth", "durability", "engine", "clock", "fuzz"]
text = path.read_text() if path.exists() else (
    "# Figures\n\nWritten by `scripts/bench.sh`; each section holds its last run.\n")
if begin in text:
    head, rest = text.split(begin, 1)
    text = head + block + rest.split(end, 1)[1]
else:
    # Keep the sections in their usual order.
    later = [s for s in order[order.index(name) + 1:] if f"<!-- {s} -->" in text]
    earlier = [s for s in order[:order.index(name)] if f"<!-- /{s} -->" in text]
    if later:
        head, rest = text.split(f"<!-- {later[0]} -->", 1)
        text = head + block + "\n\n" + f"<!-- {later[0]} -->" + rest
    elif earlier:
        # Right after the last of the blocks before it, ahead of any prose.
        mark = f"<!-- /{earlier[-1]} -->"
        head, rest = text.split(mark, 1)
        text = head + mark + "\n\n" + block + rest
    else:
        text = text.rstrip() + "\n\n" + block + "\n"
path.write_text(text)
EOF
}

median() { sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "n/a"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
verdict() { # value op limit -> "met" / "not met"
    awk -v v="$1" -v l="$3" -v op="$2" 'BEGIN {
        ok = (op == "<=") ? (v <= l) : (v < l); print (ok ? "met" : "not met") }'
}

# --- Wine ---------------------------------------------------------------------

bin=$root/build/windows/bin
bench_bin=$root/build/windows/bench
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

wine_up() {
    [ -n "${DISPLAY_READY:-}" ] && return 0
    scripts/build.sh windows --target Pausora InputWatch bare_tray bare_tray_input tray_probe >/dev/null
    start_private_display
    make_wine_prefix "$prefix"
    export WINEPREFIX=$prefix
    # A server of our own first, so capturing a wine call's output never waits for it.
    wineserver -p >/dev/null 2>&1
    # Pausora has been set up before (no first-run wizard) and asks a port of this
    # machine that nobody answers instead of the vendor's server for updates.
    wine reg add 'HKCU\Software\Pausora' /v FirstUse /t REG_SZ /d 1 /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Pausora' /v TestUpdateServer /t REG_SZ /d 127.0.0.1:9 /f \
        >/dev/null 2>&1
    # PAUSORA_BENCH_KEEP_HISTORY=0 runs it without the break history, for the
    # figure before and after the minute write.
    if [ -n "${PAUSORA_BENCH_KEEP_HISTORY:-}" ]; then
        wine reg add 'HKCU\Software\Pausora\TimeSettings' /v KeepHistory /t REG_DWORD \
            /d "$PAUSORA_BENCH_KEEP_HISTORY" /f >/dev/null 2>&1
    fi
    mkdir -p "$prefix/drive_c/windows/Media"
    cp res/sounds/*.wav "$prefix/drive_c/windows/Media/"
    # Wine warm: its desktop process and tray window are up before anything is timed.
    local pid
    pid=$(probe start "$(winpath "$bench_bin/bare_tray.exe")" | sed -n 's/.*pid=//p')
    probe close "$pid" >/dev/null
    DISPLAY_READY=1
}

# One DWORD value of the run's prefix.
reg_dword() { wine reg add "$1" /v "$2" /t REG_DWORD /d "$3" /f >/dev/null 2>&1; }

# Through a file, not a pipe: a program the probe starts inherits its output, and a
# pipe's reader would wait for that program to end.
probe() {
    wine "$bench_bin/tray_probe.exe" "$@" >"$run_dir/probe.out" 2>/dev/null || true
    tr -d '\r' <"$run_dir/probe.out"
}

# The Linux process of a running Windows program of our prefix.
linux_pid() { # exe file name
    local d first
    for d in /proc/[0-9]*; do
        first=
        IFS= read -r -d '' first 2>/dev/null <"$d/cmdline" || true
        [[ ${first,,} == *\\"${1,,}" ]] || continue
        in_prefix "$d" || continue
        echo "${d#/proc/}"
        return 0
    done
    return 1
}
in_prefix() { # /proc/PID
    tr '\0' '\n' 2>/dev/null <"$1/environ" | grep -qx "WINEPREFIX=$prefix"
}

# CPU time of every thread of a process, in nanoseconds (the scheduler's own count).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }
# Times its threads were woken to run (every timer message, every reply of the server).
wakeups() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $3 } END { printf "%.0f", s }'; }
status_kb() { awk -v k="$2:" '$1 == k { print $2 }' /proc/"$1"/status; }
private_kb() { awk '/^Private_(Clean|Dirty):/ { s += $2 } END { print s }' /proc/"$1"/smaps_rollup; }
wineserver_pid() {
    local d
    for d in /proc/[0-9]*; do
        [[ $(readlink "$d/exe" 2>/dev/null) == */wineserver* ]] || continue
        in_prefix "$d" || continue
        echo "${d#/proc/}"
        return 0
    done
}

# Processor time a running program of ours has used so far, in milliseconds.
cpu_ms_of() { # exe file name
    local pid
    pid=$(linux_pid "$1") || { echo n/a; return; }
    awk -v ns="$(cpu_ns "$pid")" 'BEGIN { printf "%.1f", ns / 1e6 }'
}

start_program() { # exe path -> "wall-ms cpu-ms winpid"
    local out
    out=$(probe start "$(winpath "$1")" 60000)
    case $out in
        start_to_tray_ms=*)
            echo "$out" |
                sed 's/start_to_tray_ms=\([0-9.]*\) cpu_ms=\([0-9.-]*\) pid=\([0-9]*\)/\1 \2 \3/' ;;
        *) echo "bench.sh: $(basename "$1"): $out" >&2; return 1 ;;
    esac
}

# --- footprint ------------------------------------------------------------------

footprint() {
    wine_up
    local pausora=$bin/Pausora.exe bare=$bench_bin/bare_tray.exe
    begin_section footprint "Footprint under Wine, beside a bare tray program"

    say "### The shipped exe"
    say ""
    local align size rsrc
    align=$(x86_64-w64-mingw32-objdump -p "$pausora" | awk '/^FileAlignment/ { print $2 }')
    size=$(stat -c %s "$pausora")
    rsrc=$((16#$(x86_64-w64-mingw32-objdump -h "$pausora" | awk '$2 == ".rsrc" { print $3 }')))
    say "| what | figure |"
    say "| --- | --- |"
    say "| file alignment | $((16#$align)) bytes (the goal: 4096, so Wine maps the file) |"
    say "| debug sections in the exe | $(x86_64-w64-mingw32-objdump -h "$pausora" | grep -c ' \.debug_' || true) (kept in Pausora.debug, $(($(stat -c %s "$bin/Pausora.debug") / 1024)) KiB) |"
    say "| Pausora.exe | $((size / 1024)) KiB, of which resources $((rsrc / 1024)) KiB |"
    say "| bitmaps in res/bitmaps | $(du -cb res/bitmaps/*.bmp | tail -1 | awk '{ printf "%d KiB", $1 / 1024 }') |"
    say ""

    # Start to tray: launched from inside Wine (as Explorer would), until its icon is
    # in the notification area; the two in turn so that drift hits both alike.
    local i a b ac bc apid bpid ipid as=() bs=() rs=() acs=() bcs=() rcs=()
    for i in $(seq "$rounds"); do
        read -r b _ bpid < <(start_program "$bare")
        bc=$(cpu_ms_of bare_tray.exe)
        probe close "$bpid" >/dev/null
        sleep 1
        read -r a _ apid < <(start_program "$pausora")
        ac=$(cpu_ms_of Pausora.exe)
        probe close "$apid" >/dev/null
        sleep 1
        as+=("$a") bs+=("$b") rs+=("$(ratio "$a" "$b")")
        acs+=("$ac") bcs+=("$bc") rcs+=("$(ratio "$ac" "$bc")")
    done
    local am bm rm acm bcm rcm
    am=$(printf '%s\n' "${as[@]}" | median)
    bm=$(printf '%s\n' "${bs[@]}" | median)
    rm=$(printf '%s\n' "${rs[@]}" | median)
    acm=$(printf '%s\n' "${acs[@]}" | median)
    bcm=$(printf '%s\n' "${bcs[@]}" | median)
    rcm=$(printf '%s\n' "${rcs[@]}" | median)

    # Idle: both running side by side; the window starts once both have settled.
    read -r _ _ apid < <(start_program "$pausora")
    read -r _ _ bpid < <(start_program "$bare")
    read -r _ _ ipid < <(start_program "$bench_bin/bare_tray_input.exe")
    sleep 10
    local la lb li ls
    la=$(linux_pid Pausora.exe) && lb=$(linux_pid bare_tray.exe) &&
        li=$(linux_pid bare_tray_input.exe) || {
        say "Could not find the programs' Linux processes."
        return 1
    }
    ls=$(wineserver_pid)
    local ca0 cb0 ci0 cs0 ca1 cb1 ci1 cs1
    local wa0 wb0 wi0 wa1 wb1 wi1
    ca0=$(cpu_ns "$la") cb0=$(cpu_ns "$lb") ci0=$(cpu_ns "$li") cs0=$(cpu_ns "$ls")
    wa0=$(wakeups "$la") wb0=$(wakeups "$lb") wi0=$(wakeups "$li")
    sleep "$idle"
    ca1=$(cpu_ns "$la") cb1=$(cpu_ns "$lb") ci1=$(cpu_ns "$li") cs1=$(cpu_ns "$ls")
    wa1=$(wakeups "$la") wb1=$(wakeups "$lb") wi1=$(wakeups "$li")
    local cpua cpub cpui cpus
    cpua=$(awk -v a="$ca0" -v b="$ca1" 'BEGIN { printf "%.1f", (b - a) / 1e6 }')
    cpub=$(awk -v a="$cb0" -v b="$cb1" 'BEGIN { printf "%.1f", (b - a) / 1e6 }')
    cpui=$(awk -v a="$ci0" -v b="$ci1" 'BEGIN { printf "%.1f", (b - a) / 1e6 }')
    cpus=$(awk -v a="$cs0" -v b="$cs1" 'BEGIN { printf "%.1f", (b - a) / 1e6 }')
    local rssa rssb anona anonb priva privb wa wb
    rssa=$(status_kb "$la" VmRSS) rssb=$(status_kb "$lb" VmRSS)
    anona=$(status_kb "$la" RssAnon) anonb=$(status_kb "$lb" RssAnon)
    priva=$(private_kb "$la") privb=$(private_kb "$lb")
    wa=$(probe objects "$apid" | sed -n 's/.*private_kb=\([0-9n/a]*\).*/\1/p')
    wb=$(probe objects "$bpid" | sed -n 's/.*private_kb=\([0-9n/a]*\).*/\1/p')
    probe close "$apid" >/dev/null
    probe close "$bpid" >/dev/null
    probe close "$ipid" >/dev/null

    local cpur anond
    cpur=$(ratio "$cpua" "$cpub")
    anond=$(awk -v a="$anona" -v b="$anonb" 'BEGIN { printf "%.1f", (a - b) / 1024 }')
    mb() { awk -v k="$1" 'BEGIN { if (k ~ /^[0-9]+$/) printf "%.1f MB", k / 1024; else print k }'; }
    say "### Side by side"
    say ""
    say "| figure | Pausora.exe | bare tray program | ratio or difference | goal |"
    say "| --- | --- | --- | --- | --- |"
    say "| start to tray, median of $rounds (ms) | $am | $bm | ×$rm (median of pairs) | ≤ ×1.3: $(verdict "$rm" "<=" 1.3) |"
    say "| processor time used by the time the icon shows (ms) | $acm | $bcm | ×$rcm (median of pairs) | |"
    say "| CPU over ${idle} s idle (ms) | $cpua | $cpub | ×$cpur | ≤ ×1.1: $(verdict "$cpur" "<=" 1.1) |"
    say "| times scheduled to run over the idle window | $((wa1 - wa0)) | $((wb1 - wb0)) | ×$(ratio $((wa1 - wa0)) $((wb1 - wb0))) | |"
    say "| CPU over ${idle} s idle beside the bare program that also reads the last input each second (ms) | $cpua | $cpui | ×$(ratio "$cpua" "$cpui") | |"
    say "| times scheduled to run, beside that program | $((wa1 - wa0)) | $((wi1 - wi0)) | ×$(ratio $((wa1 - wa0)) $((wi1 - wi0))) | |"
    say "| private memory (anonymous, resident) | $(mb "$anona") | $(mb "$anonb") | +$anond MB | ≤ +2 MB: $(verdict "$anond" "<=" 2) |"
    say "| private pages (anonymous and file, this process only) | $(mb "$priva") | $(mb "$privb") | +$(awk -v a="$priva" -v b="$privb" 'BEGIN { printf "%.1f", (a - b) / 1024 }') MB | |"
    say "| resident | $(mb "$rssa") | $(mb "$rssb") | +$(awk -v a="$rssa" -v b="$rssb" 'BEGIN { printf "%.1f", (a - b) / 1024 }') MB | |"
    say "| private bytes as Wine reports them | $(mb "$wa") | $(mb "$wb") | | |"
    say ""
    say "Start to tray per round (ms), Pausora.exe: ${as[*]}; bare program: ${bs[*]}."
    say "Processor time per round (ms), Pausora.exe: ${acs[*]}; bare program: ${bcs[*]}."
    say "Each launched from inside Wine (already running, its tray window up) and"
    say "timed until the icon's window shows in the tray; the two in turn, a second apart."
    say "The Wine server of the run used $cpus ms of CPU over the idle window, both"
    say "programs together (it is not counted in either's figure)."
    say "CPU is the scheduler's count for every thread of the process; memory is read"
    say "from the kernel at the end of the idle window. Pausora runs its default settings"
    say "(set up before, so without the first-run wizard; its update check asks a port"
    say "of the same machine that nobody answers)."
    end_section
}

# --- growth ----------------------------------------------------------------------

growth() {
    wine_up
    begin_section growth "Growth over $notices notices"
    # A short break every few seconds: 2 s of work, a 1-s break taken at once (no
    # input reaches the display), no long breaks, no sounds.
    local key='HKCU\Software\Pausora\TimeSettings'
    reg_dword "$key" Micropause 2
    reg_dword "$key" Micropause_length 1
    reg_dword "$key" UsePauses 0
    reg_dword "$key" UseSounds 0
    reg_dword "$key" UseWorkingTime 0
    reg_dword "$key" UseDailyTimeLimit 0
    reg_dword "$key" Bonus 0

    local apid lpid
    read -r _ _ apid < <(start_program "$bin/Pausora.exe")
    lpid=$(linux_pid Pausora.exe)
    # Each short break ends with two points, so Bonus counts the notices shown.
    bonus() {
        local hex
        hex=$(wine reg query "$key" /v Bonus 2>/dev/null | tr -d '\r' |
            awk '/Bonus/ { sub(/^0x/, "", $3); print $3 }')
        echo $((16#${hex:-0}))
    }
    field() { sed -n "s/.*$1=\([^ ]*\).*/\1/p" <<<"$2"; }
    say "| after notice | windows | USER objects | GDI objects | handles | handles in the system's table | private bytes (Wine) | private (anonymous, resident) | resident |"
    say "| --- | --- | --- | --- | --- | --- | --- | --- | --- |"
    local mark shown start=$SECONDS line
    for mark in 1 10 100 1000 10000; do
        [ "$mark" -le "$notices" ] || break
        while shown=$(( $(bonus) / 2 )); [ "$shown" -lt "$mark" ]; do
            if ! kill -0 "$lpid" 2>/dev/null; then
                say "Pausora.exe ended after $shown notices."
                end_section
                return 1
            fi
            sleep 1
        done
        line=$(probe objects "$apid")
        say "| $mark | $(field windows "$line") | $(field user_objects "$line") | $(field gdi_objects "$line") | $(field handles "$line") | $(field table_handles "$line") | $(field private_kb "$line") | $(status_kb "$lpid" RssAnon) KiB | $(status_kb "$lpid" VmRSS) KiB |"
    done
    probe close "$apid" >/dev/null
    say ""
    say "$notices short breaks in $((SECONDS - start)) s: 2 s of work apart, each taken at once"
    say "(a notice, the break's end, two points). Counted by the points they earned."
    say "Where a column says n/a, Wine keeps no such count (GetGuiResources"
    say "and the private bytes of GetProcessMemoryInfo answer 0 there, and so may"
    say "GetProcessHandleCount); the windows (top-level, child and message-only) stand in for the USER"
    say "objects and the system's handle table for the handle count. Private memory is"
    say "read from the kernel."
    end_section
}

# --- durability ------------------------------------------------------------------

# "TYPE VALUE" of a value under HKCU\Software\Pausora (VALUE in decimal for a DWORD).
reg_value() { # subkey-or-empty name
    local key='HKCU\Software\Pausora' line
    [ -n "$1" ] && key="$key\\$1"
    line=$(wine reg query "$key" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n')
    set -- $line
    case ${2:-} in
        REG_DWORD) echo "REG_DWORD $((16#${3#0x}))" ;;
        '') echo "missing -" ;;
        *) echo "$2 ${3:-}" ;;
    esac
}

durability() {
    wine_up
    begin_section durability "Durability: $kills runs ended by force"
    # Points every few seconds (a short break every 2 s of work, taken at once);
    # the day's total stands at 123 minutes, dated today, and no input comes, so
    # it must come through every kill exactly as it was (or, once the date has
    # turned, as the new day's zero).
    local key='HKCU\Software\Pausora\TimeSettings' app='HKCU\Software\Pausora'
    reg_dword "$key" Micropause 2
    reg_dword "$key" Micropause_length 1
    reg_dword "$key" UsePauses 0
    reg_dword "$key" UseSounds 0
    reg_dword "$key" Bonus 0
    reg_dword "$app" FullWorkTime 123
    reg_dword "$app" LastY "$(date +%Y)"
    reg_dword "$app" LastM "$((10#$(date +%m)))"
    reg_dword "$app" LastD "$((10#$(date +%d)))"

    local run apid wait before after work day expected lost=0 gained_max=0 bad=0 nostart=0 total_wait=0
    local today=$((10#$(date +%d)))
    local first_bonus last_bonus
    first_bonus=$(reg_value TimeSettings Bonus | awk '{ print $2 }')
    for run in $(seq "$kills"); do
        if ! read -r _ _ apid < <(start_program "$bin/Pausora.exe"); then
            nostart=$((nostart + 1))
            continue
        fi
        # A random moment from half a second to eight seconds after the icon.
        wait=$(awk -v r="$RANDOM" 'BEGIN { printf "%.2f", 0.5 + 7.5 * r / 32767 }')
        sleep "$wait"
        total_wait=$(awk -v a="$total_wait" -v b="$wait" 'BEGIN { print a + b }')
        before=$(reg_value TimeSettings Bonus)
        probe kill "$apid" >/dev/null
        after=$(reg_value TimeSettings Bonus)
        work=$(reg_value "" FullWorkTime)
        # Past midnight the program starts the new day's total from zero.
        day=$(reg_value "" LastD)
        expected="REG_DWORD 123"
        [ "$day" = "REG_DWORD $today" ] || expected="REG_DWORD 0"
        if [ "${after%% *}" != REG_DWORD ] || [ "$work" != "$expected" ]; then
            bad=$((bad + 1))
            say "- run $run: Bonus $after, FullWorkTime $work (day $day) after the kill"
            continue
        fi
        # Between the reading and the kill at most one break can end (2 points).
        if [ "${after#* }" -lt "${before#* }" ]; then
            lost=$((lost + 1))
            say "- run $run: Bonus ${before#* } before the kill, ${after#* } after"
        fi
        [ $((${after#* } - ${before#* })) -gt "$gained_max" ] && gained_max=$((${after#* } - ${before#* }))
    done
    last_bonus=$(reg_value TimeSettings Bonus | awk '{ print $2 }')
    say ""
    say "| figure | count |"
    say "| --- | --- |"
    say "| runs ended by force | $kills |"
    say "| runs where the program did not reach the tray | $nostart |"
    say "| runs where a value was unreadable, of the wrong type or changed (FullWorkTime) | $bad |"
    say "| runs where Bonus lost points already saved | $lost |"
    say "| points earned over all runs (Bonus from $first_bonus to $last_bonus) | $((last_bonus - first_bonus)) |"
    say ""
    say "Each run starts Pausora.exe, waits a random 0.5 to 8 s after its icon shows"
    say "($(awk -v t="$total_wait" -v n="$kills" 'BEGIN { printf "%.1f", t / n }') s on average), reads the registry, ends the process with"
    say "TerminateProcess and reads again. Every point is saved when it is earned and"
    say "every counted minute when it is counted, so what a kill may cost is what was"
    if [ "$lost" = 0 ] && [ "$bad" = 0 ]; then
        say "earned since: here nothing saved was ever lost or damaged."
    else
        say "earned since; the runs listed above lost or damaged more."
    fi
    end_section
}

# --- engine ----------------------------------------------------------------------

bench_build() { # targets...
    if [ ! -f build/bench/build.ninja ]; then
        cmake --preset bench >/dev/null
    fi
    cmake --build --preset bench -j 2 --target "$@" >/dev/null
}

engine() {
    begin_section engine "Break engine and tips picker (optimised native build)"
    bench_build engine_bench tips_bench history_bench
    say '```'
    local b
    for b in engine_bench tips_bench history_bench; do
        build/bench/tools/bench/$b --benchmark_min_time=1 2>/dev/null |
            grep -E '^(Benchmark|BM_|PickTip|ReadShipped|DecodeShipped)' | tee -a "$report"
    done
    say '```'
    say ""
    say "A simulated week (five working days, a weekend) per iteration; s_per_day is the"
    say "processor time of one simulated day. BM_WeekOfWork runs the whole simulation"
    say "(virtual timers, scripted user, recording presenter, in-memory registry);"
    say "BM_EngineAlone hands the engine the same recorded steps again through ports"
    say "that do nothing, so its figure is the engine's own. Goals: engine under 1 ms"
    say "per simulated day; one PickTip under 50 us."
    say ""
    say "BM_HistoryReadAndLayOutTwoYears reads two years of history.csv (731 days) and"
    say "lays out the history window's chart with every bar's tooltip text, at 150 %;"
    say "BM_HistoryMinuteWriteTwoYears is the text the minute step writes;"
    say "BM_HistoryReadAndWriteTenMegabytes a 10 MB file, mostly lines not ours, read"
    say "and written back whole. Goal: read and lay out two years under 50 ms."
    end_section
}

# --- clock -----------------------------------------------------------------------

clock() {
    begin_section clock "Clock campaign in simulated time (optimised native build)"
    bench_build clock_campaign
    [ -n "$seed" ] || seed=$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')
    local out status=0
    out=$(build/bench/tools/bench/clock_campaign --seed "$seed" --days "$days") || status=$?
    say '```'
    say "$out"
    say '```'
    say ""
    say "Rerun with \`scripts/bench.sh clock --seed $seed --days $days\` for the same campaign."
    say "Each episode is one program on one machine: random settings (intervals from"
    say "30 s, lengths from 0 s, every switch, now and then a switch value of 2), a"
    say "random date and time, a tick count that often starts within three days of"
    say "0xFFFFFFFF, a day total left by an earlier run (today's, yesterday's, old or"
    say "none), and then, at random: the user at the keyboard or away, sleeps of 2 s to"
    say "3 days (a third of them just after a notice: in a break or a reminder; the"
    say "overdue messages by due time, by id or by id backwards; the wake notice first,"
    say "after them, seconds later or never), the wall clock set forwards or back (a time"
    say "server's seconds, the user's minutes to days, back over midnight on purpose),"
    say "daylight saving (±1 h), settings changed (the schedule restarted), Start/Stop,"
    say "and the program restarted over the same registry."
    say ""
    say "The rules, checked after every timer step, command and wake:"
    say ""
    say "- quiet wake: from the moment the engine knows of a wake (the system's notice,"
    say "  or two minutes without a timer step) no notice and no sound for a minute, or"
    say "  for the shortest interval if that is shorter (the fresh schedule's own break);"
    say "  a schedule the user restarts in that minute brings its breaks on its own time."
    say "  A short sleep the system does not announce (or announces late) looks to the"
    say "  engine like a busy moment: what its overdue messages show is counted apart."
    say "- points over a sleep: a wake the engine knows of at once pays the break that was"
    say "  running as taken (2 or 10 points, with its switch on), once; any other sleep"
    say "  never lowers \"Bonus\"; the registry always holds what is in memory."
    say "- one phase of timers: working {1, 3, 6, 8}, a short break {2, 3, 5, 8}, a long"
    say "  break {4, 7, 8}, stopped {} (an interval of 00:00 leaves its timer out)."
    say "- day total: an active minute is a step of the minute timer (every 60 s of the"
    say "  tick count since the schedule last started; the wall clock does not move it)"
    say "  at which the last input is less than 60 s old, and it belongs to the date the"
    say "  clock shows at that step. \"FullWorkTime\" with \"LastY/M/D\" must equal the"
    say "  active minutes of the stored date (plus what an earlier run left for it), at"
    say "  every minute step, wake and start, with the stored date the clock's."
    say "- no burst: never the same notice twice within 5 s. Notices of different kinds"
    say "  from schedules of their own (a reminder and the minute's end-of-day notice, a"
    say "  long break falling due in a short one) may meet within seconds, as intended;"
    say "  they are counted above, not as breaches."
    if [ "$status" != 0 ]; then
        say ""
        say "The run broke rules (exit status $status): see the examples above."
    fi
    end_section
}

# --- fuzz ------------------------------------------------------------------------

fuzz() {
    begin_section fuzz "Fuzzing"
    local tally=tests/fuzz/runs.tsv lines=0 status=0
    [ -f "$tally" ] && lines=$(wc -l <"$tally")
    scripts/fuzz.sh --campaign "${fuzz_limit[@]}" ${fuzz_targets[@]+"${fuzz_targets[@]}"} || status=1
    say "| target | executions this run | executions in all runs | executions a second (this run) | corpus (inputs, KiB) | faults this run | faults in all runs |"
    say "| --- | --- | --- | --- | --- | --- | --- |"
    # The rows this run added, then every row, per target.
    python3 - "$tally" "$lines" <<'PY' | tee -a "$report"
import csv, sys
rows = list(csv.DictReader(open(sys.argv[1]), delimiter="\t"))
first_new = max(int(sys.argv[2]) - 1, 0)
for target in ["wave", "tips", "page_path", "settings"]:
    mine = [r for r in rows if r["target"] == target]
    if not mine:
        continue
    new = [r for r in rows[first_new:] if r["target"] == target]
    execs = sum(int(r["executions"]) for r in new)
    seconds = sum(int(r["seconds"]) for r in new)
    rate = f"{execs / seconds:,.0f}" if seconds else "-"
    last = mine[-1]
    print(f"| {target} | {execs:,} | {sum(int(r['executions']) for r in mine):,} | {rate} | "
          f"{last['corpus_files']}, {int(last['corpus_bytes']) / 1024:.0f} | "
          f"{sum(int(r['faults']) for r in new)} | {sum(int(r['faults']) for r in mine)} |")
PY
    say ""
    say "libFuzzer targets built with clang, AddressSanitizer and UBSan, run one at a"
    say "time at the lowest priority (the machine is shared), each from its corpus in"
    say "tests/fuzz/corpus, which keeps what a run found, minimised. wave: the WAVE"
    say "reader and player; tips: the tips file's lines, decoding and the picker with"
    say "its kept lines; page_path: the settings tree's page paths; settings: the"
    say "settings loader over any registry contents. The tally of every run is"
    say "tests/fuzz/runs.tsv; a fault's input is kept in build/fuzz/artifacts."
    end_section
    return "$status"
}

for s in "${sections[@]}"; do
    "$s"
done
