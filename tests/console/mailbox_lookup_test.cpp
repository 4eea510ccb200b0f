#include "console/mailbox_lookup.h"

#include <gtest/gtest.h>

#include "seeded_directory.h"
#include "support/faulty_directory.h"

namespace vorlane {
namespace {

using namespace vorlane::testing;
namespace domain = vorlane::testing::provisioning_domain;

const Failure kRefused{0x80072035,
                       QStringLiteral("The server is unwilling to process the request.")};

class MailboxLookup : public ::testing::Test {
  protected:
    MailboxLookup() : faulty_(seeded_.directory()) {}

    QString lookUp(const QString& smtp) { return getADsPathFromSMTP(faulty_, smtp); }
    QStringList callsOf(const QString& op) const {
        QStringList calls;
        for (const QString& call : faulty_.calls()) {
            if (call.startsWith(op + u'(')) calls << call;
        }
        return calls;
    }

    SeededDirectory seeded_;
    FaultyDirectory faulty_;
};

TEST_F(MailboxLookup, FindsTheEntryCarryingTheAddressInTheDefaultDomain) {
    EXPECT_EQ(lookUp(domain::kAliceMail), domain::kAlicePath);
    EXPECT_EQ(callsOf(QStringLiteral("execute")),
              QStringList{QStringLiteral("execute(<LDAP://DC=example,DC=com>;((mail=") +
                          domain::kAliceMail + QStringLiteral("));distinguishedName;subTree)")});
    EXPECT_EQ(callsOf(QStringLiteral("open")),
              QStringList{QStringLiteral("open(Active Directory Provider)")});
    EXPECT_EQ(callsOf(QStringLiteral("close")).size(), 1);
}

TEST_F(MailboxLookup, AnswersEmptyTextWhenNobodyCarriesTheAddress) {
    EXPECT_EQ(lookUp(QStringLiteral("nobody@provisioning.example")), QString());
}

TEST_F(MailboxLookup, TakesTheFirstOfTwoEntriesCarryingTheAddress) {
    EXPECT_EQ(lookUp(domain::kSharedMail), domain::kBobPath);
}

TEST_F(MailboxLookup, AddressIsAValueNeverAFilter) {
    // Unescaped, "*@*.*" matches everyone with an address and the first would be added.
    EXPECT_EQ(lookUp(QStringLiteral("*@*.*")), QString());
    EXPECT_EQ(lookUp(QStringLiteral("*")), QString());
    EXPECT_EQ(lookUp(QStringLiteral("alice.adams@provisioning.example)(mail=*")), QString());
    EXPECT_TRUE(callsOf(QStringLiteral("execute"))
                    .contains(QStringLiteral("execute(<LDAP://DC=example,DC=com>;((mail=\\2A@\\2A."
                                             "\\2A));distinguishedName;subTree)")));
}

TEST_F(MailboxLookup, QueryTextEscapesTheSeparatorAndFilterCharacters) {
    EXPECT_EQ(
        mailQueryText(QStringLiteral("LDAP://DC=example,DC=com"), QStringLiteral("a;b(c)d\\e*f")),
        QStringLiteral("<LDAP://DC=example,DC=com>;((mail=a\\3bb\\28c\\29d\\5Ce\\2Af));"
                       "distinguishedName;subTree"));
}

TEST_F(MailboxLookup, EveryFailureGivesEmptyTextAndAnOpenedConnectionIsClosed) {
    struct Case {
        QString rule;
        bool closes;
    };
    for (const Case& failure :
         {Case{QStringLiteral("createQueryConnection"), false}, Case{QStringLiteral("open"), true},
          Case{QStringLiteral("bindObject:LDAP://rootDSE"), true},
          Case{QStringLiteral("get:defaultNamingContext"), true},
          Case{QStringLiteral("bindObject#2"), true}, Case{QStringLiteral("execute"), true}}) {
        SCOPED_TRACE(failure.rule.toStdString());
        FaultyDirectory faulty(seeded_.directory());
        faulty.failOn(failure.rule, kRefused);
        EXPECT_EQ(getADsPathFromSMTP(faulty, domain::kAliceMail), QString());
        EXPECT_EQ(faulty.calls().filter(QStringLiteral("close()")).size(), failure.closes ? 1 : 0);
    }
}

}  // namespace
}  // namespace vorlane
