#include "directory_conformance.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>

namespace vorlane::conformance {

namespace {

constexpr std::uint32_t kPropertyNotFound = 0x8000500D;
constexpr std::uint32_t kBadPathname = 0x80005000;
constexpr std::uint32_t kInvalidFilter = 0x80005014;
constexpr std::uint32_t kTypeMismatch = 0xD;
constexpr std::uint32_t kNoSuchAttribute = 0x8007200A;
constexpr std::uint32_t kConstraintViolation = 0x8007202F;
constexpr std::uint32_t kInvalidSyntax = 0x8007200B;
constexpr std::uint32_t kNoSuchObject = 0x80072030;
constexpr std::uint32_t kInvalidDn = 0x80072032;
constexpr std::uint32_t kUnwilling = 0x80072035;
constexpr std::uint32_t kNamingViolation = 0x80072037;
constexpr std::uint32_t kAlreadyExists = 0x80071392;
constexpr std::uint32_t kFilterError = 0x8007203E;

template <class T>
std::uint32_t codeOf(const Result<T>& result) {
    return result ? 0u : result.error().code;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

QByteArray fixtureLdif(const QString& domainDn) {
    QFile file(QStringLiteral(VORLANE_CONFORMANCE_FIXTURE));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray text = file.readAll();
    text.replace("@BASE_DN@", domainDn.toUtf8());
    text.replace("@DNS_DOMAIN@", dnsDomainName(domainDn).toUtf8());
    return text;
}

QString dnsDomainName(const QString& domainDn) {
    QStringList labels;
    for (const QString& part : domainDn.split(u',')) {
        const QString trimmed = part.trimmed();
        if (trimmed.startsWith(QStringLiteral("DC="), Qt::CaseInsensitive))
            labels << trimmed.mid(3);
    }
    return labels.join(u'.');
}

void DirectoryConformance::SetUp() {
    if (GetParam().available && !GetParam().available()) {
        GTEST_SKIP() << GetParam().name.toStdString() << " is not reachable here";
    }
    directory_ = GetParam().open();
    ASSERT_TRUE(directory_);
}

QString DirectoryConformance::dn(const QString& relative) const {
    return relative.isEmpty() ? GetParam().domainDn : relative + u',' + GetParam().domainDn;
}

std::vector<QString> DirectoryConformance::column(const QString& commandText) {
    std::vector<QString> values;
    auto connection = directory().createQueryConnection();
    EXPECT_TRUE(connection->open(QStringLiteral("Active Directory Provider")).has_value());
    QueryCommand command(*connection);
    command.setCommandText(commandText);
    auto rows = command.execute();
    EXPECT_TRUE(rows.has_value()) << commandText.toStdString() << " failed: "
                                  << (rows ? "" : rows.error().description.toStdString());
    if (!rows) return values;
    EXPECT_EQ((*rows)->state(), 1);
    while (!(*rows)->eof()) {
        values.push_back((*rows)->field(0).value_or(QStringLiteral("<no field>")));
        EXPECT_TRUE((*rows)->moveNext().has_value());
    }
    EXPECT_EQ(static_cast<std::size_t>((*rows)->recordCount()), values.size());
    EXPECT_TRUE((*rows)->close().has_value());
    EXPECT_TRUE(connection->close().has_value());
    return values;
}

// ----- binding -----

TEST_P(DirectoryConformance, RootDseNamesTheDomain) {
    auto root = directory().bindObject(QStringLiteral("LDAP://rootDSE"));
    ASSERT_TRUE(root.has_value());
    auto naming = (*root)->get(QStringLiteral("defaultNamingContext"));
    ASSERT_TRUE(naming.has_value());
    EXPECT_TRUE(sameName(*naming, GetParam().domainDn)) << naming->toStdString();
    auto contexts = (*root)->getValues(QStringLiteral("namingContexts"));
    ASSERT_TRUE(contexts.has_value());
    EXPECT_TRUE(contexts->contains(*naming, Qt::CaseInsensitive));
}

TEST_P(DirectoryConformance, BindsPathsAndRefusesTheOthersWithTheServersCodes) {
    const struct {
        QString path;
        std::uint32_t code;
    } cases[] = {
        {path({}), 0},
        {QStringLiteral("LDAP://") + dn(QStringLiteral("ou=sales")).toLower(), 0},
        {QStringLiteral("LDAP://dc1/") + dn(QStringLiteral("OU=Sales")), 0},
        {path(QStringLiteral("CN=Alice Able,OU=Sales")), 0},
        {QStringLiteral("LDAP://cn=,"), kInvalidDn},
        {QStringLiteral("LDAP://garbage"), kInvalidDn},
        {path(QStringLiteral("OU=Nowhere")), kNoSuchObject},
        {QStringLiteral("LDAP://OU=Sales,DC=elsewhere,DC=invalid"), kNoSuchObject},
        {QStringLiteral("ldap://") + dn({}), kBadPathname},
        {dn({}), kBadPathname},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(codeOf(directory().bindObject(c.path)), c.code);
    }
}

TEST_P(DirectoryConformance, ObjectsBindOnlyAsTheirKind) {
    const QString ou = path(QStringLiteral("OU=Sales"));
    const QString container = path(QStringLiteral("CN=Computers,OU=Engineering"));
    const QString group = path(QStringLiteral("CN=Sales Team,OU=Sales"));
    const QString user = path(QStringLiteral("CN=Alice Able,OU=Sales"));
    EXPECT_EQ(codeOf(directory().bindContainer(path({}))), 0u);
    EXPECT_EQ(codeOf(directory().bindContainer(ou)), 0u);
    EXPECT_EQ(codeOf(directory().bindContainer(container)), 0u);
    EXPECT_EQ(codeOf(directory().bindGroup(group)), 0u);
    EXPECT_EQ(codeOf(directory().bindGroup(ou)), kTypeMismatch);
    EXPECT_EQ(codeOf(directory().bindGroup(user)), kTypeMismatch);
    EXPECT_EQ(codeOf(directory().bindContainer(group)), kTypeMismatch);
    EXPECT_EQ(codeOf(directory().bindContainer(user)), kTypeMismatch);
    EXPECT_EQ(codeOf(directory().bindGroup(path(QStringLiteral("CN=Nobody,OU=Sales")))),
              kNoSuchObject);
}

TEST_P(DirectoryConformance, ObjectClassHoldsTheChain) {
    const struct {
        QString relative;
        QStringList chain;
    } cases[] = {
        {{}, {"top", "domain", "domainDNS"}},
        {QStringLiteral("OU=Sales"), {"top", "organizationalUnit"}},
        {QStringLiteral("CN=Users"), {"top", "container"}},
        {QStringLiteral("CN=Sales Team,OU=Sales"), {"top", "group"}},
        {QStringLiteral("CN=Alice Able,OU=Sales"),
         {"top", "person", "organizationalPerson", "user"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.relative.toStdString());
        auto object = directory().bindObject(path(c.relative));
        ASSERT_TRUE(object.has_value());
        auto classes = (*object)->getValues(QStringLiteral("objectClass"));
        ASSERT_TRUE(classes.has_value());
        EXPECT_EQ(classes->join(u','), c.chain.join(u','));
    }
}

TEST_P(DirectoryConformance, GetReadsAttributesInAnyCaseAndMissingOnesFail) {
    auto group = directory().bindGroup(path(QStringLiteral("CN=Sales Team,OU=Sales")));
    ASSERT_TRUE(group.has_value());
    EXPECT_EQ((*group)->get(QStringLiteral("SAMACCOUNTNAME")).value_or(QString()), "ctSalesTeam");
    EXPECT_EQ((*group)->getInteger(QStringLiteral("groupType")).value_or(0), 8);
    EXPECT_EQ((*group)->description().value_or(QString()), "Sales people");
    EXPECT_EQ(codeOf((*group)->get(QStringLiteral("telephoneNumber"))), kPropertyNotFound);
    EXPECT_TRUE(sameName((*group)->adsPath(), path(QStringLiteral("CN=Sales Team,OU=Sales"))));

    auto bare = directory().bindGroup(path(QStringLiteral("CN=Engineering,OU=Engineering")));
    ASSERT_TRUE(bare.has_value());
    EXPECT_EQ(codeOf((*bare)->description()), kPropertyNotFound);
    auto security =
        directory().bindGroup(path(QStringLiteral("CN=Security Admins,OU=Engineering")));
    ASSERT_TRUE(security.has_value());
    EXPECT_EQ((*security)->getInteger(QStringLiteral("groupType")).value_or(0), -2147483646);
}

// ----- creating -----

TEST_P(DirectoryConformance, CreateStoresNothingUntilSetInfo) {
    auto sales = directory().bindContainer(path(QStringLiteral("OU=Sales")));
    ASSERT_TRUE(sales.has_value());
    auto created = (*sales)->create(QStringLiteral("group"), QStringLiteral("cn=New Group"));
    ASSERT_TRUE(created.has_value());
    auto group = viewAs<DirectoryGroup>(std::move(*created));
    ASSERT_TRUE(group.has_value());
    ASSERT_TRUE((*group)->put(QStringLiteral("samAccountName"), QStringLiteral("NewGroup")));
    ASSERT_TRUE((*group)->putInteger(QStringLiteral("groupType"), 8));
    ASSERT_TRUE((*group)->setDescription(QStringLiteral("DEZ distribution list")));
    const QString newPath = path(QStringLiteral("CN=New Group,OU=Sales"));
    EXPECT_EQ(codeOf(directory().bindObject(newPath)), kNoSuchObject);

    ASSERT_TRUE((*group)->setInfo().has_value());
    auto stored = directory().bindGroup(newPath);
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ((*stored)->get(QStringLiteral("sAMAccountName")).value_or(QString()), "NewGroup");
    EXPECT_EQ((*stored)->getInteger(QStringLiteral("groupType")).value_or(0), 8);
    EXPECT_EQ((*stored)->description().value_or(QString()), "DEZ distribution list");
    EXPECT_EQ((*stored)->adsPath(), QStringLiteral("LDAP://CN=New Group,") + dn("OU=Sales"));
}

TEST_P(DirectoryConformance, ServerFillsInAccountNameAndGroupType) {
    auto sales = directory().bindContainer(path(QStringLiteral("OU=Sales")));
    ASSERT_TRUE(sales.has_value());
    auto group = (*sales)->create(QStringLiteral("group"), QStringLiteral("CN=Sales\\, East"));
    ASSERT_TRUE(group.has_value());
    ASSERT_TRUE((*group)->setInfo().has_value());

    auto stored = directory().bindGroup(path(QStringLiteral("CN=Sales\\, East,OU=Sales")));
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ((*stored)->adsPath(), QStringLiteral("LDAP://CN=Sales\\, East,") + dn("OU=Sales"));
    // Samba writes three random 32-bit numbers with at least six hex digits each.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\$[0-9A-F]{6,8}-[0-9A-F]{12,16}$"))
                    .match((*stored)->get(QStringLiteral("sAMAccountName")).value_or(QString()))
                    .hasMatch());
    EXPECT_EQ((*stored)->getInteger(QStringLiteral("groupType")).value_or(0), -2147483646);
}

TEST_P(DirectoryConformance, AcceptsTheAccountNamesAndGroupTypesTheServerAccepts) {
    const struct {
        QString account;
        QString groupType;
        qint32 stored;
    } cases[] = {
        {QStringLiteral("ct.with@inside"), QStringLiteral("2"), 2},
        {QStringLiteral("ctTwentyOneCharacter1"), QStringLiteral("4"), 4},
        {QStringLiteral("ct") + QString(62, u'x'), QStringLiteral("8"), 8},
        {QStringLiteral("ctJ\u00fcrgen"), QStringLiteral("-2147483646"), -2147483646},
        {QStringLiteral("ctLocalSec"), QStringLiteral("-2147483644"), -2147483644},
        {QStringLiteral("ctUniSec"), QStringLiteral("-2147483640"), -2147483640},
        {QStringLiteral("ctUnsigned"), QStringLiteral("2147483650"), -2147483646},
    };
    auto sales = directory().bindContainer(path(QStringLiteral("OU=West,OU=Sales")));
    ASSERT_TRUE(sales.has_value());
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.account.toStdString());
        const QString rdn = QStringLiteral("CN=Accepted %1").arg(++number);
        auto group = (*sales)->create(QStringLiteral("group"), rdn);
        ASSERT_TRUE(group.has_value());
        ASSERT_TRUE((*group)->put(QStringLiteral("sAMAccountName"), c.account));
        ASSERT_TRUE((*group)->put(QStringLiteral("groupType"), c.groupType));
        auto saved = (*group)->setInfo();
        ASSERT_TRUE(saved.has_value()) << saved.error().description.toStdString();
        auto stored = directory().bindGroup(path(rdn + QStringLiteral(",OU=West,OU=Sales")));
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ((*stored)->get(QStringLiteral("sAMAccountName")).value_or(QString()), c.account);
        EXPECT_EQ((*stored)->getInteger(QStringLiteral("groupType")).value_or(0), c.stored);
    }
}

TEST_P(DirectoryConformance, RefusesWhatTheServerRefusesAndStoresNothingOfIt) {
    struct Case {
        QString container;
        QString objectClass;
        QString rdn;
        QString account;  // empty: none put
        QString groupType;
        std::uint32_t code;
    };
    std::vector<Case> cases = {
        {"OU=Sales", "group", "CN=Sales Team", "ctOther", "8", kAlreadyExists},
        {"OU=Sales", "group", "CN=Dup Group", "ctSalesTeam", "8", kAlreadyExists},
        {"OU=Sales", "group", "CN=Dup Group", "CTSALESTEAM", "8", kAlreadyExists},
        {"OU=Sales", "group", "CN=Dup User", "ctalice", "8", kAlreadyExists},
        {"OU=Sales", "group", "CN=Dot", "ctDot.", "8", kConstraintViolation},
        {"OU=Sales", "group", "CN=Long", "ct" + QString(255, u'x'), "8", kInvalidSyntax},
        {"CN=Sales Team,OU=Sales", "group", "CN=Inner", "ctInner", "8", kNamingViolation},
        {"OU=Sales", "group", "OU=Wrong", "ctWrong", "8", kNamingViolation},
    };
    for (const QChar c : QStringLiteral("\"/\\[]:;|=,+*?<>")) {
        cases.push_back({"OU=Sales", "group", "CN=Bad Char", QStringLiteral("ct") + c + u'x', "8",
                         kConstraintViolation});
    }
    for (const char* type : {"0", "1", "3", "6", "10", "12", "14", "16", "32", "-2147483648"}) {
        cases.push_back({"OU=Sales", "group", "CN=Bad Type", "ctBadType", type, kUnwilling});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE((c.rdn + u' ' + c.account + u' ' + c.groupType).toStdString());
        auto container = directory().bindContainer(path(c.container));
        if (!container) {
            EXPECT_EQ(container.error().code, kTypeMismatch);  // a group holds no children
            EXPECT_EQ(c.code, kNamingViolation);
            continue;
        }
        auto object = (*container)->create(c.objectClass, c.rdn);
        ASSERT_TRUE(object.has_value());
        if (!c.account.isEmpty()) {
            ASSERT_TRUE((*object)->put(QStringLiteral("sAMAccountName"), c.account));
        }
        ASSERT_TRUE((*object)->put(QStringLiteral("groupType"), c.groupType));
        auto saved = (*object)->setInfo();
        ASSERT_FALSE(saved.has_value());
        EXPECT_EQ(saved.error().code, c.code) << saved.error().description.toStdString();
        if (c.rdn != QStringLiteral("CN=Sales Team")) {
            EXPECT_EQ(codeOf(directory().bindObject(path(c.rdn + u',' + c.container))),
                      kNoSuchObject);
        }
    }
}

TEST_P(DirectoryConformance, SetInfoOnAnExistingObjectIsAllOrNothing) {
    const QString groupPath = path(QStringLiteral("CN=Sales Team,OU=Sales"));
    auto group = directory().bindGroup(groupPath);
    ASSERT_TRUE(group.has_value());
    ASSERT_TRUE((*group)->setDescription(QStringLiteral("Changed")));
    ASSERT_TRUE((*group)->putInteger(QStringLiteral("groupType"), 3));
    auto saved = (*group)->setInfo();
    ASSERT_FALSE(saved.has_value());
    EXPECT_EQ(saved.error().code, kUnwilling);
    auto again = directory().bindGroup(groupPath);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ((*again)->description().value_or(QString()), "Sales people");
    EXPECT_EQ((*again)->getInteger(QStringLiteral("groupType")).value_or(0), 8);

    ASSERT_TRUE((*group)->putInteger(QStringLiteral("groupType"), 2));
    ASSERT_TRUE((*group)->setInfo().has_value());
    auto changed = directory().bindGroup(groupPath);
    ASSERT_TRUE(changed.has_value());
    EXPECT_EQ((*changed)->description().value_or(QString()), "Changed");
    EXPECT_EQ((*changed)->getInteger(QStringLiteral("groupType")).value_or(0), 2);
}

// ----- membership -----

TEST_P(DirectoryConformance, IsMemberAnswersForDirectMembersInAnyCase) {
    auto staff = directory().bindGroup(path(QStringLiteral("CN=All Staff,OU=Sales")));
    auto team = directory().bindGroup(path(QStringLiteral("CN=Sales Team,OU=Sales")));
    ASSERT_TRUE(staff && team);
    const QString alice = path(QStringLiteral("CN=Alice Able,OU=Sales"));
    EXPECT_EQ((*team)->isMember(alice).value_or(false), true);
    EXPECT_EQ((*team)->isMember(alice.toUpper()).value_or(false), true);
    EXPECT_EQ((*staff)->isMember(alice).value_or(true), false);  // only through Sales Team
    EXPECT_EQ((*staff)->isMember(path(QStringLiteral("CN=Sales Team,OU=Sales"))).value_or(false),
              true);
    EXPECT_EQ(
        (*team)->isMember(path(QStringLiteral("CN=Bob Baker,OU=East,OU=Sales"))).value_or(true),
        false);
}

TEST_P(DirectoryConformance, AddAndRemoveWriteAtOnceWithTheServersAnswers) {
    const QString teamPath = path(QStringLiteral("CN=Sales Team,OU=Sales"));
    auto team = directory().bindGroup(teamPath);
    ASSERT_TRUE(team.has_value());
    const QString bob = path(QStringLiteral("CN=Bob Baker,OU=East,OU=Sales"));
    const QString bobOtherCase =
        QStringLiteral("LDAP://") + dn("cn=bob baker,ou=east,ou=sales").toLower();

    EXPECT_EQ(codeOf((*team)->remove(bob)), kUnwilling);
    ASSERT_TRUE((*team)->add(bob).has_value());
    auto fresh = directory().bindGroup(teamPath);
    ASSERT_TRUE(fresh.has_value());
    EXPECT_EQ((*fresh)->isMember(bob).value_or(false), true);

    const struct {
        QString member;
        std::uint32_t addCode;
        std::uint32_t removeCode;
    } refusals[] = {
        {bobOtherCase, kAlreadyExists, 0},
        {path(QStringLiteral("CN=Nobody,OU=Sales")), kNoSuchObject, kUnwilling},
        {QStringLiteral("LDAP://cn=,"), kInvalidDn, kInvalidDn},
        {QString(), kInvalidSyntax, kInvalidSyntax},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.member.toStdString());
        EXPECT_EQ(codeOf((*team)->add(r.member)), r.addCode);
    }
    ASSERT_TRUE((*team)->remove(bobOtherCase).has_value());
    EXPECT_EQ((*team)->isMember(bob).value_or(true), false);
    EXPECT_EQ(codeOf((*team)->remove(bob)), kUnwilling);
    EXPECT_EQ(codeOf((*team)->remove(path(QStringLiteral("CN=Nobody,OU=Sales")))), kUnwilling);
    // The member added and removed leaves the fixture's member in place.
    EXPECT_EQ((*team)->isMember(path(QStringLiteral("CN=Alice Able,OU=Sales"))).value_or(false),
              true);
}

