# Seeds the provisioned test domain, before the server starts, straight into its database:
#   seed.py SMB_CONF LDIF [PAGING_OUS]
# adds the LDIF's entries, then PAGING_OUS organizational units under OU=Paging (for the
# paged-search tests), all in one transaction. Run with the system python that has samba's modules.
import sys

import ldb
from samba.auth import system_session
from samba.param import LoadParm
from samba.samdb import SamDB

conf, ldif = sys.argv[1], sys.argv[2]
paging = int(sys.argv[3]) if len(sys.argv) > 3 else 0

lp = LoadParm()
lp.load(conf)
db = SamDB(url=lp.private_path("sam.ldb"), session_info=system_session(), lp=lp)
base = str(db.domain_dn())

db.transaction_start()
try:
    with open(ldif, encoding="utf-8") as f:
        db.add_ldif(f.read())
    if paging:
        db.add({"dn": "OU=Paging," + base, "objectClass": "organizationalUnit"})
        for i in range(1, paging + 1):
            db.add({"dn": "OU=Unit %04d,OU=Paging,%s" % (i, base),
                    "objectClass": "organizationalUnit"})
    db.transaction_commit()
except Exception:
    db.transaction_cancel()
    raise
