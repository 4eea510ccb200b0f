// TLS as the client configuration says. scripts/samba/run-tests runs this case twice with an
// ldaps:// URI: with the configuration's certificate checks (Samba's self-signed certificate is
// then refused) and with LDAPTLS_REQCERT=never.
#include <gtest/gtest.h>

#include "directory/ldap/ldap_directory.h"
#include "directory/platform/ldap_failure.h"
#include "samba_domain.h"

namespace vorlane {
namespace {

TEST(SambaTls, CertificateChecksFollowTheConfiguration) {
    auto domain = testing::SambaDomain::fromEnvironment();
    const LdapConfiguration configuration = readLdapConfiguration();
    if (!domain || !configuration.uri.startsWith(QLatin1String("ldaps://"))) {
        GTEST_SKIP() << "runs with an ldaps:// URI to the Samba domain (scripts/samba/run-tests)";
    }
    LdapDirectory directory(configuration, LdapOptions{});
    auto rootDse = directory.bindObject(QStringLiteral("LDAP://rootDSE"));
    if (qEnvironmentVariable("LDAPTLS_REQCERT") == QLatin1String("never")) {
        // GSSAPI inside TLS, without a second security layer.
        ASSERT_TRUE(rootDse) << failureSuffix(rootDse.error()).toStdString();
        EXPECT_EQ((*rootDse)->get(QStringLiteral("defaultNamingContext")), domain->baseDn());
    } else {
        ASSERT_FALSE(rootDse) << "an unknown certificate is refused";
        EXPECT_EQ(rootDse.error().code, failureFromLdapResult(ldap_result::kServerDown).code);
    }
}

}  // namespace
}  // namespace vorlane
