#include "directory/embedded/ldif_storage.h"

#include <ldap.h>
#include <ldif.h>
#include <stdio.h>  // ldif.h uses FILE without including it
#include <unistd.h>

#include <QFile>
#include <QList>
#include <cstdio>
#include <vector>

#include "directory/platform/ldap_failure.h"

namespace vorlane::embedded {

namespace {

struct Record {
    int line = 0;
    Dn dn;
    AttributeMap attributes;
};

// The physical line numbers (from first) at which the logical lines of a raw record start, in
// the order ldif_getline() returns them: continuation lines and comments are not their own.
std::vector<int> logicalLineStarts(const QByteArray& raw, int first) {
    std::vector<int> starts;
    bool inComment = false;
    const QList<QByteArray> lines = raw.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (line.startsWith(' ')) continue;
        inComment = line.startsWith('#');
        if (!inComment && !line.isEmpty()) starts.push_back(first + static_cast<int>(i));
    }
    return starts;
}

std::expected<std::vector<Record>, LdifProblem> parseRecords(const QByteArray& text) {
    QByteArray buffer = text;
    LDIFFP* file = ldif_open_mem(buffer.data(), static_cast<size_t>(buffer.size()), "r");
    if (!file) return std::unexpected(LdifProblem{0, QStringLiteral("cannot be opened")});
    std::vector<Record> records;
    unsigned long lineNumber = 0;
    char* raw = nullptr;
    int rawSize = 0;
    qsizetype searchFrom = 0;
    std::optional<LdifProblem> problem;
    while (!problem) {
        const int read = ldif_read_record(file, &lineNumber, &raw, &rawSize);
        if (read == 0) break;
        if (read < 0) {
            problem =
                LdifProblem{static_cast<int>(lineNumber), QStringLiteral("not readable as LDIF")};
            break;
        }
        // Where the record stands in the text, for the line numbers of what it holds.
        const QByteArray rawText(raw);
        const qsizetype at = text.indexOf(rawText, searchFrom);
        const int firstLine = at < 0 ? 0 : static_cast<int>(text.left(at).count('\n')) + 1;
        if (at >= 0) searchFrom = at + rawText.size();
        const std::vector<int> lineStarts = logicalLineStarts(rawText, firstLine);

        Record record;
        record.line = lineStarts.empty() ? firstLine : lineStarts.front();
        char* next = raw;
        bool first = true;
        bool versionRecord = false;
        std::size_t index = 0;
        while (char* line = ldif_getline(&next)) {
            const int lineAt = index < lineStarts.size() ? lineStarts[index] : firstLine;
            ++index;
            berval type{0, nullptr};
            berval value{0, nullptr};
            int freeValue = 0;
            if (ldif_parse_line2(line, &type, &value, &freeValue) < 0) {
                problem = LdifProblem{lineAt, QStringLiteral("not an LDIF line")};
                break;
            }
            const QString name =
                QString::fromUtf8(type.bv_val, static_cast<qsizetype>(type.bv_len));
            const QString content =
                QString::fromUtf8(value.bv_val, static_cast<qsizetype>(value.bv_len));
            if (freeValue) ber_memfree(value.bv_val);
            if (first) {
                first = false;
                if (name.compare(QStringLiteral("version"), Qt::CaseInsensitive) == 0) {
                    versionRecord = true;
                    continue;
                }
                if (name.compare(QStringLiteral("dn"), Qt::CaseInsensitive) != 0) {
                    problem = LdifProblem{lineAt, QStringLiteral("a record must begin with dn:")};
                    break;
                }
                auto dn = Dn::parse(content);
                if (!dn || dn->isEmpty()) {
                    problem = LdifProblem{lineAt, QStringLiteral("\"%1\" is no distinguished "
                                                                 "name")
                                                      .arg(content)};
                    break;
                }
                record.dn = *dn;
                continue;
            }
            if (versionRecord) continue;
            if (name.compare(QStringLiteral("changetype"), Qt::CaseInsensitive) == 0) {
                problem = LdifProblem{lineAt, QStringLiteral("only content records are allowed")};
                break;
            }
            QStringList values;
            if (const QStringList* existing = record.attributes.values(name)) values = *existing;
            values << content;
            record.attributes.set(name, values);
        }
        if (!problem && !first && !versionRecord) records.push_back(std::move(record));
    }
    if (raw) ber_memfree(raw);
    ldif_close(file);
    if (problem) return std::unexpected(*problem);
    return records;
}

QByteArray ldifLine(const QString& name, const QString& value) {
    const QByteArray type = name.toUtf8();
    const QByteArray bytes = value.toUtf8();
    char* line = ldif_put_wrap(LDIF_PUT_VALUE, type.constData(), bytes.constData(),
                               static_cast<ber_len_t>(bytes.size()), LDIF_LINE_WIDTH);
    QByteArray out(line);
    ber_memfree(line);
    return out;
}

}  // namespace

