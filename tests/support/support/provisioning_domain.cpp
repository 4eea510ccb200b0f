#include "support/provisioning_domain.h"

namespace vorlane::testing::provisioning_domain {

namespace {

Result<std::unique_ptr<DirectoryObject>> createChild(Directory& directory, const QString& parent,
                                                     const QString& objectClass,
                                                     const QString& rdn) {
    auto container = directory.bindContainer(QStringLiteral("LDAP://") + parent);
    if (!container) return fail(container.error());
    return (*container)->create(objectClass, rdn);
}

Result<void> addUser(Directory& directory, const QString& cn, const QString& account,
                     const QString& mail) {
    auto user =
        createChild(directory, kContainer, QStringLiteral("user"), QStringLiteral("CN=") + cn);
    if (!user) return fail(user.error());
    if (auto put = (*user)->put(QStringLiteral("sAMAccountName"), account); !put) return put;
    if (auto put = (*user)->put(QStringLiteral("mail"), mail); !put) return put;
    return (*user)->setInfo();
}

Result<std::unique_ptr<DirectoryGroup>> addGroup(Directory& directory, const QString& cn,
                                                 const QString& account, qint32 groupType) {
    auto object =
        createChild(directory, kContainer, QStringLiteral("group"), QStringLiteral("CN=") + cn);
    if (!object) return fail(object.error());
    auto group = viewAs<DirectoryGroup>(std::move(*object));
    if (!group) return fail(group.error());
    if (auto put = (*group)->put(QStringLiteral("sAMAccountName"), account); !put) {
        return fail(put.error());
    }
    if (auto put = (*group)->putInteger(QStringLiteral("groupType"), groupType); !put) {
        return fail(put.error());
    }
    return group;
}

}  // namespace

Result<void> seed(Directory& directory) {
    auto ou = createChild(directory, kDomain, QStringLiteral("organizationalUnit"),
                          QStringLiteral("OU=Provisioning"));
    if (!ou) return fail(ou.error());
    if (auto stored = (*ou)->setInfo(); !stored) return stored;

    if (auto added = addUser(directory, QStringLiteral("Alice Adams"), QStringLiteral("prov.alice"),
                             kAliceMail);
        !added) {
        return added;
    }
    for (const auto& [cn, account] :
         {std::pair{QStringLiteral("Bob Brown"), QStringLiteral("prov.bob")},
          std::pair{QStringLiteral("Carol Cole"), QStringLiteral("prov.carol")}}) {
        if (auto added = addUser(directory, cn, account, kSharedMail); !added) return added;
    }

    auto sales = addGroup(directory, QStringLiteral("Sales Team"), QStringLiteral("prov.sales"), 2);
    if (!sales) return fail(sales.error());
    if (auto put = (*sales)->setDescription(QStringLiteral("DEZ distribution list")); !put)
        return put;
    if (auto stored = (*sales)->setInfo(); !stored) return stored;
    if (auto added = (*sales)->add(kAlicePath); !added) return added;

    auto plain =
        addGroup(directory, QStringLiteral("Plain Group"), QStringLiteral("prov.plain"), 2);
    if (!plain) return fail(plain.error());
    if (auto stored = (*plain)->setInfo(); !stored) return stored;

    auto admins = addGroup(directory, QStringLiteral("Domain Admins"),
                           QStringLiteral("prov.admins"), -2147483646);
    if (!admins) return fail(admins.error());
    return (*admins)->setInfo();
}

}  // namespace vorlane::testing::provisioning_domain
