#include "directory/open_directory.h"

#include <QCoreApplication>
#include <QDir>

#include "directory/embedded/embedded_directory.h"
#include "directory/embedded/ldif_storage.h"
#include "directory/ldap/ldap_directory.h"

namespace vorlane {

extern const char kDemoDirectoryLdif[];

QByteArray demoDirectoryLdif() {
    return QByteArray(kDemoDirectoryLdif);
}

OpenedDirectory openDirectory(const DirectoryOptions& options) {
    if (LdapConfiguration configuration = readLdapConfiguration(); !configuration.uri.isEmpty()) {
        LdapOptions ldapOptions;
        ldapOptions.askPassword = options.askPassword;
        return {std::make_unique<LdapDirectory>(std::move(configuration), std::move(ldapOptions)),
                {}};
    }
    QString path = options.embeddedStateFile;
    if (path.isEmpty()) {
        path = QDir(QCoreApplication::applicationDirPath())
                   .filePath(QStringLiteral("Vorlane.directory.ldif"));
    }
    auto file = embedded::openStoreFile(path, demoDirectoryLdif());
    return {std::make_unique<embedded::EmbeddedDirectory>(file.store), file.problem};
}

}  // namespace vorlane
