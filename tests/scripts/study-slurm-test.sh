#!/usr/bin/env bash
# zuvan-study --engine slurm against a real single-node Slurm cluster started
# here on localhost (munged, slurmctld, slurmd, all from a temporary folder,
# on free ports) and stopped at the end whatever happens. The merged reports
# and JSON lines must be byte for byte those of one plain run of the deck.
# Arguments: the built ZuvanFatigue, the Python 3 to run the scripts with.
# Exit status 77 (skipped) only where this machine cannot run a cluster at
# all: not root, or Slurm and munge not installed (scripts/setup.sh).
set -euo pipefail
exe=$(readlink -f "$1")
python=${2:-/usr/bin/python3}
root=$(cd "$(dirname "$0")/../.." && pwd)

skip() { echo "skipped: $*"; exit 77; }
fail() { echo "study-slurm test: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || skip "the test cluster's daemons run as root (CI runs as root)"
for p in munged slurmctld slurmd sbatch squeue; do
    command -v "$p" >/dev/null || skip "$p is not installed (scripts/setup.sh installs slurm-wlm and munge)"
done

dir=$(mktemp -d /tmp/zuvan-slurm.XXXXXX)
chmod 700 "$dir"
stop_cluster() {
    # Only the daemons this test started, by the pids they wrote.
    for daemon in slurmd slurmctld munged; do
        if [ -s "$dir/$daemon.pid" ]; then
            kill "$(cat "$dir/$daemon.pid")" 2>/dev/null || true
        fi
    done
    sleep 1
    for daemon in slurmd slurmctld munged; do
        if [ -s "$dir/$daemon.pid" ]; then
            kill -9 "$(cat "$dir/$daemon.pid")" 2>/dev/null || true
        fi
    done
    rm -rf "$dir"
}
trap stop_cluster EXIT
cannot_start() {
    echo "study-slurm test: the Slurm cluster could not start: $*" >&2
    for log in munged.log slurmctld.log slurmd.log; do
        [ -f "$dir/$log" ] && { echo "--- $log" >&2; tail -n 15 "$dir/$log" >&2; }
    done
    exit 1
}

# Three free TCP ports on localhost: slurmctld, slurmd, srun.
read -r ctld_port slurmd_port srun_port < <("$python" - <<'EOF'
import socket
sockets = [socket.socket() for _ in range(3)]
for s in sockets:
    s.bind(("127.0.0.1", 0))
print(*[s.getsockname()[1] for s in sockets])
EOF
)

dd if=/dev/urandom of="$dir/munge.key" bs=1024 count=1 status=none
chmod 400 "$dir/munge.key"
munged --force --key-file="$dir/munge.key" --socket="$dir/munge.socket" \
    --pid-file="$dir/munged.pid" --log-file="$dir/munged.log" --seed-file="$dir/munge.seed" \
    || cannot_start "munged did not start"
munge -S "$dir/munge.socket" -n </dev/null | unmunge -S "$dir/munge.socket" >/dev/null \
    || cannot_start "munge credentials do not round-trip"

mkdir -p "$dir/state" "$dir/spool"
# More CPUs than the machine has: the requests are small, and the test waits less.
cpus=$(( $(nproc) * 4 ))
cat >"$dir/slurm.conf" <<EOF
ClusterName=zuvantest
SlurmctldHost=localhost(127.0.0.1)
SlurmUser=root
SlurmdUser=root
SlurmctldPort=$ctld_port
SlurmdPort=$slurmd_port
SrunPortRange=$srun_port-$srun_port
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$dir/munge.socket
StateSaveLocation=$dir/state
SlurmdSpoolDir=$dir/spool
SlurmctldPidFile=$dir/slurmctld.pid
SlurmdPidFile=$dir/slurmd.pid
SlurmctldLogFile=$dir/slurmctld.log
SlurmdLogFile=$dir/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SwitchType=switch/none
MpiDefault=none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
ReturnToService=2
SlurmdParameters=config_overrides
NodeName=localhost NodeAddr=127.0.0.1 CPUs=$cpus State=UNKNOWN
PartitionName=zuvan Nodes=localhost Default=YES MaxTime=INFINITE State=UP
EOF
export SLURM_CONF="$dir/slurm.conf"
slurmctld -f "$SLURM_CONF" -i || cannot_start "slurmctld did not start"
slurmd -f "$SLURM_CONF" -N localhost || cannot_start "slurmd did not start"
for _ in $(seq 60); do
    state=$(sinfo -h -N -o '%T' 2>/dev/null || true)
    [ "$state" = idle ] && break
    sleep 0.5
done
[ "$state" = idle ] || cannot_start "the node is not idle after 30 s (sinfo: ${state:-no answer})"

# The bundled whole-component example, with both counting methods.
work="$dir/work"
mkdir -p "$work/plain"
{ cat "$root/examples/vessel.data"; echo
  "$python" "$root/scripts/zuvan-csv2deck" "$root/examples/vessel-locations.csv" --by node \
      --zones "$root/examples/vessel-zones.csv" --requests both 2>/dev/null; } >"$work/vessel.data"
LANG=C LC_ALL=C "$exe" --json -d "$work/vessel.data" -c "$root/examples/context.ctx" \
    -o "$work/plain" 2>/dev/null || fail "the plain run ended with $?"

LANG=C LC_ALL=C ZUVAN_EXE="$exe" "$python" "$root/scripts/zuvan-study" --engine slurm \
    --slurm-args "--cpus-per-task=1 --time=10" --json \
    -d "$work/vessel.data" -c "$root/examples/context.ctx" -o "$work/study" \
    >"$work/stdout" 2>"$work/stderr" || { cat "$work/stderr" >&2; fail "the study ended with $?"; }
grep -q "^Slurm job array" <(sed 's/^zuvan-study: //' "$work/stderr") \
    || fail "no Slurm job array was submitted: $(cat "$work/stderr")"
# JSON lines: equal but for their "run" object's time and threads (each job's own).
same_lines() {
    "$python" - "$1" "$2" <<'PY'
import json, sys
def parts(path):
    out = []
    for line in open(path, "rb").read().decode("utf-8").splitlines():
        start = line.index(',"run":') + len(',"run":')
        run, end = json.JSONDecoder().raw_decode(line, start)
        del run["time"], run["threads"]
        out.append((line[:start] + line[end:], run))
    return out
sys.exit(0 if parts(sys.argv[1]) == parts(sys.argv[2]) else 1)
PY
}
for f in "$work/plain"/*; do
    g="$work/study/$(basename "$f")"
    case "$f" in
        *.jsonl) same_lines "$f" "$g" || fail "$(basename "$f") differs from the plain run" ;;
        *) cmp "$f" "$g" || fail "$(basename "$f") differs from the plain run" ;;
    esac
done
count() { find "$1" -maxdepth 1 -type f -name '*.txt*' | wc -l; }
[ "$(count "$work/plain")" -eq "$(count "$work/study")" ] || fail "other report files in the study"
[ "$(wc -l <"$work/study/summary.csv")" -eq 27 ] || fail "summary.csv has not 26 requests"
grep -q "0 of 26 requests failed" "$work/stdout" || fail "summary: $(head -1 "$work/stdout")"
[ -z "$(squeue -h)" ] || fail "jobs left in the queue: $(squeue -h)"
echo "Slurm study: 26 requests as one job array, merged reports equal to the plain run"
