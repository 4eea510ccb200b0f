#pragma once

#include <QByteArray>
#include <QString>
#include <expected>
#include <memory>

#include "common/result.h"
#include "directory/embedded/directory_store.h"

namespace vorlane::embedded {

// Why a text could not be read as the directory's contents.
struct LdifProblem {
    int line = 0;  // from 1; 0 when the problem concerns no line
    QString reason;
};

// Reads LDIF content records (libldap's LDIF parser) into a new store. The first entry is the
// domain; every other entry's parent comes before it.
std::expected<std::shared_ptr<DirectoryStore>, LdifProblem> readLdif(const QByteArray& text,
                                                                     SchemaOptions options = {});

// Writes every entry, in the order of adding, as LDIF content records.
QByteArray writeLdif(const DirectoryStore& store);

// Replaces the file's contents without ever leaving a torn file: the bytes go to a temporary
// file beside it, which is flushed to disk and then renamed over the old one. A test can stop
// the save before the rename, as a crash would.
struct AtomicSave {
    bool stopBeforeRename = false;
};
Result<void> saveFileAtomically(const QString& path, const QByteArray& bytes, AtomicSave how = {});

// A store kept in a file: read from it, or made from seed when the file is missing, and saved
// after every change. When the file exists but cannot be read or parsed, there is no store
// and the file is left as it is; problem then says which file, which line and why.
struct StoreFile {
    std::shared_ptr<DirectoryStore> store;
    QString problem;
};
StoreFile openStoreFile(const QString& path, const QByteArray& seed, SchemaOptions options = {});

}  // namespace vorlane::embedded
