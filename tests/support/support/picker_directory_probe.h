#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "common/directory.h"

namespace vorlane::testing {

// Wraps a directory for the picker's tests: counts the query connections, their closes and the
// queries that go through the interface, and answers queries or binds in the ways a troubled
// directory does when told to.
class PickerDirectoryProbe : public Directory {
  public:
    explicit PickerDirectoryProbe(Directory& inner) : inner_(inner) {}

    enum class QueryAnswer {
        Directory,        // what the wrapped directory answers
        Failure,          // the failure set by failQueriesWith
        NoRecordSet,      // success without a record set
        ClosedRecordSet,  // a record set that is not open
    };
    void answerQueries(QueryAnswer answer) { answer_ = answer; }
    void failQueriesWith(Failure failure) {
        failure_ = std::move(failure);
        answer_ = QueryAnswer::Failure;
    }
    // Nothing binds and no connection opens: "The server is not operational."
    void setUnreachable(bool unreachable) { unreachable_ = unreachable; }

    int queryCount() const { return commandTexts_.size(); }
    const QStringList& commandTexts() const { return commandTexts_; }
    int connectionsCreated() const { return connectionsCreated_; }
    int connectionsClosed() const { return connectionsClosed_; }

    Result<std::unique_ptr<DirectoryObject>> bindObject(const QString& path) override;
    Result<std::unique_ptr<DirectoryGroup>> bindGroup(const QString& path) override;
    Result<std::unique_ptr<DirectoryContainer>> bindContainer(const QString& path) override;
    std::unique_ptr<QueryConnection> createQueryConnection() override;

  private:
    friend class PickerProbeConnection;

    Directory& inner_;
    QueryAnswer answer_ = QueryAnswer::Directory;
    Failure failure_;
    bool unreachable_ = false;
    QStringList commandTexts_;
    int connectionsCreated_ = 0;
    int connectionsClosed_ = 0;
};

// The failure of an unreachable server.
Failure pickerServerDown();

}  // namespace vorlane::testing