std::expected<std::shared_ptr<DirectoryStore>, LdifProblem> readLdif(const QByteArray& text,
                                                                     SchemaOptions options) {
    auto records = parseRecords(text);
    if (!records) return std::unexpected(records.error());
    if (records->empty())
        return std::unexpected(LdifProblem{0, QStringLiteral("holds no entries")});
    auto store = std::make_shared<DirectoryStore>(records->front().dn, options);
    for (const Record& record : *records) {
        if (auto loaded = store->load(record.dn, record.attributes); !loaded) {
            return std::unexpected(LdifProblem{record.line, loaded.error().description});
        }
    }
    return store;
}

QByteArray writeLdif(const DirectoryStore& store) {
    QByteArray out;
    for (const auto& [sequence, entry] : store.entries()) {
        out += ldifLine(QStringLiteral("dn"), entry.dn.toString());
        const auto& all = entry.attributes.all();
        if (auto classes = all.find(QStringLiteral("objectclass")); classes != all.end()) {
            for (const QString& value : classes->second.values) {
                out += ldifLine(classes->second.name, value);
            }
        }
        for (const auto& [lower, attribute] : all) {
            if (lower == QStringLiteral("objectclass")) continue;
            for (const QString& value : attribute.values) out += ldifLine(attribute.name, value);
        }
        out += '\n';
    }
    return out;
}

Result<void> saveFileAtomically(const QString& path, const QByteArray& bytes, AtomicSave how) {
    const auto failure = [&](const QString& why) {
        return fail(failureFromLdapResult(ldap_result::kOperationsError,
                                          QStringLiteral("cannot write %1: %2").arg(path, why)));
    };
    const QString temporary = path + QStringLiteral(".tmp");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return failure(file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        const QString why = file.errorString();
        file.close();
        QFile::remove(temporary);
        return failure(why);
    }
    file.close();
    if (how.stopBeforeRename) return failure(QStringLiteral("stopped before the rename"));
    if (std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
        return failure(QStringLiteral("rename failed"));
    }
    return {};
}

StoreFile openStoreFile(const QString& path, const QByteArray& seed, SchemaOptions options) {
    StoreFile opened;
    QByteArray text;
    bool fresh = false;
    if (QFile::exists(path)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            opened.problem = QStringLiteral("The directory file %1 cannot be read: %2")
                                 .arg(path, file.errorString());
            return opened;
        }
        text = file.readAll();
    } else {
        text = seed;
        fresh = true;
    }
    auto store = readLdif(text, options);
    if (!store) {
        const QString source = fresh ? QStringLiteral("The seed data for %1").arg(path)
                                     : QStringLiteral("The directory file %1").arg(path);
        opened.problem =
            store.error().line > 0
                ? QStringLiteral("%1 cannot be used: line %2: %3")
                      .arg(source)
                      .arg(store.error().line)
                      .arg(store.error().reason)
                : QStringLiteral("%1 cannot be used: %2").arg(source, store.error().reason);
        return opened;
    }
    opened.store = *store;
    opened.store->setCommitHook([path](const DirectoryStore& changed) {
        return saveFileAtomically(path, writeLdif(changed));
    });
    if (fresh) {
        if (auto saved = saveFileAtomically(path, writeLdif(*opened.store)); !saved) {
            opened.problem = saved.error().description;
        }
    }
    return opened;
}

}  // namespace vorlane::embedded