// ----- mail-enabling -----

TEST_P(DirectoryConformance, MailEnableGivesAliasAddressAndProxyAtTheNextSetInfo) {
    auto sales = directory().bindContainer(path(QStringLiteral("OU=Sales")));
    ASSERT_TRUE(sales.has_value());
    const struct {
        QString account;
        QString nickname;  // ctList: ctList@ is Carol's mail, ctList2@ a proxy address of Dan's
    } cases[] = {{QStringLiteral("ctPlain"), QStringLiteral("ctPlain")},
                 {QStringLiteral("ctList"), QStringLiteral("ctList3")}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.account.toStdString());
        const QString rdn = QStringLiteral("CN=") + c.account;
        auto created = (*sales)->create(QStringLiteral("group"), rdn);
        ASSERT_TRUE(created.has_value());
        auto group = viewAs<DirectoryGroup>(std::move(*created));
        ASSERT_TRUE(group.has_value());
        ASSERT_TRUE((*group)->put(QStringLiteral("sAMAccountName"), c.account));
        ASSERT_TRUE((*group)->putInteger(QStringLiteral("groupType"), 8));
        ASSERT_TRUE((*group)->setInfo().has_value());
        ASSERT_TRUE((*group)->mailEnable().has_value());
        auto enabled = (*group)->setInfo();

        auto stored = directory().bindGroup(path(rdn + QStringLiteral(",OU=Sales")));
        ASSERT_TRUE(stored.has_value());
        ASSERT_TRUE(enabled.has_value()) << enabled.error().description.toStdString();
        const QString address = c.nickname + u'@' + dns();
        // Without mailNickname in the schema (Samba's default) the group gets no alias
        // attribute, only its address.
        if (GetParam().hasMailNickname) {
            EXPECT_EQ((*stored)->get(QStringLiteral("mailNickname")).value_or(QString()),
                      c.nickname);
        } else {
            EXPECT_EQ(codeOf((*stored)->get(QStringLiteral("mailNickname"))), kPropertyNotFound);
        }
        EXPECT_EQ((*stored)->get(QStringLiteral("mail")).value_or(QString()), address);
        EXPECT_EQ((*stored)->getValues(QStringLiteral("proxyAddresses")).value_or(QStringList()),
                  QStringList{QStringLiteral("SMTP:") + address});
    }
}

