#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "common/directory.h"
#include "directory/ldap/password_callback.h"

namespace vorlane {

// How to reach the directory. When the OpenLDAP client configuration (ldap.conf, ldaprc,
// LDAP* environment variables) names a server, that server over LDAP; else the embedded
// directory.
struct DirectoryOptions {
    // The embedded directory's state; empty: "Vorlane.directory.ldif" beside the executable.
    QString embeddedStateFile;
    // Asks the bind DN's password when the configuration asks for a simple bind.
    PasswordCallback askPassword = {};
};

struct OpenedDirectory {
    std::unique_ptr<Directory> directory;  // never null
    // Set when the directory cannot be used or kept (which file, which line, why): the
    // directory is then unreachable, or keeps its changes only in memory. Report it once.
    QString problem;
};

OpenedDirectory openDirectory(const DirectoryOptions& options = {});

// The embedded directory's first contents (data/demo-directory.ldif, built in).
QByteArray demoDirectoryLdif();

}  // namespace vorlane
