#!/usr/bin/env bash
# Mounts SERVED at MOUNTPOINT through sshfs from an sshd of its own on a free port of 127.0.0.1,
# with keys made in STATE; "stop STATE" ends that sshd. Root only, as the tests that use it.
set -euo pipefail
if [ "$1" = stop ]; then
    [ -f "$2/sshd.pid" ] && kill "$(cat "$2/sshd.pid")" 2>/dev/null || true
    exit 0
fi
served=$1 mountpoint=$2 state=$3
for tool in /usr/sbin/sshd ssh-keygen sshfs; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed" >&2; exit 1; }
done
ssh-keygen -q -t ed25519 -N '' -f "$state/host"
ssh-keygen -q -t ed25519 -N '' -f "$state/client"
cp "$state/client.pub" "$state/authorized_keys"
# A port nothing answers on.
while port=$((20000 + RANDOM % 30000)); (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do :; done
cat >"$state/sshd_config" <<CONFIG
Port $port
ListenAddress 127.0.0.1
HostKey $state/host
AuthorizedKeysFile $state/authorized_keys
PermitRootLogin prohibit-password
PasswordAuthentication no
StrictModes no
UsePAM no
PidFile $state/sshd.pid
Subsystem sftp internal-sftp
CONFIG
mkdir -p /run/sshd
/usr/sbin/sshd -f "$state/sshd_config" -E "$state/sshd.log"
for _ in $(seq 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
    sleep 0.1
done
sshfs "root@127.0.0.1:$served" "$mountpoint" -p "$port" \
    -o "IdentityFile=$state/client,StrictHostKeyChecking=no,UserKnownHostsFile=/dev/null,BatchMode=yes"
