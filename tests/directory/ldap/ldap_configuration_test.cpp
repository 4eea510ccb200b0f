// What Vorlane takes from the OpenLDAP client configuration. The configured cases run in
// processes whose environment sets LDAPURI, LDAPSASL_MECH and LDAPBINDDN (see CMakeLists.txt),
// since libldap reads its configuration once a process.
#include "directory/ldap/ldap_configuration.h"

#include <gtest/gtest.h>

#include "directory/embedded/embedded_directory.h"
#include "directory/ldap/ldap_directory.h"
#include "directory/open_directory.h"
#include "support/temp_dir.h"

namespace vorlane {
namespace {

TEST(LdapAuthenticationChoice, SaslThenSimpleThenAnonymous) {
    const struct {
        const char* mech;
        const char* bindDn;
        LdapAuthentication expected;
    } cases[] = {
        {"GSSAPI", "", LdapAuthentication::Sasl},
        {"GSSAPI", "CN=Admin,DC=x", LdapAuthentication::Sasl},
        {"", "CN=Admin,DC=x", LdapAuthentication::Simple},
        {"", "", LdapAuthentication::Anonymous},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mech) + "/" + c.bindDn);
        LdapConfiguration configuration{QStringLiteral("ldap://dc"), QString::fromUtf8(c.mech),
                                        QString::fromUtf8(c.bindDn)};
        EXPECT_EQ(authenticationFor(configuration), c.expected);
    }
}

TEST(LdapConfigurationFromEnvironment, ReadsUriMechanismAndBindDn) {
    if (qEnvironmentVariable("LDAPURI") != QStringLiteral("ldap://dc.example.test")) {
        GTEST_SKIP() << "runs with the environment that CMakeLists.txt gives it";
    }
    const LdapConfiguration configuration = readLdapConfiguration();
    EXPECT_EQ(configuration.uri, QStringLiteral("ldap://dc.example.test:389"));
    EXPECT_EQ(configuration.saslMech, QStringLiteral("GSSAPI"));
    EXPECT_EQ(configuration.bindDn,
              QStringLiteral("CN=Admin\\, Deputy,CN=Users,DC=example,DC=test"));

    testing::TempDir dir;
    auto opened = openDirectory(DirectoryOptions{dir.file(QStringLiteral("state.ldif"))});
    EXPECT_NE(dynamic_cast<LdapDirectory*>(opened.directory.get()), nullptr)
        << "a configured server is used over LDAP";
}

TEST(LdapConfigurationFromEnvironment, NothingConfiguredNamesNoServer) {
    if (qEnvironmentVariable("LDAPNOINIT") != QStringLiteral("1")) {
        GTEST_SKIP() << "runs with the environment that CMakeLists.txt gives it";
    }
    const LdapConfiguration configuration = readLdapConfiguration();
    EXPECT_TRUE(configuration.uri.isEmpty()) << configuration.uri.toStdString();
    EXPECT_TRUE(configuration.saslMech.isEmpty());
    EXPECT_TRUE(configuration.bindDn.isEmpty());

    testing::TempDir dir;
    auto opened = openDirectory(DirectoryOptions{dir.file(QStringLiteral("state.ldif"))});
    EXPECT_NE(dynamic_cast<embedded::EmbeddedDirectory*>(opened.directory.get()), nullptr);
}

}  // namespace
}  // namespace vorlane