// ----- queries -----

TEST_P(DirectoryConformance, MailLookupFindsTheEntriesCarryingTheAddress) {
    const QString base = QStringLiteral("<") + path({}) + QStringLiteral(">;");
    // The form the console's lookup sends, with the filter in a redundant pair of parentheses.
    auto bob = column(base + QStringLiteral("((mail=bob@") + dns() +
                      QStringLiteral("));distinguishedName;subTree"));
    ASSERT_EQ(bob.size(), 1u);
    EXPECT_TRUE(sameName(bob.front(), dn(QStringLiteral("CN=Bob Baker,OU=East,OU=Sales"))));

    EXPECT_EQ(column(base + QStringLiteral("(mail=BOB@") + dns().toUpper() +
                     QStringLiteral(");distinguishedName;subtree"))
                  .size(),
              1u);
    EXPECT_EQ(column(base + QStringLiteral("(mail=shared@") + dns() +
                     QStringLiteral(");distinguishedName;SUBTREE"))
                  .size(),
              2u);
    EXPECT_TRUE(column(base + QStringLiteral("(mail=nobody@") + dns() +
                       QStringLiteral(");distinguishedName;subTree"))
                    .empty());
}

TEST_P(DirectoryConformance, OneLevelContainerQueryListsChildrenAsPaths) {
    const QString filter =
        QStringLiteral("(|(objectClass=container)(objectClass=organizationalUnit))");
    auto children = column(QStringLiteral("<") + path(QStringLiteral("OU=Sales")) +
                           QStringLiteral(">;") + filter + QStringLiteral(";AdsPath;onelevel"));
    std::sort(children.begin(), children.end());
    ASSERT_EQ(children.size(), 2u);
    EXPECT_EQ(children[0], QStringLiteral("LDAP://OU=East,") + dn(QStringLiteral("OU=Sales")));
    EXPECT_EQ(children[1], QStringLiteral("LDAP://OU=West,") + dn(QStringLiteral("OU=Sales")));

    auto top = column(QStringLiteral("<") + path({}) + QStringLiteral(">;") + filter +
                      QStringLiteral(";AdsPath;OneLevel"));
    const auto has = [&](const QString& rdn) {
        return std::ranges::any_of(top, [&](const QString& p) {
            return sameName(p, QStringLiteral("LDAP://") + dn(rdn));
        });
    };
    EXPECT_TRUE(has(QStringLiteral("CN=Users")));
    EXPECT_TRUE(has(QStringLiteral("CN=Computers")));
    EXPECT_TRUE(has(QStringLiteral("OU=Domain Controllers")));
    EXPECT_TRUE(has(QStringLiteral("OU=Sales")));
    EXPECT_FALSE(has(QStringLiteral("OU=East,OU=Sales")));

    // (objectClass=container) does not match organizational units.
    for (const QString& p : column(QStringLiteral("<") + path({}) +
                                   QStringLiteral(">;(objectClass=container);AdsPath;onelevel"))) {
        EXPECT_TRUE(p.startsWith(QStringLiteral("LDAP://CN="), Qt::CaseInsensitive))
            << p.toStdString();
    }
}

