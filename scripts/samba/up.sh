# Sourced by run-tests and bench: provisions, seeds and starts the throwaway DC in a temporary
# folder, gets the administrator's ticket, exports the client configuration and the harness's
# variables, and stops the DC and removes the folder when the sourcing script exits.
HERE=${HERE:-$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)}
dir=$(mktemp -d /tmp/vorlane-samba.XXXXXX)
cleanup() {
    "$HERE/dc" stop "$dir" || true
    rm -rf "$dir"
}
trap cleanup EXIT

source "$HERE/domain.sh"
seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }
t0=$(seconds)
"$HERE/dc" provision "$dir"
/usr/bin/python3 "$HERE/seed.py" "$dir/dc/etc/smb.conf" "$HERE/demo.ldif" 2500
t1=$(seconds)
"$HERE/dc" start "$dir"
# The ldap/ service names of the DC are registered by a service that is not run here.
samba_spnupdate -s "$dir/dc/etc/smb.conf" >"$dir/spnupdate.log" 2>&1
t2=$(seconds)
echo "samba: provisioned and seeded in $(elapsed "$t0" "$t1") s, started in $(elapsed "$t1" "$t2") s"

export KRB5_CONFIG=$dir/krb5.conf
export KRB5CCNAME=FILE:$dir/ccache
"$HERE/dc" kinit "$dir"

# GSSAPI needs the DC's own host name (a service name of the DC that resolves to loopback).
export LDAPURI=ldap://$(hostname)
export LDAPSASL_MECH=GSSAPI
export VORLANE_SAMBA_DIR=$dir
export VORLANE_SAMBA_CONTROL=$HERE/dc
export VORLANE_SAMBA_BASE_DN VORLANE_SAMBA_ADMIN_DN VORLANE_SAMBA_ADMIN_PASSWORD
