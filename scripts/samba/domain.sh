# The test domain that scripts/samba/dc provisions (sourced by the Samba scripts).
VORLANE_SAMBA_REALM=VORLANE.TEST
VORLANE_SAMBA_DOMAIN=VORLANE
VORLANE_SAMBA_BASE_DN=DC=vorlane,DC=test
VORLANE_SAMBA_ADMIN_DN=CN=Administrator,CN=Users,DC=vorlane,DC=test
VORLANE_SAMBA_ADMIN_PASSWORD='Vorlane-Adm1n!'