TEST_P(DirectoryConformance, FiltersSelectTheMatchingEntries) {
    const struct {
        const char* filter;
        std::vector<QString> accounts;  // sorted
    } cases[] = {
        {"(&(objectClass=user)(sAMAccountName=ct*))", {"ctAlice", "ctBob", "ctErin", "ctFrank"}},
        {"(&(objectClass=group)(!(description=*)))", {"ctAllStaff"}},
        {"(sAMAccountName=CT*ER*)", {"ctErin"}},
        {"(|(mail=bob@*)(sAMAccountName=ctalice))", {"ctAlice", "ctBob"}},
        {"(&(objectClass=group)(groupType>=8)(groupType<=8))", {"ctAllStaff", "ctSalesTeam"}},
        {"(sn=\\2a)", {}},
        {"(&(objectClass=person)(mail=shared*))", {"ctErin", "ctFrank"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        auto accounts =
            column(QStringLiteral("<") + path(QStringLiteral("OU=Sales")) + QStringLiteral(">;") +
                   QString::fromUtf8(c.filter) + QStringLiteral(";sAMAccountName;subtree"));
        std::sort(accounts.begin(), accounts.end());
        EXPECT_EQ(accounts, c.accounts);
    }
}

TEST_P(DirectoryConformance, RecordSetColumnsByNameInAnyCaseAndByIndex) {
    auto connection = directory().createQueryConnection();
    ASSERT_TRUE(connection->open(QStringLiteral("Active Directory Provider")).has_value());
    QueryCommand command(*connection);
    command.setCommandText(QStringLiteral("<") + path(QStringLiteral("OU=Sales")) +
                           QStringLiteral(">;(sAMAccountName=ctAlice);sAMAccountName,AdsPath,mail;"
                                          "subtree"));
    auto rows = command.execute();
    ASSERT_TRUE(rows.has_value());
    ASSERT_EQ((*rows)->recordCount(), 1);
    EXPECT_EQ((*rows)->field(QStringLiteral("SAMACCOUNTNAME")).value_or(QString()), "ctAlice");
    EXPECT_EQ((*rows)->field(1).value_or(QString()),
              QStringLiteral("LDAP://CN=Alice Able,") + dn(QStringLiteral("OU=Sales")));
    EXPECT_EQ((*rows)->field(QStringLiteral("Mail")).value_or(QString()),
              QStringLiteral("alice@") + dns());
}

TEST_P(DirectoryConformance, BaseSearchOfAGroupMatchesMemberInAnyCase) {
    const QString member = dn(QStringLiteral("CN=Alice Able,OU=Sales")).toUpper();
    auto rows = column(QStringLiteral("<") + path(QStringLiteral("CN=Sales Team,OU=Sales")) +
                       QStringLiteral(">;(member=") + member + QStringLiteral(");AdsPath;base"));
    EXPECT_EQ(rows.size(), 1u);
}

TEST_P(DirectoryConformance, RowsComeInTheSameOrderEveryTime) {
    const QString query =
        QStringLiteral("<") + path({}) + QStringLiteral(">;(objectClass=*);AdsPath;subtree");
    const auto first = column(query);
    EXPECT_GT(first.size(), 20u);
    EXPECT_EQ(column(query), first);
}

TEST_P(DirectoryConformance, BadQueriesFailWithThePlatformsCodes) {
    const struct {
        QString text;
        std::uint32_t code;
    } cases[] = {
        {QStringLiteral("<") + path({}) + QStringLiteral(">;(mail=x);AdsPath"), kInvalidFilter},
        {QStringLiteral("<") + path({}) + QStringLiteral(">;(mail=x;AdsPath;subtree"),
         kFilterError},
        {QStringLiteral("<") + path({}) + QStringLiteral(">;(&(a=1)(b=2);AdsPath;subtree"),
         kFilterError},
        {QStringLiteral("<") + path(QStringLiteral("OU=Nowhere")) +
             QStringLiteral(">;(objectClass=*);AdsPath;subtree"),
         kNoSuchObject},
        {QStringLiteral("<LDAP://cn=,>;(objectClass=*);AdsPath;base"), kInvalidDn},
        {QStringLiteral("<LDAP://garbage>;(objectClass=*);AdsPath;base"), kInvalidDn},
    };
    auto connection = directory().createQueryConnection();
    ASSERT_TRUE(connection->open(QStringLiteral("Active Directory Provider")).has_value());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(codeOf(connection->execute(c.text)), c.code);
    }
}

}  // namespace vorlane::conformance
